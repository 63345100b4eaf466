// The ship: thrust and inertia, truncated moves, turning and the heading wrap,
// the screen edges with and without the forcefield, the firing latch, the two
// control modes and the ship's destruction.
#include "test_game_fixture.h"
#include "quorbix.h"

using Ship = GameTest;

// The first thrust from rest kicks a third of a pixel; moves truncate toward zero.
TEST_F(Ship, ThrustFromRestAndTruncatedMoves)
{
   EXPECT_EQ(ship.x, 320);
   EXPECT_EQ(ship.y, 240);
   EXPECT_EQ(ship.life, 100);
   hold(true, false, false, false);
   ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 1.0f);
   EXPECT_NEAR(ship.y_vel, -1.0 / 3.0, 1e-6);
   EXPECT_NEAR(ship.x_vel, 0.0, 1e-5);
   EXPECT_EQ(ship.y, 240);          // the move came before the thrust

   ship_step(&game);                // still thrusting, now moving: only 0.01 more
   EXPECT_FLOAT_EQ(ship.accel, 0.01f);
   EXPECT_FLOAT_EQ(ship.speed, 1.01f);
   EXPECT_EQ(ship.y, 239);          // 240 - 0.333 truncates to 239
   EXPECT_EQ(ship.x, 320);

   hold(false, false, false, false);
   ship.x_vel = 0.9f;               // below one pixel forward: no move
   ship.y_vel = -0.5f;              // below one pixel backward: a whole pixel
   ship_step(&game);
   EXPECT_EQ(ship.x, 320);
   EXPECT_EQ(ship.y, 238);
   EXPECT_FLOAT_EQ(ship.speed, 1.01f);   // letting go keeps the thrust strength
   ship.x_vel = 0.0f;               // moving straight up is not at rest
   hold(true, false, false, false);
   ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 1.02f);
   hold(false, false, false, false);

   ship.x_vel = 9.0f;               // limited to 4 after the move...
   ship_step(&game);
   EXPECT_EQ(ship.x, 329);
   EXPECT_FLOAT_EQ(ship.x_vel, 4.0f);
   ship.angle = 64;                 // ...but thrust to the right adds to it again
   ship.x_vel = 9.0f;
   hold(true, false, false, false);
   ship_step(&game);
   EXPECT_EQ(ship.x, 338);
   EXPECT_NEAR(ship.x_vel, 4.0 + 1.03 / 3.0, 1e-5);
}

// Turning, the wrap of the heading by setting rather than modulo, and left beating right.
TEST_F(Ship, HeadingWrap)
{
   ship.angle = 253;
   hold(false, false, true, false);
   ship_step(&game);
   EXPECT_EQ(ship.angle, 257);
   hold(true, false, true, false);
   ship_step(&game);
   EXPECT_EQ(ship.angle, 4);        // 257 became 0, then turned
   // the thrust of that tick went along heading 257, the same as heading 1: right of up
   EXPECT_GT(ship.x_vel, 0.0f);
   EXPECT_LT(ship.y_vel, 0.0f);

   ship.angle = 1;
   hold(false, true, true, false);  // both held: counter-clockwise
   ship_step(&game);
   EXPECT_EQ(ship.angle, -3);
   ship_step(&game);
   EXPECT_EQ(ship.angle, 251);      // -3 became 255, then turned
}

// The forcefield bounces and costs energy; without it the ship wraps, out of sight for a while.
TEST_F(Ship, ScreenEdges)
{
   game.forcefield = true;
   ship.x = 0;
   ship.x_vel = -3.0f;
   ship.speed = 1.0f;
   ship_step(&game);
   EXPECT_EQ(ship.x, 5);            // put at 2, reversed, then moved by 3
   EXPECT_FLOAT_EQ(ship.x_vel, 3.0f);
   EXPECT_FLOAT_EQ(ship.speed, -1.0f);
   EXPECT_EQ(ship.life, 95);

   ship.x = 600;                    // 600 + 45 reaches the right edge
   ship_step(&game);
   EXPECT_EQ(ship.x, 593 - 3);
   EXPECT_EQ(ship.life, 90);

   game.forcefield = false;
   ship.x = -45;
   ship.x_vel = -1.0f;
   ship_step(&game);
   EXPECT_EQ(ship.x, 729);          // put at 640 + 2 x 45, then moved
   EXPECT_EQ(ship.life, 90);
   ship.x = -45;
   ship.x_vel = 1.0f;               // off the left but coming back: left alone
   ship_step(&game);
   EXPECT_EQ(ship.x, -44);
}

// A shot leaves 7 ticks after the press, once; held fire shoots every 8 ticks.
TEST_F(Ship, FiringLatch)
{
   ship.angle = 64;
   hold(false, false, false, true);
   ship_step(&game);
   hold(false, false, false, false);
   for (int tick = 2; tick <= 7; tick++) {
      if (tick == 4)
         hold(false, false, false, true);   // a second press while pending changes nothing
      ship_step(&game);
      hold(false, false, false, false);
      EXPECT_EQ(bullet[0].state, 0) << "tick " << tick;
   }
   ship_step(&game);
   EXPECT_EQ(bullet[0].state, 1);
   EXPECT_EQ(bullet[0].x, ship.x);
   EXPECT_EQ(bullet[0].y, ship.y);
   EXPECT_EQ(bullet[0].dir, 64);
   EXPECT_EQ(bullet[0].width, 16);
   for (int tick = 0; tick < 20; tick++)
      ship_step(&game);
   EXPECT_EQ(bullet[1].state, 0);

   hold(false, false, false, true);
   for (int tick = 0; tick < 16; tick++)
      ship_step(&game);
   EXPECT_EQ(bullet[1].state, 1);
   EXPECT_EQ(bullet[2].state, 1);
   EXPECT_EQ(bullet[3].state, 0);
}

// The keyboard thrusts with up and fires with A; the joystick thrusts with its first button.
TEST_F(Ship, ControlModes)
{
   hold_key(KEY_DOWN, true);
   hold_key(KEY_S, true);
   for (int tick = 0; tick < 10; tick++)
      logic_tick(&game);
   EXPECT_FLOAT_EQ(ship.speed, 0.0f);
   EXPECT_EQ(bullet[0].state, 0);
   release_all_keys();
   hold_key(KEY_UP, true);
   hold_key(KEY_A, true);
   for (int tick = 0; tick < 8; tick++)
      logic_tick(&game);
   EXPECT_GT(ship.speed, 1.0f);
   EXPECT_EQ(bullet[0].state, 1);

   ship.x_vel = ship.y_vel = ship.speed = 0.0f;
   universal_control = CONTROL_JOYSTICK_1;
   hold(true, false, false, false, true);
   for (int tick = 0; tick < 8; tick++)
      ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 0.0f);
   EXPECT_EQ(bullet[1].state, 1);
   hold(false, false, false, true);
   ship_step(&game);
   EXPECT_FLOAT_EQ(ship.speed, 1.0f);
}

// Energy gone: a burst of 1000 particles from the box corner, and a name only for a qualifying score.
TEST_F(Ship, Destruction)
{
   game.forcefield = true;
   ship.life = 5;
   ship.x = 0;
   ship.y = 100;
   game.score = 15;                 // equal to the last entry: does not qualify
   ship_step(&game);
   EXPECT_EQ(ship.state, 0);
   EXPECT_EQ(ship.life, 0);
   EXPECT_FALSE(game.input_name);
   EXPECT_EQ(live_pixels(), 1000);
   for (const pixel_typ &p : pixel) {
      EXPECT_FLOAT_EQ(p.x, 2.0f);   // after the bounce, before the move
      EXPECT_FLOAT_EQ(p.y, 100.0f);
      EXPECT_GE(p.life, 2);
      EXPECT_LE(p.life, 601);
      EXPECT_GE(p.color, 1);
      EXPECT_LE(p.color, 255);
      EXPECT_LE(std::abs(p.x_vel), 6.0f);
   }
   logic_tick(&game);
   EXPECT_EQ(ship.state, 0);        // the ship step runs no more

   teardown_game(&game);
   ASSERT_TRUE(setup_game(&game));
   ship.life = -3;
   game.score = 16;
   ship_step(&game);
   EXPECT_TRUE(game.input_name);
}
