// Shared set-up of the unit tests: Allegro, a 640 x 480 window under Xvfb, the data file.
#ifndef QUORBIX_TEST_SUPPORT_H
#define QUORBIX_TEST_SUPPORT_H

#include <climits>
#include <set>
#include <string>
#include "alleg.h"

// The data file loaded once for the whole test binary (null if it failed to load).
extern DATAFILE *test_data;

// Holds a key down or lets it go in the key-state array, as the keyboard handler would.
void hold_key(int scancode, bool down);
// Releases every key in the key-state array.
void release_all_keys();
// Lets a held key go from another thread after `ms` milliseconds, for code that waits for it.
void release_key_after(int scancode, int ms);
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
