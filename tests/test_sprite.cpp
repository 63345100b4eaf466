// Sprite record: set-up, removal, animation, box overlap, screen edges, launching into a pool.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include "support.h"
#include "sprite.h"

// A sprite whose every field holds a recognisable non-zero value.
static sprite busy_sprite(BITMAP *image)
{
   sprite s;
   s.x = 11; s.y = 12; s.width = 13; s.height = 14;
   s.x_vel = 1.5f; s.y_vel = -2.5f; s.speed = 3.5f;
   s.angle = 64; s.dir = 128; s.framez = 5; s.type = 9;
   s.ani_timer = 3; s.ani_timing = 4; s.frame_point = 2;
   s.state = 1; s.life = 40; s.counter = 6; s.item = 7;
   std::strcpy(s.name, "rock");
   s.radian_angle = 1.25;
   s.buffer = image;
   return s;
}

// A live box of the given size, at rest.
static sprite box(int x, int y, int width, int height)
{
   sprite s = busy_sprite(nullptr);
   s.init(1, x, y, width, height);
   s.x_vel = s.y_vel = s.speed = 0.0f;
   return s;
}

// init places the box, makes it live, resets its animation position and counters, keeps the rest.
TEST(sprite_record, init_sets_box_and_keeps_motion_and_frame)
{
   sprite s = busy_sprite(nullptr);
   s.state = 0;
   s.init(3, 100, 200, 32, 24);
   EXPECT_EQ(s.x, 100); EXPECT_EQ(s.y, 200);
   EXPECT_EQ(s.width, 32); EXPECT_EQ(s.height, 24);
   EXPECT_EQ(s.type, 3); EXPECT_EQ(s.state, 1);
   EXPECT_EQ(s.ani_timing, 7); EXPECT_EQ(s.frame_point, 0);
   EXPECT_EQ(s.counter, 0); EXPECT_EQ(s.item, 0);
   EXPECT_EQ(s.speed, 0.0f);
   EXPECT_EQ(s.x_vel, 1.5f); EXPECT_EQ(s.y_vel, -2.5f);
   EXPECT_EQ(s.angle, 64); EXPECT_EQ(s.dir, 128);
   EXPECT_EQ(s.framez, 5); EXPECT_EQ(s.ani_timer, 3); EXPECT_EQ(s.life, 40);
   EXPECT_STREQ(s.name, "rock"); EXPECT_EQ(s.radian_angle, 1.25);
}

// deystroy frees the slot and clears box, motion and animation, but keeps identity and the owned bitmap.
TEST(sprite_record, deystroy_clears_and_keeps_buffer)
{
   BITMAP *label = create_bitmap(40, 10);
   ASSERT_NE(label, nullptr);
   sprite s = busy_sprite(label);
   s.deystroy();
   EXPECT_EQ(s.state, 0);
   EXPECT_EQ(s.x, 0); EXPECT_EQ(s.y, 0); EXPECT_EQ(s.width, 0); EXPECT_EQ(s.height, 0);
   EXPECT_EQ(s.x_vel, 0.0f); EXPECT_EQ(s.y_vel, 0.0f); EXPECT_EQ(s.speed, 0.0f);
   EXPECT_EQ(s.framez, 0); EXPECT_EQ(s.ani_timer, 0); EXPECT_EQ(s.ani_timing, 0);
   EXPECT_EQ(s.frame_point, 0); EXPECT_EQ(s.counter, 0); EXPECT_EQ(s.item, 0);
   EXPECT_EQ(s.type, 9); EXPECT_EQ(s.angle, 64); EXPECT_EQ(s.dir, 128); EXPECT_EQ(s.life, 40);
   EXPECT_STREQ(s.name, "rock"); EXPECT_EQ(s.radian_angle, 1.25);
   EXPECT_EQ(s.buffer, label);
   EXPECT_EQ(label->w, 40);
   destroy_bitmap(label);
}

// animate holds each frame ani_timing + 1 calls, loops or holds the last entry, and keeps its place across lists.
TEST(sprite_animation, looping_and_held_sequences)
{
   int two[] = {1, 2};
   sprite s = box(0, 0, 16, 16);
   s.ani_timing = 1;
   s.ani_timer = 0;
   const int shown[] = {1, 2, 2, 1, 1, 2, 2};
   for (int expected : shown) {
      EXPECT_EQ(s.animate(two, 2, true), 0);
      EXPECT_EQ(s.framez, expected);
   }

   int four[] = {10, 11, 12, 13};
   s.ani_timing = 0;
   s.ani_timer = 0;
   s.frame_point = 0;
   for (int expected : {11, 12, 13}) {
      EXPECT_EQ(s.animate(four, 4, false), 0);
      EXPECT_EQ(s.framez, expected);
   }
   for (int call = 0; call < 3; call++) {
      EXPECT_EQ(s.animate(four, 4, false), 1);
      EXPECT_EQ(s.framez, 13);
      EXPECT_EQ(s.frame_point, 3);
   }

   // A second list continues from the same position; init keeps the timer's count.
   int other[] = {20, 21, 22, 23, 24};
   EXPECT_EQ(s.animate(other, 5, false), 0);
   EXPECT_EQ(s.framez, 24);
   s.ani_timer = 5;
   s.init(1, 0, 0, 16, 16);
   EXPECT_EQ(s.ani_timer, 5);
   s.animate(other, 5, true);
   EXPECT_EQ(s.framez, 20);
   s.animate(other, 5, true);
   s.animate(other, 5, true);
   EXPECT_EQ(s.framez, 21);
}

// Closed boxes: touching edges or corners collide, one pixel apart does not; symmetric; state ignored.
TEST(sprite_collision, touching_boxes_collide)
{
   sprite a = box(100, 100, 20, 10);
   sprite b = box(120, 105, 8, 8);
   EXPECT_EQ(a.sprite_collision(&b), 1);
   EXPECT_EQ(b.sprite_collision(&a), 1);
   b.x = 121;
   EXPECT_EQ(a.sprite_collision(&b), 0);
   EXPECT_EQ(b.sprite_collision(&a), 0);
   b.x = 92;    // b's right edge on a's left edge
   EXPECT_EQ(a.sprite_collision(&b), 1);
   b.x = 91;
   EXPECT_EQ(a.sprite_collision(&b), 0);

   b.x = 110; b.y = 110;    // a's bottom edge
   EXPECT_EQ(a.sprite_collision(&b), 1);
   b.y = 111;
   EXPECT_EQ(b.sprite_collision(&a), 0);
   b.x = 120; b.y = 92;     // corner to corner
   EXPECT_EQ(a.sprite_collision(&b), 1);
   b.y = 91;
   EXPECT_EQ(a.sprite_collision(&b), 0);

   b.x = 105; b.y = 102; b.state = 0;    // inside, dead
   EXPECT_EQ(a.sprite_collision(&b), 1);
   EXPECT_EQ(b.sprite_collision(&a), 1);
}

// Bounce: exact edges count, the box goes 2 pixels inside, the velocity on that axis and speed reverse.
TEST(sprite_edges, bounce_at_exact_edges)
{
   sprite s = box(0, 100, 16, 16);
   s.x_vel = -3.0f; s.y_vel = 1.0f; s.speed = 2.0f;
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 0, 0, 640, 480), EDGE_LEFT);
   EXPECT_EQ(s.x, 2);
   EXPECT_EQ(s.x_vel, 3.0f); EXPECT_EQ(s.y_vel, 1.0f); EXPECT_EQ(s.speed, -2.0f);
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 0, 0, 640, 480), 0);
   EXPECT_EQ(s.x, 2); EXPECT_EQ(s.x_vel, 3.0f);

   s.x = 623;
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 0, 0, 640, 480), 0);
   s.x = 624;
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 0, 0, 640, 480), EDGE_RIGHT);
   EXPECT_EQ(s.x, 622);
   EXPECT_EQ(s.x_vel, -3.0f); EXPECT_EQ(s.speed, 2.0f);

   s.x = 300; s.y = 464;
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 0, 0, 640, 480), EDGE_BOTTOM);
   EXPECT_EQ(s.y, 462); EXPECT_EQ(s.y_vel, -1.0f); EXPECT_EQ(s.x_vel, -3.0f);

   // Past the left and top edges at once: only the left one is handled on this call.
   s.x = -5; s.y = -5;
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 0, 0, 640, 480), EDGE_LEFT);
   EXPECT_EQ(s.x, 2); EXPECT_EQ(s.y, -5); EXPECT_EQ(s.y_vel, -1.0f);
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 0, 0, 640, 480), EDGE_TOP);
   EXPECT_EQ(s.y, 2); EXPECT_EQ(s.y_vel, 1.0f);

   // Any rectangle, not only the screen.
   s.x = 50; s.y = 60;
   EXPECT_EQ(s.check_boundries(BOUNDRY_BOUNCE, 50, 10, 200, 100), EDGE_LEFT);
   EXPECT_EQ(s.x, 52);
}

// Stop: the same edges and positions as bounce, but the axis velocity and speed become plain zero.
TEST(sprite_edges, stop_and_unknown_types)
{
   sprite s = box(640 - 16, 100, 16, 16);
   s.x_vel = 4.0f; s.y_vel = -2.0f; s.speed = -3.0f;
   EXPECT_EQ(s.check_boundries(BOUNDRY_STOP, 0, 0, 640, 480), EDGE_RIGHT);
   EXPECT_EQ(s.x, 622);
   EXPECT_EQ(s.x_vel, 0.0f); EXPECT_FALSE(std::signbit(s.x_vel));
   EXPECT_EQ(s.speed, 0.0f); EXPECT_FALSE(std::signbit(s.speed));
   EXPECT_EQ(s.y_vel, -2.0f);

   s.y = 0;
   EXPECT_EQ(s.check_boundries(BOUNDRY_STOP, 0, 0, 640, 480), EDGE_TOP);
   EXPECT_EQ(s.y, 2);
   EXPECT_EQ(s.y_vel, 0.0f); EXPECT_FALSE(std::signbit(s.y_vel));

   s.x = -100; s.y = -100; s.x_vel = -1.0f; s.y_vel = -1.0f; s.speed = 1.0f;
   for (int type : {0, 4, -1}) {
      EXPECT_EQ(s.check_boundries(type, 0, 0, 640, 480), 0);
      EXPECT_EQ(s.x, -100); EXPECT_EQ(s.y, -100);
      EXPECT_EQ(s.x_vel, -1.0f); EXPECT_EQ(s.y_vel, -1.0f); EXPECT_EQ(s.speed, 1.0f);
   }
}

// Wrap: a box wholly outside and moving outward reappears beyond the opposite edge; otherwise nothing.
TEST(sprite_edges, wrap_positions_and_blocked_rows)
{
   sprite s = box(-32, 100, 32, 20);
   s.x_vel = -1.0f; s.y_vel = 1.0f; s.speed = 5.0f;
   EXPECT_EQ(s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480), 0);
   EXPECT_EQ(s.x, 704); EXPECT_EQ(s.y, 100);
   EXPECT_EQ(s.x_vel, -1.0f); EXPECT_EQ(s.speed, 5.0f);

   s.x = 640; s.x_vel = 1.0f;
   s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480);
   EXPECT_EQ(s.x, -64);

   s.x = -31; s.x_vel = -1.0f;    // still partly on screen
   s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480);
   EXPECT_EQ(s.x, -31);

   s.x = 300; s.y = -20; s.y_vel = -2.0f;
   s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480);
   EXPECT_EQ(s.y, 520);
   s.y = 480; s.y_vel = 2.0f;
   s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480);
   EXPECT_EQ(s.y, -40);

   // Off the left but moving right: nothing, and the box above the screen is not looked at.
   s.x = -40; s.x_vel = 1.0f; s.y = -30; s.y_vel = -1.0f;
   EXPECT_EQ(s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480), 0);
   EXPECT_EQ(s.x, -40); EXPECT_EQ(s.y, -30);
   s.x_vel = 0.0f;
   s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480);
   EXPECT_EQ(s.x, -40); EXPECT_EQ(s.y, -30);
   s.x = 0;
   s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480);
   EXPECT_EQ(s.y, 520);
}

// spawn_sprite starts the lowest free slot as a 16 x 16 box; a full pool is left untouched.
TEST(sprite_pool, spawn_into_free_and_full_pools)
{
   sprite pool[4];
   for (sprite &s : pool)
      s = busy_sprite(nullptr);
   pool[1].state = 0;
   pool[3].state = 0;
   spawn_sprite(4, pool, 30, 40, 96, -7, 5, 2, 99);
   const sprite &s = pool[1];
   EXPECT_EQ(s.state, 1);
   EXPECT_EQ(s.x, 30); EXPECT_EQ(s.y, 40); EXPECT_EQ(s.width, 16); EXPECT_EQ(s.height, 16);
   EXPECT_EQ(s.dir, 96); EXPECT_EQ(s.type, 2); EXPECT_EQ(s.item, 99); EXPECT_EQ(s.counter, 0);
   EXPECT_EQ(s.x_vel, -7.0f); EXPECT_EQ(s.y_vel, 5.0f);
   EXPECT_EQ(s.speed, 0.0f); EXPECT_EQ(s.ani_timing, 7); EXPECT_EQ(s.frame_point, 0);
   EXPECT_EQ(s.framez, 5); EXPECT_EQ(s.angle, 64);
   EXPECT_EQ(pool[3].state, 0);
   EXPECT_EQ(pool[3].x, 11);

   spawn_sprite(4, pool, 1, 2, 3, 4, 5, 6, 7);
   EXPECT_EQ(pool[3].x, 1); EXPECT_EQ(pool[3].item, 7);

   spawn_sprite(4, pool, 500, 500, 0, 0, 0, 8, 8);
   EXPECT_EQ(pool[0].x, 11); EXPECT_EQ(pool[0].item, 7); EXPECT_EQ(pool[0].type, 9);
   EXPECT_EQ(pool[1].x, 30); EXPECT_EQ(pool[2].x, 11); EXPECT_EQ(pool[3].x, 1);

   // Only the first max_sprites slots are searched.
   pool[3].state = 0;
   spawn_sprite(3, pool, 500, 500, 0, 0, 0, 8, 8);
   EXPECT_EQ(pool[3].state, 0); EXPECT_EQ(pool[3].x, 1);
}
