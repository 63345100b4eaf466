// Lightning: a polyline of 10 jittered points, stamped with a glowing brush,
// with a one-pixel white core.
//
// Stamping two filled circles at every pixel of the polyline paints most pixels
// many times over. A pixel ends in the colours of the last stamp whose glow covers
// it, so each stamp need only write the part of its glow that the next stamp
// (a pixel away at most) will not cover; the last stamp writes all of it.
#include <algorithm>
#include <cstdlib>
#include "alleg.h"
#include "effects.h"
#include "quorbix.h"

static const int BOLT_POINTS = 10;
static const int BOLT_STEPS = 8;        // the inner points are spread over 8 steps, not 9
static const int JITTER_DIVISOR = 5;    // jitter width is a fifth of the longer side...
static const int MAX_JITTER = 10;       // ...but at most 10 pixels
static const int GLOW_RADIUS = 3;
static const int BAND_RADIUS = 2;
static const int BAND_SHIFT = 5;        // the inner band's colour is the bolt's colour + 5
static const int CORE_COLOR = COLOR_WHITE;

// Half the width of each row of the library's filled circles, by the row's distance from the centre.
static const int GLOW_ROWS[GLOW_RADIUS + 1] = {3, 3, 2, 1};
static const int BAND_ROWS[BAND_RADIUS + 1] = {2, 2, 1};
static const int GLOW_PIXELS = 37;      // 7 + 2 x 7 + 2 x 5 + 2 x 3

// Brushes 0 to 8 go with the step to the next stamp; the last is the whole glow.
static const int STEP_CHOICES = 3;      // a step is -1, 0 or +1 on each axis
static const int STEP_BRUSHES = STEP_CHOICES * STEP_CHOICES;
static const int WHOLE_GLOW = STEP_BRUSHES;

// One pixel of a brush: its offset from the stamp's centre, and what it adds to the bolt's
// colour: 0 in the glow, 5 in the inner band.
struct brush_dot_typ {
   signed char dx, dy, shift;
};

// The pixels a stamp writes.
struct brush_typ {
   int size;
   brush_dot_typ dot[GLOW_PIXELS];
};

// Every brush, built once.
struct brush_set_typ {
   brush_typ of[STEP_BRUSHES + 1];
};

// True when offset (dx, dy) from a circle's centre is inside the circle with these row half-widths.
static bool in_circle(const int *rows, int radius, int dx, int dy)
{
   return std::abs(dy) <= radius && std::abs(dx) <= rows[std::abs(dy)];
}

// The brush_typ for a stamp whose successor is this step away.
static int step_brush(int step_x, int step_y)
{
   return (step_y + 1) * STEP_CHOICES + (step_x + 1);
}

// A stamp's glow, less what a successor `step` away covers when there is one.
static brush_typ make_brush(bool successor, int step_x, int step_y)
{
   brush_typ out{};
   for (int dy = -GLOW_RADIUS; dy <= GLOW_RADIUS; dy++)
      for (int dx = -GLOW_RADIUS; dx <= GLOW_RADIUS; dx++) {
         bool covered = successor && in_circle(GLOW_ROWS, GLOW_RADIUS, dx - step_x, dy - step_y);
         if (!in_circle(GLOW_ROWS, GLOW_RADIUS, dx, dy) || covered)
            continue;
         int shift = in_circle(BAND_ROWS, BAND_RADIUS, dx, dy) ? BAND_SHIFT : 0;
         out.dot[out.size++] = {(signed char)dx, (signed char)dy, (signed char)shift};
      }
   return out;
}

// The nine step brushes and the whole glow.
static brush_set_typ make_brushes()
{
   brush_set_typ set;
   for (int step_y = -1; step_y <= 1; step_y++)
      for (int step_x = -1; step_x <= 1; step_x++)
         set.of[step_brush(step_x, step_y)] = make_brush(true, step_x, step_y);
   set.of[WHOLE_GLOW] = make_brush(false, 0, 0);
   return set;
}

static const brush_set_typ brushes = make_brushes();

// The latest stamp of the glow being drawn, written once the next one is known.
static struct {
   bool waiting;
   int x, y;
} held;

// Writes a brush_typ centred on (x, y) within the clipping rectangle, in colour c plus each dot's
// shift, cut to a byte as the library does on an 8-bit bitmap.
static void put_brush(BITMAP *bmp, const brush_typ &b, int x, int y, int c)
{
   // Copied out, as any byte written could otherwise alias them.
   const int left = bmp->cl, right = bmp->cr, top = bmp->ct, bottom = bmp->cb, size = b.size;
   unsigned char **line = bmp->line;
   for (int i = 0; i < size; i++) {
      int px = x + b.dot[i].dx, py = y + b.dot[i].dy;
      if (px >= left && px < right && py >= top && py < bottom)
         line[py][px] = (unsigned char)(c + b.dot[i].shift);
   }
}

// do_line's callback: writes the held stamp with the brush_typ for the step to (x, y), then holds (x, y).
// do_line steps a pixel at most, and each segment starts where the one before ended.
static void glow_stamp(BITMAP *bmp, int x, int y, int c)
{
   if (held.waiting)
      put_brush(bmp, brushes.of[step_brush(x - held.x, y - held.y)], held.x, held.y, c);
   held = {true, x, y};
}

// Two filled circles: the glow in colour d, the inner band in colour d + 5.
void lightning_helper(BITMAP *bmp, int x, int y, int d)
{
   circlefill(bmp, x, y, GLOW_RADIUS, d);
   circlefill(bmp, x, y, BAND_RADIUS, d + BAND_SHIFT);
}

// What stamping lightning_helper along each segment leaves, from far fewer writes.
void draw_glow(BITMAP *bmp, const int *x, const int *y, int points, int c)
{
   held.waiting = false;
   for (int i = 0; i + 1 < points; i++)
      do_line(bmp, x[i], y[i], x[i + 1], y[i + 1], c, glow_stamp);
   if (held.waiting)
      put_brush(bmp, brushes.of[WHOLE_GLOW], held.x, held.y, c);
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
   draw_glow(bmp, x, y, BOLT_POINTS, c);
   for (int i = 0; i < BOLT_POINTS - 1; i++)
      line(bmp, x[i], y[i], x[i + 1], y[i + 1], CORE_COLOR);
}
