// The title screen, tick by tick: its keys, its phases, its texts and the moving picture.
#include <gtest/gtest.h>
#include "game.h"
#include "intro.h"
#include "support.h"
#include "timers.h"

const int CENTRED = -1;

class TitleScreen : public testing::Test {
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
   void TearDown() override { intro_teardown(&intro); }
   void run_ticks(int n)
   {
      for (int i = 0; i < n; i++)
         ASSERT_EQ(intro_tick(&intro), INTRO_GOES_ON);
   }
   // True when a fresh frame shows `text` in font f and colour c at (x, y); a centred text must
   // be alone on its rows.
   bool shows(const std::string &text, int x, int y, FONT *f = font, int c = 15)
   {
      intro_frame(&intro);
      const int w = text_length(f, text.c_str()), h = text_height(f);
      const int left = x == CENTRED ? 0 : x, right = x == CENTRED ? SCREEN_W : x + w;
      BITMAP *expect = create_bitmap(SCREEN_W, h);
      clear(expect);
      textout(expect, f, text.c_str(), x == CENTRED ? SCREEN_W / 2 - w / 2 : x, 0, c);
      const int differ = rows_differing(expect, left, 0, intro.buffer, left, y, right - left, h);
      destroy_bitmap(expect);
      return differ == 0;
   }
};

// Esc wins over Enter; Enter returns once let go; F2 does nothing without a joystick (the joystick test
// runs it with one), and the control line says so; the cycle of picture and table; the picture's movements.
TEST_F(TitleScreen, KeysCycleAndPicture)
{
   key[KEY_ESC] = key[KEY_ENTER] = 1;
   EXPECT_EQ(intro_tick(&intro), INTRO_QUIT);
   key[KEY_ESC] = 0;
   press_key(KEY_ENTER, 150);
   EXPECT_EQ(intro_tick(&intro), INTRO_PLAY);
   EXPECT_EQ(key[KEY_ENTER], 0);

   press_key(KEY_F2, 30);    // the tick waits for its release
   run_ticks(1);
   EXPECT_EQ(universal_control, CONTROL_ARROWS);
   EXPECT_TRUE(shows("no joystick detected, Use arrow keys to control, A to fire", CENTRED, 410));
   EXPECT_TRUE(shows("Press Enter to start", CENTRED, 390));
   EXPECT_TRUE(shows("Quorbix lives at http://quorbix.example.org", 50, 450, font_object(FONT_MAIN)));
   // The table shows from 8 seconds, a row of score and name every 40 pixels from y 80; at 14 a
   // new cycle starts with the picture and a fresh movement.
   timer_2 = 8;
   run_ticks(1);
   EXPECT_TRUE(intro.show_scores);
   create_highscores();
   for (int i = 0; i < NUM_HIGH_SCORES; i++) {
      const int y = 80 + 40 * i;
      EXPECT_TRUE(shows(std::to_string(high_scores[i].score), 175, y, font_object(FONT_MAIN), 255)) << i;
      EXPECT_TRUE(shows(high_scores[i].name, 350, y, font_object(FONT_MAIN), 255)) << i;
   }
   timer_2 = 14;
   intro.whichone = 0;
   run_ticks(1);
   EXPECT_EQ(make_tuple(intro.show_scores, timer_2.load(), intro.whichone > 0, intro.intro1), make_tuple(false, 0, true, intro.whichone == 1));
   // An unrolling picture comes to rest with its rows 0..237 at y 101..338; a falling one slides down.
   BITMAP *title = (BITMAP *)data[TITLE_BMP].dat;
   intro.intro1 = false;
   run_ticks(300);
   EXPECT_EQ(make_tuple(intro.move_y, intro.bioniccommando), make_tuple(100, -1));
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
