// The title screen, tick by tick: its keys, its phases and the moving picture.
#include <gtest/gtest.h>
#include <chrono>
#include "controller.h"
#include "game.h"
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
      num_joysticks = 0;
   }
   void run_ticks(int n)
   {
      for (int i = 0; i < n; i++)
         ASSERT_EQ(intro_tick(&intro), INTRO_GOES_ON);
   }
   // Holds a key for a moment and runs the tick that waits for its release.
   void press_during_tick(int scancode)
   {
      hold_key(scancode, true);
      release_key_after(scancode, 30);
      run_ticks(1);
   }
   // True when the frame's line at y, in the built-in font, is exactly the given centred text.
   bool line_is(const char *text, int y)
   {
      intro_frame(&intro);
      BITMAP *expect = create_bitmap(SCREEN_W, 8);
      clear(expect);
      textout_centre(expect, font, text, SCREEN_W / 2, 0, 15);
      bool same = true;
      for (int x = 0; x < SCREEN_W * 8; x++)
         same = same && getpixel(expect, x % SCREEN_W, x / SCREEN_W) == getpixel(intro.buffer, x % SCREEN_W, y + x / SCREEN_W);
      destroy_bitmap(expect);
      return same;
   }
};

// Esc wins over Enter; Enter returns only once it is let go; F2 switches keyboard and joystick
// once per press, and only when a joystick exists, and the control line says which is used.
TEST_F(IntroTest, Keys)
{
   hold_key(KEY_ESC, true);
   hold_key(KEY_ENTER, true);
   EXPECT_EQ(intro_tick(&intro), INTRO_QUIT);
   hold_key(KEY_ESC, false);
   auto start = std::chrono::steady_clock::now();
   release_key_after(KEY_ENTER, 150);
   EXPECT_EQ(intro_tick(&intro), INTRO_PLAY);
   EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));

   press_during_tick(KEY_F2);
   EXPECT_EQ(universal_control, CONTROL_ARROWS);
   EXPECT_TRUE(line_is("no joystick detected, Use arrow keys to control, A to fire", 410));
   EXPECT_TRUE(line_is("Press Enter to start", 390));
   num_joysticks = 1;
   universal_control = CONTROL_JOYSTICK_1;
   EXPECT_TRUE(line_is("Using joystick to control press F2 to use arrow keys", 410));
   press_during_tick(KEY_F2);
   run_ticks(5);
   EXPECT_EQ(universal_control, CONTROL_ARROWS);
   EXPECT_TRUE(line_is("Using arrow keys to control A to fire, press F2 to use joystick", 410));
   press_during_tick(KEY_F2);
   EXPECT_EQ(universal_control, CONTROL_JOYSTICK_1);
}

// The scores show from 8 seconds, in colour 255; at 14 a new cycle starts with the picture.
TEST_F(IntroTest, PhasesOfTheCycle)
{
   timer_2 = 8;
   run_ticks(1);
   EXPECT_TRUE(intro.show_scores);
   create_highscores();
   intro_frame(&intro);
   for (int row = 80; row < 340; row += 40) {
      int score_ink = 0, name_ink = 0;
      for (int y = row; y < row + 20; y++)
         for (int x = 175; x < 640; x++) {
            int c = getpixel(intro.buffer, x, y);
            ASSERT_TRUE(c == 0 || c == 255) << x << "," << y;
            (x < 350 ? score_ink : name_ink) += c != 0;
         }
      EXPECT_TRUE(score_ink > 0 && name_ink > 0) << "row " << row;
   }
   timer_2 = 14;
   run_ticks(1);
   EXPECT_TRUE(!intro.show_scores && timer_2 == 0 && intro.intro1 == (intro.whichone == 1));
}

// An unrolling picture comes to rest with its rows 0..237 at y 101..338; a falling one slides down.
TEST_F(IntroTest, PictureMovements)
{
   BITMAP *title = (BITMAP *)data[TITLE_BMP].dat;
   timer_2 = 0;
   intro.intro1 = false;
   run_ticks(300);
   EXPECT_TRUE(intro.move_y == 100 && intro.bioniccommando == -1);
   intro_frame(&intro);
   for (int y = 100; y <= 339; y++)
      for (int x = 0; x < 300; x++)
         ASSERT_EQ(getpixel(intro.buffer, 160 + x, y), y == 100 || y == 339 ? 0 : getpixel(title, x, y - 101)) << y;

   intro.intro1 = true;
   intro.move_y = 0;
   run_ticks(10);
   intro_frame(&intro);
   for (int x = 0; x < 300; x++)
      ASSERT_EQ(getpixel(intro.buffer, 160 + x, 130), getpixel(title, x, 120));
   intro.move_y = 480;
   run_ticks(1);
   EXPECT_EQ(intro.move_y, -239);
}
