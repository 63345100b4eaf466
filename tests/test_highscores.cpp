// The high-score table and scores.hi: entries, the file's layout, merging, killed saves, a full disk.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#ifndef _WIN32     // the killed and cut-short saves run in child processes: no fork() on Windows
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include "highscores.h"
#include "support.h"

// Tables written "a9 b8 ...", each word a name of letters and its score, and back.
static void parse_table(const char *words, SCORES table[])
{
   for (int k = 0, used = 0; k < NUM_HIGH_SCORES; k++, words += used) {
      table[k] = SCORES{};
      sscanf(words, " %9[a-z]%d%n", table[k].name, &table[k].score, &used);
   }
}
static std::string table_text(const SCORES table[])
{
   std::string text;
   for (int k = 0; k < NUM_HIGH_SCORES; k++)
      text += std::string(k ? " " : "") + table[k].name + std::to_string(table[k].score);
   return text;
}

// Scores go in strictly above, names cut to 9; saves write the 112-byte layout; a failed one says why.
TEST(HighScores, TableAndFile)
{
   auto record = [](const char *name, uint32_t score) {    // as the game writes it: name, padding, score
      const char le[4] = {(char)score, (char)(score >> 8), (char)(score >> 16), (char)(score >> 24)};
      return (name + bytes_t(12, '\0')).substr(0, 12) + bytes_t(le, 4);
   };
   const struct { int score; const char *table; } cases[] = {    // the default table, the last entry 15
      {15, "Morwick100 Tallo90 Brenna75 Quill50 Dastor30 Fennig20 Ulmar15"},
      {16, "Morwick100 Tallo90 Brenna75 Quill50 Dastor30 Fennig20 ABCDEFGHI16"},
      {75, "Morwick100 Tallo90 Brenna75 ABCDEFGHI75 Quill50 Dastor30 Fennig20"},
      {101, "ABCDEFGHI101 Morwick100 Tallo90 Brenna75 Quill50 Dastor30 Fennig20"}};
   for (auto &c : cases) {
      create_highscores();
      EXPECT_EQ(compare_new_entry(c.score), c.score > 15) << c.score;
      update_highscores("ABCDEFGHIJKLMNOP", c.score);
      EXPECT_EQ(table_text(high_scores), c.table);
   }
   create_highscores();
   update_highscores("Top", 0x7f3a2b1c);
   high_scores[6] = SCORES{"100%s%n", (int32_t)0x8badf00d};
   ASSERT_TRUE(save_highscores("round.hi"));
   const bytes_t saved = read_file("round.hi");
   EXPECT_EQ(saved.substr(0, 32), record("Top", 0x7f3a2b1c) + record("Morwick", 100));
   EXPECT_EQ(saved.substr(80), record("Dastor", 30) + record("100%s%n", 0x8badf00d));
   testing::internal::CaptureStderr();
   EXPECT_FALSE(load_highscores("missing.hi") || save_highscores("no-such-folder/scores.hi"));
   EXPECT_EQ(testing::internal::GetCapturedStderr(),
             "quorbix: cannot save the high scores in no-such-folder/scores.hi: No such file or directory\n");
   ASSERT_TRUE(std::filesystem::create_directories("no-such-folder/scores.hi.tmp"));
   EXPECT_FALSE(save_highscores("no-such-folder/scores.hi"));   // a folder where its temporary goes
   ASSERT_TRUE(std::filesystem::remove("no-such-folder/scores.hi.tmp"));
   EXPECT_TRUE(save_highscores("no-such-folder/scores.hi"));   // tried again
}

// The disk's table merged into ours; a save merges only a whole table on disk; names read are cut to 9.
TEST(HighScores, Merge)
{
   const struct { const char *disk, *mine, *merged; } cases[] = {
      {"a9 b8 c7 d6 e5 f4 g3", "a9 b8 c7 d6 e5 f4 g3", "a9 b8 c7 d6 e5 f4 g3"},   // the same table
      {"a9 b8 c7 d6 e5 f4 g3", "a9 b8 x8 c7 d6 e5 f4", "a9 b8 x8 c7 d6 e5 f4"},   // ours with one more
      {"a9 b8 c5 y5 d4 e3 f2", "a9 b8 c5 x5 d4 e3 f2", "a9 b8 c5 y5 x5 d4 e3"},   // ours below an equal theirs
      {"k9 k9 a8 b7 c6 d5 e4", "k9 a8 a8 a8 b7 k7 c6", "k9 k9 a8 a8 a8 b7 k7"},   // repeats as often as most
      {"a9 b9 c9 d9 e9 f9 g9", "h1 i1 j1 k1 l1 m1 n1", "a9 b9 c9 d9 e9 f9 g9"},   // nothing of ours is better
      {"h1 i1 j1 k1 l1 m1 n1", "a9 b9 c9 d9 e9 f9 g9", "a9 b9 c9 d9 e9 f9 g9"}};  // all of ours is better
   for (const auto &c : cases) {
      SCORES disk[NUM_HIGH_SCORES], mine[NUM_HIGH_SCORES];
      parse_table(c.disk, disk);
      parse_table(c.mine, mine);
      merge_highscores(disk, mine, mine);
      EXPECT_EQ(table_text(mine), c.merged) << c.disk << " merged into " << c.mine;
   }
   write_file("scores.hi", bytes_t(111, 'x'));
   parse_table("a9 b8 c7 d6 e5 f4 g3", high_scores);
   ASSERT_TRUE(save_highscores("scores.hi"));
   EXPECT_EQ(table_text(high_scores), "a9 b8 c7 d6 e5 f4 g3");
   write_file("scores.hi", bytes_t(112, 'x'));                 // whole, with names that never end
   EXPECT_EQ(load_highscores("scores.hi") ? std::string(high_scores[6].name) : "not read", "xxxxxxxxx");
   write_file("scores.hi", bytes_t(15, 'y'));                  // not one whole record: read, and nothing replaced
   EXPECT_EQ(load_highscores("scores.hi") ? std::string(high_scores[0].name) : "not read", "xxxxxxxxx");
}

#ifndef _WIN32
// A save of Kestrel's 777 killed at any of 1000 random moments leaves scores.hi the old table or the new.
TEST(ScoreFile, KilledSavesNeverTearIt)
{
   auto save_table = [](int which) {                  // the default table, or Kestrel's 777 in it
      create_highscores();
      update_highscores("Kestrel", 777 * which);
      return save_highscores("scores.hi");
   };
   bytes_t images[2];
   remove("scores.hi");
   for (int t : {0, 1}) {
      ASSERT_TRUE(save_table(t));
      images[t] = read_file("scores.hi");
   }
   int seen[2] = {0, 0}, mid_save = 0;
   for (int trial = 0; trial < 1000; trial++) {
      write_file("scores.hi", images[0]);
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0)
         for (;;)
            save_table(1);
      usleep(rand() % 4000);
      kill(child, SIGKILL);
      ASSERT_EQ(waitpid(child, nullptr, 0), child);
      const bytes_t now = read_file("scores.hi");
      ASSERT_TRUE(now == images[0] || now == images[1]) << now.size() << " bytes, neither table, after kill " << trial;
      seen[now == images[1]]++;
      mid_save += remove("scores.hi.tmp") == 0;
   }
   EXPECT_EQ(make_tuple(seen[0] > 0, seen[1] > 0, mid_save > 0), make_tuple(true, true, true))
      << seen[0] << " old, " << seen[1] << " new, " << mid_save << " killed mid-save";
}

// A full disk cutting saves off at several points keeps the old file, leaves no temporary, and play goes on.
TEST(ScoreFile, FullDiskKeepsTheOldFileAndPlayGoesOn)
{
   create_highscores();
   ASSERT_TRUE(save_highscores("scores.hi"));
   const bytes_t before = read_file("scores.hi");
   for (rlim_t limit : {0, 1, 16, 100, 111}) {
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
         signal(SIGXFSZ, SIG_IGN);
         const struct rlimit full = {limit, limit};
         setrlimit(RLIMIT_FSIZE, &full);
         update_highscores("Kestrel", 9000);
         _exit(save_highscores("scores.hi") || save_highscores("scores.hi") || strcmp(high_scores[0].name, "Kestrel"));
      }
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_EQ(status, 0) << "limit " << limit;
      EXPECT_EQ(read_file("scores.hi"), before) << "limit " << limit;
      EXPECT_EQ(access("scores.hi.tmp", F_OK), -1) << "limit " << limit;
   }
}
#endif
