// One game of Quorbix, in sections: helpers, the word labels, the ship, the bullets, the word
// asteroids and scoring, the level flow with the name entry and the logic tick, the drawing of
// each frame, and the set-up, teardown and fixed-rate loop. Each section's constants head it.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include "display.h"
#include "effects.h"
#include "game.h"
#include "pixelz.h"
#include "quit.h"
#include "quorbix.h"
#include "stringz.h"
#include "timers.h"

DATAFILE *data = nullptr;
player ship;
sprite bullet[NUM_BULLETS];
sprite asteroid[NUM_ASTEROIDS];
int num_asteroids = 0;

// The words that float about, one per asteroid.
const char *const string[] = {
   "System.in", "println", "BuffererReader", "Printstream", "Enumeration e",
   "Vector v", "IND", "Hw03", "Array a", "Zelk",
   "Student s", "Test cases", "ThrowsException", "Interface", "class",
   "Section s", "Random access", "elementAt", "toString", "Polymorphism"
};
const int NUM_LABELS = (int)(sizeof(string) / sizeof(string[0]));

// --- Helpers: headings, random draws, moves ---------------------------------------------------------

// Headings: 256 units per turn, 0 up, clockwise.
static const double DEGREES_PER_UNIT = 1.40625;      // 360 / 256
static const double DEGREES_AT_ZERO = 450.0;         // heading 0 points up: 90 degrees plus a turn
static const double RADIANS_PER_DEGREE = 0.017453277;

// A heading in 256ths of a turn as radians, counter-clockwise from the x axis.
static double heading_to_radians(int heading)
{
   return (heading * DEGREES_PER_UNIT * -1.0 + DEGREES_AT_ZERO) * RADIANS_PER_DEGREE;
}

// The difference of two random draws below `spread`, first draw first.
static float random_difference(int spread)
{
   int a = rand() % spread;
   int b = rand() % spread;
   return (float)(a - b);
}

// Adds the velocity to the position, truncating toward zero.
static void move_sprite(sprite *s)
{
   s->x = (int)(s->x + s->x_vel);
   s->y = (int)(s->y + s->y_vel);
}

// Holds each velocity component within plus or minus `limit`.
static void limit_velocity(sprite *s, float limit)
{
   if (s->x_vel > limit) s->x_vel = limit;
   else if (s->x_vel < -limit) s->x_vel = -limit;
   if (s->y_vel > limit) s->y_vel = limit;
   else if (s->y_vel < -limit) s->y_vel = -limit;
}

// --- Word labels ------------------------------------------------------------------------------------

// One text style for asteroid labels: its font and the bitmap size per character.
struct label_style_typ {
   int font_index;      // data-file font, or BUILTIN_FONT
   int char_width;
   int height;
};

static const int BUILTIN_FONT = -1;
static const int NUM_STYLES = 4;
static const label_style_typ label_style[NUM_STYLES] = {
   {BUILTIN_FONT, 8, 8},
   {FONT_MAIN, MAIN_CELL_WIDTH, MAIN_CELL_HEIGHT},
   {FONT_TALL, TALL_CELL_WIDTH, TALL_CELL_HEIGHT},
   {FONT_NARROW, NARROW_CELL_WIDTH, NARROW_CELL_HEIGHT}
};

// The font a label style prints with.
static FONT *style_font(const label_style_typ &style)
{
   return style.font_index == BUILTIN_FONT ? font : font_object(style.font_index);
}

// Gives up the label bitmap an asteroid slot owns.
static void release_label(int z)
{
   if (asteroid[z].buffer)
      destroy_bitmap(asteroid[z].buffer);
   asteroid[z].buffer = nullptr;
}

// --- The ship ---------------------------------------------------------------------------------------

// The ship.
static const int SHIP_LIFE = 100;
static const int SHIP_TOP_SPEED = 4;        // per velocity component, and where speed is held
static const int GOD_TIME = 45;             // ticks of invulnerability after an asteroid contact
static const int SHOT_INTERVAL = 7;         // ticks a requested shot waits before it leaves
static const int TURN_STEP = 4;             // heading units per tick of turning
static const int BOUNCE_COST = 5;           // energy lost per forcefield bounce
static const int MAX_HEADING = 255;
static const int START_HEADINGS = 255;      // rand() % 255: a start heading never points at 255
static const float ACCEL_FROM_REST = 1.0f;
static const float ACCEL_MOVING = 0.01f;
static const double THRUST_DIVISOR = 3.0;     // a tick of thrust adds speed / 3 along the heading

// Explosions.
static const int BURST_SIZE = 1000;         // particles launched per explosion
static const int BURST_SPREAD = 7;          // velocity components are rand() % 7 - rand() % 7
static const int SHIP_BURST_RANGE = 600;    // ship particles fly 2 to 601 pixels
static const int SHIP_BURST_MIN = 2;
static const int ASTEROID_BURST_STEP = 20;      // asteroid particles fly (rand() % weight) x 20 pixels
static const int ASTEROID_BURST_COLORS = COLOR_HOT_LAST - COLOR_HOT_FIRST + 1;   // asteroid particles take the hot colours
static const int FIRST_BURST_COLOR = COLOR_BACKGROUND + 1;   // particles never take the background colour

// The ship at the centre of the screen, at rest, with full energy and a random heading.
void setup_ship()
{
   ship.init(0, SCREEN_W / 2, SCREEN_H / 2, SHIP_WIDTH, SHIP_HEIGHT);
   ship.angle = rand() % START_HEADINGS;
   ship.life = SHIP_LIFE;
   ship.x_vel = ship.y_vel = ship.speed = 0.0f;
   ship.top_speed = SHIP_TOP_SPEED;
   ship.shot_timer = 0;
   ship.flash_flag = false;
   ship.god_time = GOD_TIME;
   ship.framez = SHIP_BMP;
   ship.shot_interval = SHOT_INTERVAL;
   // shot_delay is left as it was: a shot still pending when a game ended leaves in the next one.
}

// Bursts the ship into particles and takes it out of the game; a good score asks for a name.
static void destroy_ship(game_typ *game)
{
   for (int i = 0; i < BURST_SIZE; i++) {
      int life = rand() % SHIP_BURST_RANGE + SHIP_BURST_MIN;
      float dx = random_difference(BURST_SPREAD);
      float dy = random_difference(BURST_SPREAD);
      int color = random_color() + FIRST_BURST_COLOR;
      init_pixel(life, (float)ship.x, (float)ship.y, dx, dy, color);
   }
   ship.life = 0;
   ship.x_vel = ship.y_vel = 0.0f;
   ship.deystroy();
   if (compare_new_entry(game->score)) {
      game->input_name = true;
      clear_keybuf();          // the keys of the game just played are no part of the name
   }
}

// Bounces off an electrified edge at a cost, else wraps round. The edges are tested on the position
// before this tick's move, so the ship may end a tick a few pixels into an electrified edge.
static void keep_ship_on_screen(game_typ *game)
{
   if (game->forcefield) {
      if (ship.check_boundries(BOUNDRY_BOUNCE, 0, 0, SCREEN_W, SCREEN_H) != 0)
         ship.life -= BOUNCE_COST;
   } else {
      ship.check_boundries(BOUNDRY_WRAP, 0, 0, SCREEN_W, SCREEN_H);
   }
}

// A ship at rest gets going at once; a moving one gathers speed slowly.
static void choose_acceleration()
{
   ship.accel = (ship.x_vel == 0.0f && ship.y_vel == 0.0f) ? ACCEL_FROM_REST : ACCEL_MOVING;
}

// The invulnerability after a contact runs out.
static void count_down_flash()
{
   if (ship.flash_flag)
      ship.god_time--;
   if (ship.god_time <= 0) {
      ship.flash_flag = false;
      ship.god_time = GOD_TIME;
   }
}

// Speed falls back from the top, and each velocity component is held within it.
static void hold_top_speed()
{
   if (ship.speed >= ship.top_speed)
      ship.speed -= ship.accel;
   limit_velocity(&ship, (float)ship.top_speed);
}

// The heading is turned into radians before it is wrapped and turned, so thrust follows last
// tick's heading; the wrap sets 0 or 255 rather than a modulo, so a heading of 257 comes out as 0.
static void turn_ship(const controller &input)
{
   ship.radian_angle = heading_to_radians(ship.angle);
   if (ship.angle > MAX_HEADING) ship.angle = 0;
   else if (ship.angle < 0) ship.angle = MAX_HEADING;
   if (input.left_flag) ship.angle -= TURN_STEP;
   else if (input.right_flag) ship.angle += TURN_STEP;
}

// Thrust adds speed along the heading; fire asks for a shot. The joystick thrusts with button 1
// and fires with button 2, the keyboard thrusts with Up and fires with button 1 (A).
static void thrust_and_fire(const controller &input)
{
   bool thrust = false, fire = false;
   if (universal_control == CONTROL_JOYSTICK_1) {
      thrust = input.button1_flag;
      fire = input.button2_flag;
   } else if (universal_control == CONTROL_ARROWS) {
      thrust = input.up_flag;
      fire = input.button1_flag;
   }
   if (thrust) {
      ship.speed += ship.accel;
      ship.x_vel = (float)(ship.x_vel + cos(ship.radian_angle) * ship.speed / THRUST_DIVISOR);
      ship.y_vel = (float)(ship.y_vel - sin(ship.radian_angle) * ship.speed / THRUST_DIVISOR);
   }
   if (fire)
      ship.shot_delay = 1;
}

// A shot asked for leaves from the ship's box corner shot_interval ticks later.
static void launch_pending_shot()
{
   if (ship.shot_delay != 1)
      return;
   if (ship.shot_timer < ship.shot_interval) {
      ship.shot_timer++;
   } else {
      ship.shot_delay = 0;
      ship.shot_timer = 0;
      spawn_sprite(NUM_BULLETS, bullet, ship.x, ship.y, ship.angle, 0, 0, 0, 0);
   }
}

// One ship step, in this order: keep it on the screen, move it, accelerate, count down the
// flash, hold the top speed, turn, thrust and fire, launch a pending shot, and burst when spent.
void ship_step(game_typ *game)
{
   ship.framez = game->ship_framez;
   keep_ship_on_screen(game);
   move_sprite(&ship);
   choose_acceleration();
   count_down_flash();
   hold_top_speed();
   turn_ship(game->player_controller);
   thrust_and_fire(game->player_controller);
   launch_pending_shot();
   if (ship.life <= 0)
      destroy_ship(game);
}

// --- Bullets ----------------------------------------------------------------------------------------

// Bullets.
static const float BULLET_SPEED = 20.0f;
static const double KNOCK_DIVISOR = 4.0;      // a hit passes a quarter of the bullet's velocity on
static const int LAST_HIT_FRAME = 2;        // the hit animation ends after counter passes this
static const int FLIGHT_FRAMES = 2;
static const int HIT_FRAMES = 4;
static const int BULLET_FRAME_HOLD = 1;     // a bullet's frame lasts two animate calls

// True when a bullet has flown more than its speed beyond an edge of the screen.
static bool bullet_gone(const sprite &b)
{
   return b.x < -b.speed || b.x > SCREEN_W + b.speed || b.y < -b.speed || b.y > SCREEN_H + b.speed;
}

// Hits the lowest live asteroid the bullet touches: one hit point off and a knock along its path.
static void bullet_hit_test(sprite &b)
{
   for (int i = 0; i < NUM_ASTEROIDS; i++) {
      sprite &a = asteroid[i];
      if (a.state != 1 || !b.sprite_collision(&a))
         continue;
      b.counter = 1;
      b.frame_point = 0;
      a.life -= 1;
      a.x_vel += b.x_vel / KNOCK_DIVISOR;
      a.y_vel += b.y_vel / KNOCK_DIVISOR;
      return;
   }
}

// Flies, animates and retires every live bullet, and lets it hit an asteroid.
void bullet_step(game_typ *game)
{
   for (int z = 0; z < NUM_BULLETS; z++) {
      sprite &b = bullet[z];
      if (b.state != 1)
         continue;
      // The move comes before the velocity is worked out from a speed set after it, so a new
      // bullet stands two ticks at the ship's corner before it flies.
      move_sprite(&b);
      b.radian_angle = heading_to_radians(b.dir);
      b.x_vel = (float)(cos(b.radian_angle) * b.speed);
      b.y_vel = (float)(-sin(b.radian_angle) * b.speed);
      b.speed = BULLET_SPEED;
      b.ani_timing = BULLET_FRAME_HOLD;
      b.animate(game->bullet_framez, FLIGHT_FRAMES, true);
      if (bullet_gone(b)) {
         b.deystroy();
         continue;
      }
      // A hit bullet goes on stepping its flight frames too: both animations share its one timer.
      if (b.counter > 0) {
         b.x_vel = b.y_vel = 0.0f;
         b.animate(game->bullet_die_framez, HIT_FRAMES, false);
         if (b.counter > LAST_HIT_FRAME) {
            b.deystroy();
            continue;
         }
         b.counter++;
      }
      if (b.counter == 0)
         bullet_hit_test(b);
   }
}

// --- Asteroids --------------------------------------------------------------------------------------

// Asteroids.
static const int ASTEROID_BOX = 32;             // the box before the label bitmap sets it
static const int ASTEROID_SPREAD = 5;           // velocity components are rand() % 5 - rand() % 5
static const float ASTEROID_TOP_SPEED = 7.0f;
static const float ASTEROID_SLOW_ABOVE = 2.0f;  // a collision slows faster components by 1
static const float ASTEROID_SLOWDOWN = 1.0f;
static const int LABEL_SPARE = 2;           // an asteroid's weight is its label length less 2
static const int ASTEROIDS_PER_LEVEL = 2;       // a level keeps slots 0 to 2 x level live
static const int CONTACT_FACTOR = 2;        // a contact costs twice the weight and throws at twice the speed

// An asteroid that touches the ship takes twice its weight in energy and throws the ship.
static void ship_contact(sprite &a)
{
   if (ship.state != 1 || ship.flash_flag || !ship.sprite_collision(&a))
      return;
   ship.life -= CONTACT_FACTOR * a.counter;
   ship.x_vel = CONTACT_FACTOR * a.x_vel;
   ship.y_vel = CONTACT_FACTOR * a.y_vel;
   ship.flash_flag = true;
}

// Slows one velocity component by 1 when it is faster than 2.
static float slow_down(float v)
{
   if (v > ASTEROID_SLOW_ABOVE) return v - ASTEROID_SLOWDOWN;
   if (v < -ASTEROID_SLOW_ABOVE) return v + ASTEROID_SLOWDOWN;
   return v;
}

// Reverses asteroid z and every live asteroid it touches, and slows z down.
static void asteroid_collisions(int z)
{
   sprite &a = asteroid[z];
   for (int i = 0; i < NUM_ASTEROIDS; i++) {
      sprite &other = asteroid[i];
      if (i == z || other.state != 1 || !a.sprite_collision(&other))
         continue;
      other.x_vel *= -1.0f;
      other.y_vel *= -1.0f;
      a.x_vel *= -1.0f;
      a.y_vel *= -1.0f;
      a.x_vel = slow_down(a.x_vel);
      a.y_vel = slow_down(a.y_vel);
   }
}

// Bursts a shot-down asteroid into particles from its centre and scores its weight times the level.
static void destroy_asteroid(game_typ *game, sprite &a)
{
   float centre_x = (float)(a.x + a.width / 2);
   float centre_y = (float)(a.y + a.height / 2);
   for (int i = 0; i < BURST_SIZE; i++) {
      int life = (rand() % a.counter) * ASTEROID_BURST_STEP;
      float dx = random_difference(BURST_SPREAD);
      float dy = random_difference(BURST_SPREAD);
      int color = rand() % ASTEROID_BURST_COLORS + FIRST_BURST_COLOR;
      init_pixel(life, centre_x, centre_y, dx, dy, color);
   }
   game->score += a.counter * game->level;
   a.deystroy();
}

// Counts, moves, bounces or wraps every live asteroid, meets the ship and the others, and explodes the spent.
void asteroid_step(game_typ *game)
{
   game->asteroid_counter = 0;
   for (int z = 0; z < NUM_ASTEROIDS; z++) {
      sprite &a = asteroid[z];
      if (a.state != 1)
         continue;
      game->asteroid_counter++;
      move_sprite(&a);
      limit_velocity(&a, ASTEROID_TOP_SPEED);
      // Odd weights bounce off the edges and even ones wrap round: the field is a mix of both.
      int edge = (a.counter % 2 != 0) ? BOUNDRY_BOUNCE : BOUNDRY_WRAP;
      a.check_boundries(edge, 0, 0, SCREEN_W, SCREEN_H);
      ship_contact(a);
      asteroid_collisions(z);
      if (a.life <= 0)
         destroy_asteroid(game, a);
   }
}

// Builds the field of a level anew: 25 labelled asteroids, slots 0 to 2 x value live.
void create_asteroids(int value)
{
   for (int z = 0; z < NUM_ASTEROIDS; z++) {
      num_asteroids = ASTEROIDS_PER_LEVEL * value;
      const char *label = string[rand() % NUM_LABELS];
      const label_style_typ &style = label_style[rand() % NUM_STYLES];
      int x = rand() % SCREEN_W;
      int y = rand() % SCREEN_H;
      sprite &a = asteroid[z];
      a.init(0, x, y, ASTEROID_BOX, ASTEROID_BOX);
      a.x_vel = random_difference(ASTEROID_SPREAD);
      a.y_vel = random_difference(ASTEROID_SPREAD);
      int length = (int)strlen(label);
      a.life = length;
      a.counter = length - LABEL_SPARE;

      release_label(z);
      a.buffer = create_bitmap(style.char_width * length, style.height);
      if (!a.buffer) {            // no memory for the word: the slot stays empty
         a.deystroy();
         continue;
      }
      clear_bitmap(a.buffer);
      textprintf(a.buffer, style_font(style), 0, 0, random_color(), "%s", label);
      a.width = a.buffer->w;
      a.height = a.buffer->h;
      // Slots 0 to num_asteroids stay live: 2 x level + 1 words, not 2 x level.
      if (z > num_asteroids)
         a.deystroy();
   }
}

// --- Level flow, name entry and the logic tick ------------------------------------------------------

// The level schedule, on timer_1 (hundredths) and timer_2 (seconds).
static const int FIELD_FROM = 200;          // the field is created while timer_1 is 200 to 202,
static const int FIELD_TO = 202;            // or on the first tick after, if a stall let no tick fall in
static const int CLEAR_AFTER_T1 = 210;
static const int CLEAR_AFTER_T2 = 2;
static const int FORCEFIELD_ODDS = 2;       // a new level has the forcefield when rand() % 2 is 0

// Name entry.
static const int NAME_DELAY = 2;            // ticks that swallow keys after each accepted one

// Makes the level's field in every tick of its window, or in the first tick after a window missed.
// A tick that falls in the window after the first builds the field anew, with new words.
static void start_level(game_typ *game, int hundredths)
{
   bool in_window = hundredths >= FIELD_FROM && hundredths <= FIELD_TO;
   if (in_window || (hundredths > FIELD_TO && !game->field_made)) {
      create_asteroids(game->level);
      game->field_made = true;
   }
}

// Ends the level once its field has come and gone: the next level, a new forcefield draw, the clocks restarted.
static void level_clear(game_typ *game)
{
   if (!game->field_made || game->asteroid_counter != 0 || timer_2 <= CLEAR_AFTER_T2 || timer_1 <= CLEAR_AFTER_T1)
      return;
   game->level++;
   game->field_made = false;
   game->lazer = rand() % FORCEFIELD_ODDS;
   game->forcefield = game->lazer == 0;
   timer_1 = 0;
   timer_2 = 0;
}

// Takes the typed name a key at a time; Enter, once let go, puts it into the high-score table.
static void name_entry(game_typ *game)
{
   get_keyboard_input(game->temp, MAX_NAME_LENGTH, NAME_DELAY);
   if (!key[KEY_ENTER])
      return;
   wait_for_release(KEY_ENTER);
   update_highscores(game->temp, game->score);
   game->input_name = false;
}

// One logic tick: F11, level start, Esc (or a quit request), input, ship, bullets, asteroids, level
// clear, particles, name.
void logic_tick(game_typ *game)
{
   fullscreen_key();
   start_level(game, timer_1);
   if (key[KEY_ESC] || quit_requested()) {
      game->done = true;
      game->return_value = 1;
   }
   game->player_controller.refresh_controller();
   game->player_controller.set_input_flags();
   if (ship.state == 1)
      ship_step(game);
   bullet_step(game);
   asteroid_step(game);
   level_clear(game);
   move_pixels();
   if (game->input_name)
      name_entry(game);
}

// --- The frame --------------------------------------------------------------------------------------

// Palette indices of the game alone (those the data file paints are in quorbix.h).
static const int COLOR_PROMPT = 25;         // "press enter when done"

// The frame's layout.
static const int FPS_X = 110, FPS_Y = 10;
static const int GAUGE_LEFT = 50, GAUGE_RIGHT = 75, GAUGE_TOP = 0, GAUGE_BOTTOM = 100;
static const int STATUS_FROM_RIGHT = 200;
static const int STATUS_Y = 32, STATUS_LINE = 10;
static const int LOSE_PROMPT_DROP = 64;     // "press enter" sits this far below "You Lose"
static const int NAME_LEFT = 200;
static const int NAME_TITLE_Y = 200, NAME_PROMPT_Y = 280, NAME_Y = 330;
static const int NAME_BOX_RIGHT = 350, NAME_BOX_BOTTOM = 350;
static const int EDGE_INSET = 2;            // the bottom and right bolts run 2 pixels inside

// The banner, on timer_2 (seconds).
static const int READY_UNTIL = 1;           // "READY?" while timer_2 is 1 or less
static const int GO_AT = 2;                 // "GO!" while timer_2 is 2

// Four lightning bolts along the edges of the screen, each in its own colour.
static void draw_forcefield(BITMAP *bmp)
{
   draw_lightning(bmp, 0, 0, SCREEN_W, 0, random_color());
   draw_lightning(bmp, 0, 0, 0, SCREEN_H, random_color());
   draw_lightning(bmp, 0, SCREEN_H - EDGE_INSET, SCREEN_W, SCREEN_H - EDGE_INSET, random_color());
   draw_lightning(bmp, SCREEN_W - EDGE_INSET, 0, SCREEN_W - EDGE_INSET, SCREEN_H, random_color());
}

// rotate_sprite, turned about the image's centre by a heading, computed without the library's
// left shifts, which are undefined for the negative positions and headings of the screen edges.
static void turn_sprite(BITMAP *bmp, BITMAP *image, int x, int y, int heading)
{
   const int one = 0x10000;
   bmp->vtable->pivot_scaled_sprite_flip(bmp, image, x * one + image->w * one / 2, y * one + image->h * one / 2,
                                         image->w * (one / 2), image->h * (one / 2), heading * one, one, FALSE);
}

// The ship, the bullets turned to their headings, and the word asteroids.
static void draw_sprites(BITMAP *bmp)
{
   if (ship.state == 1)
      turn_sprite(bmp, bitmap_object(ship.framez), ship.x, ship.y, ship.angle);
   for (int z = 0; z < NUM_BULLETS; z++) {
      const sprite &b = bullet[z];
      if (b.state == 1)
         turn_sprite(bmp, bitmap_object(b.framez), b.x, b.y, b.dir);
   }
   // Each word straight from the bitmap its slot holds now: no copy of it is kept anywhere else.
   for (int z = 0; z < NUM_ASTEROIDS; z++) {
      const sprite &a = asteroid[z];
      if (a.state == 1 && a.buffer)
         draw_sprite(bmp, a.buffer, a.x, a.y);
   }
}

// "You Lose", then either the name entry box or "press enter".
static void draw_game_over(game_typ *game)
{
   BITMAP *bmp = game->buffer;
   textprintf_centre(bmp, font, SCREEN_W / 2, SCREEN_H / 2, COLOR_WHITE, "You Lose");
   if (game->input_name) {
      textprintf(bmp, font_object(FONT_MAIN), NAME_LEFT, NAME_TITLE_Y, random_color(), "Input your name!");
      textprintf(bmp, font, NAME_LEFT, NAME_PROMPT_Y, COLOR_PROMPT, "press enter when done");
      textout(bmp, font_object(FONT_MAIN), game->temp, NAME_LEFT, NAME_Y, COLOR_BRIGHT);
      rect(bmp, NAME_LEFT, NAME_Y, NAME_BOX_RIGHT, NAME_BOX_BOTTOM, random_color());
      return;
   }
   textprintf_centre(bmp, font, SCREEN_W / 2, SCREEN_H / 2 + LOSE_PROMPT_DROP, COLOR_WHITE, "press enter");
}

// Once the name is in (or none was asked), Enter ends the game when it is let go. It is tested
// as the frame shows the prompt, not in a tick, as the game always has.
static void game_over_enter(game_typ *game)
{
   if (game->input_name || !key[KEY_ENTER])
      return;
   wait_for_release(KEY_ENTER);
   game->done = true;
}

// "READY?" for the first seconds of a level, then "GO!".
static void draw_banner(BITMAP *bmp)
{
   int seconds = timer_2;
   if (seconds <= READY_UNTIL)
      textprintf_centre(bmp, font_object(FONT_MAIN), SCREEN_W / 2, SCREEN_H / 2, random_color(), "READY?");
   else if (seconds == GO_AT)
      textprintf_centre(bmp, font_object(FONT_TALL), SCREEN_W / 2, SCREEN_H / 2, random_color(), "GO!");
}

// Composes the whole frame in the game's buffer, back to front.
void compose_frame(game_typ *game)
{
   BITMAP *bmp = game->buffer;
   clear_bitmap(bmp);
   blit(game->background, bmp, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
   textprintf(bmp, font, FPS_X, FPS_Y, COLOR_WHITE, "fps: %d", fps.load());
   if (game->forcefield)
      draw_forcefield(bmp);
   rectfill(bmp, GAUGE_LEFT, GAUGE_BOTTOM - ship.life, GAUGE_RIGHT, GAUGE_BOTTOM, COLOR_GAUGE);
   rect(bmp, GAUGE_LEFT, GAUGE_TOP, GAUGE_RIGHT, GAUGE_BOTTOM, COLOR_WHITE);
   draw_sprites(bmp);
   int status_x = SCREEN_W - STATUS_FROM_RIGHT;
   textprintf(bmp, font, status_x, STATUS_Y, COLOR_WHITE, "Asteroids left: %d", game->asteroid_counter);
   textprintf(bmp, font, status_x, STATUS_Y + STATUS_LINE, COLOR_WHITE, "Level %d", game->level);
   textprintf(bmp, font, status_x, STATUS_Y + 2 * STATUS_LINE, COLOR_WHITE, "Score: %d", (int)game->score);
   if (ship.life <= 0) {
      draw_game_over(game);
      game_over_enter(game);
   }
   draw_pixels(bmp);
   draw_banner(bmp);
}

// Composes the frame and puts it on the screen in one blit. The screen is held only for
// the blit: holding it any longer would stop the keyboard being read during a wait for Enter.
void draw_frame(game_typ *game)
{
   compose_frame(game);
   acquire_screen();
   present_frame(game->buffer);
   release_screen();
}

// --- Set-up, teardown and the loop ------------------------------------------------------------------

// The star field.
static const int NUM_STARS = 100;

// A 2 x 2 star at random places, a hundred times.
static void draw_stars(BITMAP *bmp)
{
   for (int i = 0; i < NUM_STARS; i++) {
      int x = rand() % SCREEN_W;
      int y = rand() % SCREEN_H;
      putpixel(bmp, x, y, COLOR_BRIGHT);
      putpixel(bmp, x + 1, y, COLOR_BRIGHT);
      putpixel(bmp, x, y + 1, COLOR_BRIGHT);
      putpixel(bmp, x + 1, y + 1, COLOR_BRIGHT);
   }
}

// Releases the game's two screen-size bitmaps.
static void release_game_bitmaps(game_typ *game)
{
   if (game->buffer)
      destroy_bitmap(game->buffer);
   if (game->background)
      destroy_bitmap(game->background);
   game->buffer = game->background = nullptr;
}

// Level 1 about to begin: the starting state, a fresh star field, the ship and no bullets.
bool setup_game(game_typ *game)
{
   game->done = false;
   game->level = 1;
   game->field_made = false;
   game->return_value = 0;
   game->asteroid_counter = 0;
   game->input_name = false;
   game->score = 0;
   memset(game->temp, 0, sizeof(game->temp));
   game->forcefield = false;
   game->lazer = 0;
   game->bullet_framez[0] = BULLET_1;
   game->bullet_framez[1] = BULLET_2;
   game->bullet_die_framez[0] = BULLET_DIE_1;
   game->bullet_die_framez[1] = BULLET_DIE_2;
   game->bullet_die_framez[2] = BULLET_DIE_3;
   game->bullet_die_framez[3] = BULLET_DIE_1;
   game->ship_framez = SHIP_BMP;

   game->buffer = create_bitmap(SCREEN_W, SCREEN_H);
   game->background = create_bitmap(SCREEN_W, SCREEN_H);
   if (!game->buffer || !game->background) {
      release_game_bitmaps(game);
      allegro_message("Not enough memory to start a game\n");
      return false;
   }
   clear_bitmap(game->buffer);
   clear_bitmap(game->background);

   srand(time(0));
   draw_stars(game->background);
   clear_bitmap(screen);

   game->player_controller = controller();
   game->player_controller.control_type = universal_control;
   game->player_controller.ignore_control = false;
   setup_ship();
   timer_2 = 0;
   timer_1 = 0;
   for (int z = 0; z < NUM_BULLETS; z++) {
      bullet[z].init(0, 0, 0, 0, 0);
      bullet[z].deystroy();
   }
   return true;
}

// The game is over: every object freed, the label bitmaps and the game's bitmaps released.
void teardown_game(game_typ *game)
{
   for (int z = 0; z < NUM_ASTEROIDS; z++) {
      asteroid[z].deystroy();
      release_label(z);
   }
   for (int z = 0; z < NUM_BULLETS; z++)
      bullet[z].deystroy();
   ship.deystroy();
   release_game_bitmaps(game);
   clear_bitmap(screen);
}

// Runs one game: logic at the tick rate, a frame whenever the ticks are done; 1 when quit with Esc.
int play_game()
{
   game_typ game;
   if (!setup_game(&game))
      return 1;
   do {
      while (speed_counter > 0) {
         logic_tick(&game);
         speed_counter--;
      }
      draw_frame(&game);
      frame_counter++;
   } while (!game.done);
   teardown_game(&game);
   return game.return_value;
}
