// Start-up in its fixed order, and the outer loop.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include "alleg.h"
#include "datafile.h"
#include "display.h"
#include "game.h"
#include "highscores.h"
#include "intro.h"
#include "platform.h"
#include "quit.h"
#include "quorbix.h"
#include "shell.h"
#include "timers.h"

bool exit_prog = false;
controller menu_controller;

// Loads the data file and checks it; a missing or damaged file is fatal.
static void load_game_data()
{
   char why[WHY_SIZE];
   data = load_checked_datafile(DATA_FILE, why, sizeof(why));
   if (!data) {
      fprintf(stderr, "quorbix: %s\n", why);
      fatal_message("Error loading quorbix.dat\n");
      exit(-1);
   }
}

// Brings everything up in the order the game relies on; graphics and data failures are fatal.
void start_up()
{
   // The library puts back at its exit the handlers it found, so these are caught before it
   // starts as well as after: a signal in the last moments then still cannot kill the game.
   catch_outside_quits();
   name_window();
   // Without a display the library cannot start at all, and nothing after this could work.
   if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
      fprintf(stderr, "Unable initialize graphics module\nno display to open a window on (is DISPLAY set?)\n");
      exit(-1);
   }
   catch_outside_quits();
   install_timer();
   install_keyboard();
   open_display();
   set_window_title("Quorbix");
   catch_close_button();
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
   srand(time(0));            // seeded again after the loads, as it always was: the game has always drawn from here
   set_palette((RGB *)data[GAME_PAL].dat);
}

// Title screen, then a game unless the player quit there; the scores are saved after every pass.
// The close button and the quit signals end either one as Esc does.
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
