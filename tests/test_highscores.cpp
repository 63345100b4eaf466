// The high-score table: qualifying, insertion order, the file and its damage cases.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "highscores.h"
#include "support.h"

typedef std::string bytes_t;

// The default table takes a score by the strict rule (equal scores go below, the last entry drops out,
// names cut to 9); saving writes the 112-byte layout; loading reads only the first 112 bytes and whole
// records, an unterminated name as its first 9 characters; a missing file or folder fails.
TEST(HighScores, TableAndFile)
{
   auto record = [](const char *name, uint32_t score) {    // as the game writes it: name, padding, score
      const char le[4] = {(char)score, (char)(score >> 8), (char)(score >> 16), (char)(score >> 24)};
      return (name + bytes_t(12, '\0')).substr(0, 12) + bytes_t(le, 4);
   };
   struct { int score; int slot; const char *last; } cases[] = {
      {15, -1, "Ulmar"}, {16, 6, "ABCDEFGHI"}, {75, 3, "Fennig"}, {101, 0, "Fennig"}};
   for (auto &c : cases) {
      create_highscores();
      EXPECT_EQ(compare_new_entry(c.score), c.slot >= 0) << c.score;
      update_highscores("ABCDEFGHIJKLMNOP", c.score);
      EXPECT_TRUE(c.slot < 0 || (high_scores[c.slot].score == c.score && !strcmp(high_scores[c.slot].name, "ABCDEFGHI")))
         << c.score;
      EXPECT_STREQ(high_scores[6].name, c.last) << c.score;
   }
   create_highscores();
   update_highscores("Top", 0x7f3a2b1c);
   high_scores[6] = SCORES{"100%s%n", (int32_t)0x8badf00d};
   ASSERT_TRUE(save_highscores("round.hi"));
   const bytes_t saved = read_file("round.hi");
   EXPECT_EQ(saved.substr(0, 32), record("Top", 0x7f3a2b1c) + record("Morwick", 100));
   EXPECT_EQ(saved.substr(80), record("Dastor", 30) + record("100%s%n", 0x8badf00d));
   const struct { const char *file; bytes_t contents; int slot; const char *name; int score; const char *second; } loads[] = {
      {"long.hi", saved + record("Intruder", 99999), 6, "100%s%n", (int32_t)0x8badf00d, "Morwick"},
      {"short.hi", record("First", 900) + record("Second", 800) + "xxxxxxxx", 2, "Brenna", 75, "Second"},
      {"unterminated.hi", bytes_t(12, 'Z') + record("", 500).substr(12), 0, "ZZZZZZZZZ", 500, "Tallo"}};
   for (const auto &l : loads) {
      write_file(l.file, l.contents);
      create_highscores();
      ASSERT_TRUE(load_highscores(l.file));
      EXPECT_TRUE(!strcmp(high_scores[l.slot].name, l.name) && high_scores[l.slot].score == l.score) << l.file;
      EXPECT_STREQ(high_scores[1].name, l.second) << l.file;
   }
   EXPECT_FALSE(load_highscores("missing.hi") || save_highscores("no-such-folder/scores.hi"));
}
