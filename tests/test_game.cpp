// The game tick by tick: flight and firing, bullets, the asteroid field, contact and scoring,
// the level schedule, game over and the name entry, the frame, and the label bitmaps' release.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "game.h"
#include "pixelz.h"
#include "support.h"
#include "timers.h"

// A game on the real data file: black star field, no particles, no keys, the default
// high-score table, the arrow-key controls, the ship at rest in the middle heading up.
class Game : public testing::Test {
protected:
   game_typ game;

   void SetUp() override
   {
      ASSERT_NE(test_data, nullptr);
      data = test_data, universal_control = CONTROL_ARROWS;
      release_all_keys();
      clear_keybuf();
      create_highscores();
      ASSERT_TRUE(setup_game(&game));
      clear_bitmap(game.background);
      clear_pixels();
      ship.angle = 0;
   }
   void TearDown() override { teardown_game(&game); }
   // Holds for this tick the controls named in `keys`: Up, Left, Right and button 1.
   void hold(const std::string &keys)
   {
      controller &c = game.player_controller;
      auto held = [&](char k) { return keys.find(k) != std::string::npos; };
      c.up_flag = held('U'), c.left_flag = held('L'), c.right_flag = held('R'), c.button1_flag = held('1');
   }
   // A live asteroid slot with a box, a weight (hit points 2 more) and a velocity; no label bitmap.
   static sprite &rock(int slot, int x, int y, int w, int h, int weight, float xv, float yv)
   {
      asteroid[slot].init(0, x, y, w, h);
      sprite &a = asteroid[slot];
      a.counter = weight, a.life = weight + 2, a.x_vel = xv, a.y_vel = yv;
      return a;
   }
};

// A thrust from rest: speed 1, a third of a pixel up, after the move, which truncates; the heading
// goes back to 0 above 255 and to 255 below 0 before the turn; left beats right; the forcefield
// bounces the ship for 5 energy; without it the ship wraps, only when moving out.
TEST_F(Game, Flight)
{
   hold("U");
   ship_step(&game);
   EXPECT_TRUE(ship.speed == 1.0f && ship.y == 240);
   EXPECT_NEAR(ship.y_vel, -1.0 / 3.0, 1e-6);
   hold("");
   ship_step(&game);
   EXPECT_EQ(ship.y, 239);
   struct { int angle; const char *keys; int after; } turns[] = {{253, "R", 257}, {257, "UR", 4}, {1, "LR", -3}, {-3, "", 255}};
   for (auto &t : turns) {
      ship.angle = t.angle;
      hold(t.keys);
      ship_step(&game);
      EXPECT_EQ(ship.angle, t.after) << t.angle;
   }
   game.forcefield = true;
   ship.x = 0, ship.x_vel = -3.0f, ship.speed = 1.0f;
   ship_step(&game);
   EXPECT_TRUE(ship.x == 5 && ship.x_vel == 3.0f && ship.speed == -1.0f && ship.life == 95);   // put at 2
   game.forcefield = false;
   for (float x_vel : {-1.0f, 1.0f}) {
      ship.x = -45, ship.x_vel = x_vel;
      ship_step(&game);
      EXPECT_EQ(ship.x, x_vel < 0 ? 729 : -44);   // 730 = 640 + 2 x 45, then moved by 1
   }
   EXPECT_EQ(ship.life, 95);
}

// A press fires one bullet 7 ticks later along the heading; held fire shoots every 8 ticks.
TEST_F(Game, FiringLatch)
{
   ship.angle = 64;
   for (int tick = 1; tick <= 30; tick++) {
      hold(tick == 1 || tick == 4 ? "1" : "");   // a press while one is pending adds nothing
      ship_step(&game);
      EXPECT_EQ(bullet[0].state, tick >= 8 ? 1 : 0) << tick;
   }
   EXPECT_TRUE(bullet[1].state == 0 && bullet[0].dir == 64);
   hold("1");
   for (int tick = 0; tick < 16; tick++)
      ship_step(&game);
   EXPECT_TRUE(bullet[1].state == 1 && bullet[2].state == 1 && bullet[3].state == 0);
}

// A bullet stays two ticks, then flies 20 a tick; it hits the lowest live slot it touches, knocks
// it by a quarter of 20, moves once more, and goes at H + 3; it is gone once 21 beyond an edge.
TEST_F(Game, Bullets)
{
   sprite &b = bullet[0];
   rock(1, 140, 190, 50, 50, 5, 0, 0).state = 0;
   sprite &low = rock(3, 140, 190, 50, 50, 5, 0, 0), &high = rock(7, 140, 190, 50, 50, 5, 0, 0);
   spawn_sprite(NUM_BULLETS, bullet, 100, 200, 64, 0, 0, 0, 0);
   for (int x : {100, 100, 120, 140, 160, 160}) {
      bullet_step(&game);
      EXPECT_TRUE(b.state == 1 && b.x == x && b.y == 200) << x;
   }
   bullet_step(&game);
   EXPECT_TRUE(b.state == 0 && low.life == 6 && high.life == 7 && asteroid[1].life == 7);
   EXPECT_NEAR(low.x_vel, 5.0, 1e-3);
   EXPECT_NEAR(low.y_vel, 0.0, 1e-3);
   struct { int x, y; bool stays; } cases[] = {{-20, 100, true}, {-21, 100, false}, {660, 100, true},
      {661, 100, false}, {100, -20, true}, {100, -21, false}, {100, 500, true}, {100, 501, false}};
   for (auto &c : cases) {
      b.deystroy();
      spawn_sprite(NUM_BULLETS, bullet, c.x, c.y, 0, 0, 0, 0, 0);
      bullet_step(&game);
      EXPECT_EQ(b.state == 1, c.stays) << c.x << ", " << c.y;
   }
}

// Slots 0 to 2 x level live; hit points the label's length, weight 2 less; 4 bitmap styles per character.
TEST_F(Game, FieldCreation)
{
   create_asteroids(1);
   for (int z = 0; z < NUM_ASTEROIDS; z++)
      EXPECT_EQ(asteroid[z].state, z <= 2 ? 1 : 0) << z;
   std::set<std::pair<int, int>> styles;
   for (int round = 0; round < 20; round++) {
      create_asteroids(12);
      for (const sprite &a : asteroid) {
         ASSERT_TRUE(a.state == 1 && a.buffer && a.width == a.buffer->w && a.height == a.buffer->h);
         EXPECT_TRUE(a.counter == a.life - 2 && a.width % a.life == 0) << a.life << " " << a.width;
         styles.insert({a.width / a.life, a.height});
      }
   }
   EXPECT_EQ(styles, (std::set<std::pair<int, int>>{{8, 8}, {15, 20}, {16, 20}, {16, 30}}));
}

// Odd weights bounce, even ones wrap; the limit of 7 follows the move; a touching pair reverses.
TEST_F(Game, FieldMotion)
{
   sprite &odd = rock(0, 0, 400, 40, 10, 5, -2, 0), &even = rock(1, -40, 50, 40, 10, 8, -1, 0);
   sprite &fast = rock(2, 100, 300, 40, 10, 8, 9, 0);
   sprite &first = rock(3, 100, 100, 40, 10, 5, 3, 1), &second = rock(4, 143, 100, 40, 10, 5, -1, 0);
   rock(5, 100, 100, 40, 10, 5, 0, 0).state = 0;
   asteroid_step(&game);
   EXPECT_TRUE(odd.x == 2 && odd.x_vel == 2.0f && even.x == 720);   // 640 + 2 x 40
   EXPECT_TRUE(fast.x == 109 && fast.x_vel == 7.0f);
   EXPECT_TRUE(first.x_vel == -2.0f && first.y_vel == -1.0f);   // reversed, then 3 slowed, 1 not
   EXPECT_TRUE(second.x_vel == 1.0f && second.y_vel == 0.0f && second.x == 144);
}

// "ThrowsException" costs 26 energy and sets the ship's velocity to twice the asteroid's, not again
// while the ship flashes; a shot-down asteroid scores weight times level, also once the ship is lost.
TEST_F(Game, ContactAndScoring)
{
   sprite &a = rock(0, 330, 250, 100, 20, 13, 2, -1);
   ship.x_vel = -1.0f;
   for (int tick = 0; tick < 2; tick++) {
      asteroid_step(&game);
      EXPECT_TRUE(ship.life == 74 && ship.x_vel == 4.0f && ship.y_vel == -2.0f && ship.flash_flag);
   }
   EXPECT_TRUE(a.x_vel == 2.0f && a.life == 15);
   ship.x = 600;
   struct { int level, weight, score; } cases[] = {{4, 1, 4}, {2, 10, 24}};
   for (auto &c : cases) {
      game.level = c.level;
      rock(0, 300, 300, 100, 20, c.weight, 0, 0).life = 1;
      spawn_sprite(NUM_BULLETS, bullet, 300, 300, 0, 0, 0, 0, 0);
      bullet_step(&game);
      asteroid_step(&game);
      EXPECT_TRUE(asteroid[0].state == 0 && game.score == c.score) << game.score;
      ship.life = 0;
      ship_step(&game);
   }
}

// The field is built while timer_1 is 200 to 202; an empty level clears after 2 s and 210, with
// the forcefield drawn anew; Esc ends the game with 1.
TEST_F(Game, LevelFlow)
{
   struct { int t2, t1; bool live_rock; int level, rocks; } cases[] = {{0, 199, false, 1, 0},
      {0, 200, false, 1, 3}, {0, 202, false, 1, 3}, {0, 203, false, 1, 0}, {2, 500, false, 1, 0},
      {9, 210, false, 1, 0}, {9, 500, true, 1, 1}, {3, 211, false, 2, 0}};
   for (auto &c : cases) {
      for (sprite &a : asteroid)
         a.deystroy();
      if (c.live_rock)
         rock(0, 500, 400, 10, 10, 3, 0, 0);
      timer_2 = c.t2, timer_1 = c.t1;
      logic_tick(&game);
      EXPECT_TRUE(game.level == c.level && game.asteroid_counter == c.rocks) << c.t2 << " " << c.t1;
   }
   EXPECT_TRUE(timer_1 == 0 && timer_2 == 0);
   bool drawn[2] = {};
   for (int level = 3; level < 40; level++) {
      timer_2 = 3, timer_1 = 211;
      logic_tick(&game);
      drawn[game.forcefield] = true;
   }
   EXPECT_TRUE(game.level == 39 && drawn[0] && drawn[1]);
   hold_key(KEY_ESC, true);
   logic_tick(&game);
   EXPECT_TRUE(game.done && game.return_value == 1);
}

// A spent ship asks a name only above the table's last score; keys within two ticks of an
// accepted one are lost; Enter stores the name, and a second Enter ends the game.
TEST_F(Game, GameOverAndNameEntry)
{
   game.forcefield = true;
   for (int score : {15, 16}) {
      ship.init(0, 0, 240, 45, 27);
      ship.life = 5, game.score = score;       // the bounce takes the last 5
      ship_step(&game);
      EXPECT_TRUE(ship.state == 0 && game.input_name == (score == 16));
   }
   for (char c : {' ', ' ', 'A', 'B', 'C', 'D'}) {   // first let a delay left by an earlier entry run out
      if (c != ' ')
         simulate_keypress(((KEY_A + c - 'A') << 8) | c);
      logic_tick(&game);
   }
   EXPECT_STREQ(game.temp, "AD");
   auto press_enter = [] { hold_key(KEY_ENTER, true), release_key_after(KEY_ENTER, 50); };
   press_enter();
   logic_tick(&game);
   EXPECT_TRUE(!game.input_name && high_scores[6].score == 16);
   EXPECT_STREQ(high_scores[6].name, "AD");
   compose_frame(&game);
   EXPECT_FALSE(game.done);                    // the first Enter was let go before the prompt
   press_enter();
   compose_frame(&game);
   EXPECT_TRUE(game.done && !key[KEY_ENTER]);  // once Enter is let go
}

// The gauge fills with 224 in a frame of 15; the banner shows until timer_2 passes 2; lightning
// runs along the edges only with the forcefield; a lost ship is not drawn.
TEST_F(Game, Frame)
{
   auto lit = [&](int x1, int y1, int x2, int y2) {
      int n = 0;
      for (int y = y1; y <= y2; y++)
         for (int x = x1; x <= x2; x++)
            n += getpixel(game.buffer, x, y) != 0;
      return n;
   };
   for (int life : {100, 60}) {
      ship.life = life;
      compose_frame(&game);
      for (int y = 1; y <= 110; y++)
         EXPECT_EQ(getpixel(game.buffer, 60, y) == 224, y >= 100 - life && y < 100) << life << " " << y;
      EXPECT_TRUE(getpixel(game.buffer, 50, 0) == 15 && getpixel(game.buffer, 75, 100) == 15);
   }
   ship.x = 500, ship.y = 400;
   for (int seconds = 0; seconds < 4; seconds++) {
      timer_2 = seconds;
      srand(7);                                // a visible colour
      compose_frame(&game);
      EXPECT_EQ(lit(100, 240, 539, 250) > 0, seconds < 3) << seconds;
   }
   for (bool forcefield : {false, true}) {
      game.forcefield = forcefield;
      compose_frame(&game);
      for (int edge : {lit(80, 0, 639, 2), lit(0, 0, 2, 479), lit(0, 477, 639, 479), lit(637, 0, 639, 479)})
         EXPECT_EQ(edge > 0, forcefield);
   }
   game.forcefield = false;
   ship.x = ship.y = 0;
   compose_frame(&game);
   EXPECT_GT(lit(0, 0, 44, 26), 0);
   ship.deystroy();
   compose_frame(&game);
   EXPECT_EQ(lit(0, 0, 44, 26), 0);
}

// The game's end releases the asteroids' label bitmaps (Leaks.* weighs the heap across new fields).
TEST_F(Game, LabelBitmapsReleased)
{
   create_asteroids(12);
   teardown_game(&game);
   for (const sprite &a : asteroid)
      EXPECT_EQ(a.buffer, nullptr);
}

// A label is drawn as its bitmap, whole or cut by the frame's edge, its empty pixels left black.
TEST_F(Game, LabelDrawing)
{
   create_asteroids(12);
   ship.deystroy();
   timer_2 = 3;                               // past the banner
   for (int z = 0; z < NUM_ASTEROIDS; z++) {
      for (sprite &a : asteroid)
         a.state = 0;
      sprite &a = asteroid[z];
      a.state = 1, a.x = z % 2 ? 200 : 600, a.y = z % 2 ? 300 : 470;
      compose_frame(&game);
      int differ = 0;
      for (int y = 0; y < a.height && a.y + y < SCREEN_H; y++)
         for (int x = 0; x < a.width && a.x + x < SCREEN_W; x++)
            differ += getpixel(game.buffer, a.x + x, a.y + y) != getpixel(a.buffer, x, y);
      EXPECT_EQ(differ, 0) << z;
   }
}
