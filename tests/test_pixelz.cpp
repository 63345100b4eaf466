// The particle pool: launches into free slots, travel, drag, death and drawing.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <vector>
#include "support.h"
#include "pixelz.h"

// Launches take the lowest slot whose state is false, however it got so (the 1001st is dropped).
TEST(Particles, PoolTravelAndDrawing)
{
   clear_pixels();
   for (int i = 0; i < MAX_PIXELS; i++)
      init_pixel(100, 10.0f, 10.0f, 1.0f, 1.0f, 7);
   memset(pixel, 0, sizeof(pixel));               // a full pool zeroed behind its back
   for (int i = 0; i <= MAX_PIXELS; i++)
      init_pixel(100, 10.0f, 10.0f, 1.0f, 1.0f, i == MAX_PIXELS ? 200 : 7);
   EXPECT_EQ(std::count_if(pixel, pixel + MAX_PIXELS, [](const pixel_typ &p) { return p.state; }), MAX_PIXELS);
   EXPECT_TRUE(std::none_of(pixel, pixel + MAX_PIXELS, [](const pixel_typ &p) { return p.color == 200; }));
   pixel[999].state = pixel[63].state = false;    // freed through the record
   pixel[64].life = pixel[500].life = 0;          // freed by dying
   move_pixels();
   for (int color = 201; color <= 205; color++)
      init_pixel(100, 0.0f, 0.0f, 1.0f, 1.0f, color);
   const std::vector<int> taken = {pixel[63].color, pixel[64].color, pixel[500].color, pixel[999].color};
   EXPECT_EQ(taken, (std::vector<int>{201, 202, 203, 204}));
   EXPECT_TRUE(std::none_of(pixel, pixel + MAX_PIXELS, [](const pixel_typ &p) { return p.color == 205; }));
   pixel[1].state = false;
   pixel[1].counter = 77;
   init_pixel(30, 1.5f, 2.5f, -3.0f, 4.0f, 99);
   EXPECT_EQ(make_tuple(pixel[1].state, pixel[1].counter, pixel[1].life, pixel[1].color), make_tuple(true, 0, 30, 99));
   // The tick each particle dies on (0: never); the counter, and drag once past 10.
   const struct { int life; float x_vel, y_vel; int dies; } cases[] = {
      {20, 3.0f, 0.0f, 9},          // counts 3, 6, 9, 12, 14 ... 20, 22: past its life on tick 9
      {100, 0.0f, 0.0f, 1},         // at rest
      {0, 0.0f, 1.0f, 1},           // out of life
      {100, 0.04f, -0.04f, 1},      // slower than the drag on both axes
      {0, 0.9f, 0.9f, 0},           // counts no whole pixel, so life 0 is enough
      {5, 0.5f, -0.5f, 0},          // never counts, so never drags nor dies
      {100, 0.03f, 20.0f, 6}};      // one slow axis is not enough
   clear_pixels();
   for (const auto &c : cases)
      init_pixel(c.life, 0.0f, 0.0f, c.x_vel, c.y_vel, 1);
   init_pixel(1000, 0.0f, 0.0f, 0.0f, -5.0f, 1);    // exactly 10 after two ticks: no drag yet
   std::vector<std::tuple<int, float, float, float>> early;    // ticks 1 to 4: 0's counter, x speed and x; 7's y speed
   for (int tick = 1; tick <= 200; tick++) {
      move_pixels();
      for (int i = 0; i < 7; i++)
         EXPECT_EQ(pixel[i].state, !cases[i].dies || tick < cases[i].dies) << "case " << i << " tick " << tick;
      if (tick <= 4)
         early.emplace_back(pixel[0].counter, pixel[0].x_vel, pixel[0].x, pixel[7].y_vel);
   }
   EXPECT_EQ(early, (std::vector<std::tuple<int, float, float, float>>{    // the drag takes 0.05 a tick
      {3, 3.0f, 3.0f, -5.0f}, {6, 3.0f, 6.0f, -5.0f}, {9, 3.0f, 9.0f, -4.95f}, {12, 2.95f, 12.0f, -4.95f + 0.05f}}));
   EXPECT_EQ(pixel[5].x_vel, 0.5f);
   // Live particles are plotted at their truncated place, later slots on top.
   BITMAP *bmp = create_bitmap(32, 32);
   clear_bitmap(bmp);
   clear_pixels();
   const float spots[][2] = {{-0.7f, 5.0f}, {3.9f, 4.9f}, {3.2f, 4.1f}, {10.0f, 10.0f}, {-40.0f, 500.0f}};
   for (int i = 0; i < 5; i++)
      init_pixel(10, spots[i][0], spots[i][1], 1.0f, 0.0f, 21 + i);
   pixel[3].state = false;
   draw_pixels(bmp);
   EXPECT_EQ(make_tuple(ink_in(bmp, 0, 0, 31, 31).colors, getpixel(bmp, 0, 5), getpixel(bmp, 3, 4)), make_tuple(std::set<int>{21, 23}, 21, 23));
   destroy_bitmap(bmp);
}
