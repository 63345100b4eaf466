// mkdata: draws the source images of the game's data file quorbix.dat into a folder: the
// palette, the bullet frames, the ship and the title picture, drawn with Allegro primitives,
// and the four fonts, rendered from TrueType files with FreeType into Allegro font grids (fonts.cpp).
// Usage: mkdata OUTPUT_FOLDER FONT_FOLDER. Every image is an 8-bit PCX file in the game palette,
// named after its data-file object (GAME_PAL.pcx ... TITLE_BMP.pcx).
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>
#include "alleg.h"
#include "fonts.h"
#include "quorbix.h"

// Palette components run from 0 to 63 in Allegro 4.
const int FULL = 63;


// Neighbouring indices step round the hue wheel by this many degrees, so that a colour and the
// one five places on (the lightning's inner band) are clearly different hues.
const double HUE_STEP = 7.5;
// Every colour is mixed with white until its brightness (0 to 1) is at least this, so that text
// in any colour reads on black; later turns of the wheel add a little more white for variety.
const double MIN_BRIGHTNESS = 0.5;
const double BRIGHTNESS_PER_TURN = 0.06;


// Brightness of a colour with components 0 to 1: 0 for black to 1 for white, by the usual
// luma weights.
double luma(const double rgb[3])
{
   return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2];
}

// The fully saturated colour of a hue given in degrees, components 0 to 1.
void hue_to_rgb(double hue, double rgb[3])
{
   for (int k = 0; k < 3; k++) {
      // Red peaks at 0 degrees, green at 120, blue at 240.
      double d = std::fmod(hue - 120.0 * k + 540.0, 360.0) - 180.0;
      rgb[k] = std::clamp(2.0 - std::fabs(d) / 60.0, 0.0, 1.0);
   }
}

// An Allegro palette entry from components 0 to 1.
RGB to_rgb(double r, double g, double b)
{
   RGB c;
   c.r = (unsigned char)std::lround(r * FULL);
   c.g = (unsigned char)std::lround(g * FULL);
   c.b = (unsigned char)std::lround(b * FULL);
   c.filler = 0;
   return c;
}

// Builds the game palette: black, hot colours, white, a bright hue wheel, the energy green and
// pale stars.
void make_palette(PALETTE pal)
{
   const int wheel_entries = (int)std::lround(360.0 / HUE_STEP);
   for (int i = 1; i < PAL_SIZE; i++) {
      double rgb[3];
      hue_to_rgb(i * HUE_STEP, rgb);
      double y = luma(rgb);
      double target = MIN_BRIGHTNESS + BRIGHTNESS_PER_TURN * (i / wheel_entries);
      // Mixing with white by t raises the brightness linearly from y to 1.
      double t = y < target ? (target - y) / (1.0 - y) : 0.0;
      for (double &v : rgb)
         v += (1.0 - v) * t;
      pal[i] = to_rgb(rgb[0], rgb[1], rgb[2]);
   }
   pal[COLOR_BACKGROUND] = to_rgb(0, 0, 0);
   // Pale yellow through orange to red: green fades to a third (red-orange still reads on
   // black), blue only tints the palest.
   for (int i = COLOR_HOT_FIRST; i <= COLOR_HOT_LAST; i++) {
      double step = (double)(i - COLOR_HOT_FIRST) / (COLOR_HOT_LAST - COLOR_HOT_FIRST);
      pal[i] = to_rgb(1.0, 1.0 - 0.68 * step, std::max(0.0, 0.5 - step));
   }
   pal[COLOR_WHITE] = to_rgb(1, 1, 1);
   pal[COLOR_GAUGE] = to_rgb(0, 1, 0);
   pal[COLOR_BRIGHT] = to_rgb(0.92, 0.95, 1);
}

// The palette index closest to a colour given with components 0 to 1 (never index 0).
int colour(const PALETTE pal, double r, double g, double b)
{
   return bestfit_color(pal, (int)std::lround(r * FULL), (int)std::lround(g * FULL),
                        (int)std::lround(b * FULL));
}

// Saves an 8-bit bitmap in the game palette, or ends the tool if the file cannot be written.
void save(BITMAP *bmp, const std::string &path, const PALETTE pal)
{
   if (save_bitmap(path.c_str(), bmp, pal) != 0) {
      fprintf(stderr, "mkdata: cannot write %s\n", path.c_str());
      exit(1);
   }
}

// Saves an image as OBJECT.pcx in the output folder, then frees it.
void save_object(BITMAP *bmp, const std::string &out, const std::string &object, const PALETTE pal)
{
   save(bmp, out + "/" + object + ".pcx", pal);
   destroy_bitmap(bmp);
}

// A new 8-bit memory bitmap cleared to the background colour.
BITMAP *blank(int w, int h)
{
   BITMAP *bmp = create_bitmap_ex(8, w, h);
   if (!bmp) {
      fprintf(stderr, "mkdata: out of memory for a %d x %d bitmap\n", w, h);
      exit(1);
   }
   clear_to_color(bmp, COLOR_BACKGROUND);
   return bmp;
}

// A plasma bolt flying up, its tip at (cx, top): an orange body 11 pixels long, a yellow glow, a
// white-hot core and a red flame reaching the given length below the body.
void draw_bolt(BITMAP *bmp, const PALETTE pal, int cx, int top, int flame)
{
   const int red = colour(pal, 1, 0.3, 0.1);
   triangle(bmp, cx - 2, top + 8, cx + 2, top + 8, cx, top + 10 + flame, red);
   ellipsefill(bmp, cx, top + 5, 3, 5, COLOR_HOT_LAST - 1);
   ellipsefill(bmp, cx, top + 4, 2, 3, COLOR_HOT_FIRST + 1);
   ellipsefill(bmp, cx, top + 3, 1, 2, COLOR_WHITE);
}

// One bullet flight frame: the bolt centred in the 16 x 16 box, nose up, with a flickering flame.
BITMAP *make_bullet(const PALETTE pal, int flame)
{
   BITMAP *bmp = blank(BULLET_SIZE, BULLET_SIZE);
   draw_bolt(bmp, pal, BULLET_SIZE / 2 - 1, 1, flame);
   return bmp;
}

// One frame of a bullet bursting on a target: a white-hot core, rays round it and sparks at the
// rays' ends. Each stage (0, 1, 2) shrinks the core, pushes the rays out and cools their colour.
BITMAP *make_bullet_hit(int stage)
{
   BITMAP *bmp = blank(BULLET_SIZE, BULLET_SIZE);
   const int c = BULLET_SIZE / 2 - 1;
   const int rays = 8;
   const int core = 3 - stage;
   const int ray_from = 2 + stage;
   const int ray_to = 4 + 2 * stage;
   for (int k = 0; k < rays; k++) {
      // Alternate rays are shorter, so the burst looks like a star rather than a wheel.
      double a = k * 2 * M_PI / rays + stage * M_PI / rays;
      int reach = (k % 2) ? ray_to - 2 : ray_to;
      int x1 = c + (int)std::lround(ray_from * std::cos(a));
      int y1 = c + (int)std::lround(ray_from * std::sin(a));
      int x2 = c + (int)std::lround(reach * std::cos(a));
      int y2 = c + (int)std::lround(reach * std::sin(a));
      line(bmp, x1, y1, x2, y2, COLOR_HOT_FIRST + 1 + stage);
      putpixel(bmp, x2, y2, COLOR_HOT_LAST);
   }
   circlefill(bmp, c, c, core, COLOR_HOT_FIRST + stage);
   circlefill(bmp, c, c, core - 1, COLOR_WHITE);
   return bmp;
}

// The ship, nose up, its 45 x 27 box with the top-left corner at (x, y): swept wings with cannons
// at the tips, a pointed hull, a cockpit and two engine flames at the tail.
void draw_ship(BITMAP *bmp, const PALETTE pal, int x, int y)
{
   const int mid = x + SHIP_WIDTH / 2;
   const int tail = y + SHIP_HEIGHT - 1;
   const int wing = colour(pal, 0.45, 0.65, 1.0);
   const int hull = colour(pal, 0.8, 0.85, 0.9);
   const int trim = colour(pal, 0.3, 0.9, 1.0);
   const int glass = colour(pal, 0.3, 0.8, 1.0);
   const int red = colour(pal, 1, 0.3, 0.1);

   // Wings: swept back from the hull to the tips, the trailing edge notched towards the tail.
   const int wings[] = {mid, y + 6, x + SHIP_WIDTH - 1, tail - 6, x + SHIP_WIDTH - 1, tail - 1,
                        mid + 7, tail - 4, mid - 7, tail - 4, x, tail - 1, x, tail - 6};
   polygon(bmp, 7, wings, wing);
   line(bmp, mid, y + 6, x + SHIP_WIDTH - 1, tail - 6, trim);
   line(bmp, mid, y + 6, x, tail - 6, trim);
   // Cannons along the wing tips.
   vline(bmp, x + 1, tail - 12, tail, COLOR_WHITE);
   vline(bmp, x + SHIP_WIDTH - 2, tail - 12, tail, COLOR_WHITE);
   // Engine flames under the tail.
   rectfill(bmp, mid - 5, tail - 2, mid - 3, tail, red);
   rectfill(bmp, mid + 3, tail - 2, mid + 5, tail, red);
   putpixel(bmp, mid - 4, tail - 2, COLOR_HOT_FIRST);
   putpixel(bmp, mid + 4, tail - 2, COLOR_HOT_FIRST);
   // Hull: a long pointed body over the wings.
   const int body[] = {mid, y, mid + 4, y + 9, mid + 5, tail - 3, mid + 3, tail - 1,
                       mid - 3, tail - 1, mid - 5, tail - 3, mid - 4, y + 9};
   polygon(bmp, 7, body, hull);
   line(bmp, mid, y, mid + 4, y + 9, COLOR_WHITE);
   line(bmp, mid, y, mid - 4, y + 9, COLOR_WHITE);
   ellipsefill(bmp, mid, y + 10, 2, 4, glass);
   putpixel(bmp, mid, y + 8, COLOR_WHITE);
}

// The ship image of the data file.
BITMAP *make_ship(const PALETTE pal)
{
   BITMAP *bmp = blank(SHIP_WIDTH, SHIP_HEIGHT);
   draw_ship(bmp, pal, 0, 0);
   return bmp;
}

// The title picture: a star field in a double frame, the name in large shaded letters, and the
// ship below it firing two bolts up at the name.
BITMAP *make_title(const PALETTE pal, FT_Face face)
{
   BITMAP *bmp = blank(TITLE_WIDTH, TITLE_HEIGHT);
   // A fixed seed keeps the picture the same from build to build.
   std::mt19937 random(1987);
   const int stars = 120;
   for (int i = 0; i < stars; i++) {
      int x = (int)(random() % TITLE_WIDTH), y = (int)(random() % TITLE_HEIGHT);
      // Every fourth star is plain white, the rest the game's pale star colour.
      putpixel(bmp, x, y, (i % 4) ? COLOR_BRIGHT : COLOR_WHITE);
      // One star in ten is a larger 2 x 2 one.
      if (i % 10 == 0)
         rectfill(bmp, x, y, x + 1, y + 1, COLOR_BRIGHT);
   }

   const int frame_outer = colour(pal, 0.4, 0.6, 1.0);
   const int frame_inner = colour(pal, 0.3, 0.9, 1.0);
   const int inset = 3;
   rect(bmp, 0, 0, TITLE_WIDTH - 1, TITLE_HEIGHT - 1, frame_outer);
   rect(bmp, inset, inset, TITLE_WIDTH - 1 - inset, TITLE_HEIGHT - 1 - inset, frame_inner);
   const int corner_x[] = {inset, TITLE_WIDTH - 1 - inset};
   const int corner_y[] = {inset, TITLE_HEIGHT - 1 - inset};
   for (int cx : corner_x)
      for (int cy : corner_y) {
         circlefill(bmp, cx, cy, 3, frame_outer);
         circlefill(bmp, cx, cy, 1, COLOR_WHITE);
      }

   // The name as large as fits between the frames with room for its halo, starting from a third
   // of the picture's height, its top 40 pixels down.
   const char *name = "QUORBIX";
   const int margin = 20;
   const int halo = 2;
   const int name_top = 40;
   int size = TITLE_HEIGHT / 3;
   for (FT_Set_Pixel_Sizes(face, 0, size); word_width(face, name) > TITLE_WIDTH - 2 * margin;
        FT_Set_Pixel_Sizes(face, 0, size))
      size--;
   // Capitals stand about three quarters of the em above the baseline.
   const int baseline = name_top + size * 3 / 4;
   const int halo_colour = colour(pal, 0.55, 0.35, 1.0);
   draw_word(bmp, face, name, TITLE_WIDTH / 2, baseline, halo, halo_colour, [&](double t) {
      // Pale yellow at the top of the letters through orange to red at the baseline.
      return colour(pal, 1.0, 1.0 - 0.7 * t, 0.6 * (1.0 - t) * (1.0 - t));
   });
   // Two rules under the name, the lower one shorter.
   const int rule_y = baseline + 14, rule_step = 3, rule_inset = 20;
   hline(bmp, margin, rule_y, TITLE_WIDTH - 1 - margin, frame_inner);
   hline(bmp, margin + rule_inset, rule_y + rule_step, TITLE_WIDTH - 1 - margin - rule_inset,
         frame_outer);

   // The ship stands near the bottom; each wing-tip cannon has a bolt on its way up.
   const int ship_x = (TITLE_WIDTH - SHIP_WIDTH) / 2, ship_y = TITLE_HEIGHT - 50;
   draw_ship(bmp, pal, ship_x, ship_y);
   draw_bolt(bmp, pal, ship_x + 1, ship_y - 24, 3);
   draw_bolt(bmp, pal, ship_x + SHIP_WIDTH - 2, ship_y - 36, 5);
   return bmp;
}

// The game's fonts, in data-file order.
const font_recipe_typ FONTS[] = {
   // Main: a bold face whose em is a little taller than wide, as the glyph box is.
   {"FONT_MAIN", "DejaVuSans-Bold.ttf", MAIN_CELL_WIDTH, MAIN_CELL_HEIGHT, 1.2},
   // Tall: a condensed face drawn with an em 1.7 times taller than wide.
   {"FONT_TALL", "DejaVuSansCondensed-Bold.ttf", TALL_CELL_WIDTH, TALL_CELL_HEIGHT, 1.7},
   {"FONT_NARROW", "DejaVuSansMono-Bold.ttf", NARROW_CELL_WIDTH, NARROW_CELL_HEIGHT, 1.0},
   // The title font has no size limit of the game's; this width only stops the search.
   {"FONT_TITLE", "DejaVuSerif-Bold.ttf", 64, 38, 1.0},
};

// Draws every source image of the data file into the output folder.
int main(int argc, char **argv)
{
   if (argc != 3) {
      fprintf(stderr, "usage: mkdata OUTPUT_FOLDER FONT_FOLDER\n");
      return 2;
   }
   const std::string out = argv[1];
   const std::string font_folder = argv[2];
   if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
      fprintf(stderr, "mkdata: Allegro failed to start: %s\n", allegro_error);
      return 1;
   }
   set_color_depth(8);
   FT_Library ft;
   if (FT_Init_FreeType(&ft) != 0) {
      fprintf(stderr, "mkdata: FreeType failed to start\n");
      return 1;
   }

   PALETTE pal;
   make_palette(pal);
   // The palette's own image: one pixel per index, 16 x 16.
   const int swatch = 16;
   BITMAP *bmp = blank(swatch, swatch);
   for (int i = 0; i < PAL_SIZE; i++)
      putpixel(bmp, i % swatch, i / swatch, i);
   save_object(bmp, out, "GAME_PAL", pal);

   // Flight frames flicker between a short and a long flame.
   const int flames[] = {2, 4};
   const char *flight[] = {"BULLET_1", "BULLET_2"};
   for (int i = 0; i < 2; i++) {
      save_object(make_bullet(pal, flames[i]), out, flight[i], pal);
   }
   const char *hit[] = {"BULLET_DIE_1", "BULLET_DIE_2", "BULLET_DIE_3"};
   for (int stage = 0; stage < 3; stage++) {
      save_object(make_bullet_hit(stage), out, hit[stage], pal);
   }

   for (const font_recipe_typ &r : FONTS) {
      FT_Face face = open_face(ft, font_folder, r.file);
      save_object(make_font_grid(fit_font(face, r)), out, r.object, pal);
      FT_Done_Face(face);
   }

   save_object(make_ship(pal), out, "SHIP_BMP", pal);

   FT_Face title_face = open_face(ft, font_folder, "DejaVuSans-Bold.ttf");
   save_object(make_title(pal, title_face), out, "TITLE_BMP", pal);
   FT_Done_Face(title_face);

   FT_Done_FreeType(ft);
   return 0;
}
