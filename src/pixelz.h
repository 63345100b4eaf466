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

// Read freely; a slot is taken and freed only by the functions below, which keep a map of the live ones.
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
