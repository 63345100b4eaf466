// The controller: key layouts, joysticks and the modes that read nothing.
#include <gtest/gtest.h>
#include <cstring>
#include "controller.h"
#include "support.h"

// The flags read once in the given mode as letters u d l r 1 2; beforehand the raw fields say down and button 2.
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

// Key layouts, up over down, left over right, the silent modes, each joystick alone, no needless calibration.
TEST(Controller, KeysJoysticksPrioritiesAndSilentCodes)
{
   const int AR = CONTROL_ARROWS, LE = CONTROL_LETTERS, J1 = CONTROL_JOYSTICK_1, J2 = CONTROL_JOYSTICK_2;
   const struct { int code, held[4]; bool ignore; const char *read; } cases[] = {    // held: up to 4 scancodes
      {AR, {KEY_UP, KEY_RIGHT, KEY_A}, false, "ur1"}, {AR, {KEY_DOWN, KEY_LEFT, KEY_S}, false, "dl2"},
      {LE, {KEY_W, KEY_D, KEY_F}, false, "ur1"}, {LE, {KEY_S, KEY_A, KEY_G}, false, "dl2"},
      {AR, {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT}, false, "ul"}, {AR, {KEY_UP, KEY_A}, true, ""},
      {CONTROL_OFF_1, {KEY_UP, KEY_A}, false, ""}, {CONTROL_OFF_2, {KEY_UP, KEY_A}, false, ""},
      {CONTROL_NONE, {KEY_UP, KEY_A}, false, "d2"}, {J1, {KEY_UP, KEY_A}, false, ""}, {J2, {KEY_UP, KEY_A}, false, ""}};
   memset(joy, 0, sizeof(JOYSTICK_INFO) * 2);
   for (const auto &c : cases) {
      release_all_keys();
      for (int k : c.held)
         key[k] = k != 0;
      EXPECT_EQ(read_in_mode(c.code, c.ignore), c.read) << "code " << c.code << ", first key " << c.held[0];
   }
   joy[0].stick[0].axis[1].d2 = joy[0].stick[0].axis[0].d1 = joy[0].button[1].b = 1;
   joy[1].stick[0].axis[1].d1 = joy[1].stick[0].axis[0].d2 = joy[1].button[0].b = 1;
   EXPECT_EQ(read_in_mode(J1, false) + "," + read_in_mode(J2, false), "dl2,ur1");
   EXPECT_EQ(controller().init_controller(0), 0);
   memset(joy, 0, sizeof(JOYSTICK_INFO) * 2);
   release_all_keys();
}
