// The built data file quorbix.dat: its objects, their order, names and kinds, the image sizes,
// the fonts' glyph boxes and the palette colours the game draws with.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include "quorbix.h"
#include "support.h"

namespace {

// One object the game expects at a fixed position of the file.
struct expected_object {
   int index;
   const char *name;
   int type;
};

const expected_object OBJECTS[] = {
   {GAME_PAL, "GAME_PAL", DAT_PALETTE},
   {BULLET_1, "BULLET_1", DAT_BITMAP},
   {BULLET_2, "BULLET_2", DAT_BITMAP},
   {BULLET_DIE_1, "BULLET_DIE_1", DAT_BITMAP},
   {BULLET_DIE_2, "BULLET_DIE_2", DAT_BITMAP},
   {BULLET_DIE_3, "BULLET_DIE_3", DAT_BITMAP},
   {FONT_MAIN, "FONT_MAIN", DAT_FONT},
   {FONT_TALL, "FONT_TALL", DAT_FONT},
   {FONT_NARROW, "FONT_NARROW", DAT_FONT},
   {FONT_TITLE, "FONT_TITLE", DAT_FONT},
   {SHIP_BMP, "SHIP_BMP", DAT_BITMAP},
   {TITLE_BMP, "TITLE_BMP", DAT_BITMAP},
};

// The label fonts and the glyph box the asteroid label bitmaps leave each character.
struct font_box {
   int index;
   int max_w, max_h;
};

const font_box LABEL_FONTS[] = {{FONT_MAIN, 16, 20}, {FONT_TALL, 16, 30}, {FONT_NARROW, 15, 20}};

// Palette components run from 0 to 63.
const int FULL = 63;
// Text in a colour at least this bright (0 black to 1 white) reads well on black.
const double READABLE = 0.4;

// Brightness of a palette entry from 0 to 1, with the usual luma weights.
double brightness(const RGB &c)
{
   return (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) / FULL;
}

// The data-file object at a position as a bitmap or font.
BITMAP *bitmap_at(int index)
{
   return (BITMAP *)test_data[index].dat;
}

FONT *font_at(int index)
{
   return (FONT *)test_data[index].dat;
}

// The smallest box holding every non-zero pixel of a bitmap; w is 0 for an empty bitmap.
struct ink_box {
   int x = 0, y = 0, w = 0, h = 0;
};

ink_box find_ink(BITMAP *bmp)
{
   int x0 = bmp->w, y0 = bmp->h, x1 = -1, y1 = -1;
   for (int y = 0; y < bmp->h; y++)
      for (int x = 0; x < bmp->w; x++)
         if (getpixel(bmp, x, y) != 0) {
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
         }
   ink_box box;
   if (x1 >= 0)
      box = {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
   return box;
}

// The span of non-zero pixels in one row, as first and last column; first > last if none.
void row_ink(BITMAP *bmp, int y, int &first, int &last)
{
   first = bmp->w;
   last = -1;
   for (int x = 0; x < bmp->w; x++)
      if (getpixel(bmp, x, y) != 0) {
         first = std::min(first, x);
         last = x;
      }
}

// Whether a sprite points up: its top-most ink is a narrow tip at the middle of the image.
void expect_nose_up(BITMAP *bmp, const char *what)
{
   ink_box ink = find_ink(bmp);
   ASSERT_GT(ink.w, 0) << what << " is empty";
   int first, last;
   row_ink(bmp, ink.y, first, last);
   const double middle = (bmp->w - 1) / 2.0;
   const int tip_reach = 2;
   EXPECT_GE(first, middle - tip_reach) << what;
   EXPECT_LE(last, middle + tip_reach) << what;
}

}  // namespace

TEST(datafile, holds_the_game_objects_in_order_by_name_and_kind)
{
   ASSERT_NE(test_data, nullptr) << "quorbix.dat did not load from " << QUORBIX_DAT;
   int count = 0;
   while (test_data[count].type != DAT_END)
      count++;
   ASSERT_GE(count, 12);
   int position = 0;
   for (const expected_object &o : OBJECTS) {
      EXPECT_EQ(o.index, position++) << o.name << " is out of order in quorbix.h";
      EXPECT_EQ(test_data[o.index].type, o.type) << o.name;
      EXPECT_STREQ(get_datafile_property(&test_data[o.index], DAT_NAME), o.name);
   }
}

TEST(datafile, images_have_the_game_boxes_in_eight_bits)
{
   ASSERT_NE(test_data, nullptr);
   const struct {
      int index, w, h;
   } sizes[] = {{BULLET_1, 16, 16},     {BULLET_2, 16, 16}, {BULLET_DIE_1, 16, 16},
                {BULLET_DIE_2, 16, 16}, {BULLET_DIE_3, 16, 16}, {SHIP_BMP, 45, 27},
                {TITLE_BMP, 300, 239}};
   for (const auto &s : sizes) {
      BITMAP *bmp = bitmap_at(s.index);
      EXPECT_EQ(bmp->w, s.w) << "object " << s.index;
      EXPECT_EQ(bmp->h, s.h) << "object " << s.index;
      EXPECT_EQ(bitmap_color_depth(bmp), 8) << "object " << s.index;
   }
}

TEST(datafile, sprites_point_up_on_a_transparent_background)
{
   ASSERT_NE(test_data, nullptr);
   const int sprites[] = {BULLET_1, BULLET_2, BULLET_DIE_1, BULLET_DIE_2, BULLET_DIE_3, SHIP_BMP};
   for (int index : sprites) {
      BITMAP *bmp = bitmap_at(index);
      EXPECT_EQ(getpixel(bmp, 0, 0), 0) << "object " << index;
      EXPECT_EQ(getpixel(bmp, bmp->w - 1, 0), 0) << "object " << index;
      EXPECT_EQ(getpixel(bmp, 0, bmp->h - 1), 0) << "object " << index;
      EXPECT_EQ(getpixel(bmp, bmp->w - 1, bmp->h - 1), 0) << "object " << index;
      EXPECT_GT(find_ink(bmp).w, 0) << "object " << index << " is empty";
   }
   // A bullet in flight is a bolt longer than wide with its tip up.
   for (int index : {BULLET_1, BULLET_2}) {
      ink_box ink = find_ink(bitmap_at(index));
      EXPECT_GT(ink.h, ink.w) << "object " << index;
      expect_nose_up(bitmap_at(index), "a bullet");
   }
   // The ship's nose is at the top; its wings spread wider below it.
   BITMAP *ship = bitmap_at(SHIP_BMP);
   expect_nose_up(ship, "the ship");
   int first, last;
   row_ink(ship, ship->h - 1 - ship->h / 4, first, last);
   EXPECT_GT(last - first, ship->w / 2);
}

TEST(datafile, title_picture_has_a_picture)
{
   ASSERT_NE(test_data, nullptr);
   BITMAP *title = bitmap_at(TITLE_BMP);
   int lit = 0;
   for (int y = 0; y < title->h; y++)
      for (int x = 0; x < title->w; x++)
         lit += getpixel(title, x, y) != 0;
   // The name and the ship cover far more than the stars alone would.
   const int pixels = title->w * title->h;
   EXPECT_GT(lit, pixels / 20);
   EXPECT_LT(lit, pixels / 2) << "the picture should be mostly black sky";
}

TEST(datafile, fonts_cover_printable_ascii_and_draw_in_any_colour)
{
   ASSERT_NE(test_data, nullptr);
   const int ink_colour = 200;
   for (int index : {FONT_MAIN, FONT_TALL, FONT_NARROW, FONT_TITLE}) {
      FONT *f = font_at(index);
      EXPECT_TRUE(is_mono_font(f)) << "font " << index;
      EXPECT_LE(get_font_range_begin(f, -1), ' ') << "font " << index;
      EXPECT_GE(get_font_range_end(f, -1), '~') << "font " << index;
      BITMAP *bmp = create_bitmap(text_length(f, "W") * 4, text_height(f) * 2);
      ASSERT_NE(bmp, nullptr);
      for (int ch = '!'; ch <= '~'; ch++) {
         const char s[2] = {(char)ch, 0};
         clear_to_color(bmp, 0);
         textout(bmp, f, s, 0, 0, ink_colour);
         ink_box ink = find_ink(bmp);
         EXPECT_GT(ink.w, 0) << "font " << index << " draws nothing for " << s;
         for (int y = 0; y < bmp->h; y++)
            for (int x = 0; x < bmp->w; x++) {
               int c = getpixel(bmp, x, y);
               if (c != 0 && c != ink_colour)
                  ADD_FAILURE() << "font " << index << " draws '" << s << "' in colour " << c;
            }
      }
      destroy_bitmap(bmp);
   }
   // The title font is large: "TOP QUORBIX" heads the high-score page.
   EXPECT_GE(text_height(font_at(FONT_TITLE)), 32);
   EXPECT_LE(text_height(font_at(FONT_TITLE)), 40);
}

TEST(datafile, label_font_glyphs_fit_their_boxes)
{
   ASSERT_NE(test_data, nullptr);
   for (const font_box &b : LABEL_FONTS) {
      FONT *f = font_at(b.index);
      EXPECT_LE(text_height(f), b.max_h) << "font " << b.index;
      // Labels are cut off at the box's edge: a much smaller font would waste it.
      EXPECT_GE(text_height(f), b.max_h * 3 / 4) << "font " << b.index;
      for (int ch = ' '; ch <= '~'; ch++) {
         const char s[2] = {(char)ch, 0};
         int w = text_length(f, s);
         EXPECT_GT(w, 0) << "font " << b.index << " char " << s;
         EXPECT_LE(w, b.max_w) << "font " << b.index << " char " << s;
      }
   }
}

TEST(datafile, nine_character_label_in_the_tall_font_fits_its_bitmap)
{
   ASSERT_NE(test_data, nullptr);
   FONT *tall = font_at(FONT_TALL);
   const int box_w = 9 * 16, box_h = 30;
   // A margin round the label's box catches ink that would be cut off in the game.
   const int margin = 16;
   BITMAP *bmp = create_bitmap(box_w + margin, box_h + margin);
   ASSERT_NE(bmp, nullptr);
   for (const char *label : {"System.in", "Interface", "elementAt", "Student s", "WWWWWWWWW"}) {
      ASSERT_EQ(strlen(label), 9u);
      EXPECT_LE(text_length(tall, label), box_w) << label;
      clear_to_color(bmp, 0);
      textout(bmp, tall, label, 0, 0, 7);
      ink_box ink = find_ink(bmp);
      EXPECT_GT(ink.w, 0) << label;
      EXPECT_LE(ink.x + ink.w, box_w) << label;
      EXPECT_LE(ink.y + ink.h, box_h) << label;
   }
   destroy_bitmap(bmp);
}

TEST(datafile, palette_colours_read_well_on_black)
{
   ASSERT_NE(test_data, nullptr);
   const RGB *pal = (const RGB *)test_data[GAME_PAL].dat;
   EXPECT_EQ(pal[0].r + pal[0].g + pal[0].b, 0) << "the background is black";
   EXPECT_EQ(pal[15].r + pal[15].g + pal[15].b, 3 * FULL) << "colour 15 is white";
   for (int i = 1; i < PAL_SIZE; i++)
      EXPECT_GE(brightness(pal[i]), READABLE) << "colour " << i << " is too dark on black";
   // Explosion colours 1 to 5 are hot: full red, fading through yellow and orange.
   for (int i = 1; i <= 5; i++) {
      EXPECT_EQ(pal[i].r, FULL) << "colour " << i;
      EXPECT_GE(pal[i].g, pal[i].b) << "colour " << i;
   }
   // The energy bar fill is a strong colour: one channel full, the weakest at most a quarter.
   const RGB &energy = pal[224];
   EXPECT_EQ(std::max({energy.r, energy.g, energy.b}), FULL);
   EXPECT_LE(std::min({energy.r, energy.g, energy.b}), FULL / 4);
   // Stars are white or pale.
   EXPECT_GE(std::min({pal[255].r, pal[255].g, pal[255].b}), FULL * 3 / 4);
   // A lightning bolt's inner band, five colours on from its edge, must show against it.
   for (int c = 1; c + 5 < PAL_SIZE; c++) {
      int diff = abs(pal[c].r - pal[c + 5].r) + abs(pal[c].g - pal[c + 5].g) +
                 abs(pal[c].b - pal[c + 5].b);
      EXPECT_GT(diff, 0) << "colours " << c << " and " << c + 5 << " are the same";
   }
}
