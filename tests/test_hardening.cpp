// The game under faults: saves killed at random moments, a full disk, damaged data files,
// and the memory held across level starts and whole games.
#include <gtest/gtest.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include "datafile.h"
#include "game.h"
#include "intro.h"
#include "pixelz.h"
#include "quorbix.h"
#include "support.h"
#include "timers.h"

typedef std::string bytes_t;

// A save killed at any of 1000 random moments leaves scores.hi one whole table or the other.
TEST(ScoreFile, KilledSavesNeverTearIt)
{
   auto fill_table = [](int which) { create_highscores(); if (which) update_highscores("Kestrel", 777); };
   bytes_t images[2];
   for (int t : {0, 1}) {
      fill_table(t);
      ASSERT_TRUE(save_highscores("scores.hi"));
      images[t] = read_file("scores.hi");
   }
   ASSERT_TRUE(images[0].size() == SCORE_FILE_SIZE && images[0] != images[1]);
   std::mt19937 rng(20261206);
   const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(150);
   int trials = 0, seen[2] = {0, 0}, mid_save = 0;
   for (; trials < 1000 && std::chrono::steady_clock::now() < deadline; trials++) {
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0)
         for (int i = trials;; i++)
            fill_table(i % 2), save_highscores("scores.hi");
      usleep(rng() % 4000);
      kill(child, SIGKILL);
      int status = 0;
      ASSERT_TRUE(waitpid(child, &status, 0) == child && WIFSIGNALED(status));
      const bytes_t now = read_file("scores.hi");
      ASSERT_TRUE(now == images[0] || now == images[1]) << now.size() << " bytes, neither table, after kill " << trials;
      seen[now == images[1]]++;
      mid_save += remove("scores.hi.tmp") == 0;
   }
   EXPECT_EQ(trials, 1000) << "the kill trials ran out of time";
   EXPECT_TRUE(seen[0] > 0 && seen[1] > 0 && mid_save > 0) << seen[0] << " / " << seen[1] << ", mid-save " << mid_save;
}

// A full disk cutting saves off at several points keeps the old file; the title screen and next save go on.
TEST(ScoreFile, FullDiskKeepsTheOldFileAndPlayGoesOn)
{
   ASSERT_NE(data = test_data, nullptr);
   ASSERT_TRUE(save_highscores("scores.hi"));
   const bytes_t before = read_file("scores.hi");
   for (rlim_t limit : {0, 1, 16, 100, 111}) {
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
         screen = create_bitmap(SCREEN_W, SCREEN_H);   // the parent's X connection is not ours
         signal(SIGXFSZ, SIG_IGN);
         const struct rlimit full = {limit, limit};
         setrlimit(RLIMIT_FSIZE, &full);
         update_highscores("Kestrel", 9000);
         intro_typ intro;
         if (save_highscores("scores.hi") || !intro_setup(&intro))
            _exit(1);
         timer_2 = 8;                                   // on to the score table
         int ticks = 0;
         while (ticks < 45 && intro_tick(&intro) == INTRO_GOES_ON)
            intro_frame(&intro), ticks++;
         intro_teardown(&intro);
         update_highscores("Osprey", 8000);
         _exit(ticks < 45 || !intro.show_scores ? 2 : save_highscores("scores.hi") ? 3 : 0);
      }
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "limit " << limit << ", status " << status;
      EXPECT_EQ(read_file("scores.hi"), before) << "limit " << limit;
      EXPECT_EQ(access("scores.hi.tmp", F_OK), -1) << "limit " << limit;
   }
}

// The pieces of a data file, big-endian as the library writes them: numbers, words, bytes.
struct dat {
   bytes_t b;
   dat &n(int32_t v) { return c(v >> 24).c(v >> 16).c(v >> 8).c(v); }
   dat &w(int v) { return c(v >> 8).c(v); }
   dat &c(int v, size_t times = 1) { b.append(times, (char)v); return *this; }
   dat &add(const bytes_t &more) { b += more; return *this; }
};

// An object stored uncompressed: kind, size on disk, size unpacked, contents.
static bytes_t object(int32_t kind, const dat &contents)
{
   return dat().n(kind).n((int32_t)contents.b.size()).n((int32_t)contents.b.size()).add(contents.b).b;
}

// An uncompressed data file that counts `count` objects, then holds the given bytes.
static bytes_t datafile(int32_t count, const bytes_t &objects = {})
{
   return dat().c('s').c('l').c('h').c('.').n(DAT_MAGIC).n(count).add(objects).b;
}

// Numbers in a damaged data file that the library would trust are refused.
TEST(DamagedData, NumbersTheLibraryWouldTrustAreRefused)
{
   auto one = [](int32_t kind, const dat &contents) { return datafile(1, object(kind, contents)); };
   auto font = [](int ranges) { return dat().w(0).w(ranges); };
   dat nested = dat().n(0);
   for (int depth = 0; depth < 10; depth++)
      nested = dat().n(1).add(object(DAT_FILE, nested));
   const struct { const char *fault; bytes_t file; } cases[] = {
      // A count of -1: the library allocates no objects and writes the end marker past them.
      {"object count out of range", datafile(-1)},
      {"object count out of range", datafile(0x7f000000)},
      // Kind -1 picks an unused slot of the library's loader table, whose loader is null.
      {"an object of no kind", one(DAT_END, dat().c(0, 4))},
      {"a property cut short", datafile(1, dat().n(DAT_PROPERTY).n(DAT_NAME).n(-1).b)},
      {"a property named like the end", datafile(1, dat().n(DAT_PROPERTY).n(DAT_END).n(0).add(object(DAT_DATA, dat())).b)},
      {"an object longer than the file", datafile(1, dat().n(DAT_DATA).n(1 << 30).n(1 << 30).b)},
      {"an object compressed on its own", datafile(1, dat().n(DAT_DATA).n(4).n(-8).c(0, 4).b)},
      {"a bitmap cut short", one(DAT_BITMAP, dat().w(8).w(65535).w(65535))},
      {"a bitmap cut short", one(DAT_BITMAP, dat().w(16).w(4).w(4).c(0, 31))},
      {"unknown colour depth", one(DAT_BITMAP, dat().w(7).w(2).w(2).c(0, 4))},
      {"a bitmap without a size", one(DAT_BITMAP, dat().w(8).w(0).w(5))},
      {"a bitmap without a size", one(DAT_BITMAP, dat().w(8).c(1))},
      // No ranges: the library hands back a font whose operations were never set.
      {"a font without glyphs", one(DAT_FONT, font(0))},
      {"a font in an old format", one(DAT_FONT, dat().w(8).c(0, 64))},
      {"a font range out of order", one(DAT_FONT, font(1).c(1).n(90).n(65))},
      {"a font range cut short", one(DAT_FONT, font(1).c(1).n(0).n(0x3fffffff).c(0, 16))},
      // A glyph 0 wide, or negative when read back as a short, never ends a row when drawn.
      {"a glyph of no size", one(DAT_FONT, font(1).c(1).n(65).n(65).w(0).w(14))},
      {"a glyph of no size", one(DAT_FONT, font(1).c(1).n(65).n(65).w(40000).w(1).c(0, 5000))},
      {"a font of mixed glyph kinds", one(DAT_FONT, font(2).c(1).n(32).n(32).w(8).w(1).c(0).c(8).n(33).n(33).w(1).w(1).c(3))},
      {"a font of mixed glyph kinds", one(DAT_FONT, font(2).c(255).n(32).n(32).w(8).w(1).c(0).c(8).n(33).n(33).w(1).w(1).c(3))},
      {"a glyph cut short", one(DAT_FONT, font(1).c(1).n(65).n(65).w(10).w(1).c(0))},
      {"a kind the game does not use", one(DAT_SAMPLE, dat().c(0, 16))},
      {"nested too deep", one(DAT_FILE, nested)},
      // The library's decompressor can copy bytes it never wrote.
      {"not an uncompressed data file", dat().c('s').c('l').c('h').c('!').n(DAT_MAGIC).n(0).b},
   };
   for (const auto &c : cases) {
      write_file("quorbix.dat", c.file);
      char why[160] = "";
      DATAFILE *d = load_checked_datafile("quorbix.dat", why, sizeof(why));
      EXPECT_TRUE(!d && strstr(why, c.fault)) << c.fault << ": " << (d ? "accepted" : why);
      if (d)
         unload_datafile(d);
   }
}

// Bytes of heap in use. glibc counts the blocks its per-thread cache keeps as in use, so seven
// blocks (the cache's depth) of each of its 64 sizes are held while counting. Two counts may
// differ by the few hundred bytes the X connection's thread holds for a moment.
#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
static size_t heap_in_use() { return __sanitizer_get_current_allocated_bytes(); }
static const long HEAP_SLACK = 0;
#else
static size_t heap_in_use()
{
   std::vector<void *> held;
   held.reserve(64 * 7);
   for (size_t size = 24; size < 24 + 64 * 16; size += 16)
      for (int i = 0; i < 7; i++)
         held.push_back(malloc(size));
   const struct mallinfo2 m = mallinfo2();
   for (void *p : held)
      free(p);
   return m.uordblks + m.hblkhd;
}
static const long HEAP_SLACK = 4096;
#endif

// Holds Enter, let go 30 ms on, for `step` until it says it is done: a slow step may miss
// the press, so up to 20 tries.
template <class F> static void press_enter(F step)
{
   for (int tries = 0; tries < 20; tries++) {
      hold_key(KEY_ENTER, true);
      release_key_after(KEY_ENTER, 30);
      if (step())
         break;
   }
   rest(40);
}

// The 100th level start holds the heap the first did; ten whole games tick by tick give all theirs back.
TEST(Leaks, LevelStartsAndWholeGamesHoldNoMemory)
{
   ASSERT_NE(data = test_data, nullptr);
   universal_control = CONTROL_ARROWS;
   game_typ game;
   ASSERT_TRUE(setup_game(&game));
   size_t first = 0;
   for (int start = 1; start <= 100; start++) {
      srand(start == 1 || start == 100 ? 99 : start);   // the first and the last field alike
      create_asteroids(start == 1 || start == 100 ? 3 : start % 12 + 1);
      first = start == 1 ? heap_in_use() : first;
   }
   const size_t hundredth = heap_in_use();
   teardown_game(&game);
   EXPECT_LE(labs((long)hundredth - (long)first), HEAP_SLACK) << "first " << first << ", hundredth " << hundredth;

   std::mt19937 rng(7);
   size_t before = 0;
   int names = 0;
   for (int played = 0; played < 10; played++) {
      before = played == 1 ? heap_in_use() : before;
      ASSERT_TRUE(setup_game(&game));
      for (int level = 1; level <= 3; level++) {
         timer_1 = 200;                                 // the level's field
         logic_tick(&game);
         ASSERT_TRUE(game.level == level && game.asteroid_counter > 0) << "level " << level;
         timer_1 = 300, timer_2 = 5;
         for (int t = 0; t < 150 && ship.life > 0; t++) {
            for (int k : {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_A, KEY_S})
               hold_key(k, rng() % 3 == 0);
            logic_tick(&game);
            compose_frame(&game);
         }
         release_all_keys();
         for (sprite &a : asteroid)                     // the field gone: on to the next level
            a.deystroy();
         ship.life = 100, timer_1 = 500, timer_2 = 3;
         logic_tick(&game);
      }
      game.score += played * 40;
      ship.life = 0;
      logic_tick(&game);
      if (game.input_name) {
         simulate_keypress('Z');
         logic_tick(&game);
         press_enter([&] { logic_tick(&game); return !game.input_name; });
         names++;
      }
      press_enter([&] { compose_frame(&game); return game.done; });
      ASSERT_TRUE(!game.input_name && game.done) << "game " << played;
      teardown_game(&game);
   }
   const size_t after = heap_in_use();
   EXPECT_LE(labs((long)after - (long)before), HEAP_SLACK) << "before " << before << ", after " << after;
   EXPECT_GT(names, 0);
}
