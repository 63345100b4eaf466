// The particle pool: explosions as showers of single pixels.
#ifndef QUORBIX_PIXELZ_H
#define QUORBIX_PIXELZ_H

struct BITMAP;

const int MAX_PIXELS = 1000;

struct pixel_typ {
   float x, y;           // position, screen pixels
   float x_vel, y_vel;   // pixels per logic tick
   int counter;          // distance travelled, whole pixels
   bool state;           // live
   int color;            // palette index
   int life;             // distance after which the particle dies
};
typedef pixel_typ pixelz;

// The pool itself: a slot is free when its state is false, however it got so. Keep no index or
// count of live slots beside it unless it is checked against the states at the moment of use.
extern pixel_typ pixel[MAX_PIXELS];

// Launches one particle into the first free slot; dropped when the pool is full.
void init_pixel(int _life, float _x, float _y, float _x_vel, float _y_vel, int _color);
// Empties the pool.
void clear_pixels();
// Moves every live particle by one logic tick, with drag and the death rules.
void move_pixels();
// Plots every live particle into a bitmap.
void draw_pixels(BITMAP *bmp);

#endif
