// The particle pool, lightning bolts and keyboard text entry.
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <cstring>
#include <set>
#include <tuple>
#include <vector>
#include "support.h"
#include "effects.h"
#include "pixelz.h"
#include "stringz.h"

// What a drawing left on the whole of a bitmap.
static ink footprint(BITMAP *bmp) { return ink_in(bmp, 0, 0, bmp->w - 1, bmp->h - 1); }

// A slot is free when its state is false, however it got so: launches take the lowest such slot
// (the 1001st live one is dropped); travel, drag, death, drawing.
TEST(Particles, PoolTravelAndDrawing)
{
   auto live = [] { return std::count_if(pixel, pixel + MAX_PIXELS, [](const pixel_typ &p) { return p.state; }); };
   clear_pixels();
   for (int i = 0; i < MAX_PIXELS; i++)
      init_pixel(100, 10.0f, 10.0f, 1.0f, 1.0f, 7);
   memset(pixel, 0, sizeof(pixel));               // a full pool zeroed behind its back
   for (int i = 0; i <= MAX_PIXELS; i++)
      init_pixel(100, 10.0f, 10.0f, 1.0f, 1.0f, i == MAX_PIXELS ? 200 : 7);
   EXPECT_EQ(live(), MAX_PIXELS);
   EXPECT_TRUE(std::none_of(pixel, pixel + MAX_PIXELS, [](const pixel_typ &p) { return p.color == 200; }));
   pixel[999].state = false;                      // freed through the record
   pixel[63].state = false;
   pixel[64].life = 0;                            // freed by dying
   pixel[500].life = 0;
   move_pixels();
   for (int color = 201; color <= 205; color++)
      init_pixel(100, 0.0f, 0.0f, 1.0f, 1.0f, color);
   const std::vector<int> taken = {pixel[63].color, pixel[64].color, pixel[500].color, pixel[999].color};
   EXPECT_EQ(taken, (std::vector<int>{201, 202, 203, 204}));
   EXPECT_TRUE(std::none_of(pixel, pixel + MAX_PIXELS, [](const pixel_typ &p) { return p.color == 205; }));
   pixel[1].state = false;
   pixel[1].counter = 77;
   init_pixel(30, 1.5f, 2.5f, -3.0f, 4.0f, 99);
   EXPECT_EQ(std::make_tuple(pixel[1].state, pixel[1].counter, pixel[1].life, pixel[1].color), std::make_tuple(true, 0, 30, 99));
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
   for (int tick = 1; tick <= 200; tick++) {
      move_pixels();
      for (int i = 0; i < 7; i++)
         EXPECT_EQ(pixel[i].state, !cases[i].dies || tick < cases[i].dies) << "case " << i << " tick " << tick;
      EXPECT_TRUE(tick > 4 || (pixel[0].counter == 3 * tick && pixel[0].x_vel == (tick < 4 ? 3.0f : 2.95f))) << tick;
      EXPECT_TRUE(tick > 3 || pixel[0].x == 3.0f * tick) << tick;
      EXPECT_TRUE(tick < 2 || tick > 3 || pixel[7].y_vel == (tick == 2 ? -5.0f : -4.95f)) << tick;
   }
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
   EXPECT_TRUE(footprint(bmp).colors == (std::set<int>{21, 23}) && getpixel(bmp, 0, 5) == 21 && getpixel(bmp, 3, 4) == 23);
   destroy_bitmap(bmp);
}

// Equal ends make a dot; a long bolt stays in its jitter band; a 15 px one steps back; 254 + 5 wraps to 3.
TEST(Lightning, DotBandStepAndColourWrap)
{
   BITMAP *bmp = create_bitmap(700, 60);
   clear_bitmap(bmp);
   draw_lightning(bmp, 20, 20, 20, 20, 40);
   const ink dot = footprint(bmp);
   EXPECT_EQ(std::make_tuple(dot.min_x, dot.max_x, dot.min_y, dot.max_y), std::make_tuple(17, 23, 17, 23));
   EXPECT_TRUE(getpixel(bmp, 20, 20) == 15 && getpixel(bmp, 22, 20) == 45 && getpixel(bmp, 23, 20) == 40);
   srand(7);
   int lowest[2] = {INT_MAX, INT_MAX}, highest[2] = {INT_MIN, INT_MIN};    // a long bolt's band, a short one's
   for (int draw = 0; draw < 40; draw++) {
      clear_bitmap(bmp);
      draw_lightning(bmp, 20, 30, 660, 30, 100);
      ink f = footprint(bmp);
      EXPECT_TRUE(f.min_x == 17 && f.max_x <= 667 && f.colors == (std::set<int>{15, 100, 105}));
      EXPECT_TRUE(getpixel(bmp, 20, 30) == 15 && getpixel(bmp, 660, 30) == 15);
      lowest[0] = std::min(lowest[0], f.min_y), highest[0] = std::max(highest[0], f.max_y);
      clear_bitmap(bmp);
      draw_lightning(bmp, 30, 30, 15, 30, 254);
      f = footprint(bmp);
      EXPECT_TRUE(f.min_x == 12 && f.max_x == 33 && f.colors == (std::set<int>{3, 15, 254}));
      lowest[1] = std::min(lowest[1], f.min_y), highest[1] = std::max(highest[1], f.max_y);
   }
   EXPECT_EQ(std::make_tuple(lowest[0], highest[0], lowest[1], highest[1]), std::make_tuple(22, 37, 26, 34));
   destroy_bitmap(bmp);
}

// The glow of random polylines, clipped or not, of any colour, equals stamping lightning_helper.
TEST(Lightning, GlowMatchesCirclefillStamping)
{
   const int edge_colors[] = {0, 1, 249, 250, 251, 252, 253, 254};
   const int W = 48, H = 32, MARGIN = 12;    // polylines start up to 12 pixels off the bitmap
   BITMAP *fast = create_bitmap(W, H), *slow = create_bitmap(W, H);
   srand(3);
   int differing = 0;
   for (int bolt = 0; bolt < 4000; bolt++) {
      int points = 2 + rand() % 9, reach = 1 << rand() % 7, x[10], y[10];    // steps of up to 64 a side
      x[0] = rand() % (W + 2 * MARGIN) - MARGIN, y[0] = rand() % (H + 2 * MARGIN) - MARGIN;
      for (int i = 1; i < points; i++)
         x[i] = x[i - 1] + rand() % (2 * reach + 1) - reach, y[i] = y[i - 1] + rand() % (2 * reach + 1) - reach;
      int c = bolt % 2 ? edge_colors[bolt / 2 % 8] : rand() % 256;
      for (BITMAP *bmp : {fast, slow}) {
         set_clip_rect(bmp, 0, 0, W - 1, H - 1);
         clear_to_color(bmp, c + 128);    // neither colour of the glow: a missed write shows
         if (bolt % 3 == 0)
            set_clip_rect(bmp, 5, 3, W - 7, H - 4);
      }
      draw_glow(fast, x, y, points, c);
      for (int i = 0; i + 1 < points; i++)
         do_line(slow, x[i], y[i], x[i + 1], y[i + 1], c, lightning_helper);
      for (int row = 0; row < H; row++)
         differing += memcmp(fast->line[row], slow->line[row], W) != 0;
   }
   EXPECT_EQ(differing, 0);
   destroy_bitmap(fast);
   destroy_bitmap(slow);
}

// Keys typed before each call: Backspace, the limit, dropped keys, and the pause after a key.
TEST(TextEntry, KeysLimitAndPause)
{
   end_entry_pause();   // the tests run in another order on Windows
   clear_keybuf();
   char line[16] = "#";    // the text starts after a guard byte that must survive
   const struct { const char *keys; int delay; const char *after; } steps[] = {    // '\1': an arrow key
      {"z", 0, "z"}, {"\b", 0, ""}, {"\b", 0, ""}, {"a\t", 0, "a"},
      {"", 0, "a\t"}, {"\xe9", 0, "a\t\xe9"}, {"b", 0, "a\t\xe9" "b"},
      {"d", 0, "a\t\xe9" "b"}, {"\b", 0, "a\t\xe9"},
      {"\r\n\x1b" "c", 2, "a\t\xe9"}, {"", 2, "a\t\xe9"}, {"", 2, "a\t\xe9"}, {"", 2, "a\t\xe9" "c"},
      {"x", 2, "a\t\xe9" "c"}, {"y", 2, "a\t\xe9" "c"}, {"\b", 2, "a\t\xe9"},
      {"\1z", 2, "a\t\xe9"}, {"", 2, "a\t\xe9"}, {"y", 2, "a\t\xe9"}, {"f", 2, "a\t\xe9" "f"},
      {"", 2, "a\t\xe9" "f"}, {"", 2, "a\t\xe9" "f"}, {"g\b", 2, "a\t\xe9" "f"}, {"", 2, "a\t\xe9"},
      {"\bh", 2, "a\t"}, {"", 2, "a\th"}, {"", 2, "a\th"}, {"", 2, "a\th"},
      {"\b", 1, "a\t"}, {"i", 1, "a\ti"}, {"j", 1, "a\ti"}, {"k", 1, "a\tik"}};
   for (const auto &s : steps) {
      for (const char *k = s.keys; *k; k++)    // as readkey() gives it: scancode, then character code
         simulate_keypress(*k == '\1' ? KEY_LEFT << 8 : KEY_Q << 8 | (unsigned char)*k);
      get_keyboard_input(line + 1, 4, s.delay);
      EXPECT_STREQ(line + 1, s.after) << "after keys " << s.keys;
   }
   EXPECT_EQ(line[0], '#');
}
