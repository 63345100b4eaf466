// One game: its state, the global game objects, the logic tick and the frame.
// The steps are exposed so tests can drive a game tick by tick without a display.
#ifndef QUORBIX_GAME_H
#define QUORBIX_GAME_H

#include <cstdlib>
#include "alleg.h"
#include "controller.h"
#include "highscores.h"
#include "quorbix.h"
#include "sprite.h"

const int NUM_BULLETS = 10;
const int NUM_ASTEROIDS = 25;

// The state of one game, from its start to its return.
struct game_typ {
   bool done;                  // the game ends after the frame in which this was set
   int level;
   bool field_made;            // this level's asteroids have been created
   int return_value;           // 1 when the player quit (Esc, the close button, a signal)
   int asteroid_counter;       // live asteroids found by the latest asteroid step
   bool input_name;            // a qualifying player is typing a name
   int32_t score;
   char temp[NAME_FIELD_SIZE]; // the name being typed
   bool forcefield;            // the screen edges are electrified this level
   int lazer;                  // the draw that decides the forcefield at a level change
   int bullet_framez[2];
   int bullet_die_framez[4];
   int ship_framez;
   controller player_controller;
   BITMAP *buffer;             // the frame being composed
   BITMAP *background;         // the star field
};

extern player ship;
extern sprite bullet[NUM_BULLETS];
extern sprite asteroid[NUM_ASTEROIDS];
extern int num_asteroids;
extern const char *const string[];
extern const int NUM_LABELS;          // the words in string[]
extern DATAFILE *data;

const int RANDOM_COLORS = 255;  // rand() % 255: any index from 0 to 254

// A colour drawn at random for this frame: texts, bolts and words flicker through the palette.
inline int random_color()
{
   return rand() % RANDOM_COLORS;
}

// A font of the data file.
inline FONT *font_object(int index)
{
   return (FONT *)data[index].dat;
}

// A bitmap of the data file.
inline BITMAP *bitmap_object(int index)
{
   return (BITMAP *)data[index].dat;
}

bool setup_game(game_typ *game);     // the starting state, the two bitmaps and the star field; false when a bitmap is missing
void teardown_game(game_typ *game);  // frees every object and releases the bitmaps of the game
void setup_ship();                   // the ship set-up, once per game
void ship_step(game_typ *game);      // one ship step
void bullet_step(game_typ *game);    // one bullet step over the 10 slots
void asteroid_step(game_typ *game);  // one asteroid step, ship contact included
void logic_tick(game_typ *game);     // one whole logic tick
// The frame into game->buffer, without touching the screen. After game over it also waits there
// for a pressed Enter to be let go and then ends the game (game->done).
void compose_frame(game_typ *game);
void draw_frame(game_typ *game);     // compose, then one blit to the acquired screen
void create_asteroids(int value);    // a new field for a level: slots 0 to 2 x value live
int play_game();                     // one game; 1 when the player quit

#endif
