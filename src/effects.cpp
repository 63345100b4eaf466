// Lightning: a polyline of 10 jittered points, stamped with a glowing brush,
// with a one-pixel white core.
#include <algorithm>
#include <cstdlib>
#include "alleg.h"
#include "effects.h"

static const int BOLT_POINTS = 10;
static const int BOLT_STEPS = 8;        // the inner points are spread over 8 steps, not 9
static const int JITTER_DIVISOR = 5;    // jitter width is a fifth of the longer side...
static const int MAX_JITTER = 10;       // ...but at most 10 pixels
static const int GLOW_RADIUS = 3;
static const int BAND_RADIUS = 2;
static const int BAND_SHIFT = 5;        // the inner band's colour is the bolt's colour + 5
static const int CORE_COLOR = 15;       // white

// Two filled circles: the glow in colour d, the inner band in colour d + 5.
void lightning_helper(BITMAP *bmp, int x, int y, int d)
{
   circlefill(bmp, x, y, GLOW_RADIUS, d);
   circlefill(bmp, x, y, BAND_RADIUS, d + BAND_SHIFT);
}

// Jitters the inner points, then draws the glow of every segment and the core over it.
void draw_lightning(BITMAP *bmp, int x1, int y1, int x2, int y2, int c)
{
   int x[BOLT_POINTS], y[BOLT_POINTS];
   int dx = (x2 - x1) / BOLT_STEPS;
   int dy = (y2 - y1) / BOLT_STEPS;
   int var = std::max(std::abs(x2 - x1), std::abs(y2 - y1)) / JITTER_DIVISOR;
   if (var == 0) var = 1;
   if (var > MAX_JITTER) var = MAX_JITTER;

   x[0] = x1;
   y[0] = y1;
   x[BOLT_POINTS - 1] = x2;
   y[BOLT_POINTS - 1] = y2;
   for (int i = 1; i <= BOLT_STEPS; i++) {
      x[i] = x1 + i * dx - var / 2 + rand() % var;
      y[i] = y1 + i * dy - var / 2 + rand() % var;
   }
   for (int i = 0; i < BOLT_POINTS - 1; i++)
      do_line(bmp, x[i], y[i], x[i + 1], y[i + 1], c, lightning_helper);
   for (int i = 0; i < BOLT_POINTS - 1; i++)
      line(bmp, x[i], y[i], x[i + 1], y[i + 1], CORE_COLOR);
}
