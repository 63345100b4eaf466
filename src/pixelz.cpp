// Particle pool: launching, moving and drawing allocate nothing. A bit map of the live
// slots finds the lowest free one a word of 64 slots at a time.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include "alleg.h"
#include "pixelz.h"

pixel_typ pixel[MAX_PIXELS];

static const int SLOT_BITS = 64;                                      // slots per word of the map
static const int SLOT_WORDS = (MAX_PIXELS + SLOT_BITS - 1) / SLOT_BITS;
static uint64_t live_slots[SLOT_WORDS];    // bit i % 64 of word i / 64 is set while slot i is live

static const int DRAG_AFTER = 10;     // pixels travelled before drag sets in
static const double DRAG = 0.05;      // speed lost per tick on each axis once dragging

// Sets or clears a slot's bit in the map of live slots.
static void mark_slot(int i, bool live)
{
   uint64_t bit = (uint64_t)1 << (i % SLOT_BITS);
   if (live)
      live_slots[i / SLOT_BITS] |= bit;
   else
      live_slots[i / SLOT_BITS] &= ~bit;
}

// The lowest free slot, or MAX_PIXELS when every slot is live (the bits past the pool's end read as free).
static int lowest_free_slot()
{
   for (int w = 0; w < SLOT_WORDS; w++)
      if (uint64_t free_bits = ~live_slots[w])
         return std::min(w * SLOT_BITS + __builtin_ctzll(free_bits), MAX_PIXELS);
   return MAX_PIXELS;
}

// Takes the lowest free slot.
void init_pixel(int _life, float _x, float _y, float _x_vel, float _y_vel, int _color)
{
   int i = lowest_free_slot();
   if (i == MAX_PIXELS)
      return;
   mark_slot(i, true);
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

// Zeroes every particle and frees its slot.
void clear_pixels()
{
   std::fill(pixel, pixel + MAX_PIXELS, pixel_typ{});
   std::fill(live_slots, live_slots + SLOT_WORDS, 0);
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
      if (!p.state)
         mark_slot(i, false);
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
