// The title screen, tick by tick: its keys, its phases and the moving picture.
#include <gtest/gtest.h>
#include <chrono>
#include "controller.h"
#include "game.h"
#include "highscores.h"
#include "intro.h"
#include "quorbix.h"
#include "support.h"
#include "timers.h"

class IntroTest : public testing::Test {
protected:
   intro_typ intro;
   void SetUp() override
   {
      ASSERT_NE(test_data, nullptr);
      data = test_data;
      release_all_keys();
      num_joysticks = 0;
      universal_control = CONTROL_ARROWS;
      ASSERT_TRUE(intro_setup(&intro));
   }
   void TearDown() override
   {
      intro_teardown(&intro);
      release_all_keys();
      num_joysticks = 0;
   }
   // Runs ticks that do not end the title screen.
   void run_ticks(int n)
   {
      for (int i = 0; i < n; i++)
         ASSERT_EQ(intro_tick(&intro), INTRO_GOES_ON);
   }
   // Counts the pixels of the composed frame in a rectangle that are not background.
   int lit_pixels(int x1, int y1, int x2, int y2)
   {
      int n = 0;
      for (int y = y1; y <= y2; y++)
         for (int x = x1; x <= x2; x++)
            n += getpixel(intro.buffer, x, y) != 0;
      return n;
   }
   // True when a line of the built-in font, centred at y, is exactly the given text.
   bool centred_line_is(const char *text, int y)
   {
      BITMAP *expect = create_bitmap(SCREEN_W, 8);
      clear(expect);
      textout_centre(expect, font, text, SCREEN_W / 2, 0, 15);
      bool same = true;
      for (int row = 0; row < 8; row++)
         for (int x = 0; x < SCREEN_W; x++)
            same = same && getpixel(expect, x, row) == getpixel(intro.buffer, x, y + row);
      destroy_bitmap(expect);
      return same;
   }
};

// Esc wins over Enter; Enter returns only once it is let go.
TEST_F(IntroTest, EscAndEnter)
{
   hold_key(KEY_ESC, true);
   hold_key(KEY_ENTER, true);
   EXPECT_EQ(intro_tick(&intro), INTRO_QUIT);

   hold_key(KEY_ESC, false);
   auto start = std::chrono::steady_clock::now();
   release_key_after(KEY_ENTER, 150);
   EXPECT_EQ(intro_tick(&intro), INTRO_PLAY);
   auto waited = std::chrono::steady_clock::now() - start;
   EXPECT_GE(waited, std::chrono::milliseconds(140));
   EXPECT_EQ(key[KEY_ENTER], 0);
}

// F2 switches keyboard and joystick only when a joystick exists, once per press.
TEST_F(IntroTest, F2SwitchesControl)
{
   hold_key(KEY_F2, true);
   release_key_after(KEY_F2, 50);
   run_ticks(1);
   EXPECT_EQ(universal_control, CONTROL_ARROWS);
   intro_frame(&intro);
   EXPECT_TRUE(centred_line_is("no joystick detected, Use arrow keys to control, A to fire", 410));

   num_joysticks = 1;
   universal_control = CONTROL_JOYSTICK_1;
   intro_frame(&intro);
   EXPECT_TRUE(centred_line_is("Using joystick to control press F2 to use arrow keys", 410));

   hold_key(KEY_F2, true);
   release_key_after(KEY_F2, 80);
   run_ticks(1);
   EXPECT_EQ(universal_control, CONTROL_ARROWS);
   run_ticks(5);
   EXPECT_EQ(universal_control, CONTROL_ARROWS);
   intro_frame(&intro);
   EXPECT_TRUE(centred_line_is("Using arrow keys to control A to fire, press F2 to use joystick", 410));
   EXPECT_TRUE(centred_line_is("Press Enter to start", 390));

   hold_key(KEY_F2, true);
   release_key_after(KEY_F2, 20);
   run_ticks(1);
   EXPECT_EQ(universal_control, CONTROL_JOYSTICK_1);
}

// The picture shows first, the scores from 8 seconds, the picture again at 14.
TEST_F(IntroTest, PhasesOfTheCycle)
{
   timer_2 = 0;
   run_ticks(3);
   EXPECT_FALSE(intro.show_scores);

   timer_2 = 8;
   run_ticks(1);
   EXPECT_TRUE(intro.show_scores);
   create_highscores();
   intro_frame(&intro);
   EXPECT_GT(lit_pixels(250, 5, 639, 60), 0) << "no heading";
   for (int i = 1; i <= NUM_HIGH_SCORES; i++) {
      int y = 40 * i + 40;
      EXPECT_GT(lit_pixels(175, y, 340, y + 19), 0) << "no score on row " << i;
      EXPECT_GT(lit_pixels(350, y, 639, y + 19), 0) << "no name on row " << i;
      for (int x = 175; x < 640; x++)
         ASSERT_TRUE(getpixel(intro.buffer, x, y + 10) == 0 || getpixel(intro.buffer, x, y + 10) == 255);
   }

   timer_2 = 14;
   run_ticks(1);
   EXPECT_FALSE(intro.show_scores);
   EXPECT_EQ(timer_2, 0);
   EXPECT_TRUE(intro.whichone == 1 || intro.whichone == 2);
   EXPECT_EQ(intro.intro1, intro.whichone == 1);
}

// An unrolling picture comes to rest with its rows 0..237 at y 101..338.
TEST_F(IntroTest, UnrollingPictureComesToRest)
{
   timer_2 = 0;
   intro.intro1 = false;
   run_ticks(1);
   EXPECT_EQ(intro.move_y, 100);
   EXPECT_EQ(intro.bioniccommando, 238);
   run_ticks(300);
   EXPECT_EQ(intro.bioniccommando, -1);
   intro_frame(&intro);

   BITMAP *title = (BITMAP *)data[TITLE_BMP].dat;
   for (int row = 0; row <= 237; row++)
      for (int x = 0; x < 300; x++)
         ASSERT_EQ(getpixel(intro.buffer, 160 + x, 101 + row), getpixel(title, x, row)) << "row " << row;
   EXPECT_EQ(lit_pixels(160, 100, 459, 100), 0);
   EXPECT_EQ(lit_pixels(160, 339, 459, 380), 0);
   run_ticks(10);
   EXPECT_EQ(intro.bioniccommando, -1);
}

// A falling picture slides down one row per tick and comes back from above.
TEST_F(IntroTest, FallingPictureMoves)
{
   timer_2 = 0;
   intro.intro1 = true;
   run_ticks(10);
   EXPECT_EQ(intro.move_y, 10);
   EXPECT_EQ(intro.bioniccommando, 0);
   intro_frame(&intro);
   BITMAP *title = (BITMAP *)data[TITLE_BMP].dat;
   for (int x = 0; x < 300; x++)
      ASSERT_EQ(getpixel(intro.buffer, 160 + x, 10 + 120), getpixel(title, x, 120));

   intro.move_y = 480;
   run_ticks(1);
   EXPECT_EQ(intro.move_y, -239);
}
