// Bullets, the asteroid field, asteroid contact with the ship and scoring.
#include <cstring>
#include "test_game_fixture.h"
#include "quorbix.h"

using Combat = GameTest;

// A bullet waits two ticks at the ship's corner, then flies 20 pixels a tick.
TEST_F(Combat, BulletFlight)
{
   spawn_sprite(NUM_BULLETS, bullet, 100, 200, 64, 0, 0, 0, 0);
   sprite &b = bullet[0];
   bullet_step(&game);
   EXPECT_EQ(b.x, 100);
   EXPECT_FLOAT_EQ(b.x_vel, 0.0f);
   EXPECT_TRUE(b.framez == BULLET_1 || b.framez == BULLET_2);
   bullet_step(&game);
   EXPECT_EQ(b.x, 100);
   EXPECT_NEAR(b.x_vel, 20.0, 1e-3);
   EXPECT_NEAR(b.y_vel, 0.0, 1e-3);
   bullet_step(&game);
   EXPECT_EQ(b.x, 120);
   EXPECT_EQ(b.y, 200);
}

// A bullet more than 20 pixels beyond an edge is gone; at 20 it stays.
TEST_F(Combat, BulletLeavesScreen)
{
   struct { int x, y; bool stays; } cases[] = {
      {-20, 100, true}, {-21, 100, false}, {660, 100, true}, {661, 100, false},
      {100, -20, true}, {100, -21, false}, {100, 500, true}, {100, 501, false},
   };
   for (auto &c : cases) {
      spawn_sprite(NUM_BULLETS, bullet, c.x, c.y, 0, 0, 0, 0, 0);
      bullet_step(&game);
      EXPECT_EQ(bullet[0].state == 1, c.stays) << c.x << ", " << c.y;
      bullet[0].deystroy();
   }
}

// One bullet hits the lowest live slot it touches, knocks it along its path, plays its hit and goes.
TEST_F(Combat, BulletHits)
{
   place_rock(1, 190, 190, 50, 50, 5, 0, 0).state = 0;   // freed: never hit
   sprite &low = place_rock(3, 190, 190, 50, 50, 5, 1, 0);
   sprite &high = place_rock(7, 190, 190, 50, 50, 5, 0, 0);
   spawn_sprite(NUM_BULLETS, bullet, 200, 200, 64, 0, 0, 0, 0);
   bullet_step(&game);
   EXPECT_EQ(low.life, 6);
   EXPECT_FLOAT_EQ(low.x_vel, 1.0f);                     // a hit in the launch tick knocks nothing
   EXPECT_EQ(high.life, 7);
   EXPECT_EQ(asteroid[1].life, 7);

   sprite &b = bullet[1];
   spawn_sprite(NUM_BULLETS, bullet, 200, 300, 64, 0, 0, 0, 0);
   b.speed = 20.0f;                                      // in flight
   sprite &rock = place_rock(5, 190, 290, 50, 50, 5, 0, 0);
   bullet_step(&game);                                   // tick H
   EXPECT_NEAR(rock.x_vel, 5.0, 1e-3);
   EXPECT_NEAR(rock.y_vel, 0.0, 1e-3);
   EXPECT_EQ(rock.life, 6);
   bullet_step(&game);
   EXPECT_EQ(b.x, 220);                                  // one more move, then it stands
   EXPECT_EQ(b.framez, BULLET_DIE_2);
   bullet_step(&game);
   EXPECT_EQ(b.x, 220);
   EXPECT_TRUE(b.framez == BULLET_DIE_3 || b.framez == BULLET_DIE_1);
   EXPECT_EQ(b.state, 1);
   bullet_step(&game);                                   // tick H + 3
   EXPECT_EQ(b.state, 0);
   EXPECT_EQ(rock.life, 6);
}

// Level sizes, label bitmaps per style, hit points and weights.
TEST_F(Combat, FieldCreation)
{
   create_asteroids(1);
   EXPECT_EQ(num_asteroids, 2);
   for (int z = 0; z < NUM_ASTEROIDS; z++) {
      EXPECT_EQ(asteroid[z].state, z <= 2 ? 1 : 0) << z;
      EXPECT_NE(asteroid[z].buffer, nullptr) << z;
   }
   create_asteroids(13);
   EXPECT_EQ(num_asteroids, 26);
   bool style_seen[4] = {};
   for (int round = 0; round < 20; round++) {
      create_asteroids(12);
      EXPECT_EQ(num_asteroids, 24);
      for (const sprite &a : asteroid) {
         ASSERT_EQ(a.state, 1);
         int length = a.life;
         bool known = false;
         for (const char *label : string)
            known = known || (int)strlen(label) == length;
         EXPECT_TRUE(known) << length;
         EXPECT_EQ(a.counter, length - 2);
         EXPECT_EQ(a.width, a.buffer->w);
         EXPECT_EQ(a.height, a.buffer->h);
         int style = a.buffer->w == 8 * length && a.height == 8 ? 0
                   : a.buffer->w == 16 * length && a.height == 20 ? 1
                   : a.buffer->w == 16 * length && a.height == 30 ? 2
                   : a.buffer->w == 15 * length && a.height == 20 ? 3 : -1;
         ASSERT_NE(style, -1) << a.width << " x " << a.height << " for " << length;
         style_seen[style] = true;
         EXPECT_TRUE(a.x >= 0 && a.x < 640 && a.y >= 0 && a.y < 480);
         EXPECT_TRUE(a.x_vel >= -4 && a.x_vel <= 4 && a.x_vel == (int)a.x_vel);
      }
   }
   for (bool seen : style_seen)
      EXPECT_TRUE(seen);
}

// Odd weights bounce, even weights wrap; the speed limit comes after the move.
TEST_F(Combat, FieldEdges)
{
   sprite &odd = place_rock(0, 0, 400, 40, 10, 5, -2, 0);
   sprite &even = place_rock(1, -40, 50, 40, 10, 8, -1, 0);
   sprite &resting = place_rock(2, 630, 150, 40, 10, 1, 0, 0);
   sprite &fast = place_rock(3, 100, 300, 40, 10, 8, 9, 0);
   asteroid_step(&game);
   EXPECT_EQ(game.asteroid_counter, 4);
   EXPECT_EQ(odd.x, 2);
   EXPECT_FLOAT_EQ(odd.x_vel, 2.0f);
   EXPECT_EQ(even.x, 720);                               // 640 + 2 x 40
   EXPECT_EQ(resting.x, 598);                            // pushed inside, still at rest
   asteroid_step(&game);
   EXPECT_EQ(resting.x, 598);
   EXPECT_EQ(fast.x, 116);                               // 9, then 7
   EXPECT_FLOAT_EQ(fast.x_vel, 7.0f);
}

// Two touching asteroids reverse; the lower slot's faster component slows by 1; dead slots take no part.
TEST_F(Combat, FieldCollisions)
{
   sprite &low = place_rock(0, 100, 100, 40, 10, 5, 3, 1);
   sprite &high = place_rock(1, 143, 100, 40, 10, 5, -1, 0);
   place_rock(2, 100, 100, 40, 10, 5, 0, 0).state = 0;
   asteroid_step(&game);                                 // low moves to touch high; high moves off
   EXPECT_FLOAT_EQ(low.x_vel, -2.0f);
   EXPECT_FLOAT_EQ(low.y_vel, -1.0f);
   EXPECT_FLOAT_EQ(high.x_vel, 1.0f);
   EXPECT_FLOAT_EQ(high.y_vel, 0.0f);
   EXPECT_EQ(high.x, 144);
}

// An asteroid takes twice its weight in energy and throws the ship, then not again for 45 ticks.
TEST_F(Combat, ShipContact)
{
   sprite &rock = place_rock(0, 330, 250, 100, 20, 13, 2, -1);   // "ThrowsException"
   ship.x_vel = -1.0f;
   asteroid_step(&game);
   EXPECT_EQ(ship.life, 74);
   EXPECT_FLOAT_EQ(ship.x_vel, 4.0f);
   EXPECT_FLOAT_EQ(ship.y_vel, -2.0f);
   EXPECT_TRUE(ship.flash_flag);
   EXPECT_FLOAT_EQ(rock.x_vel, 2.0f);
   EXPECT_EQ(rock.life, 15);
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
   ASSERT_EQ(ship.state, 0);
   ship.flash_flag = false;
   place_rock(0, 0, 0, 100, 20, 12, 0, 0);               // over the wreck's empty box at (0, 0)
   asteroid_step(&game);
   EXPECT_EQ(ship.life, 0);
   EXPECT_FLOAT_EQ(ship.x_vel, 0.0f);
}

// Shooting down an asteroid bursts it from its centre and scores its weight times the level.
TEST_F(Combat, Scoring)
{
   ship.x = 600;                                         // out of the way
   game.level = 4;
   sprite &ind = place_rock(0, 100, 100, 24, 8, 1, 0, 0);
   ind.life = 1;
   spawn_sprite(NUM_BULLETS, bullet, 100, 100, 0, 0, 0, 0, 0);
   bullet_step(&game);
   asteroid_step(&game);
   EXPECT_EQ(ind.state, 0);
   EXPECT_EQ(game.score, 4);
   EXPECT_EQ(game.asteroid_counter, 1);                  // still counted in its last tick
   EXPECT_EQ(live_pixels(), 1000);
   for (const pixel_typ &p : pixel) {
      EXPECT_FLOAT_EQ(p.x, 112.0f);
      EXPECT_FLOAT_EQ(p.y, 104.0f);
      EXPECT_EQ(p.life, 0);
      EXPECT_TRUE(p.color >= 1 && p.color <= 5);
   }
   asteroid_step(&game);
   EXPECT_EQ(game.asteroid_counter, 0);

   game.level = 2;
   ship.life = 0;
   ship_step(&game);                                     // a lost ship does not stop the scoring
   for (pixel_typ &p : pixel)
      p.state = false;
   sprite &poly = place_rock(1, 300, 300, 195, 21, 10, 0, 0);   // "Polymorphism"
   poly.life = 0;
   asteroid_step(&game);
   EXPECT_EQ(game.score, 24);
   bool longest = false;
   for (const pixel_typ &p : pixel) {
      EXPECT_EQ(p.life % 20, 0);
      EXPECT_TRUE(p.life >= 0 && p.life <= 180);
      longest = longest || p.life == 180;
      EXPECT_FLOAT_EQ(p.x, 397.0f);
      EXPECT_FLOAT_EQ(p.y, 310.0f);
   }
   EXPECT_TRUE(longest);
}
