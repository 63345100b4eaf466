// The game tick by tick, and its frames read back from memory.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include "game.h"
#include "pixelz.h"
#include "support.h"
#include "timers.h"

// A game on the real data file: black sky, no particles, no keys, default table, ship at rest heading up.
class Game : public testing::Test {
protected:
   game_typ game;

   void SetUp() override
   {
      ASSERT_NE(test_data, nullptr);
      data = test_data;
      universal_control = CONTROL_ARROWS;
      release_all_keys();
      clear_keybuf();
      create_highscores();
      ASSERT_TRUE(setup_game(&game));
      clear_bitmap(game.background);
      clear_pixels();
      ship.angle = 0;
   }
   void TearDown() override { teardown_game(&game); }
   // Holds the keys named in `keys` (Up, Left, Right, A to fire) and reads them as a tick does.
   void hold(const std::string &keys)
   {
      release_all_keys();
      for (char k : keys)
         key[k == 'U' ? KEY_UP : k == 'L' ? KEY_LEFT : k == 'R' ? KEY_RIGHT : KEY_A] = 1;
      game.player_controller.refresh_controller();
      game.player_controller.set_input_flags();
   }
   // A live asteroid slot with a box, a weight (hit points 2 more) and a velocity; no label bitmap.
   static sprite &asteroid_at(int slot, int x, int y, int w, int h, int weight, float xv, float yv)
   {
      asteroid[slot].init(0, x, y, w, h);
      sprite &a = asteroid[slot];
      a.counter = weight;
      a.life = weight + 2;
      a.x_vel = xv;
      a.y_vel = yv;
      return a;
   }
   // Frees every asteroid slot.
   static void clear_field() { std::for_each(asteroid, asteroid + NUM_ASTEROIDS, [](sprite &a) { a.deystroy(); }); }
   // The non-zero pixels of the frame in a rectangle.
   int lit(int x1, int y1, int x2, int y2) { return ink_in(game.buffer, x1, y1, x2, y2).count; }
};

// Thrust, truncated moves, heading wrap and turns, the top speed, the forcefield's bounce, the wrap, firing.
TEST_F(Game, FlightAndFiring)
{
   hold("U");
   ship_step(&game);
   EXPECT_EQ(make_tuple(ship.speed, ship.y), make_tuple(1.0f, 240));
   EXPECT_NEAR(ship.y_vel, -1.0 / 3.0, 1e-6);
   hold("");
   ship_step(&game);
   EXPECT_EQ(ship.y, 239);
   ship.x_vel = ship.y_vel = ship.speed = 0.0f;
   ship.angle = 64;                            // points right
   hold("U");
   ship_step(&game);
   EXPECT_NEAR(ship.x_vel, 1.0 / 3.0, 1e-6);
   struct { int angle; const char *keys; int after; } turns[] = {
      {253, "R", 257}, {257, "UR", 4}, {1, "LR", -3}, {-3, "", 255}, {0, "", 0}, {255, "", 255}};
   for (auto &t : turns) {
      ship.angle = t.angle;
      hold(t.keys);
      ship_step(&game);
      EXPECT_EQ(ship.angle, t.after) << t.angle;
   }
   hold("");
   ship.speed = 4.0f;
   ship.x_vel = 9.0f;
   ship_step(&game);
   EXPECT_NEAR(ship.speed, 3.99, 1e-6);
   EXPECT_EQ(ship.x_vel, 4.0f);                // held to the top speed
   game.forcefield = true;
   ship.x = 0;
   ship.x_vel = -3.0f;
   ship.speed = 1.0f;
   ship_step(&game);
   EXPECT_EQ(make_tuple(ship.x, ship.x_vel, ship.speed, ship.life), make_tuple(5, 3.0f, -1.0f, 95)); // put at 2
   game.forcefield = false;
   for (float x_vel : {-1.0f, 1.0f}) {
      ship.x = -45;
      ship.x_vel = x_vel;
      ship_step(&game);
      EXPECT_EQ(ship.x, x_vel < 0 ? 729 : -44);   // 730 = 640 + 2 x 45, then moved by 1
   }
   EXPECT_EQ(ship.life, 95);
   // Stopped dead wholly beyond an edge, as a word's touch can leave them, the ship and the word come back.
   const int beyond[][6] = {{700, 100, 595, 100, 580, 100}, {-70, 100, 0, 100, 0, 100}, {300, -30, 300, 0, 300, 0},
      {300, 490, 300, 453, 300, 460}};                 // from x, y to the ship's x, y and the word's, just inside
   for (const auto &p : beyond) {
      sprite &word = asteroid_at(0, p[0], p[1], 60, 20, 4, 0, 0);
      ship.x = p[0];
      ship.y = p[1];
      ship.x_vel = ship.y_vel = 0.0f;
      asteroid_step(&game);
      ship_step(&game);
      EXPECT_EQ(make_tuple(ship.x, ship.y, word.x, word.y), make_tuple(p[2], p[3], p[4], p[5])) << p[0] << "," << p[1];
   }
   // A press fires one bullet 7 ticks later along the heading; held fire shoots every 8 ticks.
   ship.angle = 64;
   ship.x = 300;
   for (int tick = 1; tick <= 30; tick++) {
      hold(tick == 1 || tick == 4 ? "1" : "");   // a press while one is pending adds nothing
      ship_step(&game);
      EXPECT_EQ(bullet[0].state, tick >= 8 ? 1 : 0) << tick;
   }
   EXPECT_EQ(make_tuple(bullet[1].state, bullet[0].dir), make_tuple(0, 64));
   hold("1");
   for (int tick = 0; tick < 16; tick++)
      ship_step(&game);
   EXPECT_EQ(make_tuple(bullet[1].state, bullet[2].state, bullet[3].state), make_tuple(1, 1, 0));
}

// A bullet waits two ticks, flies 20 a tick, hits the lowest live slot, knocks it by 5 and goes, or goes 21
// beyond an edge; contact costs 26 once per 45-tick flash; a hit asteroid bursts and scores weight x level.
TEST_F(Game, BulletsContactAndScoring)
{
   sprite &b = bullet[0];
   asteroid_at(1, 140, 190, 50, 50, 5, 0, 0).state = 0;
   sprite &low = asteroid_at(3, 140, 190, 50, 50, 5, 0, 0), &high = asteroid_at(7, 140, 190, 50, 50, 5, 0, 0);
   sprite &above = asteroid_at(9, 390, 210, 50, 50, 5, 0, 0);
   spawn_sprite(NUM_BULLETS, bullet, 100, 200, 64, 0, 0, 0, 0);
   spawn_sprite(NUM_BULLETS, bullet, 400, 300, 0, 0, 0, 0, 0);   // heading up, the same path turned
   const int xs[] = {100, 100, 120, 140, 160, 160}, frames[] = {BULLET_1, BULLET_2, BULLET_2, BULLET_1, BULLET_DIE_2, BULLET_DIE_3};
   for (int t = 0; t < 6; t++) {
      bullet_step(&game);
      EXPECT_EQ(make_tuple(b.state, b.x, b.y, b.framez), make_tuple(1, xs[t], 200, frames[t])) << t;
      EXPECT_EQ(make_tuple(bullet[1].x, bullet[1].y), make_tuple(400, 400 - xs[t])) << t;
   }
   bullet_step(&game);
   EXPECT_EQ(make_tuple(b.state, low.life, high.life, asteroid[1].life), make_tuple(0, 6, 7, 7));
   auto milli = [](double v) { return std::lround(v * 1000); };   // the knocks to a thousandth
   EXPECT_EQ(make_tuple(milli(low.x_vel), milli(low.y_vel), bullet[1].state, milli(above.x_vel), milli(above.y_vel)), make_tuple(5000, 0, 0, 0, -5000));
   struct { int x, y; bool stays; } cases[] = {{-20, 100, true}, {-21, 100, false}, {660, 100, true},
      {661, 100, false}, {100, -20, true}, {100, -21, false}, {100, 500, true}, {100, 501, false}};
   for (auto &c : cases) {
      b.deystroy();
      spawn_sprite(NUM_BULLETS, bullet, c.x, c.y, 0, 0, 0, 0, 0);
      bullet_step(&game);
      EXPECT_EQ(b.state == 1, c.stays) << c.x << ", " << c.y;
   }
   clear_field();
   sprite &a = asteroid_at(0, 330, 250, 100, 20, 13, 2, -1);
   ship.god_time = 7;                          // the last game ended in a flash: a new ship's flash is whole
   setup_ship();
   ship.x_vel = -1.0f;
   for (int tick = 0; tick < 2; tick++) {
      asteroid_step(&game);
      EXPECT_EQ(make_tuple(ship.life, ship.x_vel, ship.y_vel, ship.flash_flag), make_tuple(74, 4.0f, -2.0f, true));
   }
   EXPECT_EQ(make_tuple(a.x_vel, a.life), make_tuple(2.0f, 15));
   for (int tick = 1; tick <= 45; tick++) {    // the flash lasts 45 ticks, the contact's included
      ship_step(&game);
      EXPECT_EQ(ship.flash_flag, tick < 45) << tick;
   }
   ship.x = 600;
   struct { int level, weight, score; } scores[] = {{4, 1, 4}, {2, 10, 24}};
   for (auto &c : scores) {
      game.level = c.level;
      asteroid_at(0, 300, 300, 100, 20, c.weight, 0, 0).life = 1;
      asteroid_at(1, 500, 100, 10, 10, 1, 0, 0).life = 1;          // not hit: one hit point left is enough
      spawn_sprite(NUM_BULLETS, bullet, 300, 300, 0, 0, 0, 0, 0);
      bullet_step(&game);
      clear_pixels();
      asteroid_step(&game);
      EXPECT_EQ(make_tuple(asteroid[0].state, asteroid[1].state, game.score), make_tuple(0, 1, c.score)) << game.score;
      std::set<int> colours;
      for (const pixel_typ &p : pixel) {
         EXPECT_EQ(make_tuple(p.state, p.x, p.y, p.life % 20, p.life < 20 * c.weight, std::abs(p.x_vel) <= 6),
                   make_tuple(true, 350.0f, 310.0f, 0, true, true)) << "life " << p.life;
         colours.insert(p.color);
      }
      EXPECT_EQ(colours, (std::set<int>{1, 2, 3, 4, 5}));
      ship.life = 0;
      ship_step(&game);
   }
}


// Slots 0 to 2 x level live; hit points the label's length, weight 2 less; 4 styles, drawn; all freed at the end; 2 x 2 stars; motion.
TEST_F(Game, Field)
{
   create_asteroids(1);
   for (int z = 0; z < NUM_ASTEROIDS; z++)
      EXPECT_EQ(asteroid[z].state, z <= 2 ? 1 : 0) << z;
   std::set<std::pair<int, int>> styles;
   for (int round = 0; round < 20; round++) {
      create_asteroids(12);
      for (const sprite &a : asteroid) {
         ASSERT_EQ(a.state, 1);
         ASSERT_NE(a.buffer, nullptr);
         EXPECT_EQ(make_tuple(a.width, a.height), make_tuple(a.buffer->w, a.buffer->h));
         EXPECT_EQ(make_tuple(a.counter, a.width % a.life, std::abs(a.x_vel) <= 4), make_tuple(a.life - 2, 0, true)) << a.life << " " << a.width;
         if (ink_in(a.buffer, 0, 0, a.width - 1, a.height - 1).count > 0)   // a word drawn in colour 0 is blank
            styles.insert({a.width / a.life, a.height});
      }
   }
   EXPECT_EQ(styles, (std::set<std::pair<int, int>>{{8, 8}, {15, 20}, {16, 20}, {16, 30}}));
   teardown_game(&game);                       // a fresh background: 100 stars of 2 x 2
   EXPECT_EQ(std::count_if(asteroid, asteroid + NUM_ASTEROIDS, [](const sprite &a) { return a.state || a.buffer; }), 0);
   ASSERT_TRUE(setup_game(&game));
   auto star = [&](int x, int y) { return getpixel(game.background, x, y) == COLOR_BRIGHT; };
   auto square = [&](int x, int y) { return star(x, y) && star(x + 1, y) && star(x, y + 1) && star(x + 1, y + 1); };
   int loose = 0;                              // lit but in no lit square; a star on the last row or column is cut
   for (int y = 0; y < 479; y++)
      for (int x = 0; x < 639; x++)
         loose += star(x, y) && !(square(x - 1, y - 1) || square(x, y - 1) || square(x - 1, y) || square(x, y));
   EXPECT_EQ(make_tuple(loose, ink_in(game.background, 0, 0, 639, 479).count > 300), make_tuple(0, true));
   // Odd weights bounce, even ones wrap; the limit of 7 follows the move; a touching pair reverses.
   clear_field();
   sprite &odd = asteroid_at(0, 0, 400, 40, 10, 5, -2, 0), &even = asteroid_at(1, -40, 50, 40, 10, 8, -1, 0);
   sprite &fast = asteroid_at(2, 100, 300, 40, 10, 8, 9, 0);
   sprite &first = asteroid_at(3, 100, 100, 40, 10, 5, 3, 1), &second = asteroid_at(4, 143, 100, 40, 10, 5, -1, 0.5f);
   sprite &third = asteroid_at(6, 300, 200, 40, 10, 5, -3, 0), &fourth = asteroid_at(7, 257, 200, 40, 10, 5, 1, 0);
   asteroid_at(5, 100, 100, 40, 10, 5, 0, 0).state = 0;
   asteroid_step(&game);
   EXPECT_EQ(make_tuple(odd.x, odd.x_vel, even.x, fast.x, fast.x_vel), make_tuple(2, 2.0f, 720, 109, 7.0f)); // 720 = 640 + 2 x 40
   EXPECT_EQ(make_tuple(first.x_vel, first.y_vel, third.x_vel, fourth.x_vel), make_tuple(-2.0f, -1.0f, 2.0f, -1.0f)); // reversed, then 3 slowed, 1 not
   EXPECT_EQ(make_tuple(second.x_vel, second.y_vel, second.x), make_tuple(1.0f, -0.5f, 144));
}

// The field comes at timer_1 200 to 202, or on the first tick after a missed window and only then;
// a level clears 2 s and 210 into it once its field has come and gone; Esc returns 1.
TEST_F(Game, LevelFlow)
{
   struct { int t2, t1; bool live_asteroid; int level, asteroids; } cases[] = {{0, 199, false, 1, 0},
      {3, 500, false, 1, 3}, {0, 501, false, 1, 0}, {0, 200, false, 1, 3}, {0, 202, false, 1, 3},
      {0, 203, false, 1, 0}, {2, 500, false, 1, 0}, {9, 210, false, 1, 0}, {9, 500, true, 1, 1},
      {3, 211, false, 2, 0}, {3, 211, false, 2, 5}};
   for (auto &c : cases) {
      clear_field();
      if (c.live_asteroid)
         asteroid_at(0, 500, 400, 10, 10, 3, 0, 0);
      timer_2 = c.t2;
      timer_1 = c.t1;
      logic_tick(&game);
      EXPECT_EQ(game.level, c.level) << c.t2 << " " << c.t1;
      EXPECT_EQ(game.asteroid_counter, c.asteroids) << c.t2 << " " << c.t1;
   }
   bool drawn[2] = {};
   for (int level = 3; level < 40; level++) {
      clear_field();
      timer_2 = 3;
      timer_1 = 211;
      logic_tick(&game);
      EXPECT_EQ(timer_1, 0);
      drawn[game.forcefield] = true;
      timer_1 = 203;                           // the new level's field, its window missed
      logic_tick(&game);
   }
   EXPECT_EQ(make_tuple(game.level, drawn[0], drawn[1]), make_tuple(39, true, true));
   key[KEY_ESC] = 1;
   logic_tick(&game);
   EXPECT_EQ(make_tuple(game.done, game.return_value), make_tuple(true, 1));
}

// A spent ship bursts and asks a name above the last score; Enter stores it, a second ends the game.
TEST_F(Game, GameOverAndNameEntry)
{
   end_entry_pause();
   game.forcefield = true;
   simulate_keypress((KEY_A << 8) | 'a');     // a key of the game, still in the buffer at its end
   for (int score : {15, 16}) {
      ship.init(0, 0, 240, 45, 27);
      ship.life = 5;                           // the bounce takes the last 5
      game.score = score;
      ship_step(&game);
      EXPECT_EQ(make_tuple(ship.state, game.input_name), make_tuple(0, score == 16)) << score;
   }
   auto burst = [](const pixel_typ &p) { return p.state && p.x == 2.0f && p.y == 240.0f && p.life >= 2 && p.life <= 601 && p.color >= 1; };
   EXPECT_EQ(std::count_if(pixel, pixel + MAX_PIXELS, burst), 1000);
   game.forcefield = false;
   clear_pixels();
   timer_2 = 3;                                // past the banner, which shares the middle
   srand(3);                                   // visible colours
   compose_frame(&game);
   EXPECT_EQ(make_tuple(lit(280, 236, 360, 244) > 0, lit(200, 200, 400, 225) > 0, lit(200, 280, 400, 288) > 0), make_tuple(true, true, true));
   for (char c : {'A', 'B', 'C', 'D'}) {
      simulate_keypress(((KEY_A + c - 'A') << 8) | c);
      logic_tick(&game);
   }
   EXPECT_STREQ(game.temp, "AD");
   press_key(KEY_ENTER, 50);
   logic_tick(&game);
   EXPECT_EQ(make_tuple(game.input_name, high_scores[6].score, std::string(high_scores[6].name)), make_tuple(false, 16, "AD"));
   compose_frame(&game);                       // the first Enter was let go before the prompt
   EXPECT_EQ(make_tuple(game.done, lit(200, 200, 400, 225), lit(270, 300, 370, 308) > 0), make_tuple(false, 0, true));
   press_key(KEY_ENTER, 50);
   compose_frame(&game);                       // ends once Enter is let go, not as a quit
   EXPECT_EQ(make_tuple(game.done, key[KEY_ENTER] != 0, game.return_value), make_tuple(true, false, 0));
}

// The gauge, the status lines, the banner, the four bolts, the ship (also over the left edge), the labels.
TEST_F(Game, Frame)
{
   for (int life : {100, 60}) {
      ship.life = life;
      compose_frame(&game);
      for (int y = 1; y <= 110; y++)
         EXPECT_EQ(getpixel(game.buffer, 60, y) == 224, y >= 100 - life && y < 100) << life << " " << y;
      EXPECT_EQ(make_tuple(getpixel(game.buffer, 50, 0), getpixel(game.buffer, 75, 100)), make_tuple(15, 15));
   }
   EXPECT_EQ(make_tuple(lit(440, 32, 639, 39) > 0, lit(440, 42, 639, 49) > 0, lit(440, 52, 639, 59) > 0), make_tuple(true, true, true));
   ship.x = 500;
   ship.y = 400;
   for (int seconds = 0; seconds < 4; seconds++) {
      timer_2 = seconds;
      srand(7);                                // a visible colour
      compose_frame(&game);
      const ink banner = ink_in(game.buffer, 100, 240, 539, 250);
      EXPECT_EQ(banner.count > 0, seconds < 3) << seconds;
      EXPECT_NEAR(seconds < 3 ? banner.min_x + banner.max_x : 640, 640, 4) << seconds;   // centred
   }
   // How far each bolt reaches in over 20 frames (jitter up to 5, glow 3), and how often all four show.
   for (bool forcefield : {false, true}) {
      game.forcefield = forcefield;
      int top = -1, left = -1, bottom = 480, right = 640, all_four = 0;
      for (int frame = 0; frame < 20; frame++) {
         srand(frame);
         compose_frame(&game);
         const ink t = ink_in(game.buffer, 200, 0, 627, 11), l = ink_in(game.buffer, 0, 112, 11, 465);
         const ink b = ink_in(game.buffer, 12, 466, 627, 479), r = ink_in(game.buffer, 628, 12, 639, 465);
         top = std::max(top, t.max_y);
         left = std::max(left, l.max_x);
         bottom = std::min(bottom, b.min_y);
         right = std::min(right, r.min_x);
         all_four += t.max_y >= 0 && l.max_x >= 0 && b.min_y < 480 && r.min_x < 640;
      }
      EXPECT_EQ(make_tuple(top, left, bottom, right, all_four),
                forcefield ? make_tuple(7, 7, 470, 630, 20) : make_tuple(-1, -1, 480, 640, 0));
   }
   game.forcefield = false;
   ship.x = -20;
   ship.y = 300;
   ship.angle = -4;
   compose_frame(&game);
   rotate_sprite(game.background, (BITMAP *)data[SHIP_BMP].dat, 20, 300, itofix(256 - 4));   // black, done with
   const int differ = rows_differing(game.buffer, 0, 280, game.background, 40, 280, 40, 70);
   EXPECT_EQ(make_tuple(differ, lit(0, 280, 39, 349) > 0), make_tuple(0, true));
}

// The frame shows the records as they stand: each live word from the bitmap its slot holds now,
// whoever put it there, whole or cut by the edge; no dead word, no dead ship; the particles whose state is true.
TEST_F(Game, FrameShowsTheRecords)
{
   create_asteroids(12);
   ship.deystroy();
   timer_2 = 3;                                // past the banner
   for (sprite &a : asteroid)
      a.state = 0;
   compose_frame(&game);
   BITMAP *expect = create_bitmap(SCREEN_W, SCREEN_H);
   blit(game.buffer, expect, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
   BITMAP *own = create_bitmap(40, 12);        // a word of the test's own, handed to slot 4
   clear_bitmap(own);
   rectfill(own, 3, 2, 36, 9, 77);
   destroy_bitmap(asteroid[4].buffer);
   asteroid[4].buffer = own;
   const struct { int slot, x, y, state; } words[] = {{4, 620, 300, 1}, {9, 200, 200, 1}, {10, 300, 380, 0}, {17, 100, 470, 1}};
   for (const auto &w : words) {
      asteroid[w.slot].x = w.x;
      asteroid[w.slot].y = w.y;
      asteroid[w.slot].state = w.state;
      if (w.state)
         draw_sprite(expect, asteroid[w.slot].buffer, w.x, w.y);
   }
   const float spots[][2] = {{320.5f, 100.9f}, {205.0f, 203.0f}, {500.0f, 120.0f}};
   for (const auto &p : spots)
      init_pixel(100, p[0], p[1], 1.0f, 0.0f, 33);
   pixel[2].state = false;
   putpixel(expect, 320, 100, 33);
   putpixel(expect, 205, 203, 33);
   compose_frame(&game);
   const int differ = rows_differing(game.buffer, 0, 0, expect, 0, 0, SCREEN_W, SCREEN_H);
   destroy_bitmap(expect);
   EXPECT_EQ(differ, 0);                       // the sanitizer build sees the slots free their bitmaps at the end
}
