// The record of every moving object, and its generic operations: set-up, removal,
// frame animation, box overlap, screen-edge handling and launching into a pool.
#ifndef QUORBIX_SPRITE_H
#define QUORBIX_SPRITE_H

struct BITMAP;

// Screen-edge behaviours of check_boundries.
enum {
   BOUNDRY_BOUNCE = 1,  // pushed 2 pixels inside, velocity on that axis reversed
   BOUNDRY_WRAP = 2,    // carried beyond the opposite edge
   BOUNDRY_STOP = 3     // pushed 2 pixels inside, velocity on that axis stopped
};

// Edges reported by check_boundries (0: none).
enum { EDGE_LEFT = 1, EDGE_RIGHT = 2, EDGE_TOP = 3, EDGE_BOTTOM = 4 };

// The fields noted "unread" are set or kept but never read by the game; they stay as part of the record.
class sprite {
public:
   int x, y;              // top-left corner of the box, screen pixels
   int width, height;     // the box
   float x_vel, y_vel;    // pixels per logic tick
   float speed;           // scalar speed along the heading
   int angle;             // heading, 256 per turn, 0 up, clockwise
   int dir;               // direction given at launch, same units
   int framez;            // data-file object shown
   int type;              // kind tag given to init; unread
   int ani_timer;         // animate calls since the frame last advanced
   int ani_timing;        // a frame lasts ani_timing + 1 animate calls
   int frame_point;       // position in the frame list
   int state;             // 1 live, 0 free
   int life;              // hit points or energy
   int counter;           // general counter of the game
   int item;              // the value given to spawn_sprite; unread
   char name[10];         // unread
   double radian_angle;   // heading in radians
   BITMAP *buffer;        // an image the object owns

   // Places the box and makes the object live.
   void init(int _type, int _x, int _y, int _width, int _height);
   // Makes the object free; its bitmap stays where it is.
   void deystroy();
   // Steps through a list of frames; 1 when a non-looping list has run out.
   int animate(int *array_of_frames, int max_frames, bool loop);
   // 1 when the two boxes overlap or touch.
   int sprite_collision(sprite *other);
   // Bounces, wraps or stops the box at the rectangle's edges; the edge hit or 0.
   int check_boundries(int boundry_type, int scn1x, int scn1y, int scn2x, int scn2y);
};

class player : public sprite {
public:
   bool flash_flag;       // invulnerable after touching an asteroid
   bool shot_flag;        // unread
   bool reverse;          // unread
   bool skid_flag;        // unread
   int god_time;          // ticks of invulnerability left
   int spin_out_counter;  // unread
   int check_point_counter;   // unread
   int shot_timer;        // ticks the pending shot has waited
   int shot_delay;        // 1 while a shot is pending
   int shot_interval;     // ticks a pending shot waits
   float accel;           // what one tick of thrust adds to speed
   float accel_rate;      // unread
   int x_momentum, y_momentum;    // unread
   int old_x_vel, old_y_vel;      // unread
   int top_speed;         // velocity limit per component
   int max_top_speed;     // unread
   int turn_rate;         // unread
};

// Starts the first free sprite of an array with a 16 x 16 box; does nothing when all are live.
void spawn_sprite(int max_sprites, sprite *sprite_type, int _x, int _y, int _dir,
                  int _x_vel, int _y_vel, int _type, int value);

#endif
