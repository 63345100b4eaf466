// The high-score table: qualifying, insertion order, the file and its damage cases.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include "highscores.h"

typedef std::string bytes;

static bytes read_file(const char *name)
{
   bytes b;
   if (FILE *f = fopen(name, "rb")) {
      for (int c; (c = fgetc(f)) != EOF;)
         b += (char)c;
      fclose(f);
   }
   return b;
}

static void write_file(const char *name, const bytes &b)
{
   FILE *f = fopen(name, "wb");
   ASSERT_NE(f, nullptr);
   fwrite(b.c_str(), 1, b.size(), f);
   fclose(f);
}

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
      {15, -1, "Ulmar"}, {16, 6, "Sixteen"}, {75, 3, "Fennig"}, {101, 0, "Fennig"}
   };
   for (auto &c : cases) {
      create_highscores();
      EXPECT_EQ(compare_new_entry(c.score), c.slot >= 0) << c.score;
      update_highscores(c.slot == 6 ? "Sixteen" : "New", c.score);
      if (c.slot >= 0) {
         EXPECT_EQ(high_scores[c.slot].score, c.score);
      }
      EXPECT_STREQ(high_scores[6].name, c.last) << c.score;
      for (int k = 1; k < NUM_HIGH_SCORES; k++)
         EXPECT_GE(high_scores[k - 1].score, high_scores[k].score);
   }
   EXPECT_STREQ(high_scores[1].name, "Morwick");
   update_highscores("ABCDEFGHIJKLMNOP", 500);
   EXPECT_STREQ(high_scores[0].name, "ABCDEFGHI");
}

// Saving writes the 112-byte layout through a temporary file; loading reads it back.
TEST(HighScores, SaveAndLoad)
{
   create_highscores();
   update_highscores("100%s%n", 1234567);
   ASSERT_TRUE(save_highscores("round.hi"));
   bytes file = read_file("round.hi");
   ASSERT_EQ(file.size(), (size_t)SCORE_FILE_SIZE);
   EXPECT_EQ(file.substr(0, 16), record("100%s%n", 1234567));
   EXPECT_EQ(file.substr(96), record("Fennig", 20));
   EXPECT_EQ(access("round.hi.tmp", F_OK), -1);
   memset(high_scores, 0, sizeof(high_scores));
   ASSERT_TRUE(load_highscores("round.hi"));
   EXPECT_STREQ(high_scores[0].name, "100%s%n");
   EXPECT_EQ(high_scores[0].score, 1234567);
}

// Missing, empty, short, long and unterminated files.
TEST(HighScores, DamagedFiles)
{
   create_highscores();
   EXPECT_FALSE(load_highscores("missing.hi"));
   EXPECT_STREQ(high_scores[0].name, "Morwick");

   write_file("empty.hi", "");
   memset(high_scores, 0, sizeof(high_scores));
   EXPECT_TRUE(load_highscores("empty.hi"));
   EXPECT_TRUE(compare_new_entry(1));

   // Whole records load; a torn one and the rest keep what the table held.
   write_file("short.hi", record("First", 900) + record("Second", 800) + "xxxxxxxx");
   create_highscores();
   EXPECT_TRUE(load_highscores("short.hi"));
   EXPECT_STREQ(high_scores[1].name, "Second");
   EXPECT_STREQ(high_scores[2].name, "Brenna");

   // Bytes after the first 112 are not read.
   create_highscores();
   ASSERT_TRUE(save_highscores("long.hi"));
   write_file("long.hi", read_file("long.hi") + record("Intruder", 99999));
   memset(high_scores, 0, sizeof(high_scores));
   EXPECT_TRUE(load_highscores("long.hi"));
   EXPECT_STREQ(high_scores[6].name, "Ulmar");

   // A name field with no zero byte reads as its first 9 characters.
   bytes unterminated = record("", 500);
   unterminated.replace(0, 12, 12, 'Z');
   write_file("unterminated.hi", unterminated);
   EXPECT_TRUE(load_highscores("unterminated.hi"));
   EXPECT_STREQ(high_scores[0].name, "ZZZZZZZZZ");
   EXPECT_EQ(high_scores[0].score, 500);
}

// A save that cannot be written fails and leaves the old file whole; the next one goes through.
// (A full disk is tried in the hardening tests.)
TEST(HighScores, FailedSaveKeepsOldFile)
{
   create_highscores();
   ASSERT_TRUE(save_highscores("kept.hi"));
   bytes before = read_file("kept.hi");
   update_highscores("Lost", 5000);

   ASSERT_EQ(mkdir("kept.hi.tmp", 0755), 0);
   EXPECT_FALSE(save_highscores("kept.hi"));
   rmdir("kept.hi.tmp");
   EXPECT_FALSE(save_highscores("no-such-folder/scores.hi"));

   EXPECT_EQ(read_file("kept.hi"), before);

   EXPECT_TRUE(save_highscores("kept.hi"));
   load_highscores("kept.hi");
   EXPECT_STREQ(high_scores[0].name, "Lost");
}
