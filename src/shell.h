// The program shell: start-up, the outer loop of title screen and game, and
// the check of the data file.
#ifndef QUORBIX_SHELL_H
#define QUORBIX_SHELL_H

#include <cstddef>
#include "alleg.h"
#include "controller.h"

extern bool exit_prog;               // the player asked to quit
extern controller menu_controller;   // runs the joystick calibration at start-up

// Brings up the library, its services, the timers, the score table and the data file;
// a fatal failure shows a message box and ends the process with status -1.
void start_up();
// Alternates the title screen and one game until the player quits, saving the scores after each pass.
void outer_loop();
// True when a loaded data file holds the game's twelve objects of the right kinds; else says why.
bool check_datafile(DATAFILE *d, char *why, size_t why_size);
// True when the contents of an uncompressed data file (the bytes after its 4-byte mark) are
// whole and every object in them can be read safely by the library; else says why.
bool scan_datafile(const unsigned char *bytes, size_t size, char *why, size_t why_size);
// Scans, loads and checks a data file; null, with the reason, when it is missing or damaged.
DATAFILE *load_checked_datafile(const char *file, char *why, size_t why_size);

#endif
