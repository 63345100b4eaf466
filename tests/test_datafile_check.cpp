// The check a loaded data file must pass before the game uses it.
#include <gtest/gtest.h>
#include <vector>
#include "quorbix.h"
#include "datafile.h"
#include "support.h"

// A copy of the first `count` objects of the real file, ended as the library ends a datafile.
static std::vector<DATAFILE> objects(int count)
{
   std::vector<DATAFILE> d(test_data, test_data + count);
   DATAFILE end = {nullptr, DAT_END, 0, nullptr};
   d.push_back(end);
   return d;
}

TEST(DataFileCheck, AcceptsTheGameFileAndRejectsDamage)
{
   ASSERT_NE(test_data, nullptr);
   char why[160] = "";
   EXPECT_TRUE(check_datafile(test_data, why, sizeof(why))) << why;

   std::vector<DATAFILE> short_file = objects(TITLE_BMP);
   EXPECT_FALSE(check_datafile(short_file.data(), why, sizeof(why)));
   EXPECT_STREQ(why, "quorbix.dat holds 11 objects, the game needs 12");

   std::vector<DATAFILE> empty = objects(0);
   EXPECT_FALSE(check_datafile(empty.data(), why, sizeof(why)));

   std::vector<DATAFILE> swapped = objects(TITLE_BMP + 1);
   std::swap(swapped[SHIP_BMP], swapped[FONT_TITLE]);
   EXPECT_FALSE(check_datafile(swapped.data(), why, sizeof(why)));
   EXPECT_STREQ(why, "quorbix.dat: object 9 is BMP , the game needs FONT");

   std::vector<DATAFILE> no_palette = objects(TITLE_BMP + 1);
   no_palette[GAME_PAL] = no_palette[BULLET_1];
   EXPECT_FALSE(check_datafile(no_palette.data(), why, sizeof(why)));

   // Objects beyond the twelfth are allowed.
   std::vector<DATAFILE> longer = objects(TITLE_BMP + 1);
   longer.insert(longer.end() - 1, longer[SHIP_BMP]);
   EXPECT_TRUE(check_datafile(longer.data(), why, sizeof(why))) << why;
}
