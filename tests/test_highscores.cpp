// The high-score table: qualifying, insertion order, the file and its damage cases.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include "highscores.h"
#include "support.h"

static std::vector<unsigned char> read_file(const char *name)
{
   std::vector<unsigned char> bytes;
   FILE *f = fopen(name, "rb");
   if (!f)
      return bytes;
   int c;
   while ((c = fgetc(f)) != EOF)
      bytes.push_back((unsigned char)c);
   fclose(f);
   return bytes;
}

static void write_file(const char *name, const std::vector<unsigned char> &bytes)
{
   FILE *f = fopen(name, "wb");
   ASSERT_NE(f, nullptr);
   if (!bytes.empty()) {
      ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
   }
   fclose(f);
}

// One 16-byte record as the game writes it.
static std::vector<unsigned char> record(const char *name, int32_t score)
{
   std::vector<unsigned char> r(SCORE_RECORD_SIZE, 0);
   memcpy(r.data(), name, strnlen(name, NAME_FIELD_SIZE));
   uint32_t v = (uint32_t)score;
   for (int i = 0; i < 4; i++)
      r[12 + i] = (v >> (8 * i)) & 0xff;
   return r;
}

// The default table qualifies and inserts by the strict rule, equal scores going below.
TEST(HighScores, QualifyingAndInsertion)
{
   create_highscores();
   EXPECT_STREQ(high_scores[0].name, "Morwick");
   EXPECT_EQ(high_scores[0].score, 100);
   EXPECT_STREQ(high_scores[6].name, "Ulmar");
   EXPECT_EQ(high_scores[6].score, 15);

   EXPECT_FALSE(compare_new_entry(15));
   update_highscores("Nobody", 15);
   EXPECT_STREQ(high_scores[6].name, "Ulmar");

   EXPECT_TRUE(compare_new_entry(16));
   update_highscores("Sixteen", 16);
   EXPECT_STREQ(high_scores[6].name, "Sixteen");
   EXPECT_EQ(high_scores[5].score, 20);

   create_highscores();
   update_highscores("Tie", 75);
   EXPECT_STREQ(high_scores[2].name, "Brenna");
   EXPECT_STREQ(high_scores[3].name, "Tie");
   EXPECT_STREQ(high_scores[4].name, "Quill");
   EXPECT_STREQ(high_scores[6].name, "Fennig");

   create_highscores();
   update_highscores("Champion", 101);
   EXPECT_STREQ(high_scores[0].name, "Champion");
   EXPECT_STREQ(high_scores[1].name, "Morwick");
   EXPECT_STREQ(high_scores[6].name, "Fennig");
   for (int k = 1; k < NUM_HIGH_SCORES; k++)
      EXPECT_GE(high_scores[k - 1].score, high_scores[k].score);
}

// A name longer than the field is cut to 9 characters and stays terminated.
TEST(HighScores, LongNameIsCut)
{
   create_highscores();
   update_highscores("ABCDEFGHIJKLMNOP", 500);
   EXPECT_STREQ(high_scores[0].name, "ABCDEFGHI");
}

// Saving writes 112 bytes in the record layout, and loading reads them back.
TEST(HighScores, SaveAndLoadRoundTrip)
{
   create_highscores();
   update_highscores("100%s%n", 1234567);
   ASSERT_TRUE(save_highscores("round.hi"));
   std::vector<unsigned char> bytes = read_file("round.hi");
   ASSERT_EQ(bytes.size(), (size_t)SCORE_FILE_SIZE);
   EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 16), record("100%s%n", 1234567));
   EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 96, bytes.end()), record("Fennig", 20));
   EXPECT_EQ(read_file("round.hi.tmp").size(), 0u);

   memset(high_scores, 0, sizeof(high_scores));
   ASSERT_TRUE(load_highscores("round.hi"));
   EXPECT_STREQ(high_scores[0].name, "100%s%n");
   EXPECT_EQ(high_scores[0].score, 1234567);
   EXPECT_STREQ(high_scores[6].name, "Fennig");
}

// Missing, empty, short, long and unterminated files.
TEST(HighScores, DamagedFiles)
{
   create_highscores();
   EXPECT_FALSE(load_highscores("missing.hi"));
   EXPECT_STREQ(high_scores[0].name, "Morwick");

   write_file("empty.hi", {});
   memset(high_scores, 0, sizeof(high_scores));
   EXPECT_TRUE(load_highscores("empty.hi"));
   for (int k = 0; k < NUM_HIGH_SCORES; k++) {
      EXPECT_STREQ(high_scores[k].name, "");
      EXPECT_EQ(high_scores[k].score, 0);
   }
   EXPECT_TRUE(compare_new_entry(1));

   // Two whole records and half a third: the whole ones load, the rest keep their entries.
   std::vector<unsigned char> shortfile = record("First", 900);
   std::vector<unsigned char> second = record("Second", 800);
   shortfile.insert(shortfile.end(), second.begin(), second.end());
   shortfile.insert(shortfile.end(), 8, 'x');
   write_file("short.hi", shortfile);
   create_highscores();
   EXPECT_TRUE(load_highscores("short.hi"));
   EXPECT_STREQ(high_scores[0].name, "First");
   EXPECT_EQ(high_scores[1].score, 800);
   EXPECT_STREQ(high_scores[2].name, "Brenna");
   EXPECT_EQ(high_scores[2].score, 75);

   // Bytes after the first 112 are not read.
   create_highscores();
   ASSERT_TRUE(save_highscores("long.hi"));
   std::vector<unsigned char> longfile = read_file("long.hi");
   std::vector<unsigned char> extra = record("Intruder", 99999);
   longfile.insert(longfile.end(), extra.begin(), extra.end());
   write_file("long.hi", longfile);
   memset(high_scores, 0, sizeof(high_scores));
   EXPECT_TRUE(load_highscores("long.hi"));
   EXPECT_STREQ(high_scores[0].name, "Morwick");
   EXPECT_STREQ(high_scores[6].name, "Ulmar");

   // A name field without a zero byte reads as its first 9 characters.
   std::vector<unsigned char> unterminated = record("", 500);
   memset(unterminated.data(), 'Z', 12);
   write_file("unterminated.hi", unterminated);
   EXPECT_TRUE(load_highscores("unterminated.hi"));
   EXPECT_STREQ(high_scores[0].name, "ZZZZZZZZZ");
   EXPECT_EQ(high_scores[0].score, 500);
}

// A save that cannot write leaves the old file whole and reports failure.
TEST(HighScores, FailedSaveKeepsOldFile)
{
   create_highscores();
   ASSERT_TRUE(save_highscores("kept.hi"));
   std::vector<unsigned char> before = read_file("kept.hi");

   // The temporary file cannot be created: its name is taken by a folder.
   ASSERT_EQ(mkdir("kept.hi.tmp", 0755), 0);
   update_highscores("Lost", 5000);
   EXPECT_FALSE(save_highscores("kept.hi"));
   EXPECT_EQ(read_file("kept.hi"), before);
   rmdir("kept.hi.tmp");

   // A folder that cannot be written to.
   EXPECT_FALSE(save_highscores("no-such-folder/scores.hi"));

   // A full disk, as a file-size limit in a child process: the write fails part way.
   pid_t child = fork();
   ASSERT_GE(child, 0);
   if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit = {50, 50};
      setrlimit(RLIMIT_FSIZE, &limit);
      _exit(save_highscores("kept.hi") ? 1 : 0);
   }
   int status = 0;
   waitpid(child, &status, 0);
   ASSERT_TRUE(WIFEXITED(status));
   EXPECT_EQ(WEXITSTATUS(status), 0) << "the save on a full disk reported success";
   EXPECT_EQ(read_file("kept.hi"), before);
   EXPECT_EQ(read_file("kept.hi.tmp").size(), 0u);

   // Once there is room again the next save goes through.
   EXPECT_TRUE(save_highscores("kept.hi"));
   load_highscores("kept.hi");
   EXPECT_STREQ(high_scores[0].name, "Lost");
}
