// The controller: both key layouts, both joysticks, the codes that read nothing,
// ignore_control and the flag priorities.
#include <gtest/gtest.h>
#include <cstring>
#include "controller.h"
#include "support.h"

// A controller read once in the given mode.
static controller read_in_mode(int code, bool ignore = false)
{
   controller c;
   memset(&c, 0, sizeof(c));
   c.control_type = code;
   c.ignore_control = ignore;
   c.refresh_controller();
   c.set_input_flags();
   return c;
}

static int flags_set(const controller &c)
{
   return c.up_flag + c.down_flag + c.left_flag + c.right_flag + c.button1_flag + c.button2_flag;
}

// Each key of both layouts drives exactly its own input.
TEST(Controller, KeyLayouts)
{
   struct { int code, scancode; bool controller::*flag; } cases[] = {
      {CONTROL_ARROWS, KEY_UP, &controller::up_flag},
      {CONTROL_ARROWS, KEY_DOWN, &controller::down_flag},
      {CONTROL_ARROWS, KEY_LEFT, &controller::left_flag},
      {CONTROL_ARROWS, KEY_RIGHT, &controller::right_flag},
      {CONTROL_ARROWS, KEY_A, &controller::button1_flag},
      {CONTROL_ARROWS, KEY_S, &controller::button2_flag},
      {CONTROL_LETTERS, KEY_W, &controller::up_flag},
      {CONTROL_LETTERS, KEY_S, &controller::down_flag},
      {CONTROL_LETTERS, KEY_A, &controller::left_flag},
      {CONTROL_LETTERS, KEY_D, &controller::right_flag},
      {CONTROL_LETTERS, KEY_F, &controller::button1_flag},
      {CONTROL_LETTERS, KEY_G, &controller::button2_flag},
   };
   for (auto &t : cases) {
      release_all_keys();
      hold_key(t.scancode, true);
      controller c = read_in_mode(t.code);
      EXPECT_TRUE(c.*t.flag) << "mode " << t.code << " scancode " << t.scancode;
      EXPECT_EQ(flags_set(c), 1) << "mode " << t.code << " scancode " << t.scancode;
   }
   // In the arrow layout the letter keys of the other layout do nothing.
   release_all_keys();
   hold_key(KEY_W, true);
   hold_key(KEY_D, true);
   hold_key(KEY_F, true);
   EXPECT_EQ(flags_set(read_in_mode(CONTROL_ARROWS)), 0);
   release_all_keys();
}

// Up beats down and left beats right when both are held.
TEST(Controller, OpposingDirections)
{
   release_all_keys();
   hold_key(KEY_UP, true);
   hold_key(KEY_DOWN, true);
   hold_key(KEY_LEFT, true);
   hold_key(KEY_RIGHT, true);
   controller c = read_in_mode(CONTROL_ARROWS);
   EXPECT_TRUE(c.up_flag);
   EXPECT_FALSE(c.down_flag);
   EXPECT_TRUE(c.left_flag);
   EXPECT_FALSE(c.right_flag);
   release_all_keys();
}

// ignore_control and codes 5 and 6 read everything as inactive; 0, 7 and -1 keep the raw fields.
TEST(Controller, ModesThatReadNothing)
{
   release_all_keys();
   for (int k : {KEY_UP, KEY_LEFT, KEY_A, KEY_S})
      hold_key(k, true);
   EXPECT_EQ(flags_set(read_in_mode(CONTROL_ARROWS, true)), 0);
   EXPECT_EQ(flags_set(read_in_mode(CONTROL_OFF_1)), 0);
   EXPECT_EQ(flags_set(read_in_mode(CONTROL_OFF_2)), 0);

   for (int code : {(int)CONTROL_NONE, 7, -1}) {
      controller c;
      memset(&c, 0, sizeof(c));
      c.GO_DOWN = 1;
      c.BUTTON2 = 1;
      c.up_flag = true;
      c.control_type = code;
      c.ignore_control = false;
      c.refresh_controller();
      c.set_input_flags();
      EXPECT_EQ(c.GO_DOWN, 1) << "code " << code;
      EXPECT_TRUE(c.down_flag) << "code " << code;
      EXPECT_FALSE(c.up_flag) << "code " << code;
      EXPECT_TRUE(c.button2_flag) << "code " << code;
      EXPECT_EQ(flags_set(c), 2) << "code " << code;
   }
   release_all_keys();
}

// Joystick modes follow the stick and buttons of their joystick alone, not the keyboard.
TEST(Controller, Joysticks)
{
   release_all_keys();
   hold_key(KEY_UP, true);
   hold_key(KEY_A, true);
   memset(joy, 0, sizeof(JOYSTICK_INFO) * 2);
   EXPECT_EQ(flags_set(read_in_mode(CONTROL_JOYSTICK_1)), 0);

   joy[0].stick[0].axis[1].d2 = 1;   // down
   joy[0].stick[0].axis[0].d1 = 1;   // left
   joy[0].button[1].b = 1;
   controller c = read_in_mode(CONTROL_JOYSTICK_1);
   EXPECT_TRUE(c.down_flag);
   EXPECT_TRUE(c.left_flag);
   EXPECT_FALSE(c.button1_flag);
   EXPECT_TRUE(c.button2_flag);
   EXPECT_EQ(flags_set(c), 3);
   EXPECT_EQ(flags_set(read_in_mode(CONTROL_JOYSTICK_2)), 0);

   joy[1].stick[0].axis[1].d1 = 1;   // up
   joy[1].stick[0].axis[0].d2 = 1;   // right
   joy[1].button[0].b = 1;
   c = read_in_mode(CONTROL_JOYSTICK_2);
   EXPECT_TRUE(c.up_flag);
   EXPECT_TRUE(c.right_flag);
   EXPECT_TRUE(c.button1_flag);
   EXPECT_EQ(flags_set(c), 3);

   // A joystick that needs no calibration is not calibrated.
   joy[0].flags = 0;
   controller menu;
   EXPECT_EQ(menu.init_controller(0), 0);
   memset(joy, 0, sizeof(JOYSTICK_INFO) * 2);
   release_all_keys();
}
