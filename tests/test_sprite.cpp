// The sprite record (animation, box overlap, screen edges, launching into a pool) and the controller
// (both key layouts, both joysticks, the codes that read nothing, ignore_control, the flag priorities).
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "controller.h"
#include "sprite.h"
#include "support.h"

// A live box of the given size and velocity, with speed 2.
static sprite box(int x, int y, int width, int height, float x_vel = 0.0f, float y_vel = 0.0f)
{
   sprite s = {};
   s.init(9, x, y, width, height);
   s.x_vel = x_vel; s.y_vel = y_vel; s.speed = 2.0f;
   return s;
}

// spawn_sprite starts the lowest free slot afresh as a 16 x 16 box; a full pool (or slots past max) is left alone.
TEST(sprite_pool, spawn_into_lowest_free_slot)
{
   sprite pool[4] = {box(11, 0, 8, 8), box(11, 0, 8, 8), box(11, 0, 8, 8), box(11, 0, 8, 8)};
   pool[1].state = pool[3].state = 0;
   pool[1].counter = pool[1].frame_point = 6;
   spawn_sprite(4, pool, 30, 40, 96, -7, 5, 2, 99);
   const sprite &s = pool[1];
   EXPECT_TRUE(s.state == 1 && s.width == 16 && s.height == 16 && s.counter == 0 && s.frame_point == 0);
   EXPECT_TRUE(s.x_vel == -7.0f && s.y_vel == 5.0f && s.speed == 0.0f && s.item == 99);
   spawn_sprite(3, pool, 2, 2, 3, 4, 5, 6, 7);         // slot 3 lies past max_sprites
   spawn_sprite(4, pool, 1, 2, 3, 4, 5, 6, 7);
   spawn_sprite(4, pool, 500, 500, 0, 0, 0, 8, 8);     // full
   EXPECT_TRUE(pool[0].x == 11 && pool[1].x == 30 && pool[2].x == 11 && pool[3].x == 1);
}

// Closed boxes: touching edges or corners collide, one pixel apart does not, either way round.
TEST(sprite_collision, touching_boxes_collide)
{
   const struct { int x, y, hit; } cases[] = {{120, 105, 1}, {121, 105, 0}, {92, 105, 1}, {91, 105, 0},
                                               {110, 110, 1}, {110, 111, 0}, {120, 92, 1}, {120, 91, 0}};
   sprite a = box(100, 100, 20, 10);
   for (const auto &c : cases) {
      sprite b = box(c.x, c.y, 8, 8);
      EXPECT_TRUE(a.sprite_collision(&b) == c.hit && b.sprite_collision(&a) == c.hit) << c.x << "," << c.y;
   }
}

// Bounce/stop: first edge hit (left, right, top, bottom), box 2 px inside, that velocity and speed reversed
// or 0. Wrap: wholly outside and moving out reappears beyond the far edge; off-left moving right skips the rest.
TEST(sprite_edges, bounce_stop_and_wrap)
{
   const struct { int x, y, edge, new_x, new_y; } cases[] = {
      {0, 100, EDGE_LEFT, 2, 100}, {623, 100, 0, 623, 100}, {624, 100, EDGE_RIGHT, 622, 100},
      {300, 0, EDGE_TOP, 300, 2}, {300, 464, EDGE_BOTTOM, 300, 462}, {-5, -5, EDGE_LEFT, 2, -5}};
   for (int type : {BOUNDRY_BOUNCE, BOUNDRY_STOP})
      for (const auto &c : cases) {
         sprite s = box(c.x, c.y, 16, 16, -3.0f, 1.0f);
         const bool across = c.edge == EDGE_LEFT || c.edge == EDGE_RIGHT, along = c.edge && !across;
         const float turn = type == BOUNDRY_BOUNCE ? -1.0f : 0.0f;
         EXPECT_EQ(s.check_boundries(type, 0, 0, 640, 480), c.edge) << type << ": " << c.x << "," << c.y;
         EXPECT_TRUE(s.x == c.new_x && s.y == c.new_y && s.x_vel == (across ? 3.0f * -turn : -3.0f) &&
                     s.y_vel == (along ? turn : 1.0f) && s.speed == (c.edge ? 2.0f * turn : 2.0f)) << type << ": " << c.x;
      }
   const struct { int x, y; float x_vel, y_vel; int new_x, new_y; } wraps[] = {
      {-32, 100, -1, 1, 704, 100}, {640, 100, 1, 1, -64, 100}, {-31, 100, -1, 1, -31, 100},
      {300, -20, 0, -2, 300, 520}, {300, 480, 0, 2, 300, -40}, {-40, -30, 1, -1, -40, -30}};
   for (const auto &c : wraps) {
      sprite s = box(c.x, c.y, 32, 20, c.x_vel, c.y_vel);
      EXPECT_EQ(s.check_boundries(BOUNDRY_WRAP, 0, 0, 640, 480), 0);
      EXPECT_TRUE(s.x == c.new_x && s.y == c.new_y && s.x_vel == c.x_vel && s.speed == 2.0f)
         << c.x << "," << c.y << " went to " << s.x << "," << s.y;
   }
}

// animate: a frame lasts ani_timing + 1 calls; a loop restarts, a non-looping list holds its end and returns 1.
TEST(sprite_animation, looping_and_held_sequences)
{
   int two[] = {1, 2}, four[] = {1, 2, 3, 4};
   sprite s = box(0, 0, 16, 16);
   s.ani_timing = 1;
   for (int expected : {1, 2, 2, 1, 1, 2, 2})
      EXPECT_TRUE(s.animate(two, 2, true) == 0 && s.framez == expected) << expected;
   s = box(0, 0, 16, 16);
   s.ani_timing = 0;
   const int held[][2] = {{2, 0}, {3, 0}, {4, 0}, {4, 1}, {4, 1}};    // frame shown, result
   for (const auto &h : held)
      EXPECT_TRUE(s.animate(four, 4, false) == h[1] && s.framez == h[0]) << h[0];
}

// The flags of a controller read once in the given mode, as the letters u d l r 1 2. Its raw
// fields say "down and button 2" and its up flag is set beforehand.
static std::string read_in_mode(int code, bool ignore)
{
   controller c = {};
   c.GO_DOWN = c.BUTTON2 = 1;
   c.up_flag = true;
   c.control_type = code;
   c.ignore_control = ignore;
   c.refresh_controller();
   c.set_input_flags();
   return std::string(c.up_flag ? "u" : "") + (c.down_flag ? "d" : "") + (c.left_flag ? "l" : "") +
          (c.right_flag ? "r" : "") + (c.button1_flag ? "1" : "") + (c.button2_flag ? "2" : "");
}

// Both key layouts, up over down, left over right; ignore_control and codes 5, 6 read nothing; 0, 7, -1
// keep the raw fields; 3 and 4 follow their own joystick, not the keys; a joystick needing no calibration gets none.
TEST(controller, keys_joysticks_priorities_and_silent_codes)
{
   const int AR = CONTROL_ARROWS, LE = CONTROL_LETTERS, J1 = CONTROL_JOYSTICK_1, J2 = CONTROL_JOYSTICK_2;
   const struct { int code, held[4]; bool ignore; const char *read; } cases[] = {    // held: up to 4 scancodes
      {AR, {KEY_UP}, false, "u"}, {AR, {KEY_DOWN}, false, "d"}, {AR, {KEY_LEFT}, false, "l"}, {AR, {KEY_RIGHT}, false, "r"},
      {AR, {KEY_A}, false, "1"}, {AR, {KEY_S}, false, "2"}, {LE, {KEY_W}, false, "u"}, {LE, {KEY_S}, false, "d"},
      {LE, {KEY_A}, false, "l"}, {LE, {KEY_D}, false, "r"}, {LE, {KEY_F}, false, "1"}, {LE, {KEY_G}, false, "2"},
      {AR, {KEY_W, KEY_D, KEY_F, KEY_G}, false, ""}, {AR, {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT}, false, "ul"},
      {AR, {KEY_UP, KEY_A}, true, ""}, {CONTROL_OFF_1, {KEY_UP, KEY_A}, false, ""}, {CONTROL_OFF_2, {KEY_UP, KEY_A}, false, ""},
      {CONTROL_NONE, {KEY_UP, KEY_A}, false, "d2"}, {7, {KEY_UP, KEY_A}, false, "d2"}, {-1, {KEY_UP, KEY_A}, false, "d2"},
      {J1, {KEY_UP, KEY_A}, false, ""}, {J2, {KEY_UP, KEY_A}, false, ""}};
   memset(joy, 0, sizeof(JOYSTICK_INFO) * 2);
   for (const auto &c : cases) {
      release_all_keys();
      for (int k : c.held)
         hold_key(k, k != 0);
      EXPECT_EQ(read_in_mode(c.code, c.ignore), c.read) << "code " << c.code << ", first key " << c.held[0];
   }
   joy[0].stick[0].axis[1].d2 = joy[0].stick[0].axis[0].d1 = joy[0].button[1].b = 1;
   joy[1].stick[0].axis[1].d1 = joy[1].stick[0].axis[0].d2 = joy[1].button[0].b = 1;
   EXPECT_EQ(read_in_mode(J1, false) + "," + read_in_mode(J2, false), "dl2,ur1");
   EXPECT_EQ(controller().init_controller(0), 0);
   memset(joy, 0, sizeof(JOYSTICK_INFO) * 2);
   release_all_keys();
}
