// How the finished 640 x 480 frame reaches the monitor. The game draws every frame at 640 x 480;
// this module alone knows the real screen: it sets the window or fullscreen mode, scales each
// frame by a whole factor into a memory bitmap and puts it on the screen, centred on black, in
// one blit, and switches between window and fullscreen when F11 is pressed.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include "alleg.h"
#include "display.h"
#include "game.h"
#include "platform.h"
#include "quorbix.h"

display_typ display;

static const int PANEL_ROOM = 80;   // desktop height kept for its panels and the window's title bar
static_assert(MAX_FACTOR <= 9, "QUORBIX_SCALE is read as a single digit");

// The largest whole factor at which the frame fits the given size, at least 1.
int fitting_factor(int width, int height)
{
   return std::max(1, std::min(width / SCREEN_W, height / SCREEN_H));
}

// A factor of 1 to 9 the player asked for, else the largest that leaves the desktop its panels.
int window_factor(const char *scale, int desktop_w, int desktop_h)
{
   if (scale && scale[0] >= '1' && scale[0] <= '0' + MAX_FACTOR && scale[1] == '\0')
      return scale[0] - '0';
   return fitting_factor(desktop_w, desktop_h - PANEL_ROOM);
}

// One row widened: each pixel written K times. K is fixed at compile time, so that each pixel's
// block of a row is a single store or two.
template <int K>
static void widen_row(const unsigned char *from, unsigned char *to, int width)
{
   for (int x = 0; x < width; x++, to += K)
      memset(to, from[x], K);
}

typedef void (*widen_row_fn)(const unsigned char *, unsigned char *, int);
static const widen_row_fn WIDEN_ROW[MAX_FACTOR + 1] = {nullptr, widen_row<1>, widen_row<2>, widen_row<3>,
                                                       widen_row<4>, widen_row<5>, widen_row<6>, widen_row<7>,
                                                       widen_row<8>};

// Row by row: the row widened once, then copied to the factor - 1 rows below.
void scale_frame(BITMAP *frame, BITMAP *target, int factor)
{
   const int row_bytes = frame->w * factor;
   for (int y = 0; y < frame->h; y++) {
      unsigned char *row = target->line[y * factor];
      WIDEN_ROW[factor](frame->line[y], row, frame->w);
      for (int i = 1; i < factor; i++)
         memcpy(target->line[y * factor + i], row, row_bytes);
   }
}

// Sets the library's mode for a window at the factor or for fullscreen at the desktop's size; the
// frame's factor in it, 0 when it cannot be set.
static int set_mode(bool fullscreen, int factor)
{
   if (!fullscreen)
      return set_window_mode(SCREEN_W * factor, SCREEN_H * factor) ? factor : 0;
   int w, h;
   if (get_desktop_resolution(&w, &h) != 0 || !set_fullscreen_mode(w, h))
      return 0;
   return fitting_factor(w, h);
}

// Takes up the mode just set: the game's palette again (the library puts back its own), a black
// screen, running in the background, and the factor, the offsets and the scaled bitmap anew.
// Short of memory for that bitmap, the frame is shown unscaled.
static void take_up_mode(bool fullscreen, int factor)
{
   display.fullscreen = fullscreen;
   if (display.scaled)
      destroy_bitmap(display.scaled);
   display.scaled = factor > 1 ? create_bitmap(SCREEN_W * factor, SCREEN_H * factor) : nullptr;
   display.factor = display.scaled ? factor : 1;
   display.x = (screen->w - SCREEN_W * display.factor) / 2;
   display.y = (screen->h - SCREEN_H * display.factor) / 2;
   if (data)
      set_palette((RGB *)data[GAME_PAL].dat);
   clear(screen);
   // The game runs on in the background; on Windows each new mode puts back the library's pause.
   if (set_display_switch_mode(SWITCH_BACKGROUND) != 0)
      set_display_switch_mode(SWITCH_BACKAMNESIA);
}

// The game cannot go on without a graphics mode.
static void no_graphics()
{
   allegro_message("Unable initialize graphics module\n%s\n", allegro_error);
   exit(-1);
}

// Shows the mode asked for; when it cannot be set, goes straight back to the one shown before.
static bool change_mode(bool fullscreen, int windowed_factor)
{
   int factor = set_mode(fullscreen, windowed_factor);
   if (factor > 0) {
      display.window_factor = windowed_factor;
      take_up_mode(fullscreen, factor);
      return true;
   }
   if (display.factor > 0) {
      factor = set_mode(display.fullscreen, display.window_factor);
      if (factor == 0)
         no_graphics();
      take_up_mode(display.fullscreen, factor);
   }
   return false;
}

// Goes to a window at the factor; false if no mode could be set.
bool show_window(int factor)
{
   return change_mode(false, factor);
}

// Goes fullscreen, keeping the window's factor for the way back.
bool show_fullscreen()
{
   return change_mode(true, display.window_factor);
}

// Fullscreen if asked, else (or if it fails) a window at the chosen factor, then at 1, then any
// 640 x 480 mode the library finds (outside X).
void open_display()
{
   int w = 0, h = 0;
   get_desktop_resolution(&w, &h);
   int factor = window_factor(getenv("QUORBIX_SCALE"), w, h);
   const char *fullscreen = getenv("QUORBIX_FULLSCREEN");
   if ((fullscreen && strcmp(fullscreen, "1") == 0 && change_mode(true, factor)) || show_window(factor) ||
       (factor > 1 && show_window(1)))
      return;
   if (set_gfx_mode(GFX_AUTODETECT, SCREEN_W, SCREEN_H, 0, 0) != 0)
      no_graphics();
   take_up_mode(false, 1);
}

// Puts the frame on the screen, scaled first when the factor is above 1.
void present_frame(BITMAP *frame)
{
   BITMAP *shown = frame;
   if (display.factor > 1) {
      scale_frame(frame, display.scaled, display.factor);
      shown = display.scaled;
   }
   blit(shown, screen, 0, 0, display.x, display.y, shown->w, shown->h);
}

// A switch makes the library let go of every key while the player may still hold F11, whose
// auto-repeat would then look like a new press: the latch asks the desktop's keyboard too.
void fullscreen_key()
{
   if (display.f11_latched) {
      display.f11_latched = key[KEY_F11] || f11_held_on_desktop();
      return;
   }
   if (!key[KEY_F11])
      return;
   display.f11_latched = true;
   if (display.fullscreen)
      show_window(display.window_factor);
   else
      show_fullscreen();
}
