// Lightning bolts: their dots, jitter band, colours and glow.
#include <gtest/gtest.h>
#include <algorithm>
#include "support.h"
#include "effects.h"

// Equal ends make a dot; a long bolt stays in its jitter band; a 15 px one steps back; 254 + 5 wraps to 3.
TEST(Lightning, DotBandStepAndColourWrap)
{
   BITMAP *bmp = create_bitmap(700, 60);
   clear_bitmap(bmp);
   draw_lightning(bmp, 20, 20, 20, 20, 40);
   const ink dot = ink_in(bmp, 0, 0, 699, 59);
   EXPECT_EQ(make_tuple(dot.min_x, dot.max_x, dot.min_y, dot.max_y), make_tuple(17, 23, 17, 23));
   EXPECT_EQ(make_tuple(getpixel(bmp, 20, 20), getpixel(bmp, 22, 20), getpixel(bmp, 23, 20)), make_tuple(15, 45, 40));
   srand(7);
   int lowest[2] = {INT_MAX, INT_MAX}, highest[2] = {INT_MIN, INT_MIN};    // a long bolt's band, a short one's
   for (int draw = 0; draw < 40; draw++) {
      clear_bitmap(bmp);
      draw_lightning(bmp, 20, 30, 660, 30, 100);
      ink f = ink_in(bmp, 0, 0, 699, 59);
      EXPECT_EQ(make_tuple(f.min_x, f.colors), make_tuple(17, std::set<int>{15, 100, 105}));
      EXPECT_LE(f.max_x, 667);
      EXPECT_EQ(make_tuple(getpixel(bmp, 20, 30), getpixel(bmp, 660, 30)), make_tuple(15, 15));
      lowest[0] = std::min(lowest[0], f.min_y);
      highest[0] = std::max(highest[0], f.max_y);
      clear_bitmap(bmp);
      draw_lightning(bmp, 30, 30, 15, 30, 254);
      f = ink_in(bmp, 0, 0, 699, 59);
      EXPECT_EQ(make_tuple(f.min_x, f.max_x, f.colors), make_tuple(12, 33, std::set<int>{3, 15, 254}));
      lowest[1] = std::min(lowest[1], f.min_y);
      highest[1] = std::max(highest[1], f.max_y);
   }
   EXPECT_EQ(make_tuple(lowest[0], highest[0], lowest[1], highest[1]), make_tuple(22, 37, 26, 34));
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
      x[0] = rand() % (W + 2 * MARGIN) - MARGIN;
      y[0] = rand() % (H + 2 * MARGIN) - MARGIN;
      for (int i = 1; i < points; i++) {
         x[i] = x[i - 1] + rand() % (2 * reach + 1) - reach;
         y[i] = y[i - 1] + rand() % (2 * reach + 1) - reach;
      }
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
      differing += rows_differing(fast, 0, 0, slow, 0, 0, W, H);
   }
   EXPECT_EQ(differing, 0);
   destroy_bitmap(fast);
   destroy_bitmap(slow);
}
