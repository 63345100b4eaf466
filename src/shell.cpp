// Start-up in its fixed order, the outer loop and the data-file check.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include "alleg.h"
#include "game.h"
#include "highscores.h"
#include "intro.h"
#include "quorbix.h"
#include "shell.h"
#include "timers.h"

bool exit_prog = false;
controller menu_controller;

static const char *const SCORE_FILE = "scores.hi";
static const char *const DATA_FILE = "quorbix.dat";
static const int SCREEN_WIDTH = 640;
static const int SCREEN_HEIGHT = 480;

// The kind each of the game's objects must have, by position.
static const int object_kinds[TITLE_BMP + 1] = {
   DAT_PALETTE,                                                  // GAME_PAL
   DAT_BITMAP, DAT_BITMAP, DAT_BITMAP, DAT_BITMAP, DAT_BITMAP,   // bullet frames
   DAT_FONT, DAT_FONT, DAT_FONT, DAT_FONT,                       // FONT_MAIN .. FONT_TITLE
   DAT_BITMAP, DAT_BITMAP                                        // SHIP_BMP, TITLE_BMP
};

// Spells a data-file kind as the four letters the library uses for it.
static void kind_name(int kind, char out[5])
{
   out[0] = (char)((kind >> 24) & 0xff);
   out[1] = (char)((kind >> 16) & 0xff);
   out[2] = (char)((kind >> 8) & 0xff);
   out[3] = (char)(kind & 0xff);
   out[4] = '\0';
}

// Counts the objects and checks the kind of each one the game uses.
bool check_datafile(DATAFILE *d, char *why, size_t why_size)
{
   const int needed = TITLE_BMP + 1;
   int count = 0;
   while (count < needed && d[count].type != DAT_END)
      count++;
   if (count < needed) {
      snprintf(why, why_size, "%s holds %d objects, the game needs %d", DATA_FILE, count, needed);
      return false;
   }
   for (int n = 0; n < needed; n++) {
      if (d[n].type != object_kinds[n] || !d[n].dat) {
         char want[5], got[5];
         kind_name(object_kinds[n], want);
         kind_name(d[n].type, got);
         snprintf(why, why_size, "%s: object %d is %s, the game needs %s", DATA_FILE, n, got, want);
         return false;
      }
   }
   return true;
}

// Loads the data file and checks it; a missing or damaged file is fatal.
static void load_game_data()
{
   char why[160];
   data = load_datafile(DATA_FILE);
   if (!data)
      snprintf(why, sizeof(why), "%s is missing or unreadable", DATA_FILE);
   else if (!check_datafile(data, why, sizeof(why))) {
      unload_datafile(data);
      data = nullptr;
   }
   if (!data) {
      fprintf(stderr, "quorbix: %s\n", why);
      allegro_message("Error loading quorbix.dat\n");
      exit(-1);
   }
}

// Brings everything up in the order the game relies on; graphics and data failures are fatal.
void start_up()
{
   // Without a display the library cannot start at all, and nothing after this could work.
   if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
      fprintf(stderr, "Unable initialize graphics module\nno display to open a window on (is DISPLAY set?)\n");
      exit(-1);
   }
   install_timer();
   install_keyboard();
   // A window on the desktop, as players expect today; any 640 x 480 mode the library finds otherwise.
   if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) != 0 &&
       set_gfx_mode(GFX_AUTODETECT, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) != 0) {
      allegro_message("Unable initialize graphics module\n%s\n", allegro_error);
      exit(-1);
   }
   set_window_title("Quorbix");
   if (set_display_switch_mode(SWITCH_BACKGROUND) != 0)
      set_display_switch_mode(SWITCH_BACKAMNESIA);
   if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, NULL) != 0)
      allegro_message("Error setting up Sound, so the game will be silent!\n%s\n", allegro_error);
   if (install_joystick(JOY_TYPE_AUTODETECT) != 0)
      allegro_message("Error setting up Joysrick, use keyboard\n%s\n", allegro_error);
   if (num_joysticks > 0)
      menu_controller.init_controller(0);
   universal_control = num_joysticks >= 1 ? CONTROL_JOYSTICK_1 : CONTROL_ARROWS;
   clear(screen);
   srand(time(0));
   install_timers();
   text_mode(-1);
   if (!load_highscores(SCORE_FILE))
      create_highscores();
   load_game_data();
   srand(time(0));
   set_palette((RGB *)data[GAME_PAL].dat);
}

// Title screen, then a game unless the player quit there; the scores are saved after every pass.
void outer_loop()
{
   while (!exit_prog) {
      if (Intro() == 1)
         exit_prog = true;
      else if (play_game() == 1)
         exit_prog = true;
      save_highscores(SCORE_FILE);
   }
}
