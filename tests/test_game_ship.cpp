// The ship: thrust and inertia, truncated moves, the heading wrap, the screen
// edges, the firing latch, the control modes and the ship's destruction.
#include <cmath>
#include "test_game_fixture.h"

using Ship = GameTest;

// The first thrust from rest kicks a third of a pixel; later ones 0.01 more; moves truncate.
TEST_F(Ship, ThrustAndTruncatedMoves)
{
   EXPECT_TRUE(ship.x == 320 && ship.y == 240 && ship.life == 100);
   hold(true, false, false, false);
   ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 1.0f);
   EXPECT_NEAR(ship.y_vel, -1.0 / 3.0, 1e-6);
   EXPECT_NEAR(ship.x_vel, 0.0, 1e-5);
   EXPECT_EQ(ship.y, 240);                     // the move comes before the thrust
   ship.x_vel = 0.0f;                          // moving straight up is not at rest
   ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 1.01f);
   EXPECT_EQ(ship.y, 239);                     // 240 - 0.333 truncates to 239

   hold(false, false, false, false);
   ship.x_vel = 0.9f;                          // under a pixel forward: no move
   ship.y_vel = -0.5f;                         // under a pixel backward: a whole one
   ship_step(&game);
   EXPECT_TRUE(ship.x == 320 && ship.y == 238);
   EXPECT_FLOAT_EQ(ship.speed, 1.01f);         // letting go keeps the thrust strength
   ship.speed = 4.0f;                          // but at 4 it is held down
   ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 3.99f);
   ship.speed = 1.01f;

   ship.angle = 64;
   ship.x_vel = 9.0f;                          // moved by 9, held to 4, then thrust adds again
   hold(true, false, false, false);
   ship_step(&game);
   EXPECT_EQ(ship.x, 329);
   EXPECT_NEAR(ship.x_vel, 4.0 + 1.02 / 3.0, 1e-5);
}

// The heading is wrapped by setting it, not modulo; left beats right.
TEST_F(Ship, HeadingWrap)
{
   ship.angle = 253;
   hold(false, false, true, false);
   ship_step(&game);
   EXPECT_EQ(ship.angle, 257);
   hold(true, false, true, false);
   ship_step(&game);
   EXPECT_EQ(ship.angle, 4);                   // 257 became 0, then turned
   EXPECT_GT(ship.x_vel, 0.0f);                // thrust went along 257, i.e. heading 1
   ship.angle = 1;
   hold(false, true, true, false);
   ship_step(&game);
   EXPECT_EQ(ship.angle, -3);
   ship_step(&game);
   EXPECT_EQ(ship.angle, 251);                 // -3 became 255, then turned
}

// The forcefield bounces and costs 5; without it the ship wraps, out of sight for a while.
TEST_F(Ship, ScreenEdges)
{
   game.forcefield = true;
   ship.x = 0;
   ship.x_vel = -3.0f;
   ship.speed = 1.0f;
   ship_step(&game);
   EXPECT_EQ(ship.x, 5);                       // put at 2, reversed, then moved
   EXPECT_FLOAT_EQ(ship.x_vel, 3.0f);
   EXPECT_FLOAT_EQ(ship.speed, -1.0f);
   EXPECT_EQ(ship.life, 95);
   ship.x = 600;                               // 600 + 45 reaches the right edge
   ship_step(&game);
   EXPECT_EQ(ship.x, 590);                     // put at 593, then moved by -3
   EXPECT_EQ(ship.life, 90);

   game.forcefield = false;
   ship.x = -45;
   ship.x_vel = -1.0f;
   ship_step(&game);
   EXPECT_EQ(ship.x, 729);                     // put at 640 + 2 x 45
   ship.x = -45;
   ship.x_vel = 1.0f;                          // coming back: left alone
   ship_step(&game);
   EXPECT_EQ(ship.x, -44);
   EXPECT_EQ(ship.life, 90);
}

// One press fires one bullet 7 ticks later, from the ship's corner; held fire shoots every 8 ticks.
TEST_F(Ship, FiringLatch)
{
   ship.angle = 64;
   for (int tick = 1; tick <= 7; tick++) {
      hold(false, false, false, tick == 1 || tick == 4);   // pressing while pending changes nothing
      ship_step(&game);
      EXPECT_EQ(bullet[0].state, 0) << "tick " << tick;
   }
   hold(false, false, false, false);
   for (int tick = 8; tick <= 30; tick++)
      ship_step(&game);
   EXPECT_TRUE(bullet[0].state == 1 && bullet[1].state == 0);
   EXPECT_TRUE(bullet[0].x == 320 && bullet[0].y == 240 && bullet[0].dir == 64);
   hold(false, false, false, true);
   for (int tick = 0; tick < 16; tick++)
      ship_step(&game);
   EXPECT_TRUE(bullet[1].state == 1 && bullet[2].state == 1 && bullet[3].state == 0);
}

// Keys: up thrusts and A fires, down and S do nothing. Joystick: button 1 thrusts, button 2 fires.
TEST_F(Ship, ControlModes)
{
   hold_key(KEY_DOWN, true);
   hold_key(KEY_S, true);
   for (int tick = 0; tick < 8; tick++)
      logic_tick(&game);
   EXPECT_TRUE(ship.speed == 0.0f && bullet[0].state == 0);
   release_all_keys();
   hold_key(KEY_UP, true);
   hold_key(KEY_A, true);
   for (int tick = 0; tick < 8; tick++)
      logic_tick(&game);
   EXPECT_TRUE(ship.speed > 1.0f && bullet[0].state == 1);

   ship.x_vel = ship.y_vel = ship.speed = 0.0f;
   universal_control = CONTROL_JOYSTICK_1;
   hold(true, false, false, false, true);
   for (int tick = 0; tick < 8; tick++)
      ship_step(&game);
   EXPECT_TRUE(ship.speed == 0.0f && bullet[1].state == 1);
   hold(false, false, false, true);
   ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 1.0f);
}

// Energy gone: 1000 particles from the box corner; a name is asked only for a qualifying score.
TEST_F(Ship, Destruction)
{
   game.forcefield = true;
   ship.life = 5;                              // the bounce takes the last 5
   ship.x = 0;
   ship.y = 100;
   game.score = 15;                            // equal to the last entry: no place
   ship_step(&game);
   EXPECT_TRUE(ship.state == 0 && ship.life == 0);
   EXPECT_FALSE(game.input_name);
   EXPECT_EQ(live_pixels(), 1000);
   for (const pixel_typ &p : pixel) {
      EXPECT_TRUE(p.x == 2.0f && p.y == 100.0f);   // after the bounce, before the move
      EXPECT_TRUE(p.life >= 2 && p.life <= 601 && p.color >= 1 && p.color <= 255);
      EXPECT_TRUE(std::fabs(p.x_vel) <= 6.0f && p.x_vel == (int)p.x_vel);
   }
   teardown_game(&game);
   ASSERT_TRUE(setup_game(&game));
   ship.life = -3;
   game.score = 16;
   ship_step(&game);
   EXPECT_TRUE(game.input_name);
}
