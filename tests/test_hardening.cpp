// scores.hi and quorbix.dat in use and under faults: killed saves, a full disk, damaged data.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>
#ifndef _WIN32     // the killed and cut-short saves run in child processes: no fork() on Windows
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include "datafile.h"
#include "highscores.h"
#include "quorbix.h"
#include "support.h"

// Scores go in strictly above, names cut to 9; saves write the 112-byte layout (a failed one says why on
// stderr). What a load makes of any bytes is the fuzz harness's to check.
TEST(HighScores, TableAndFile)
{
   auto record = [](const char *name, uint32_t score) {    // as the game writes it: name, padding, score
      const char le[4] = {(char)score, (char)(score >> 8), (char)(score >> 16), (char)(score >> 24)};
      return (name + bytes_t(12, '\0')).substr(0, 12) + bytes_t(le, 4);
   };
   auto is = [](int k, const char *n, int s) { return high_scores[k].score == s && !strcmp(high_scores[k].name, n); };
   struct { int score; int slot; const char *last; } cases[] = {
      {15, -1, "Ulmar"}, {16, 6, "ABCDEFGHI"}, {75, 3, "Fennig"}, {101, 0, "Fennig"}};
   for (auto &c : cases) {
      create_highscores();
      EXPECT_EQ(compare_new_entry(c.score), c.slot >= 0) << c.score;
      update_highscores("ABCDEFGHIJKLMNOP", c.score);
      EXPECT_TRUE((c.slot < 0 || is(c.slot, "ABCDEFGHI", c.score)) && !strcmp(high_scores[6].name, c.last)) << c.score;
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
   EXPECT_TRUE(std::filesystem::create_directory("no-such-folder") && save_highscores("no-such-folder/scores.hi"));   // tried again
}

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

// The disk's table merged into ours; a save merges only a whole table on disk.
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
   ASSERT_TRUE(save_highscores("scores.hi") && load_highscores("scores.hi"));
   EXPECT_EQ(table_text(high_scores), "a9 b8 c7 d6 e5 f4 g3");
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
   EXPECT_TRUE(seen[0] > 0 && seen[1] > 0 && mid_save > 0) << seen[0] << " / " << seen[1] << ", mid-save " << mid_save;
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
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0 && read_file("scores.hi") == before &&
                  access("scores.hi.tmp", F_OK) == -1) << "limit " << limit << ", status " << status;
   }
}
#endif

// Data-file bytes, big-endian as the library writes them: numbers, words, bytes, uncompressed objects.
struct dat {
   bytes_t b;
   dat &n(int32_t v) { return c(v >> 24).c(v >> 16).c(v >> 8).c(v); }
   dat &w(int v) { return c(v >> 8).c(v); }
   dat &c(int v, size_t times = 1) { b.append(times, (char)v); return *this; }
   dat &add(const bytes_t &more) { b += more; return *this; }
   dat &object(int32_t kind, const dat &in) { return n(kind).n(in.b.size()).n(in.b.size()).add(in.b); }
};

// Damaged data files are refused with the reason: too few objects, a wrong kind, a palette under 256 colours
// (read past its end when installed); numbers the library would trust (a count of -1 writes past its objects,
// kind -1 calls a null loader, an empty font or glyph never ends a row, a packed file is misread).
TEST(DamagedData, RefusedWithTheReason)
{
   ASSERT_NE(test_data, nullptr);
   const struct { int count, kind; long size; const char *why; } objects[] = {    // objects kept; palette kind, size
      {TITLE_BMP, DAT_PALETTE, 1024, "quorbix.dat holds 11 objects, the game needs 12"},
      {0, DAT_PALETTE, 1024, "quorbix.dat holds 0 objects, the game needs 12"},
      {TITLE_BMP + 1, DAT_BITMAP, 1024, "quorbix.dat: object 0 is BMP , the game needs PAL "},
      {TITLE_BMP + 1, DAT_PALETTE, 1023, "quorbix.dat: the palette holds 1023 bytes, the game needs 1024"}};
   for (const auto &c : objects) {
      std::vector<DATAFILE> d(test_data, test_data + TITLE_BMP + 1);
      d[GAME_PAL] = DATAFILE{test_data[GAME_PAL].dat, c.kind, c.size, nullptr};
      d.insert(d.begin() + c.count, DATAFILE{nullptr, DAT_END, 0, nullptr});
      char why[160] = "";
      EXPECT_TRUE(!check_datafile(d.data(), why, sizeof(why)) && !strcmp(why, c.why)) << why;
   }
   auto file = [](int32_t count) { return dat().add("slh.").n(DAT_MAGIC).n(count); };
   auto one = [&](int32_t kind, const dat &contents) { return file(1).object(kind, contents); };
   auto bitmap = [&](int bits, int w, int h, size_t n) { return one(DAT_BITMAP, dat().w(bits).w(w).w(h).c(0, n)); };
   auto font = [&](int ranges, const dat &glyphs) { return one(DAT_FONT, dat().w(0).w(ranges).add(glyphs.b)); };
   auto mono = [](int32_t begin, int32_t end) { return dat().c(1).n(begin).n(end); };
   dat nested = dat().n(0);
   for (int depth = 0; depth < 10; depth++)
      nested = dat().n(1).object(DAT_FILE, nested);
   const struct { const char *fault; dat file; } cases[] = {
      {"object count", file(-1)}, {"object count", file(0x7f000000)}, {"no kind", one(DAT_END, dat().c(0, 4))},
      {"nested too deep", one(DAT_FILE, nested)}, {"property cut short", file(1).n(DAT_PROPERTY).n(DAT_NAME).n(-1)},
      {"named like the end", file(1).n(DAT_PROPERTY).n(DAT_END).n(0).object(DAT_DATA, dat())},
      {"longer than the file", file(1).n(DAT_DATA).n(1 << 30).n(1 << 30)}, {"unknown colour depth", bitmap(7, 2, 2, 4)},
      {"compressed on its own", file(1).n(DAT_DATA).n(4).n(-8).c(0, 4)}, {"without a size", bitmap(8, 0, 5, 0)},
      {"uncompressed", dat().add("slh!").n(DAT_MAGIC).n(0)}, {"does not use", one(DAT_SAMPLE, dat().c(0, 16))},
      {"bitmap cut short", bitmap(8, 65535, 65535, 0)}, {"bitmap cut short", bitmap(16, 4, 4, 31)},
      {"holds 1 objects", bitmap(16, 4, 4, 32)},    // whole, so the scan lets the object check refuse it
      {"without a size", one(DAT_BITMAP, dat().w(8).c(1))}, {"old format", one(DAT_FONT, dat().w(8).c(0, 64))},
      {"without glyphs", font(0, dat())}, {"range cut short (byte 33)", font(1, mono(0, 0x3fffffff).c(0, 16))},
      {"out of order", font(1, mono(90, 65))},
      {"glyph of no size or out of range (byte 37)", font(1, mono(65, 65).w(0).w(14))},
      {"glyph of no size or out of range (byte 37)", font(1, mono(65, 65).w(40000).w(1).c(0, 5000))},
      {"glyph cut short (byte 37)", font(1, mono(65, 65).w(10).w(1).c(0))},
      {"mixed glyph kinds (byte 47)", font(2, mono(32, 32).w(8).w(1).c(0).c(8).n(33).n(33))},
      {"mixed glyph kinds (byte 47)", font(2, dat().c(255).n(32).n(32).w(8).w(1).c(0).c(8).n(33).n(33))}};
   for (const auto &c : cases) {
      write_file("quorbix.dat", c.file.b);
      char why[160] = "";
      DATAFILE *d = load_checked_datafile("quorbix.dat", why, sizeof(why));
      EXPECT_TRUE(!d && strstr(why, c.fault)) << c.fault << ": " << (d ? "accepted" : why);
   }
}
