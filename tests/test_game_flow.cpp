// The course of a game: the level schedule, level clear and the forcefield draw,
// Esc, game over and the name entry, the composed frame, and the label bitmaps'
// release.
#include <cstring>
#include <malloc.h>
#include "test_game_fixture.h"
#include "quorbix.h"
#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

// Bytes of heap in use.
static size_t heap_in_use()
{
#if defined(__SANITIZE_ADDRESS__)
   return __sanitizer_get_current_allocated_bytes();
#else
   return mallinfo2().uordblks;
#endif
}

// Lets go of Enter from the timer thread, as the player would while the game waits for it.
static void let_go_of_enter()
{
   key[KEY_ENTER] = 0;
}

class Flow : public GameTest {
protected:
   // Runs `action` with Enter held down until 50 ms have passed.
   template <class F> void with_enter_held(F action)
   {
      hold_key(KEY_ENTER, true);
      install_int(let_go_of_enter, 50);
      action();
      remove_int(let_go_of_enter);
      EXPECT_EQ(key[KEY_ENTER], 0);
   }
   // True when the rows of the frame that a text would take, right of the gauge, show just that
   // text: in the given colour, or in any colour when it is -1.
   bool shows(const char *text, int x, int y, int colour = 15, bool centred = false, FONT *f = font)
   {
      BITMAP *expect = create_bitmap(SCREEN_W, text_height(f));
      clear_bitmap(expect);
      if (centred)
         textout_centre(expect, f, text, x, 0, colour < 0 ? 1 : colour);
      else
         textout(expect, f, text, x, 0, colour < 0 ? 1 : colour);
      bool same = true;
      for (int row = 0; row < expect->h; row++)
         for (int col = 80; col < SCREEN_W; col++) {
            int want = getpixel(expect, col, row), got = getpixel(game.buffer, col, y + row);
            same = same && (colour < 0 ? (want != 0) == (got != 0) : want == got);
         }
      destroy_bitmap(expect);
      return same;
   }
};

// The field appears at 2 seconds; a cleared level leads to the next, with the forcefield half the time.
TEST_F(Flow, LevelSchedule)
{
   timer_1 = 199;
   logic_tick(&game);
   EXPECT_EQ(game.asteroid_counter, 0);
   timer_1 = 200;
   logic_tick(&game);
   EXPECT_EQ(game.asteroid_counter, 3);
   BITMAP *label = asteroid[0].buffer;
   timer_1 = 203;
   logic_tick(&game);
   EXPECT_EQ(asteroid[0].buffer, label);

   for (sprite &a : asteroid)
      a.deystroy();
   timer_2 = 2;
   timer_1 = 500;
   logic_tick(&game);
   timer_2 = 3;
   timer_1 = 210;
   logic_tick(&game);
   EXPECT_EQ(game.level, 1);
   EXPECT_FALSE(game.forcefield);
   bool with[2] = {};
   for (int level = 2; level < 42; level++) {
      timer_2 = 3;
      timer_1 = 211;
      logic_tick(&game);
      ASSERT_EQ(game.level, level);
      EXPECT_EQ(timer_1, 0);
      EXPECT_EQ(timer_2, 0);
      with[game.forcefield] = true;
   }
   EXPECT_TRUE(with[0] && with[1]);

   hold_key(KEY_ESC, true);
   logic_tick(&game);
   EXPECT_TRUE(game.done);
   EXPECT_EQ(game.return_value, 1);
}

// A qualifying player types a name, confirms it with Enter, then leaves with Enter.
TEST_F(Flow, GameOverAndNameEntry)
{
   game.score = 40;
   ship.life = 0;
   logic_tick(&game);
   ASSERT_TRUE(game.input_name);
   for (pixel_typ &p : pixel)
      p.state = false;
   const char typed[] = "ABCD";                          // B and C come too soon after A
   for (const char *c = typed; *c; c++) {
      simulate_keypress(((KEY_A + *c - 'A') << 8) | *c);
      logic_tick(&game);
   }
   EXPECT_STREQ(game.temp, "AD");
   timer_2 = 5;
   compose_frame(&game);
   EXPECT_TRUE(shows("You Lose", 320, 240, 15, true));
   EXPECT_TRUE(shows("press enter when done", 200, 280, 25));
   EXPECT_FALSE(game.done);

   game.score = 45;                                      // a bullet still in flight scored
   with_enter_held([&] { logic_tick(&game); });
   EXPECT_FALSE(game.input_name);
   EXPECT_STREQ(high_scores[4].name, "AD");
   EXPECT_EQ(high_scores[4].score, 45);

   compose_frame(&game);
   EXPECT_TRUE(shows("press enter", 320, 304, 15, true));
   EXPECT_FALSE(game.done);
   with_enter_held([&] { compose_frame(&game); });
   EXPECT_TRUE(game.done);
}

// The gauge, the frame-rate and status lines, in place and in their colours.
TEST_F(Flow, FrameGaugeAndStatus)
{
   fps = 37;
   timer_2 = 5;
   game.score = 1234;
   game.asteroid_counter = 7;
   game.level = 3;
   struct { int life, first, last; } cases[] = {{100, 1, 99}, {60, 40, 99}, {1, 99, 99}, {0, 1, 0}, {-10, 101, 110}};
   for (auto &c : cases) {
      ship.life = c.life;
      compose_frame(&game);
      for (int y = 1; y <= 120; y++)
         EXPECT_EQ(getpixel(game.buffer, 60, y) == 224, y >= c.first && y <= c.last) << "life " << c.life << " y " << y;
      EXPECT_EQ(getpixel(game.buffer, 50, 0), 15);
      EXPECT_EQ(getpixel(game.buffer, 75, 100), 15);
   }
   ship.life = 100;
   compose_frame(&game);
   EXPECT_TRUE(shows("fps: 37", 110, 10));
   EXPECT_TRUE(shows("Asteroids left: 7", 440, 32));
   EXPECT_TRUE(shows("Level 3", 440, 42));
   EXPECT_TRUE(shows("Score: 1234", 440, 52));
}

// "READY?", then "GO!", then nothing; lightning only with the forcefield; no ship once it is lost.
TEST_F(Flow, FrameBannerLightningShip)
{
   ship.x = 500;
   ship.y = 400;
   FONT *main_font = (FONT *)data[FONT_MAIN].dat, *tall_font = (FONT *)data[FONT_TALL].dat;
   for (int seconds = 0; seconds < 4; seconds++) {
      timer_2 = seconds;
      srand(7);                                          // a visible colour
      compose_frame(&game);
      EXPECT_EQ(shows("READY?", 320, 240, -1, true, main_font), seconds <= 1) << seconds;
      EXPECT_EQ(shows("GO!", 320, 240, -1, true, tall_font), seconds == 2) << seconds;
      EXPECT_EQ(lit(100, 200, 539, 280) == 0, seconds == 3) << seconds;
   }

   for (bool forcefield : {false, true}) {
      game.forcefield = forcefield;
      compose_frame(&game);
      int edges[4] = {lit(80, 0, 639, 2), lit(0, 0, 2, 479), lit(0, 477, 639, 479), lit(637, 0, 639, 479)};
      for (int edge : edges)
         EXPECT_EQ(edge > 0, forcefield);
   }

   game.forcefield = false;
   ship.x = ship.y = 0;
   compose_frame(&game);
   EXPECT_GT(lit(0, 0, 44, 26), 0);
   ship.life = 0;
   ship.deystroy();
   compose_frame(&game);
   EXPECT_EQ(lit(0, 0, 44, 26), 0);

   init_pixel(50, 600.5f, 400.7f, 1, 1, 3);
   compose_frame(&game);
   EXPECT_EQ(getpixel(game.buffer, 600, 400), 3);
}

// New fields replace their label bitmaps instead of piling them up; the game's end releases them.
TEST_F(Flow, LabelBitmapsReleased)
{
   create_asteroids(12);
   size_t before = heap_in_use();
   for (int level = 0; level < 200; level++)
      create_asteroids(12);
   EXPECT_LT(heap_in_use(), before + 256 * 1024);
   teardown_game(&game);
   for (const sprite &a : asteroid)
      EXPECT_EQ(a.buffer, nullptr);
   ASSERT_TRUE(setup_game(&game));
}
