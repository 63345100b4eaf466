// The title screen: the moving title picture alternating with the high-score
// table, the start prompt, the control line and the web address.
#ifndef QUORBIX_INTRO_H
#define QUORBIX_INTRO_H

#include "alleg.h"

// Results of the title screen and of one of its logic ticks.
enum { INTRO_GOES_ON = 0, INTRO_QUIT = 1, INTRO_PLAY = 2 };

// Where the title screen stands, for one call of Intro.
struct intro_typ {
   bool show_scores;     // the score table is shown instead of the picture
   bool intro1;          // true: the picture falls; false: it unrolls
   int whichone;         // this cycle's movement: 1 falls, 2 unrolls
   int move_x, move_y;   // where the picture's top-left corner is drawn
   int bioniccommando;   // first picture row drawn
   BITMAP *buffer;       // the frame being composed
   char temp[15];        // the text of one score
};

// Sets the start values and creates the frame buffer; false if it cannot be created.
bool intro_setup(intro_typ *intro);
// Releases the frame buffer.
void intro_teardown(intro_typ *intro);
// One logic tick: INTRO_QUIT for Esc or a quit request, INTRO_PLAY after Enter is let go, else
// INTRO_GOES_ON.
int intro_tick(intro_typ *intro);
// Composes the title screen into intro->buffer.
void intro_frame(intro_typ *intro);
// Runs the title screen until the player quits (1) or presses Enter (2).
int Intro();

#endif
