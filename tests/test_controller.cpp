// The controller: both key layouts, both joysticks, the codes that read nothing,
// ignore_control and the flag priorities.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "controller.h"
#include "support.h"

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
