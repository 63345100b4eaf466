// The high-score table: qualifying, insertion order, the file and its damage cases.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include "highscores.h"
#include "support.h"

typedef std::string bytes;

// One 16-byte record as the game writes it: name, padding, little-endian score.
static bytes record(const char *name, uint32_t score)
{
   bytes r(name, strnlen(name, 12));
   r.resize(12, '\0');
   for (int i = 0; i < 4; i++)
      r += (char)((score >> (8 * i)) & 0xff);
   return r;
}

// The default table inserts by the strict rule: equal scores go below, the last entry drops out.
TEST(HighScores, QualifyingAndInsertion)
{
   struct { int score; int slot; const char *last; } cases[] = {
      {15, -1, "Ulmar"}, {16, 6, "Sixteen"}, {75, 3, "Fennig"}, {101, 0, "Fennig"}};
   for (auto &c : cases) {
      create_highscores();
      EXPECT_EQ(compare_new_entry(c.score), c.slot >= 0) << c.score;
      update_highscores(c.slot == 6 ? "Sixteen" : "New", c.score);
      EXPECT_TRUE(c.slot < 0 || high_scores[c.slot].score == c.score) << c.score;
      EXPECT_STREQ(high_scores[6].name, c.last) << c.score;
      for (int k = 1; k < NUM_HIGH_SCORES; k++)
         EXPECT_GE(high_scores[k - 1].score, high_scores[k].score);
   }
   EXPECT_STREQ(high_scores[1].name, "Morwick");
   update_highscores("ABCDEFGHIJKLMNOP", 500);
   EXPECT_STREQ(high_scores[0].name, "ABCDEFGHI");
}

// Saving writes the 112-byte layout through a temporary file and loading reads it back; only
// the first 112 bytes and whole records are read, an unterminated name reads as its first 9
// characters, and a save that cannot be written fails and leaves the old file whole.
TEST(HighScores, FileRoundTripAndDamage)
{
   create_highscores();
   update_highscores("Top", 0x7f3a2b1c);
   high_scores[6] = SCORES{"100%s%n", (int32_t)0x8badf00d};
   ASSERT_TRUE(save_highscores("round.hi"));
   const bytes saved = read_file("round.hi");
   ASSERT_EQ(saved.size(), (size_t)SCORE_FILE_SIZE);
   EXPECT_EQ(saved.substr(0, 32), record("Top", 0x7f3a2b1c) + record("Morwick", 100));
   EXPECT_EQ(saved.substr(80), record("Dastor", 30) + record("100%s%n", 0x8badf00d));
   EXPECT_EQ(access("round.hi.tmp", F_OK), -1);

   const bytes unterminated = bytes(12, 'Z') + record("", 500).substr(12);
   // Per file: the entry at `slot`, and the name second in the table.
   const struct { const char *file; bytes contents; int slot; const char *name; int score; const char *second; } loads[] = {
      {"round.hi", saved, 6, "100%s%n", (int32_t)0x8badf00d, "Morwick"},
      {"long.hi", saved + record("Intruder", 99999), 6, "100%s%n", (int32_t)0x8badf00d, "Morwick"},
      {"short.hi", record("First", 900) + record("Second", 800) + "xxxxxxxx", 2, "Brenna", 75, "Second"},
      {"unterminated.hi", bytes(12, 'Z') + record("", 500).substr(12), 0, "ZZZZZZZZZ", 500, "Tallo"}};
   for (const auto &l : loads) {
      write_file(l.file, l.contents);
      create_highscores();
      ASSERT_TRUE(load_highscores(l.file));
      EXPECT_TRUE(!strcmp(high_scores[l.slot].name, l.name) && high_scores[l.slot].score == l.score) << l.file;
      EXPECT_STREQ(high_scores[1].name, l.second) << l.file;
   }
   write_file("empty.hi", "");
   EXPECT_TRUE(load_highscores("empty.hi") && !strcmp(high_scores[0].name, "ZZZZZZZZZ"));
   EXPECT_TRUE(!load_highscores("missing.hi") && !strcmp(high_scores[0].name, "ZZZZZZZZZ"));

   ASSERT_EQ(mkdir("round.hi.tmp", 0755), 0);
   update_highscores("Lost", 5000);
   EXPECT_FALSE(save_highscores("round.hi"));
   rmdir("round.hi.tmp");
   EXPECT_FALSE(save_highscores("no-such-folder/scores.hi"));
   EXPECT_EQ(read_file("round.hi"), saved);
   EXPECT_TRUE(save_highscores("round.hi"));
   EXPECT_EQ(read_file("round.hi").substr(0, 16), record("Lost", 5000));
}
