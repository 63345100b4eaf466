// The check a loaded data file must pass before the game uses it.
#include <gtest/gtest.h>
#include <vector>
#include "quorbix.h"
#include "datafile.h"
#include "support.h"

typedef std::vector<DATAFILE> objects_t;

// The real file and a longer copy pass; too few objects, a wrong kind or a short palette fail with the reason.
TEST(DataFileCheck, AcceptsTheGameFileAndRejectsDamage)
{
   ASSERT_NE(test_data, nullptr);
   char why[160] = "";
   EXPECT_TRUE(check_datafile(test_data, why, sizeof(why))) << why;
   const struct { int count; void (*damage)(objects_t &); const char *why; } cases[] = {
      {TITLE_BMP, [](objects_t &) {}, "quorbix.dat holds 11 objects, the game needs 12"},
      {0, [](objects_t &) {}, "quorbix.dat holds 0 objects, the game needs 12"},
      {TITLE_BMP + 1, [](objects_t &d) { std::swap(d[SHIP_BMP], d[FONT_TITLE]); },
       "quorbix.dat: object 9 is BMP , the game needs FONT"},
      {TITLE_BMP + 1, [](objects_t &d) { d[GAME_PAL] = d[BULLET_1]; }, "quorbix.dat: object 0 is BMP , the game needs PAL "},
      // A palette under 256 colours would be read past its end when installed.
      {TITLE_BMP + 1, [](objects_t &d) { d[GAME_PAL].size = 4; }, "quorbix.dat: the palette holds 4 bytes, the game needs 1024"},
      {TITLE_BMP + 1, [](objects_t &d) { d.insert(d.end(), d[SHIP_BMP]); }, ""}};   // extra objects are allowed
   for (const auto &c : cases) {
      objects_t d(test_data, test_data + c.count);
      c.damage(d);
      d.push_back(DATAFILE{nullptr, DAT_END, 0, nullptr});
      why[0] = 0;
      EXPECT_EQ(check_datafile(d.data(), why, sizeof(why)), !*c.why) << c.why;
      EXPECT_STREQ(why, c.why);
   }
}
