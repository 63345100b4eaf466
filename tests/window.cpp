// Brings Allegro up for the tests and the benchmark.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include "alleg.h"
#include "window.h"

bool open_game_window()
{
   if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
      fprintf(stderr, "Allegro failed to start: %s\n", allegro_error);
      return false;
   }
   install_timer();
   install_keyboard();
   set_color_depth(8);
   if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 0, 0) != 0) {
      fprintf(stderr, "no 640 x 480 window (is DISPLAY an X server?): %s\n", allegro_error);
      return false;
   }
   text_mode(-1);
   return true;
}
