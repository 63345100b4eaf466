// Sprite operations. They know nothing of the game: they move nothing, draw
// nothing and own no bitmap.
#include "sprite.h"

static const int SPAWN_SIZE = 16;      // box of every spawned object
static const int DEFAULT_TIMING = 7;   // animate calls per frame after init, less one
static const int BOUNCE_INSET = 2;     // pixels a bounce or stop puts the box inside

// Places the box and makes the object live; velocities, heading and frame are the caller's.
void sprite::init(int _type, int _x, int _y, int _width, int _height)
{
   x = _x;
   y = _y;
   width = _width;
   height = _height;
   type = _type;
   ani_timing = DEFAULT_TIMING;
   state = 1;
   speed = 0.0f;
   frame_point = 0;
   counter = 0;
   item = 0;
}

// Frees the object and collapses its box at (0, 0).
void sprite::deystroy()
{
   x = y = width = height = 0;
   framez = ani_timer = ani_timing = frame_point = counter = item = 0;
   state = 0;
   x_vel = y_vel = speed = 0.0f;
}

// Advances the frame every ani_timing + 1 calls; holds or loops at the end of the list.
int sprite::animate(int *array_of_frames, int max_frames, bool loop)
{
   int result = 0;
   if (ani_timer < ani_timing) {
      ani_timer++;
   } else {
      ani_timer = 0;
      frame_point++;
   }
   if (frame_point >= max_frames) {
      if (loop) {
         frame_point = 0;
      } else {
         frame_point = max_frames - 1;
         result = 1;
      }
   }
   framez = array_of_frames[frame_point];
   return result;
}

// Closed boxes: sharing an edge or a corner counts as a collision.
int sprite::sprite_collision(sprite *other)
{
   if (x > other->x + other->width) return 0;
   if (other->x > x + width) return 0;
   if (y > other->y + other->height) return 0;
   if (other->y > y + height) return 0;
   return 1;
}

// Reverses (bounce) or clears (stop) one velocity component and the speed.
static void turn_back(float &vel, float &speed, bool bounce)
{
   if (bounce) {
      vel *= -1.0f;
      speed *= -1.0f;
   } else {
      vel = 0.0f;
      speed = 0.0f;
   }
}

// Pushes the box inside after touching an edge; reverses (bounce) or stops the motion.
static int keep_inside(sprite *s, bool bounce, int scn1x, int scn1y, int scn2x, int scn2y)
{
   if (s->x <= scn1x) {
      s->x = scn1x + BOUNCE_INSET;
      turn_back(s->x_vel, s->speed, bounce);
      return EDGE_LEFT;
   }
   if (s->x + s->width >= scn2x) {
      s->x = scn2x - s->width - BOUNCE_INSET;
      turn_back(s->x_vel, s->speed, bounce);
      return EDGE_RIGHT;
   }
   if (s->y <= scn1y) {
      s->y = scn1y + BOUNCE_INSET;
      turn_back(s->y_vel, s->speed, bounce);
      return EDGE_TOP;
   }
   if (s->y + s->height >= scn2y) {
      s->y = scn2y - s->height - BOUNCE_INSET;
      turn_back(s->y_vel, s->speed, bounce);
      return EDGE_BOTTOM;
   }
   return 0;
}

// Carries a box that has wholly left the rectangle, moving outward, beyond the opposite edge; one
// moving back in is left alone. One that has stopped dead out there would never come back, so it is
// set just inside the edge it is beyond.
static void wrap_around(sprite *s, int scn1x, int scn1y, int scn2x, int scn2y)
{
   if (s->x + s->width <= scn1x) {
      if (s->x_vel < 0) s->x = scn2x + 2 * s->width;
      else if (s->x_vel == 0) s->x = scn1x;
   } else if (s->x >= scn2x) {
      if (s->x_vel > 0) s->x = scn1x - 2 * s->width;
      else if (s->x_vel == 0) s->x = scn2x - s->width;
   } else if (s->y + s->height <= scn1y) {
      if (s->y_vel < 0) s->y = scn2y + 2 * s->height;
      else if (s->y_vel == 0) s->y = scn1y;
   } else if (s->y >= scn2y) {
      if (s->y_vel > 0) s->y = scn1y - 2 * s->height;
      else if (s->y_vel == 0) s->y = scn2y - s->height;
   }
}

// Acts on the first edge found, in the order left, right, top, bottom.
int sprite::check_boundries(int boundry_type, int scn1x, int scn1y, int scn2x, int scn2y)
{
   switch (boundry_type) {
      case BOUNDRY_BOUNCE: return keep_inside(this, true, scn1x, scn1y, scn2x, scn2y);
      case BOUNDRY_STOP:   return keep_inside(this, false, scn1x, scn1y, scn2x, scn2y);
      case BOUNDRY_WRAP:   wrap_around(this, scn1x, scn1y, scn2x, scn2y); return 0;
      default:             return 0;
   }
}

// Starts the lowest free slot at (_x, _y) with the given direction and velocity.
void spawn_sprite(int max_sprites, sprite *sprite_type, int _x, int _y, int _dir,
                  int _x_vel, int _y_vel, int _type, int value)
{
   for (int z = 0; z < max_sprites; z++) {
      sprite &s = sprite_type[z];
      if (s.state != 0)
         continue;
      s.init(_type, _x, _y, SPAWN_SIZE, SPAWN_SIZE);
      s.item = value;
      s.x_vel = (float)_x_vel;
      s.y_vel = (float)_y_vel;
      s.dir = _dir;
      s.counter = 0;
      return;
   }
}
