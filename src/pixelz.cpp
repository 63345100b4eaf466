// Particle pool: launching, moving and drawing allocate nothing. A slot is free exactly when
// its state is false: nothing beside the array keeps count of the live ones, so whoever frees
// or zeroes a slot, the next launch sees it.
#include <algorithm>
#include <cmath>
#include "alleg.h"
#include "pixelz.h"

pixel_typ pixel[MAX_PIXELS];

static const int DRAG_AFTER = 10;     // pixels travelled before drag sets in
static const double DRAG = 0.05;      // speed lost per tick on each axis once dragging

// Takes the lowest slot whose state is false.
void init_pixel(int _life, float _x, float _y, float _x_vel, float _y_vel, int _color)
{
   int i = 0;
   while (i < MAX_PIXELS && pixel[i].state)
      i++;
   if (i == MAX_PIXELS)
      return;
   pixel_typ &p = pixel[i];
   p.state = true;
   p.life = _life;
   p.x = _x;
   p.y = _y;
   p.x_vel = _x_vel;
   p.y_vel = _y_vel;
   p.color = _color;
   p.counter = 0;
}

// Zeroes every particle, which frees every slot.
void clear_pixels()
{
   std::fill(pixel, pixel + MAX_PIXELS, pixel_typ{});
}

// One component of velocity, 0.05 closer to zero (crossing zero if it was closer than that).
static float drag(float v)
{
   if (v > 0) return (float)(v - DRAG);
   if (v < 0) return (float)(v + DRAG);
   return v;
}

// Moves, counts the distance, drags and retires each live particle.
void move_pixels()
{
   for (int i = 0; i < MAX_PIXELS; i++) {
      pixel_typ &p = pixel[i];
      if (!p.state)
         continue;
      p.x += p.x_vel;
      p.y += p.y_vel;
      // In double precision: a float sum can round up to the next whole pixel.
      p.counter = (int)(p.counter + std::fabs((double)p.x_vel));
      p.counter = (int)(p.counter + std::fabs((double)p.y_vel));
      if (p.counter > DRAG_AFTER) {
         p.x_vel = drag(p.x_vel);
         p.y_vel = drag(p.y_vel);
      }
      if (p.counter > p.life)
         p.state = false;
      else if (p.x_vel == 0.0f && p.y_vel == 0.0f)
         p.state = false;
      else if (std::fabs(p.x_vel) < DRAG && std::fabs(p.y_vel) < DRAG)
         p.state = false;
   }
}

// One pixel per live particle, at its truncated position; the library clips.
void draw_pixels(BITMAP *bmp)
{
   for (int i = 0; i < MAX_PIXELS; i++) {
      const pixel_typ &p = pixel[i];
      if (p.state)
         putpixel(bmp, (int)p.x, (int)p.y, p.color);
   }
}
