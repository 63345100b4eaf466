// Input: turns the keyboard (two key layouts) or a joystick into four direction
// flags and two button flags, selected by a control-mode code.
#ifndef QUORBIX_CONTROLLER_H
#define QUORBIX_CONTROLLER_H

// Control-mode codes.
enum {
   CONTROL_NONE = 0,       // nothing read; the raw fields keep their values
   CONTROL_ARROWS = 1,     // arrow keys, A and S
   CONTROL_LETTERS = 2,    // W A S D, F and G
   CONTROL_JOYSTICK_1 = 3, // joystick 0, buttons 0 and 1
   CONTROL_JOYSTICK_2 = 4, // joystick 1, buttons 0 and 1
   CONTROL_OFF_1 = 5,      // every input reads as inactive
   CONTROL_OFF_2 = 6       // every input reads as inactive
};

class controller {
public:
   // raw input states, non-zero while active
   int GO_UP, GO_DOWN, GO_LEFT, GO_RIGHT, BUTTON1, BUTTON2;
   // derived flags: up beats down, left beats right
   bool up_flag, down_flag, left_flag, right_flag, button1_flag, button2_flag;
   int control_type;
   int old_control_type;
   bool ignore_control;

   // Calibrates a joystick for as long as the library asks; 1 when a step fails.
   int init_controller(int joystick);
   // Reads the device of control_type into the raw fields.
   void refresh_controller();
   // Derives the six flags from the raw fields.
   void set_input_flags();
};

// Waits in place until a held key is let go, so a command acts once however long it is held;
// a quit request ends the wait too.
void wait_for_release(int scancode);

// The control mode the player's ship is steered with.
extern short universal_control;

#endif
