// The sprite record: animation, box overlap, screen edges, launching into a pool.
#include <gtest/gtest.h>
#include "sprite.h"
#include "support.h"

// A live box of the given size and velocity, with speed 2.
static sprite box(int x, int y, int width, int height, float x_vel = 0.0f, float y_vel = 0.0f)
{
   sprite s = {};
   s.init(9, x, y, width, height);
   s.x_vel = x_vel;
   s.y_vel = y_vel;
   s.speed = 2.0f;
   return s;
}

// spawn_sprite starts the lowest free slot afresh as a 16 x 16 box, or none; boxes that touch collide.
TEST(Sprite, SpawnAndCollision)
{
   sprite pool[4] = {box(11, 0, 8, 8), box(11, 0, 8, 8), box(11, 0, 8, 8), box(11, 0, 8, 8)};
   pool[1].state = pool[3].state = 0;
   pool[1].counter = pool[1].frame_point = 6;
   spawn_sprite(4, pool, 30, 40, 96, -7, 5, 2, 99);
   const sprite &s = pool[1];
   EXPECT_EQ(make_tuple(s.state, s.width, s.height, s.counter, s.frame_point), make_tuple(1, 16, 16, 0, 0));
   EXPECT_EQ(make_tuple(s.x_vel, s.y_vel, s.speed, s.item), make_tuple(-7.0f, 5.0f, 0.0f, 99));
   spawn_sprite(3, pool, 2, 2, 3, 4, 5, 6, 7);         // slot 3 lies past max_sprites
   spawn_sprite(4, pool, 1, 2, 3, 4, 5, 6, 7);
   spawn_sprite(4, pool, 500, 500, 0, 0, 0, 8, 8);     // full
   EXPECT_EQ(make_tuple(pool[0].x, pool[1].x, pool[2].x, pool[3].x), make_tuple(11, 30, 11, 1));
   // Closed boxes: touching edges collide, one pixel apart does not; each pair is tried both ways round.
   const struct { int x, y, hit; } cases[] = {{120, 105, 1}, {121, 105, 0}, {110, 110, 1}, {110, 111, 0}};
   sprite a = box(100, 100, 20, 10);
   for (const auto &c : cases) {
      sprite b = box(c.x, c.y, 8, 8);
      EXPECT_EQ(make_tuple(a.sprite_collision(&b), b.sprite_collision(&a)), make_tuple(c.hit, c.hit)) << c.x << "," << c.y;
   }
}

// Bounce and stop at the first edge touched, 2 px inside; wrap only when wholly outside and moving out.
TEST(SpriteEdges, BounceStopAndWrap)
{
   const int B = BOUNDRY_BOUNCE, S = BOUNDRY_STOP, W = BOUNDRY_WRAP, L = EDGE_LEFT;
   const struct { int type, x, y, x_vel, y_vel, edge, new_x, new_y, new_x_vel, new_y_vel, speed; } cases[] = {
      {B, 0, 100, -3, 1, L, 2, 100, 3, 1, -2}, {B, 607, 100, -3, 1, 0, 607, 100, -3, 1, 2},
      {B, 608, 100, -3, 1, EDGE_RIGHT, 606, 100, 3, 1, -2}, {B, 300, 0, -3, 1, EDGE_TOP, 300, 2, -3, -1, -2},
      {B, 300, 460, -3, 1, EDGE_BOTTOM, 300, 458, -3, -1, -2}, {B, -5, -5, -3, 1, L, 2, -5, 3, 1, -2},
      {S, 608, 100, -3, 1, EDGE_RIGHT, 606, 100, 0, 1, 0}, {S, 300, 0, -3, 1, EDGE_TOP, 300, 2, -3, 0, 0},
      {W, -32, 100, -1, 1, 0, 704, 100, -1, 1, 2}, {W, 640, 100, 1, 1, 0, -64, 100, 1, 1, 2},
      {W, -31, 100, -1, 1, 0, -31, 100, -1, 1, 2}, {W, 300, -20, 0, -2, 0, 300, 520, 0, -2, 2},
      {W, 300, 480, 0, 2, 0, 300, -40, 0, 2, 2}, {W, -40, -30, 1, -1, 0, -40, -30, 1, -1, 2},
      {W, -32, 100, 0, 1, 0, 0, 100, 0, 1, 2}, {W, 640, 100, 0, -1, 0, 608, 100, 0, -1, 2},     // stopped dead
      {W, 300, -20, 1, 0, 0, 300, 0, 1, 0, 2}, {W, 300, 480, -1, 0, 0, 300, 460, -1, 0, 2}};
   for (const auto &c : cases) {
      sprite s = box(c.x, c.y, 32, 20, c.x_vel, c.y_vel);
      EXPECT_EQ(s.check_boundries(c.type, 0, 0, 640, 480), c.edge) << c.type << ": " << c.x << "," << c.y;
      EXPECT_EQ(make_tuple(s.x, s.y, s.x_vel, s.y_vel, s.speed),
                make_tuple(c.new_x, c.new_y, c.new_x_vel, c.new_y_vel, c.speed)) << c.type << ": " << c.x << "," << c.y;
   }
}

// animate: a frame lasts ani_timing + 1 calls; a loop restarts, a held list keeps its end, 1 on each step past it.
TEST(SpriteAnimation, LoopingAndHeldSequences)
{
   int frames[] = {1, 2};
   sprite s = box(0, 0, 16, 16);
   s.ani_timing = 1;
   for (int expected : {1, 2, 2, 1, 1, 2, 2})
      EXPECT_EQ(make_tuple(s.animate(frames, 2, true), s.framez), make_tuple(0, expected));
   for (int result : {1, 0, 1})
      EXPECT_EQ(make_tuple(s.animate(frames, 2, false), s.framez), make_tuple(result, 2));
}
