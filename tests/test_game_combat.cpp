// Bullets, the asteroid field, asteroid contact with the ship and scoring.
#include <cmath>
#include <cstring>
#include "test_game_fixture.h"
#include "quorbix.h"

using Combat = GameTest;

// A bullet waits two ticks at the ship's corner, then flies 20 pixels a tick; beyond 20 off screen it is gone.
TEST_F(Combat, BulletFlight)
{
   spawn_sprite(NUM_BULLETS, bullet, 100, 200, 64, 0, 0, 0, 0);
   sprite &b = bullet[0];
   bullet_step(&game);
   EXPECT_TRUE(b.x == 100 && b.x_vel == 0.0f);
   EXPECT_TRUE(b.framez == BULLET_1 || b.framez == BULLET_2);
   bullet_step(&game);
   EXPECT_EQ(b.x, 100);
   EXPECT_NEAR(b.x_vel, 20.0, 1e-3);
   EXPECT_NEAR(b.y_vel, 0.0, 1e-3);
   bullet_step(&game);
   EXPECT_TRUE(b.x == 120 && b.y == 200);

   struct { int x, y; bool stays; } cases[] = {
      {-20, 100, true}, {-21, 100, false}, {660, 100, true}, {661, 100, false},
      {100, -20, true}, {100, -21, false}, {100, 500, true}, {100, 501, false},
   };
   for (auto &c : cases) {
      b.deystroy();
      spawn_sprite(NUM_BULLETS, bullet, c.x, c.y, 0, 0, 0, 0, 0);
      bullet_step(&game);
      EXPECT_EQ(b.state == 1, c.stays) << c.x << ", " << c.y;
   }
}

// A bullet hits the lowest live slot it touches, knocks it along its path, plays its hit and goes.
TEST_F(Combat, BulletHits)
{
   place_rock(1, 190, 190, 50, 50, 5, 0, 0).state = 0;
   sprite &low = place_rock(3, 190, 190, 50, 50, 5, 1, 0);
   sprite &high = place_rock(7, 190, 190, 50, 50, 5, 0, 0);
   spawn_sprite(NUM_BULLETS, bullet, 200, 200, 64, 0, 0, 0, 0);
   bullet_step(&game);
   EXPECT_TRUE(low.life == 6 && high.life == 7 && asteroid[1].life == 7);
   EXPECT_FLOAT_EQ(low.x_vel, 1.0f);           // a hit in the launch tick knocks nothing

   sprite &b = bullet[1];
   spawn_sprite(NUM_BULLETS, bullet, 200, 300, 64, 0, 0, 0, 0);
   b.speed = 20.0f;                            // in flight
   sprite &rock = place_rock(5, 190, 290, 50, 50, 5, 0, 0);
   bullet_step(&game);                         // tick H
   EXPECT_NEAR(rock.x_vel, 5.0, 1e-3);
   EXPECT_NEAR(rock.y_vel, 0.0, 1e-3);
   bullet_step(&game);
   EXPECT_TRUE(b.x == 220 && b.framez == BULLET_DIE_2);   // one more move, then it stands
   bullet_step(&game);
   EXPECT_TRUE(b.x == 220 && (b.framez == BULLET_DIE_3 || b.framez == BULLET_DIE_1));
   EXPECT_EQ(b.state, 1);
   bullet_step(&game);
   EXPECT_EQ(b.state, 0);                      // gone in tick H + 3, after one hit only
   EXPECT_EQ(rock.life, 6);
}

// Level sizes, and every label bitmap sized by its style; hit points are the length, weight 2 less.
TEST_F(Combat, FieldCreation)
{
   create_asteroids(1);
   EXPECT_EQ(num_asteroids, 2);
   for (int z = 0; z < NUM_ASTEROIDS; z++)
      EXPECT_TRUE(asteroid[z].state == (z <= 2) && asteroid[z].buffer) << z;
   create_asteroids(13);
   EXPECT_EQ(num_asteroids, 26);
   bool style_seen[4] = {};
   for (int round = 0; round < 20; round++) {
      create_asteroids(12);
      for (const sprite &a : asteroid) {
         ASSERT_EQ(a.state, 1);
         int n = a.life;
         bool known = false;
         for (const char *label : string)
            known = known || (int)strlen(label) == n;
         EXPECT_TRUE(known && a.counter == n - 2) << n;
         EXPECT_TRUE(a.width == a.buffer->w && a.height == a.buffer->h);
         int style = a.width == 8 * n && a.height == 8 ? 0 : a.width == 16 * n && a.height == 20 ? 1
                   : a.width == 16 * n && a.height == 30 ? 2 : a.width == 15 * n && a.height == 20 ? 3 : -1;
         ASSERT_NE(style, -1) << a.width << " x " << a.height << " for " << n;
         style_seen[style] = true;
         EXPECT_TRUE(a.x >= 0 && a.x < 640 && a.y >= 0 && a.y < 480);
         EXPECT_TRUE(std::fabs(a.x_vel) <= 4 && a.x_vel == (int)a.x_vel);
      }
   }
   EXPECT_TRUE(style_seen[0] && style_seen[1] && style_seen[2] && style_seen[3]);
}

// Odd weights bounce, even weights wrap; the speed limit comes after the move; touching pairs reverse.
TEST_F(Combat, FieldMotion)
{
   sprite &odd = place_rock(0, 0, 400, 40, 10, 5, -2, 0);
   sprite &even = place_rock(1, -40, 50, 40, 10, 8, -1, 0);
   sprite &resting = place_rock(2, 630, 150, 40, 10, 1, 0, 0);
   sprite &fast = place_rock(3, 100, 300, 40, 10, 8, 9, 0);
   asteroid_step(&game);
   EXPECT_EQ(game.asteroid_counter, 4);
   EXPECT_TRUE(odd.x == 2 && odd.x_vel == 2.0f);
   EXPECT_EQ(even.x, 720);                     // 640 + 2 x 40
   asteroid_step(&game);
   EXPECT_EQ(resting.x, 598);                  // pushed inside, and stays at rest
   EXPECT_TRUE(fast.x == 116 && fast.x_vel == 7.0f);

   sprite &low = place_rock(4, 100, 100, 40, 10, 5, 3, -2);
   sprite &high = place_rock(5, 143, 100, 40, 10, 5, -1, 0);
   place_rock(6, 100, 100, 40, 10, 5, 0, 0).state = 0;
   asteroid_step(&game);                       // low moves to touch high; high then moves off
   EXPECT_TRUE(low.x_vel == -2.0f && low.y_vel == 2.0f);   // only what is faster than 2 slows
   EXPECT_TRUE(high.x_vel == 1.0f && high.y_vel == 0.0f && high.x == 144);
}

// An asteroid takes twice its weight in energy and throws the ship; then not for 45 ticks, nor after the loss.
TEST_F(Combat, ShipContact)
{
   sprite &rock = place_rock(0, 330, 250, 100, 20, 13, 2, -1);   // "ThrowsException"
   ship.x_vel = -1.0f;
   asteroid_step(&game);
   EXPECT_EQ(ship.life, 74);
   EXPECT_TRUE(ship.x_vel == 4.0f && ship.y_vel == -2.0f && ship.flash_flag);
   EXPECT_TRUE(rock.x_vel == 2.0f && rock.life == 15);
   asteroid_step(&game);
   EXPECT_EQ(ship.life, 74);
   for (int tick = 1; tick <= 44; tick++)
      ship_step(&game);
   EXPECT_TRUE(ship.flash_flag);
   ship_step(&game);
   EXPECT_FALSE(ship.flash_flag);
   rock.x = ship.x;
   rock.y = ship.y;
   asteroid_step(&game);
   EXPECT_EQ(ship.life, 48);

   ship.life = 0;
   ship_step(&game);
   ship.flash_flag = false;
   place_rock(0, 0, 0, 100, 20, 12, 0, 0);     // over the wreck's empty box at (0, 0)
   asteroid_step(&game);
   EXPECT_EQ(ship.life, 0);
}

// A shot-down asteroid bursts from its centre and scores its weight times the level, ship or no ship.
TEST_F(Combat, Scoring)
{
   ship.x = 600;
   game.level = 4;
   sprite &ind = place_rock(0, 100, 100, 24, 8, 1, 0, 0);   // "IND"
   ind.life = 1;
   spawn_sprite(NUM_BULLETS, bullet, 100, 100, 0, 0, 0, 0, 0);
   bullet_step(&game);
   asteroid_step(&game);
   EXPECT_TRUE(ind.state == 0 && game.score == 4);
   EXPECT_EQ(game.asteroid_counter, 1);        // still counted in its last tick
   EXPECT_EQ(live_pixels(), 1000);
   for (const pixel_typ &p : pixel)
      EXPECT_TRUE(p.x == 112.0f && p.y == 104.0f && p.life == 0 && p.color >= 1 && p.color <= 5);
   asteroid_step(&game);
   EXPECT_EQ(game.asteroid_counter, 0);

   game.level = 2;
   ship.life = 0;
   ship_step(&game);
   for (pixel_typ &p : pixel)
      p.state = false;
   sprite &poly = place_rock(1, 300, 300, 195, 21, 10, 0, 0);   // "Polymorphism"
   poly.life = 0;
   asteroid_step(&game);
   EXPECT_EQ(game.score, 24);
   bool longest = false;
   for (const pixel_typ &p : pixel) {
      EXPECT_TRUE(p.life % 20 == 0 && p.life >= 0 && p.life <= 180 && p.x == 397.0f && p.y == 310.0f);
      longest = longest || p.life == 180;
   }
   EXPECT_TRUE(longest);
}
