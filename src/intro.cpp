// The title screen between games.
#include <cstdio>
#include <cstdlib>
#include "alleg.h"
#include "controller.h"
#include "display.h"
#include "game.h"
#include "highscores.h"
#include "intro.h"
#include "quit.h"
#include "quorbix.h"
#include "timers.h"

static const int PICTURE_X = 160;          // 10 pixels left of the centre, where the picture has always stood
static const int UNROLL_Y = 100;           // the line the unrolling picture slides out from
static const int SCORES_AT = 8;            // seconds of picture before the score table
static const int CYCLE_LENGTH = 14;        // seconds of one picture-and-scores cycle
static const int HEADING_X = 250, HEADING_Y = 5;
static const int SCORE_X = 175, NAME_X = 350;
static const int ROW_SPACING = 40;         // score rows at y = 80, 120, ... 320
static const int PROMPT_Y = 390, CONTROL_LINE_Y = 410;
static const int WEB_X = 50, WEB_Y = 450;
static const char *const WEB_ADDRESS = "Quorbix lives at http://quorbix.example.org";

// Picks this cycle's movement of the picture at random.
static void choose_movement(intro_typ *intro)
{
   intro->whichone = rand() % 2 + 1;
   intro->intro1 = intro->whichone == 1;
}

// Start values of a fresh title screen; the clock restarts.
bool intro_setup(intro_typ *intro)
{
   intro->show_scores = false;
   intro->move_x = PICTURE_X;
   intro->move_y = 0;
   intro->bioniccommando = TITLE_HEIGHT;
   intro->temp[0] = '\0';
   intro->buffer = create_bitmap(SCREEN_W, SCREEN_H);
   if (!intro->buffer)
      return false;
   clear(screen);
   clear(intro->buffer);
   timer_2 = 0;
   choose_movement(intro);
   return true;
}

// Releases the frame buffer.
void intro_teardown(intro_typ *intro)
{
   destroy_bitmap(intro->buffer);
   intro->buffer = nullptr;
}

// Moves the picture one step: it falls and comes back from above, or unrolls and rests.
static void move_picture(intro_typ *intro)
{
   if (intro->intro1) {
      intro->move_y++;
      if (intro->move_y > SCREEN_H)
         intro->move_y = -TITLE_HEIGHT;
      intro->bioniccommando = 0;
   } else {
      intro->move_y = UNROLL_Y;
      if (intro->bioniccommando >= 0)
         intro->bioniccommando--;
   }
}

// F11, Esc (or a quit request), Enter and F2 first; then the phase clock and the picture's movement.
int intro_tick(intro_typ *intro)
{
   fullscreen_key();
   if (key[KEY_ESC] || quit_requested())
      return INTRO_QUIT;
   if (key[KEY_ENTER]) {
      wait_for_release(KEY_ENTER);
      return quit_requested() ? INTRO_QUIT : INTRO_PLAY;
   }
   if (key[KEY_F2]) {
      wait_for_release(KEY_F2);
      if (num_joysticks > 0)
         universal_control = universal_control == CONTROL_JOYSTICK_1 ? CONTROL_ARROWS : CONTROL_JOYSTICK_1;
   }
   if (timer_2 == SCORES_AT)
      intro->show_scores = true;
   if (timer_2 == CYCLE_LENGTH) {
      intro->show_scores = false;
      timer_2 = 0;
      intro->move_y = 0;
      intro->bioniccommando = TITLE_HEIGHT;
      choose_movement(intro);
   }
   move_picture(intro);
   return INTRO_GOES_ON;
}

// The line that tells the player how the ship is steered.
static const char *control_line()
{
   if (num_joysticks <= 0)
      return "no joystick detected, Use arrow keys to control, A to fire";
   if (universal_control == CONTROL_ARROWS)
      return "Using arrow keys to control A to fire, press F2 to use joystick";
   return "Using joystick to control press F2 to use arrow keys";
}

// The heading and the seven entries of the table.
static void draw_score_table(intro_typ *intro)
{
   FONT *main_font = font_object(FONT_MAIN);
   textout(intro->buffer, font_object(FONT_TITLE), "TOP QUORBIX", HEADING_X, HEADING_Y, random_color());
   for (int i = 1; i <= NUM_HIGH_SCORES; i++) {
      int y = ROW_SPACING * i + ROW_SPACING;
      snprintf(intro->temp, sizeof(intro->temp), "%d", (int)high_scores[i - 1].score);
      textout(intro->buffer, main_font, intro->temp, SCORE_X, y, COLOR_BRIGHT);
      textout(intro->buffer, main_font, high_scores[i - 1].name, NAME_X, y, COLOR_BRIGHT);
   }
}

// Picture or score table, then the three lines at the bottom.
void intro_frame(intro_typ *intro)
{
   BITMAP *b = intro->buffer;
   clear(b);
   if (!intro->show_scores)
      blit(bitmap_object(TITLE_BMP), b, 0, intro->bioniccommando, intro->move_x, intro->move_y, TITLE_WIDTH, TITLE_HEIGHT);
   else
      draw_score_table(intro);
   textout_centre(b, font, "Press Enter to start", SCREEN_W / 2, PROMPT_Y, COLOR_WHITE);
   textout_centre(b, font, control_line(), SCREEN_W / 2, CONTROL_LINE_Y, COLOR_WHITE);
   textout(b, font_object(FONT_MAIN), WEB_ADDRESS, WEB_X, WEB_Y, COLOR_WHITE);
}

// Runs logic ticks as they fall due and shows a frame after each batch, until Esc or Enter.
int Intro()
{
   intro_typ intro;
   if (!intro_setup(&intro)) {
      allegro_message("Not enough memory for the title screen\n");
      return INTRO_QUIT;
   }
   int result = INTRO_GOES_ON;
   while (result == INTRO_GOES_ON) {
      while (result == INTRO_GOES_ON && speed_counter > 0) {
         result = intro_tick(&intro);
         if (result == INTRO_GOES_ON)
            speed_counter--;
      }
      if (result == INTRO_GOES_ON) {
         intro_frame(&intro);
         present_frame(intro.buffer);
      }
   }
   intro_teardown(&intro);
   return result;
}
