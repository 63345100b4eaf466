// The built data file quorbix.dat (its objects, images, fonts and palette) and the check a
// loaded data file must pass before the game uses it.
#include <gtest/gtest.h>
#include <vector>
#include "datafile.h"
#include "quorbix.h"
#include "support.h"

// 8-bit images of exact sizes, sprite corners 0, bullets and ship pointing up (the top row of ink a tip
// at the middle); mono fonts over 32..126, label-font glyphs fitting (and mostly filling) their boxes;
// palette black 0, white 15, hot 1 to 5, every other colour readable on black.
TEST(datafile, images_fonts_and_palette)
{
   ASSERT_NE(test_data, nullptr) << "quorbix.dat was refused";
   const struct { int index, w, h; bool sprite, points_up; } images[] = {
      {BULLET_1, 16, 16, true, true}, {BULLET_2, 16, 16, true, true}, {BULLET_DIE_1, 16, 16, true, false},
      {BULLET_DIE_2, 16, 16, true, false}, {BULLET_DIE_3, 16, 16, true, false}, {SHIP_BMP, 45, 27, true, true},
      {TITLE_BMP, 300, 239, false, false}};
   for (const auto &i : images) {
      BITMAP *bmp = (BITMAP *)test_data[i.index].dat;
      const int r = bmp->w - 1, b = bmp->h - 1, top = ink_in(bmp, 0, 0, r, b).min_y;
      const ink tip = ink_in(bmp, 0, top, r, top);
      EXPECT_TRUE(bmp->w == i.w && bmp->h == i.h && bitmap_color_depth(bmp) == 8) << "object " << i.index;
      EXPECT_TRUE(!i.sprite || getpixel(bmp, 0, 0) + getpixel(bmp, r, 0) + getpixel(bmp, 0, b) + getpixel(bmp, r, b) == 0);
      EXPECT_TRUE(!i.points_up || (tip.min_x >= r / 2.0 - 2 && tip.max_x <= r / 2.0 + 2)) << "object " << i.index;
   }
   const struct { int index, max_w, max_h; } fonts[] = {    // the title font has no label box
      {FONT_MAIN, 16, 20}, {FONT_TALL, 16, 30}, {FONT_NARROW, 15, 20}, {FONT_TITLE, 0, 0}};
   for (const auto &box : fonts) {
      FONT *f = (FONT *)test_data[box.index].dat;
      EXPECT_TRUE(is_mono_font(f) && get_font_range_begin(f, -1) <= 32 && get_font_range_end(f, -1) >= 126) << box.index;
      EXPECT_TRUE(!box.max_h || (text_height(f) <= box.max_h && text_height(f) >= box.max_h * 3 / 4)) << "font " << box.index;
      for (char s[2] = {32, 0}; box.max_w && s[0] <= 126; s[0]++)
         EXPECT_TRUE(text_length(f, s) > 0 && text_length(f, s) <= box.max_w) << "font " << box.index << " char " << s;
   }
   const RGB *pal = (const RGB *)test_data[GAME_PAL].dat;
   EXPECT_TRUE(pal[0].r + pal[0].g + pal[0].b == 0 && pal[15].r + pal[15].g + pal[15].b == 3 * 63);
   for (int i = 1; i < PAL_SIZE; i++)
      EXPECT_TRUE(0.299 * pal[i].r + 0.587 * pal[i].g + 0.114 * pal[i].b >= 0.4 * 63 &&
                  (i > 5 || (pal[i].r == 63 && pal[i].g >= pal[i].b))) << "colour " << i;
}

// Too few objects, a wrong kind or a palette under 256 colours (read past its end when installed) fail
// the check, with the reason.
TEST(datafile, check_of_the_loaded_objects)
{
   ASSERT_NE(test_data, nullptr);
   const struct { int count, kind; long size; const char *why; } cases[] = {    // objects kept; the palette's kind and size
      {TITLE_BMP, DAT_PALETTE, 1024, "quorbix.dat holds 11 objects, the game needs 12"},
      {0, DAT_PALETTE, 1024, "quorbix.dat holds 0 objects, the game needs 12"},
      {TITLE_BMP + 1, DAT_BITMAP, 1024, "quorbix.dat: object 0 is BMP , the game needs PAL "},
      {TITLE_BMP + 1, DAT_PALETTE, 1023, "quorbix.dat: the palette holds 1023 bytes, the game needs 1024"}};
   for (const auto &c : cases) {
      std::vector<DATAFILE> d(test_data, test_data + TITLE_BMP + 1);
      d[GAME_PAL].type = c.kind;
      d[GAME_PAL].size = c.size;
      d.insert(d.begin() + c.count, DATAFILE{nullptr, DAT_END, 0, nullptr});
      char why[160] = "";
      EXPECT_FALSE(check_datafile(d.data(), why, sizeof(why))) << c.why;
      EXPECT_STREQ(why, c.why);
   }
}
