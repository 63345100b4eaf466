// Shared set-up of the unit tests: Allegro, a 640 x 480 window under Xvfb, the data file.
#ifndef QUORBIX_TEST_SUPPORT_H
#define QUORBIX_TEST_SUPPORT_H

#include <climits>
#include <set>
#include <string>
#include <tuple>
#include "alleg.h"

// The tests compare values as tables, printed whole when they differ.
using std::make_tuple;

// The data file loaded once for the whole test binary (null if it failed to load).
extern DATAFILE *test_data;

// Releases every key in the key-state array.
void release_all_keys();
// Lets the pause after a key that an earlier text entry left run out.
void end_entry_pause();
// Holds a key down and lets it go from another thread `ms` milliseconds later, for code that waits for it.
void press_key(int scancode, int ms);
// A whole file's bytes (none if it cannot be read), and a file written with the given bytes.
typedef std::string bytes_t;
std::string read_file(const char *name);
void write_file(const char *name, const std::string &bytes);

// What a drawing left in a rectangle of a bitmap: its non-zero pixels, their extent and colours.
struct ink {
   int count = 0, min_x = INT_MAX, max_x = INT_MIN, min_y = INT_MAX, max_y = INT_MIN;
   std::set<int> colors;
};
ink ink_in(BITMAP *bmp, int x1, int y1, int x2, int y2);
// The rows of a w x h area that differ between two 8-bit memory bitmaps, the areas at (ax, ay) and (bx, by).
int rows_differing(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h);

#endif
