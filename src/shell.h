// The program shell: start-up, and the outer loop of title screen and game.
#ifndef QUORBIX_SHELL_H
#define QUORBIX_SHELL_H

#include "alleg.h"
#include "controller.h"

extern bool exit_prog;               // the player asked to quit
extern controller menu_controller;   // runs the joystick calibration at start-up

// Brings up the library, its services, the timers, the score table and the data file;
// a fatal failure shows a message box and ends the process with status -1.
void start_up();
// Alternates the title screen and one game until the player quits, saving the scores after each pass.
void outer_loop();

#endif
