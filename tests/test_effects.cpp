// Effects and text entry: the particle pool, lightning bolts and keyboard text entry.
#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include "support.h"
#include "effects.h"
#include "pixelz.h"
#include "stringz.h"

// Frees every particle slot, so each test starts from an empty pool.
static void clear_pool()
{
   for (pixel_typ &p : pixel)
      p = pixel_typ{};
}

static int live_particles()
{
   int live = 0;
   for (const pixel_typ &p : pixel)
      live += p.state ? 1 : 0;
   return live;
}

// Launch fills the lowest free slot; a full pool drops the launch.
TEST(particles, launch_into_free_and_full_pool)
{
   clear_pool();
   pixel[0].state = true;
   pixel[1].counter = 77;
   init_pixel(30, 1.5f, 2.5f, -3.0f, 4.0f, 99);
   EXPECT_TRUE(pixel[1].state);
   EXPECT_EQ(pixel[1].life, 30); EXPECT_EQ(pixel[1].color, 99); EXPECT_EQ(pixel[1].counter, 0);
   EXPECT_EQ(pixel[1].x, 1.5f); EXPECT_EQ(pixel[1].y, 2.5f);
   EXPECT_EQ(pixel[1].x_vel, -3.0f); EXPECT_EQ(pixel[1].y_vel, 4.0f);
   EXPECT_EQ(live_particles(), 2);

   for (int i = 2; i < MAX_PIXELS; i++)
      init_pixel(100, 10.0f, 10.0f, 1.0f, 1.0f, 7);
   EXPECT_EQ(live_particles(), MAX_PIXELS);
   init_pixel(555, 123.0f, 456.0f, 9.0f, 9.0f, 200);
   for (const pixel_typ &p : pixel) {
      EXPECT_NE(p.life, 555);
      EXPECT_NE(p.color, 200);
   }

   pixel[500].state = false;
   init_pixel(555, 123.0f, 456.0f, 9.0f, 9.0f, 200);
   EXPECT_TRUE(pixel[500].state);
   EXPECT_EQ(pixel[500].color, 200);
   EXPECT_EQ(pixel[500].x, 123.0f);
   clear_pool();
}

// Travel counts whole pixels per axis, drag starts past 10, and the particle dies once past its life.
TEST(particles, travel_drag_and_life)
{
   clear_pool();
   init_pixel(20, 100.0f, 50.0f, 3.0f, 0.0f, 4);
   pixel_typ &p = pixel[0];
   const int counts[] = {3, 6, 9, 12, 14, 16, 18, 20};
   for (int tick = 0; tick < 8; tick++) {
      move_pixels();
      EXPECT_EQ(p.counter, counts[tick]) << "tick " << tick + 1;
      EXPECT_TRUE(p.state) << "tick " << tick + 1;
      if (tick == 2) {
         EXPECT_EQ(p.x_vel, 3.0f);
         EXPECT_EQ(p.x, 109.0f);
      }
      if (tick == 3) {
         EXPECT_EQ(p.x_vel, 2.95f);
      }
   }
   EXPECT_EQ(p.y, 50.0f);
   move_pixels();
   EXPECT_EQ(p.counter, 22);
   EXPECT_FALSE(p.state);
   EXPECT_EQ(p.color, 4);

   // Exactly 10 pixels travelled is not yet past 10: no drag.
   clear_pool();
   init_pixel(100, 0.0f, 0.0f, 0.0f, -5.0f, 4);
   move_pixels();
   move_pixels();
   EXPECT_EQ(pixel[0].counter, 10);
   EXPECT_EQ(pixel[0].y_vel, -5.0f);
   move_pixels();
   EXPECT_EQ(pixel[0].y_vel, -4.95f);

   // Half a pixel per tick never counts, so it never drags nor dies.
   clear_pool();
   init_pixel(5, 0.0f, 0.0f, 0.5f, -0.5f, 4);
   for (int tick = 0; tick < 200; tick++)
      move_pixels();
   EXPECT_TRUE(pixel[0].state);
   EXPECT_EQ(pixel[0].counter, 0);
   EXPECT_EQ(pixel[0].x_vel, 0.5f); EXPECT_EQ(pixel[0].y_vel, -0.5f);
   EXPECT_FLOAT_EQ(pixel[0].x, 100.0f);

   // A speed just under 3 adds 2, even where a float sum would round up to 13.
   clear_pool();
   init_pixel(1000, 0.0f, 0.0f, std::nextafter(3.0f, 0.0f), 0.0f, 4);
   pixel[0].counter = 10;
   move_pixels();
   EXPECT_EQ(pixel[0].counter, 12);

   // Without a life limit, drag slows it until it is too slow to live.
   clear_pool();
   init_pixel(INT_MAX, 0.0f, 0.0f, -3.0f, 0.0f, 4);
   int ticks = 0;
   while (pixel[0].state && ticks < 1000) {
      EXPECT_GE(std::fabs(pixel[0].x_vel), 0.05f);
      move_pixels();
      ticks++;
   }
   EXPECT_FALSE(pixel[0].state);
   EXPECT_LT(std::fabs(pixel[0].x_vel), 0.05f);
   EXPECT_GT(ticks, 60);
   EXPECT_LT(ticks, 66);
   clear_pool();
}

// The death rules on the first tick, and drag carrying a tiny component past zero.
TEST(particles, death_rules_and_drag_past_zero)
{
   clear_pool();
   init_pixel(100, 5.0f, 6.0f, 0.0f, 0.0f, 1);      // at rest
   init_pixel(0, 5.0f, 6.0f, 0.0f, 1.0f, 1);        // no life
   init_pixel(100, 5.0f, 6.0f, 0.04f, -0.04f, 1);   // too slow
   init_pixel(0, 5.0f, 6.0f, 0.9f, 0.9f, 1);        // counts nothing, so life 0 is enough
   init_pixel(100, 5.0f, 6.0f, 0.03f, 20.0f, 1);    // drags at once
   move_pixels();
   EXPECT_FALSE(pixel[0].state);
   EXPECT_EQ(pixel[0].x, 5.0f); EXPECT_EQ(pixel[0].y, 6.0f);
   EXPECT_FALSE(pixel[1].state);
   EXPECT_EQ(pixel[1].y, 7.0f);
   EXPECT_FALSE(pixel[2].state);
   EXPECT_TRUE(pixel[3].state);
   EXPECT_TRUE(pixel[4].state);
   EXPECT_EQ(pixel[4].counter, 20);
   EXPECT_NEAR(pixel[4].x_vel, -0.02f, 1e-6);
   EXPECT_EQ(pixel[4].y_vel, 19.95f);
   move_pixels();
   EXPECT_NEAR(pixel[4].x_vel, 0.03f, 1e-6);
   clear_pool();
}

// Live particles are plotted at their truncated position, later slots on top, dead ones not at all.
TEST(particles, drawing)
{
   BITMAP *bmp = create_bitmap(32, 32);
   ASSERT_NE(bmp, nullptr);
   clear_bitmap(bmp);
   clear_pool();
   init_pixel(10, -0.7f, 5.0f, 1.0f, 0.0f, 21);
   init_pixel(10, 3.9f, 4.9f, 1.0f, 0.0f, 22);
   init_pixel(10, 3.2f, 4.1f, 1.0f, 0.0f, 23);
   init_pixel(10, 10.0f, 10.0f, 1.0f, 0.0f, 24);
   init_pixel(10, -40.0f, 500.0f, 1.0f, 0.0f, 25);
   pixel[3].state = false;
   draw_pixels(bmp);
   EXPECT_EQ(getpixel(bmp, 0, 5), 21);
   EXPECT_EQ(getpixel(bmp, 3, 4), 23);
   EXPECT_EQ(getpixel(bmp, 10, 10), 0);
   int lit = 0;
   for (int y = 0; y < 32; y++)
      for (int x = 0; x < 32; x++)
         lit += getpixel(bmp, x, y) != 0;
   EXPECT_EQ(lit, 2);
   destroy_bitmap(bmp);
   clear_pool();
}

// What a drawing left on a bitmap: the extent of its non-zero pixels and their colours.
struct footprint {
   int min_x = INT_MAX, max_x = INT_MIN, min_y = INT_MAX, max_y = INT_MIN;
   std::set<int> colors;
   std::set<int> columns;
};

static footprint scan(BITMAP *bmp)
{
   footprint f;
   for (int y = 0; y < bmp->h; y++)
      for (int x = 0; x < bmp->w; x++) {
         int c = getpixel(bmp, x, y);
         if (c == 0)
            continue;
         f.min_x = std::min(f.min_x, x); f.max_x = std::max(f.max_x, x);
         f.min_y = std::min(f.min_y, y); f.max_y = std::max(f.max_y, y);
         f.colors.insert(c);
         f.columns.insert(x);
      }
   return f;
}

// A bolt with equal end points is one glow dot: radius 3 in c, radius 2 in c + 5, a white core pixel.
TEST(lightning, equal_end_points_make_a_dot)
{
   BITMAP *bmp = create_bitmap(40, 40);
   ASSERT_NE(bmp, nullptr);
   clear_bitmap(bmp);
   draw_lightning(bmp, 20, 20, 20, 20, 40);
   footprint f = scan(bmp);
   EXPECT_EQ(f.min_x, 17); EXPECT_EQ(f.max_x, 23);
   EXPECT_EQ(f.min_y, 17); EXPECT_EQ(f.max_y, 23);
   EXPECT_EQ(f.colors, (std::set<int>{15, 40, 45}));
   EXPECT_EQ(getpixel(bmp, 20, 20), 15);
   EXPECT_EQ(getpixel(bmp, 22, 20), 45);
   EXPECT_EQ(getpixel(bmp, 20, 18), 45);
   EXPECT_EQ(getpixel(bmp, 23, 20), 40);
   EXPECT_EQ(getpixel(bmp, 20, 17), 40);
   destroy_bitmap(bmp);
}

// A screen-wide bolt stays within its jitter band, reaches both ends of it, and runs unbroken end to end.
TEST(lightning, long_bolt_stays_in_its_band)
{
   BITMAP *bmp = create_bitmap(700, 60);
   ASSERT_NE(bmp, nullptr);
   srand(7);
   int lowest = INT_MAX, highest = INT_MIN;
   for (int draw = 0; draw < 40; draw++) {
      clear_bitmap(bmp);
      draw_lightning(bmp, 20, 30, 660, 30, 100);
      footprint f = scan(bmp);
      EXPECT_EQ(f.min_x, 17);
      EXPECT_LE(f.max_x, 667);
      EXPECT_GE(f.min_y, 22);
      EXPECT_LE(f.max_y, 37);
      EXPECT_EQ(f.colors, (std::set<int>{15, 100, 105}));
      EXPECT_EQ((int)f.columns.size(), f.max_x - f.min_x + 1);
      EXPECT_EQ(getpixel(bmp, 20, 30), 15);
      EXPECT_EQ(getpixel(bmp, 660, 30), 15);
      lowest = std::min(lowest, f.min_y);
      highest = std::max(highest, f.max_y);
   }
   EXPECT_EQ(lowest, 22);
   EXPECT_EQ(highest, 37);
   destroy_bitmap(bmp);
}

// Short bolts: the step truncates toward zero, the jitter shrinks with the length, colours wrap at 256.
TEST(lightning, short_bolts_and_colour_wrap)
{
   BITMAP *bmp = create_bitmap(60, 60);
   ASSERT_NE(bmp, nullptr);
   srand(11);
   int lowest = INT_MAX, highest = INT_MIN;
   for (int draw = 0; draw < 60; draw++) {
      clear_bitmap(bmp);
      draw_lightning(bmp, 30, 30, 17, 30, 254);    // 13 pixels leftward: step -1, jitter -1 to 0
      footprint f = scan(bmp);
      EXPECT_EQ(f.min_x, 14);
      EXPECT_EQ(f.max_x, 33);
      EXPECT_GE(f.min_y, 26);
      EXPECT_LE(f.max_y, 33);
      EXPECT_EQ(f.colors, (std::set<int>{3, 15, 254}));

      clear_bitmap(bmp);
      draw_lightning(bmp, 10, 30, 30, 30, 8);     // 20 pixels: jitter -2 to 1
      f = scan(bmp);
      EXPECT_GE(f.min_y, 25);
      EXPECT_LE(f.max_y, 34);
      lowest = std::min(lowest, f.min_y);
      highest = std::max(highest, f.max_y);
   }
   EXPECT_EQ(lowest, 25);
   EXPECT_EQ(highest, 34);
   destroy_bitmap(bmp);
}

// One key as readkey() gives it: scancode in the high byte, character code in the low byte.
static void press(int scancode, int code)
{
   simulate_keypress((scancode << 8) | code);
}

// Empties the keyboard buffer and lets any pause left by an earlier test run out.
static void settle_keyboard()
{
   char scratch[16] = "";
   clear_keybuf();
   for (int call = 0; call < 4; call++)
      get_keyboard_input(scratch, 9, 2);
   clear_keybuf();
}

// One key per call: characters append as typed, Backspace removes, Backspace on empty text does nothing.
TEST(text_entry, typing_and_backspace)
{
   settle_keyboard();
   char line[16] = "#";    // the text starts after a guard byte that must survive
   char *words = line + 1;
   press(KEY_BACKSPACE, 8);
   get_keyboard_input(words, 9, 0);
   EXPECT_STREQ(words, "");
   EXPECT_EQ(line[0], '#');
   EXPECT_FALSE(keypressed());
   get_keyboard_input(words, 9, 0);
   EXPECT_STREQ(words, "");

   press(KEY_A, 'a');
   press(KEY_B, 'B');
   press(KEY_TAB, 9);
   get_keyboard_input(words, 9, 0);
   EXPECT_STREQ(words, "a");
   get_keyboard_input(words, 9, 0);
   get_keyboard_input(words, 9, 0);
   EXPECT_STREQ(words, "aB\t");
   press(KEY_BACKSPACE, 8);
   get_keyboard_input(words, 9, 0);
   EXPECT_STREQ(words, "aB");
   press(KEY_E, 0xe9);    // a character above 127 is kept whole
   get_keyboard_input(words, 9, 0);
   EXPECT_STREQ(words, "aB\xe9");
   clear_keybuf();
}

// Full text refuses characters but not Backspace; Enter, line feed and Escape never enter; none of these pause.
TEST(text_entry, length_limit_and_dropped_keys)
{
   settle_keyboard();
   char words[16] = "abc";
   press(KEY_D, 'd');
   press(KEY_BACKSPACE, 8);
   get_keyboard_input(words, 3, 2);
   EXPECT_STREQ(words, "abc");
   get_keyboard_input(words, 3, 2);
   EXPECT_STREQ(words, "ab");

   press(KEY_ENTER, 13);
   press(KEY_J, 10);
   press(KEY_ESC, 27);
   press(KEY_Q, 'q');
   for (int call = 0; call < 3; call++)
      get_keyboard_input(words, 3, 2);
   EXPECT_STREQ(words, "ab");
   get_keyboard_input(words, 3, 2);
   EXPECT_STREQ(words, "abq");
   settle_keyboard();
}

// After an accepted key (or a key without a character) the next `delay` calls throw typed keys away.
TEST(text_entry, pause_after_accepted_key)
{
   settle_keyboard();
   char words[16] = "";
   press(KEY_A, 'a');
   get_keyboard_input(words, 9, 2);
   EXPECT_STREQ(words, "a");
   press(KEY_B, 'b');
   get_keyboard_input(words, 9, 2);
   EXPECT_FALSE(keypressed());
   press(KEY_C, 'c');
   get_keyboard_input(words, 9, 2);
   EXPECT_FALSE(keypressed());
   EXPECT_STREQ(words, "a");
   press(KEY_D, 'd');
   get_keyboard_input(words, 9, 2);
   EXPECT_STREQ(words, "ad");

   // Two keys waiting: with a delay the second is lost, without one it is taken next.
   get_keyboard_input(words, 9, 2);
   get_keyboard_input(words, 9, 2);
   press(KEY_E, 'e');
   press(KEY_F, 'f');
   get_keyboard_input(words, 9, 2);
   get_keyboard_input(words, 9, 2);
   get_keyboard_input(words, 9, 2);
   EXPECT_STREQ(words, "ade");
   press(KEY_G, 'g');
   press(KEY_H, 'h');
   get_keyboard_input(words, 9, 0);
   get_keyboard_input(words, 9, 0);
   EXPECT_STREQ(words, "adegh");

   // An arrow key changes nothing but still starts the pause.
   settle_keyboard();
   press(KEY_LEFT, 0);
   get_keyboard_input(words, 9, 2);
   EXPECT_STREQ(words, "adegh");
   press(KEY_Z, 'z');
   get_keyboard_input(words, 9, 2);
   EXPECT_FALSE(keypressed());
   EXPECT_STREQ(words, "adegh");
   get_keyboard_input(words, 9, 2);
   press(KEY_Y, 'y');
   get_keyboard_input(words, 9, 2);
   EXPECT_STREQ(words, "adeghy");
   settle_keyboard();
}
