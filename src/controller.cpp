// The controller: key layouts, joysticks and the flags the ship reads.
#include "alleg.h"
#include "controller.h"
#include "quit.h"

short universal_control = 0;

// Scancodes of one key layout, in the order up, down, left, right, button 1, button 2.
struct key_layout_typ {
   int up, down, left, right, button1, button2;
};

static const key_layout_typ arrow_layout = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_A, KEY_S};
static const key_layout_typ letter_layout = {KEY_W, KEY_S, KEY_A, KEY_D, KEY_F, KEY_G};

// Calibrates joystick number `joystick` for as long as the library reports it needs it.
int controller::init_controller(int joystick)
{
   while (joy[joystick].flags & JOYFLAG_CALIBRATE) {
      if (calibrate_joystick(joystick) != 0)
         return 1;
   }
   return 0;
}

// Copies the held state of one key layout into the raw fields.
static void read_keys(controller *c, const key_layout_typ &layout)
{
   c->GO_UP = key[layout.up];
   c->GO_DOWN = key[layout.down];
   c->GO_LEFT = key[layout.left];
   c->GO_RIGHT = key[layout.right];
   c->BUTTON1 = key[layout.button1];
   c->BUTTON2 = key[layout.button2];
}

// Copies the first stick and the first two buttons of joystick n into the raw fields.
static void read_joystick(controller *c, int n)
{
   poll_joystick();
   const JOYSTICK_INFO &j = joy[n];
   c->GO_UP = j.stick[0].axis[1].d1;
   c->GO_DOWN = j.stick[0].axis[1].d2;
   c->GO_LEFT = j.stick[0].axis[0].d1;
   c->GO_RIGHT = j.stick[0].axis[0].d2;
   c->BUTTON1 = j.button[0].b;
   c->BUTTON2 = j.button[1].b;
}

// Sets every raw field to inactive.
static void read_nothing(controller *c)
{
   c->GO_UP = c->GO_DOWN = c->GO_LEFT = c->GO_RIGHT = 0;
   c->BUTTON1 = c->BUTTON2 = 0;
}

// Reads the device selected by control_type into the six raw fields.
void controller::refresh_controller()
{
   if (ignore_control) {
      read_nothing(this);
      return;
   }
   // As unsigned, a negative code is a large one and reads nothing, like any other unknown code.
   switch ((unsigned)control_type) {
      case CONTROL_ARROWS:     read_keys(this, arrow_layout); break;
      case CONTROL_LETTERS:    read_keys(this, letter_layout); break;
      case CONTROL_JOYSTICK_1: read_joystick(this, 0); break;
      case CONTROL_JOYSTICK_2: read_joystick(this, 1); break;
      case CONTROL_OFF_1:
      case CONTROL_OFF_2:      read_nothing(this); break;
      default:                 break;
   }
}

// Derives the flags: at most one of each opposing pair, up over down, left over right.
void controller::set_input_flags()
{
   if (GO_DOWN) { down_flag = true; up_flag = false; } else down_flag = false;
   if (GO_UP) { up_flag = true; down_flag = false; } else up_flag = false;
   if (GO_RIGHT) { right_flag = true; left_flag = false; } else right_flag = false;
   if (GO_LEFT) { left_flag = true; right_flag = false; } else left_flag = false;
   button1_flag = BUTTON1 != 0;
   button2_flag = BUTTON2 != 0;
}

// Polls the key-state array, which the keyboard handler keeps current, until the key is up
// or the player asks to quit by other means.
void wait_for_release(int scancode)
{
   while (key[scancode] && !quit_requested())
      rest(1);
}
