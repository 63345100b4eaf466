// The whole-number factor the frame is shown at, and the scaler against the library's stretch_blit.
#include <gtest/gtest.h>
#include <cstdlib>
#include "display.h"
#include "support.h"

// The largest factor that fits (a window leaves 80 rows of the desktop), at least 1; QUORBIX_SCALE 1 to 8 wins.
TEST(Display, FactorRule)
{
   const struct { int w, h, window, fullscreen; } desktops[] = {
      {640, 480, 1, 1}, {1024, 768, 1, 1}, {1366, 768, 1, 1}, {1280, 1040, 2, 2}, {1280, 1039, 1, 2},
      {1279, 2000, 1, 1}, {1920, 1080, 2, 2}, {2560, 1440, 2, 3}, {3840, 2160, 4, 4}, {0, 0, 1, 1}};
   for (const auto &d : desktops) {
      EXPECT_EQ(window_factor(nullptr, d.w, d.h), d.window) << d.w << " x " << d.h;
      EXPECT_EQ(fitting_factor(d.w, d.h), d.fullscreen) << d.w << " x " << d.h;
   }
   for (const char *scale : {"1", "3", "8"})
      EXPECT_EQ(window_factor(scale, 1920, 1080), atoi(scale)) << scale;
   for (const char *scale : {"", "0", "9", "12", "2x", " 3", "-1"})
      EXPECT_EQ(window_factor(scale, 1920, 1080), 2) << "'" << scale << "'";
}

// Each pixel of a random frame becomes a block, byte for byte what stretch_blit makes of it.
TEST(Display, ScalerMatchesStretchBlit)
{
   srand(16);
   BITMAP *frame = create_bitmap(SCREEN_W, SCREEN_H);
   for (int i = 0; i < SCREEN_W * SCREEN_H; i++)
      frame->line[0][i] = rand() % 256;   // a memory bitmap's rows follow each other
   for (int factor = 2; factor <= MAX_FACTOR; factor++) {
      BITMAP *ours = create_bitmap(SCREEN_W * factor, SCREEN_H * factor), *theirs = create_bitmap(ours->w, ours->h);
      clear_to_color(ours, 1);
      scale_frame(frame, ours, factor);
      stretch_blit(frame, theirs, 0, 0, SCREEN_W, SCREEN_H, 0, 0, theirs->w, theirs->h);
      EXPECT_EQ(rows_differing(ours, 0, 0, theirs, 0, 0, ours->w, ours->h), 0) << "factor " << factor;
      destroy_bitmap(ours);
      destroy_bitmap(theirs);
   }
   destroy_bitmap(frame);
}
