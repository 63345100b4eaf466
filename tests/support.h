// Shared set-up of the unit tests: Allegro, a 640 x 480 window under Xvfb, the data file.
#ifndef QUORBIX_TEST_SUPPORT_H
#define QUORBIX_TEST_SUPPORT_H

#include <climits>
#include <set>
#include <string>
#include "alleg.h"

// The data file loaded once for the whole test binary (null if it failed to load).
extern DATAFILE *test_data;

// Releases every key in the key-state array.
void release_all_keys();
// Holds a key down and lets it go from another thread `ms` milliseconds later, for code that waits for it.
void press_key(int scancode, int ms);
// Lets the pause a text entry left after its last key run out, emptying the keyboard buffer.
void end_key_delay();
// A whole file's bytes (none if it cannot be read), and a file written with the given bytes.
std::string read_file(const char *name);
void write_file(const char *name, const std::string &bytes);

// What a drawing left in a rectangle of a bitmap: its non-zero pixels, their extent and colours.
struct ink {
   int count = 0, min_x = INT_MAX, max_x = INT_MIN, min_y = INT_MAX, max_y = INT_MIN;
   std::set<int> colors;
};
ink ink_in(BITMAP *bmp, int x1, int y1, int x2, int y2);

#endif
