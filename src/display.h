// How the finished 640 x 480 frame reaches the monitor: a window at a whole-number factor or
// fullscreen, each frame pixel shown as a k x k block centred on black, and the F11 switch.
#ifndef QUORBIX_DISPLAY_H
#define QUORBIX_DISPLAY_H

#include "alleg.h"

const int MAX_FACTOR = 8;   // the largest factor a player may ask for

// The mode the frame is shown in.
struct display_typ {
   bool fullscreen;      // desktop-size, else a window of the frame's size times the factor
   int window_factor;    // the factor of the window, kept for the way back from fullscreen
   int factor;           // each frame pixel is a factor x factor block
   int x, y;             // where the scaled frame's top-left corner lies on the screen
   BITMAP *scaled;       // the frame at the factor, when the factor is above 1
   bool f11_latched;     // F11 switched and has not been let go since
};
extern display_typ display;

// The largest whole factor at which the frame fits in width x height; at least 1.
int fitting_factor(int width, int height);
// The window's factor: QUORBIX_SCALE's value when it is a whole number from 1 to MAX_FACTOR,
// else the largest that fits the desktop less room for its panels and the title bar.
int window_factor(const char *scale, int desktop_w, int desktop_h);
// Each pixel of frame as a factor x factor block into target, from its top-left corner.
void scale_frame(BITMAP *frame, BITMAP *target, int factor);

// The start-up mode, as QUORBIX_SCALE and QUORBIX_FULLSCREEN ask; without any mode the game
// ends with a message box and status -1.
void open_display();
// A window at the factor; false (and the mode before kept) if it cannot be set.
bool show_window(int factor);
// Fullscreen at the desktop's size; false (and the mode before kept) if it cannot be set.
bool show_fullscreen();
// Puts the finished frame on the screen at the factor, centred.
void present_frame(BITMAP *frame);
// F11 in a logic tick: one switch between window and fullscreen per press.
void fullscreen_key();

#endif
