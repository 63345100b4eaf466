// The built data file quorbix.dat (its objects, images, fonts and palette) and the check a
// loaded data file must pass before the game uses it.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "datafile.h"
#include "quorbix.h"
#include "support.h"

static FONT *font_at(int index) { return (FONT *)test_data[index].dat; }

// Exact 8-bit image sizes, sprite corners 0, bullets and ship pointing up (the top-most row of
// ink is a tip at the middle). The build checks the objects' names and order against quorbix.h.
TEST(datafile, images)
{
   ASSERT_NE(test_data, nullptr) << "quorbix.dat was refused";
   const struct { int index, w, h; bool sprite, points_up; } images[] = {
      {BULLET_1, 16, 16, true, true}, {BULLET_2, 16, 16, true, true}, {BULLET_DIE_1, 16, 16, true, false},
      {BULLET_DIE_2, 16, 16, true, false}, {BULLET_DIE_3, 16, 16, true, false}, {SHIP_BMP, 45, 27, true, true}, {TITLE_BMP, 300, 239, false, false}};
   for (const auto &i : images) {
      BITMAP *bmp = (BITMAP *)test_data[i.index].dat;
      EXPECT_TRUE(bmp->w == i.w && bmp->h == i.h && bitmap_color_depth(bmp) == 8) << "object " << i.index;
      for (int corner = 0; i.sprite && corner < 4; corner++)
         EXPECT_EQ(getpixel(bmp, corner % 2 * (bmp->w - 1), corner / 2 * (bmp->h - 1)), 0) << "object " << i.index;
      int first = bmp->w, last = -1;
      for (int y = 0; i.points_up && last < 0 && y < bmp->h; y++)
         for (int x = 0; x < bmp->w; x++)
            if (getpixel(bmp, x, y) != 0) {
               first = std::min(first, x);
               last = x;
            }
      const double middle = (bmp->w - 1) / 2.0;
      EXPECT_TRUE(!i.points_up || (first >= middle - 2 && last <= middle + 2)) << "object " << i.index;
   }
}

// Fonts are mono and cover 32..126; label-font glyphs fit (and mostly fill) their boxes; the
// palette has black 0, white 15, hot 1 to 5, and every other colour readable on black.
TEST(datafile, fonts_and_palette)
{
   ASSERT_NE(test_data, nullptr);
   for (FONT *f : {font_at(FONT_MAIN), font_at(FONT_TALL), font_at(FONT_NARROW), font_at(FONT_TITLE)})
      EXPECT_TRUE(is_mono_font(f) && get_font_range_begin(f, -1) <= 32 && get_font_range_end(f, -1) >= 126);
   const struct { int index, max_w, max_h; } boxes[] = {{FONT_MAIN, 16, 20}, {FONT_TALL, 16, 30}, {FONT_NARROW, 15, 20}};
   for (const auto &b : boxes) {
      const int h = text_height(font_at(b.index));
      EXPECT_TRUE(h <= b.max_h && h >= b.max_h * 3 / 4) << "font " << b.index;
      for (char ch = 32; ch <= 126; ch++) {
         const char s[2] = {ch, 0};
         const int w = text_length(font_at(b.index), s);
         EXPECT_TRUE(w > 0 && w <= b.max_w) << "font " << b.index << " char " << s;
      }
   }
   const RGB *pal = (const RGB *)test_data[GAME_PAL].dat;
   EXPECT_TRUE(pal[0].r + pal[0].g + pal[0].b == 0 && pal[15].r + pal[15].g + pal[15].b == 3 * 63);
   for (int i = 1; i < PAL_SIZE; i++) {
      EXPECT_GE(0.299 * pal[i].r + 0.587 * pal[i].g + 0.114 * pal[i].b, 0.4 * 63) << "colour " << i;
      EXPECT_TRUE(i > 5 || (pal[i].r == 63 && pal[i].g >= pal[i].b)) << "colour " << i;
   }
}

// The real file passes the check and a longer copy too; too few objects, a wrong kind or a
// short palette fail with the reason.
TEST(datafile, check_of_the_loaded_objects)
{
   ASSERT_NE(test_data, nullptr);
   typedef std::vector<DATAFILE> objects_t;
   const struct { int count; void (*damage)(objects_t &); const char *why; } cases[] = {
      {TITLE_BMP, [](objects_t &) {}, "quorbix.dat holds 11 objects, the game needs 12"},
      {0, [](objects_t &) {}, "quorbix.dat holds 0 objects, the game needs 12"},
      {TITLE_BMP + 1, [](objects_t &d) { std::swap(d[SHIP_BMP], d[FONT_TITLE]); },
       "quorbix.dat: object 9 is BMP , the game needs FONT"},
      {TITLE_BMP + 1, [](objects_t &d) { d[GAME_PAL] = d[BULLET_1]; }, "quorbix.dat: object 0 is BMP , the game needs PAL "},
      // A palette under 256 colours would be read past its end when installed.
      {TITLE_BMP + 1, [](objects_t &d) { d[GAME_PAL].size = 1023; }, "quorbix.dat: the palette holds 1023 bytes, the game needs 1024"},
      {TITLE_BMP + 1, [](objects_t &) {}, ""},
      {TITLE_BMP + 1, [](objects_t &d) { d.insert(d.end(), d[SHIP_BMP]); }, ""}};
   for (const auto &c : cases) {
      objects_t d(test_data, test_data + c.count);
      c.damage(d);
      d.push_back(DATAFILE{nullptr, DAT_END, 0, nullptr});
      char why[160] = "";
      EXPECT_EQ(check_datafile(d.data(), why, sizeof(why)), !*c.why) << c.why;
      EXPECT_STREQ(why, c.why);
   }
}
