// The built data file quorbix.dat: its objects, names and kinds, the image sizes, the fonts'
// glyph boxes and the palette colours the game draws with.
#include <gtest/gtest.h>
#include <algorithm>
#include "datafile.h"
#include "quorbix.h"
#include "support.h"

static FONT *font_at(int index) { return (FONT *)test_data[index].dat; }

// The file loads, passes the game's check of its count and kinds, and names the 12 objects in order.
TEST(datafile, holds_the_game_objects_by_name)
{
   ASSERT_NE(test_data, nullptr) << "quorbix.dat did not load from " << QUORBIX_DAT;
   ASSERT_TRUE(check_datafile(test_data, nullptr, 0));
   const char *names[] = {"GAME_PAL", "BULLET_1", "BULLET_2", "BULLET_DIE_1", "BULLET_DIE_2", "BULLET_DIE_3",
                          "FONT_MAIN", "FONT_TALL", "FONT_NARROW", "FONT_TITLE", "SHIP_BMP", "TITLE_BMP"};
   for (int i = 0; i < 12; i++)
      EXPECT_STREQ(get_datafile_property(&test_data[i], DAT_NAME), names[i]);
}

// Exact 8-bit image sizes; sprite corners are 0; bullets and ship point up (top-most ink a tip at the middle).
TEST(datafile, image_sizes_backgrounds_and_headings)
{
   ASSERT_NE(test_data, nullptr);
   const struct { int index, w, h; bool sprite, points_up; } images[] = {
      {BULLET_1, 16, 16, true, true}, {BULLET_2, 16, 16, true, true}, {BULLET_DIE_1, 16, 16, true, false},
      {BULLET_DIE_2, 16, 16, true, false}, {BULLET_DIE_3, 16, 16, true, false}, {SHIP_BMP, 45, 27, true, true},
      {TITLE_BMP, 300, 239, false, false}};
   for (const auto &i : images) {
      BITMAP *bmp = (BITMAP *)test_data[i.index].dat;
      EXPECT_TRUE(bmp->w == i.w && bmp->h == i.h && bitmap_color_depth(bmp) == 8) << "object " << i.index;
      for (int corner = 0; i.sprite && corner < 4; corner++)
         EXPECT_EQ(getpixel(bmp, corner % 2 * (bmp->w - 1), corner / 2 * (bmp->h - 1)), 0) << "object " << i.index;
      if (!i.points_up)
         continue;
      int first = bmp->w, last = -1;    // the ink of the top-most row that has any
      for (int y = 0; last < 0 && y < bmp->h; y++)
         for (int x = 0; x < bmp->w; x++)
            if (getpixel(bmp, x, y) != 0) {
               first = std::min(first, x);
               last = x;
            }
      const double middle = (bmp->w - 1) / 2.0;
      EXPECT_TRUE(last >= 0 && first >= middle - 2 && last <= middle + 2)
         << "object " << i.index << " tip " << first << ".." << last;
   }
}

// Fonts are mono and cover 32..126; label-font glyphs fit (and mostly fill) their boxes; 9 FONT_TALL fit 144 x 30.
TEST(datafile, fonts_cover_ascii_and_fit_their_boxes)
{
   ASSERT_NE(test_data, nullptr);
   for (FONT *f : {font_at(FONT_MAIN), font_at(FONT_TALL), font_at(FONT_NARROW), font_at(FONT_TITLE)})
      EXPECT_TRUE(is_mono_font(f) && get_font_range_begin(f, -1) <= 32 && get_font_range_end(f, -1) >= 126);
   const struct { int index, max_w, max_h; } boxes[] = {
      {FONT_MAIN, 16, 20}, {FONT_TALL, 16, 30}, {FONT_NARROW, 15, 20}};
   for (const auto &b : boxes) {
      EXPECT_LE(text_height(font_at(b.index)), b.max_h) << "font " << b.index;
      EXPECT_GE(text_height(font_at(b.index)), b.max_h * 3 / 4) << "font " << b.index;
      for (char ch = 32; ch <= 126; ch++) {
         const char s[2] = {ch, 0};
         EXPECT_GT(text_length(font_at(b.index), s), 0) << "font " << b.index << " char " << s;
         EXPECT_LE(text_length(font_at(b.index), s), b.max_w) << "font " << b.index << " char " << s;
      }
   }
   EXPECT_LE(text_length(font_at(FONT_TALL), "System.in"), 144);    // a 9-character asteroid label
}

// Palette: 0 is black, 15 white, every other colour bright enough to read on black, 1 to 5 hot.
TEST(datafile, palette_colours)
{
   ASSERT_NE(test_data, nullptr);
   const RGB *pal = (const RGB *)test_data[GAME_PAL].dat;
   EXPECT_EQ(pal[0].r + pal[0].g + pal[0].b, 0);
   EXPECT_EQ(pal[15].r + pal[15].g + pal[15].b, 3 * 63);
   for (int i = 1; i < PAL_SIZE; i++)
      EXPECT_GE(0.299 * pal[i].r + 0.587 * pal[i].g + 0.114 * pal[i].b, 0.4 * 63) << "colour " << i;
   for (int i = 1; i <= 5; i++) {
      EXPECT_EQ(pal[i].r, 63) << "colour " << i;
      EXPECT_GE(pal[i].g, pal[i].b) << "colour " << i;
   }
}
