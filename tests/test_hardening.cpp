// The game under faults: saves killed at random moments, a full disk, damaged data files,
// drawing over the screen edges, and the memory held across level starts and whole games.
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
#include "game.h"
#include "highscores.h"
#include "intro.h"
#include "pixelz.h"
#include "quorbix.h"
#include "datafile.h"
#include "support.h"
#include "timers.h"
#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

typedef std::vector<unsigned char> bytes_t;

// A whole file's bytes; empty when it cannot be opened.
static bytes_t read_file(const char *name)
{
   bytes_t bytes;
   FILE *f = fopen(name, "rb");
   if (!f)
      return bytes;
   int c;
   while ((c = fgetc(f)) != EOF)
      bytes.push_back((unsigned char)c);
   fclose(f);
   return bytes;
}

// Writes bytes to a file, replacing it.
static void write_file(const char *name, const bytes_t &bytes)
{
   FILE *f = fopen(name, "wb");
   ASSERT_NE(f, nullptr);
   if (!bytes.empty()) {
      EXPECT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
   }
   fclose(f);
}

// One of two different tables: the defaults, or the defaults with a new best score.
static void fill_table(int which)
{
   create_highscores();
   if (which == 1)
      update_highscores("Kestrel", 777);
}

// The bytes a save of one of the two tables writes.
static bytes_t table_image(int which)
{
   fill_table(which);
   EXPECT_TRUE(save_highscores("image.hi"));
   bytes_t image = read_file("image.hi");
   remove("image.hi");
   return image;
}

// A child saving the two tables in turn, without end, is killed at a random moment, a
// thousand times: scores.hi is always one whole table or the other, never a torn mix.
TEST(ScoreFileFaults, KilledSavesNeverTearTheFile)
{
   const bytes_t images[2] = {table_image(0), table_image(1)};
   ASSERT_EQ(images[0].size(), (size_t)SCORE_FILE_SIZE);
   ASSERT_NE(images[0], images[1]);
   write_file("scores.hi", images[0]);

   std::mt19937 rng(20261206);
   const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(150);
   int trials = 0, seen[2] = {0, 0}, interrupted = 0;
   while (trials < 1000 && std::chrono::steady_clock::now() < deadline) {
      int first = trials % 2;
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
         for (int i = first;; i++) {
            fill_table(i % 2);
            save_highscores("scores.hi");
         }
      }
      usleep(rng() % 4000);
      kill(child, SIGKILL);
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFSIGNALED(status));

      bytes_t now = read_file("scores.hi");
      ASSERT_EQ(now.size(), (size_t)SCORE_FILE_SIZE) << "after kill " << trials;
      if (now == images[0])
         seen[0]++;
      else if (now == images[1])
         seen[1]++;
      else
         FAIL() << "scores.hi is neither table after kill " << trials;
      interrupted += access("scores.hi.tmp", F_OK) == 0;
      remove("scores.hi.tmp");
      trials++;
   }
   EXPECT_EQ(trials, 1000) << "the kill trials ran out of time";
   EXPECT_GT(seen[0], 0);
   EXPECT_GT(seen[1], 0);
   EXPECT_GT(interrupted, 0) << "no kill landed in the middle of a save";
   printf("kill trials: %d, table 0: %d, table 1: %d, killed mid-save: %d\n", trials, seen[0], seen[1], interrupted);
}

// The file-size limit cuts a save off at every point of the file (HighScores.FailedSaveKeepsOldFile
// tries one): each save fails and leaves the old file whole, the title screen goes on showing the
// table in memory, a second save fails the same way, and once there is room a save goes through.
TEST(ScoreFileFaults, FullDiskKeepsTheOldFileAndPlayGoesOn)
{
   ASSERT_NE(test_data, nullptr);
   data = test_data;
   release_all_keys();
   create_highscores();
   ASSERT_TRUE(save_highscores("scores.hi"));
   const bytes_t before = read_file("scores.hi");

   for (rlim_t limit : {0, 1, 15, 16, 50, 100, 111}) {
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
         // The child must not talk to the X server over the parent's connection: the title
         // screen clears a screen of its own.
         screen = create_bitmap(SCREEN_W, SCREEN_H);
         signal(SIGXFSZ, SIG_IGN);
         struct rlimit full = {limit, limit};
         setrlimit(RLIMIT_FSIZE, &full);
         update_highscores("Kestrel", 9000);
         if (save_highscores("scores.hi"))
            _exit(1);
         intro_typ intro;
         if (!intro_setup(&intro))
            _exit(2);
         timer_2 = 8;
         for (int tick = 0; tick < 45; tick++) {
            if (intro_tick(&intro) != INTRO_GOES_ON)
               _exit(3);
            intro_frame(&intro);
         }
         // The new best entry is drawn on the first row of the table: name at (350, 80).
         int lit = 0;
         for (int y = 80; y < 100; y++)
            for (int x = 350; x < 480; x++)
               lit += getpixel(intro.buffer, x, y) != 0;
         intro_teardown(&intro);
         if (!intro.show_scores || lit == 0)
            _exit(4);
         update_highscores("Osprey", 8000);
         _exit(save_highscores("scores.hi") ? 5 : 0);
      }
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status)) << "limit " << limit;
      EXPECT_EQ(WEXITSTATUS(status), 0) << "limit " << limit;
      EXPECT_EQ(read_file("scores.hi"), before) << "limit " << limit;
      EXPECT_EQ(access("scores.hi.tmp", F_OK), -1) << "limit " << limit;
   }
   update_highscores("Kestrel", 9000);
   ASSERT_TRUE(save_highscores("scores.hi"));
   create_highscores();
   ASSERT_TRUE(load_highscores("scores.hi"));
   EXPECT_STREQ(high_scores[0].name, "Kestrel");
}

// The pieces of a data file, big-endian as the library writes them.
struct dat_writer {
   bytes_t b;
   dat_writer &number(int32_t v)
   {
      for (int shift = 24; shift >= 0; shift -= 8)
         b.push_back((unsigned char)((uint32_t)v >> shift));
      return *this;
   }
   dat_writer &word(int v)
   {
      b.push_back((unsigned char)(v >> 8));
      b.push_back((unsigned char)v);
      return *this;
   }
   dat_writer &byte(int v)
   {
      b.push_back((unsigned char)v);
      return *this;
   }
   dat_writer &fill(size_t n, unsigned char v = 0)
   {
      b.insert(b.end(), n, v);
      return *this;
   }
   dat_writer &add(const bytes_t &more)
   {
      b.insert(b.end(), more.begin(), more.end());
      return *this;
   }
};

// An object as it is stored uncompressed: kind, size on disk, size unpacked, contents.
static bytes_t object(int32_t kind, const bytes_t &contents)
{
   return dat_writer().number(kind).number((int32_t)contents.size()).number((int32_t)contents.size()).add(contents).b;
}

// An 8-bit bitmap object of the given size, its pixels all present.
static bytes_t bitmap8(int w, int h)
{
   return object(DAT_BITMAP, dat_writer().word(8).word(w).word(h).fill((size_t)w * h, 1).b);
}

// A whole uncompressed data file holding the given objects.
static bytes_t datafile(const std::vector<bytes_t> &objects)
{
   dat_writer w;
   w.b = {'s', 'l', 'h', '.'};
   w.number(DAT_MAGIC).number((int32_t)objects.size());
   for (const bytes_t &o : objects)
      w.add(o);
   return w.b;
}

// Loads bytes as quorbix.dat through the game's loader; the reason lands in `why`.
static bool loads(const bytes_t &file, std::string *why = nullptr)
{
   write_file("quorbix.dat", file);
   char reason[160] = "";
   DATAFILE *d = load_checked_datafile("quorbix.dat", reason, sizeof(reason));
   if (d)
      unload_datafile(d);
   else
      EXPECT_NE(reason[0], '\0') << "a refusal without a reason";
   if (why)
      *why = reason;
   return d != nullptr;
}

// Expects the game's loader to refuse the bytes, naming the given fault.
static void expect_refused(const bytes_t &file, const char *fault)
{
   std::string why;
   EXPECT_FALSE(loads(file, &why)) << fault;
   EXPECT_NE(why.find(fault), std::string::npos) << "refused for: " << why;
}

// The game's file cut short anywhere is refused; the library itself crashes on many such cuts.
TEST(DamagedDataFile, TruncatedAnywhereIsRefused)
{
   const bytes_t whole = read_file(QUORBIX_DAT);
   ASSERT_GT(whole.size(), 1000u);
   EXPECT_TRUE(loads(whole));
   int refused = 0, cuts = 0;
   for (size_t cut = 0; cut < whole.size(); cut += cut < 4096 ? 1 : 61, cuts++)
      refused += !loads(bytes_t(whole.begin(), whole.begin() + cut));
   EXPECT_EQ(refused, cuts);
}

// Numbers in a damaged file that the library would trust: each one is refused with its reason.
TEST(DamagedDataFile, NumbersTheLibraryWouldTrustAreRefused)
{
   // A count of -1: the library allocates no objects and writes the end marker past them.
   expect_refused(dat_writer().byte('s').byte('l').byte('h').byte('.').number(DAT_MAGIC).number(-1).b,
                  "object count out of range");
   expect_refused(dat_writer().byte('s').byte('l').byte('h').byte('.').number(DAT_MAGIC).number(0x7f000000).b,
                  "object count out of range");
   // The kind -1 matches an unused slot of the library's loader table and calls a null loader.
   expect_refused(datafile({object(DAT_END, bytes_t(4))}), "an object of no kind");
   expect_refused(datafile({bytes_t{'p', 'r', 'o', 'p', 'N', 'A', 'M', 'E', 0xff, 0xff, 0xff, 0xff}}),
                  "a property cut short");
   expect_refused(datafile({dat_writer().number(DAT_DATA).number(1 << 30).number(1 << 30).b}),
                  "an object longer than the file");
   expect_refused(datafile({dat_writer().number(DAT_DATA).number(4).number(-8).fill(4).b}),
                  "an object compressed on its own");

   expect_refused(datafile({object(DAT_BITMAP, dat_writer().word(8).word(65535).word(65535).b)}),
                  "a bitmap cut short");
   expect_refused(datafile({object(DAT_BITMAP, dat_writer().word(7).word(2).word(2).fill(4).b)}),
                  "unknown colour depth");
   expect_refused(datafile({object(DAT_BITMAP, dat_writer().word(8).word(0).word(5).b)}),
                  "a bitmap without a size");

   // No ranges: the library hands back a font whose operations were never set.
   expect_refused(datafile({object(DAT_FONT, dat_writer().word(0).word(0).b)}), "a font without glyphs");
   expect_refused(datafile({object(DAT_FONT, dat_writer().word(8).fill(64).b)}), "a font in an old format");
   expect_refused(datafile({object(DAT_FONT, dat_writer().word(0).word(1).byte(1).number(90).number(65).b)}),
                  "a font range out of order");
   expect_refused(datafile({object(DAT_FONT, dat_writer().word(0).word(1).byte(1).number(0).number(0x3fffffff).fill(16).b)}),
                  "a font range cut short");
   // A glyph 0 wide (or, read back as a short, negative) never ends a row when drawn.
   expect_refused(datafile({object(DAT_FONT, dat_writer().word(0).word(1).byte(1).number(65).number(65).word(0).word(14).b)}),
                  "a glyph of no size or out of range");
   expect_refused(datafile({object(DAT_FONT, dat_writer().word(0).word(1).byte(1).number(65).number(65).word(40000).word(1).fill(5000).b)}),
                  "a glyph of no size or out of range");
   dat_writer mixed;
   mixed.word(0).word(2);
   mixed.byte(1).number(32).number(32).word(8).word(1).byte(0);
   mixed.byte(8).number(33).number(33).word(1).word(1).byte(3);
   expect_refused(datafile({object(DAT_FONT, mixed.b)}), "a font of mixed glyph kinds");

   expect_refused(datafile({object(DAT_SAMPLE, bytes_t(16))}), "a kind the game does not use");
   bytes_t nested = object(DAT_FILE, dat_writer().number(0).b);
   for (int depth = 0; depth < 10; depth++)
      nested = object(DAT_FILE, dat_writer().number(1).add(nested).b);
   expect_refused(datafile({nested}), "nested too deep");

   // Compressed files are refused whole: the library's decompressor can copy bytes it never wrote.
   bytes_t packed = read_file(QUORBIX_DAT);
   packed[3] = '!';
   expect_refused(packed, "not an uncompressed data file");
   expect_refused(bytes_t{}, "not an uncompressed data file");
}

// Objects the library reads safely pass the scan; the game still wants its own twelve.
TEST(DamagedDataFile, SoundFilesPassTheScan)
{
   std::vector<bytes_t> extras = {
      dat_writer().number(DAT_PROPERTY).number(DAT_NAME).number(5).fill(5, 'X').add(bitmap8(3, 2)).b,
      object(DAT_FILE, dat_writer().number(1).add(bitmap8(1, 1)).b),
      object(DAT_FONT, dat_writer().word(0).word(1).byte(1).number(65).number(66).word(8).word(2).fill(2).word(9).word(1).fill(2).b),
      object(DAT_DATA, bytes_t(7, 'q')),
   };
   bytes_t file = datafile(extras);
   char why[160] = "";
   EXPECT_TRUE(scan_datafile(file.data() + 4, file.size() - 4, why, sizeof(why))) << why;
   std::string reason;
   EXPECT_FALSE(loads(file, &reason));
   EXPECT_NE(reason.find("holds 4 objects"), std::string::npos) << reason;

   // The game's file with the same objects after its twelve is accepted.
   bytes_t longer = read_file(QUORBIX_DAT);
   for (const bytes_t &o : extras)
      longer.insert(longer.end(), o.begin(), o.end());
   longer[11] += (unsigned char)extras.size();
   EXPECT_TRUE(loads(longer, &reason)) << reason;
}

// A palette of fewer than 256 colours would have the game read past its end when it is installed.
TEST(DamagedDataFile, ShortPaletteIsRefused)
{
   ASSERT_NE(test_data, nullptr);
   std::vector<DATAFILE> d(test_data, test_data + TITLE_BMP + 2);
   char why[160] = "";
   ASSERT_TRUE(check_datafile(d.data(), why, sizeof(why))) << why;
   d[GAME_PAL].size = 4;
   EXPECT_FALSE(check_datafile(d.data(), why, sizeof(why)));
   EXPECT_STREQ(why, "quorbix.dat: the palette holds 4 bytes, the game needs 1024");
}

// Random bytes, bare or behind a data file's mark, are refused and never crash the loader.
TEST(DamagedDataFile, RandomBytesAreRefused)
{
   std::mt19937 rng(4242);
   int refused = 0;
   for (int i = 0; i < 400; i++) {
      bytes_t file;
      if (i % 2)
         file = {'s', 'l', 'h', '.', 'A', 'L', 'L', '.'};
      size_t n = rng() % 2048;
      for (size_t k = 0; k < n; k++)
         file.push_back((unsigned char)rng());
      refused += !loads(file);
   }
   EXPECT_EQ(refused, 400);
}

// A ship half over the left edge, just turned left (a negative heading), is drawn exactly as the
// library draws it a whole number of pixels further right, without undefined arithmetic.
TEST(EdgeDrawing, ShipOverTheLeftEdge)
{
   ASSERT_NE(test_data, nullptr);
   data = test_data;
   create_highscores();
   game_typ game;
   ASSERT_TRUE(setup_game(&game));
   clear_bitmap(game.background);
   for (pixel_typ &p : pixel)
      p.state = false;
   ship.x = -20;
   ship.y = 300;
   ship.angle = -4;
   compose_frame(&game);

   BITMAP *image = (BITMAP *)data[SHIP_BMP].dat;
   BITMAP *expect = create_bitmap(SCREEN_W, SCREEN_H);
   clear_bitmap(expect);
   rotate_sprite(expect, image, 20, 300, itofix(256 - 4));
   int lit = 0, differ = 0;
   for (int y = 280; y < 350; y++)
      for (int x = 0; x < 40; x++) {
         lit += getpixel(game.buffer, x, y) != 0;
         differ += getpixel(game.buffer, x, y) != getpixel(expect, x + 40, y);
      }
   destroy_bitmap(expect);
   teardown_game(&game);
   EXPECT_GT(lit, 50);
   EXPECT_EQ(differ, 0);
}

// Bytes of heap in use. glibc counts the small blocks its per-thread cache keeps for reuse as in
// use, and what that cache holds depends on history; so the cache is emptied first, by taking
// seven blocks (its depth) of each of its 64 sizes, which are held while counting.
static size_t heap_in_use()
{
#if defined(__SANITIZE_ADDRESS__)
   return __sanitizer_get_current_allocated_bytes();
#else
   std::vector<void *> held;
   held.reserve(64 * 7);
   for (size_t size_class = 0; size_class < 64; size_class++)
      for (int i = 0; i < 7; i++)
         held.push_back(malloc(size_class * 16 + 24));
   struct mallinfo2 m = mallinfo2();
   for (void *p : held)
      free(p);
   return m.uordblks + m.hblkhd;
#endif
}

// How far two counts of the heap may differ with nothing leaked: the sanitizer counts live bytes
// exactly; glibc's count also moves with the few hundred bytes other threads (the X connection's)
// hold for a moment, far less than one game's or one level's worth of bitmaps.
#if defined(__SANITIZE_ADDRESS__)
static const long HEAP_SLACK = 0;
#else
static const long HEAP_SLACK = 4096;
#endif

// Lets go of Enter from the timer thread, as the player would while the game waits for it.
static void let_go_of_enter()
{
   key[KEY_ENTER] = 0;
}

// Holds Enter while `action` runs, let go 30 ms later, until `done` says the action saw it
// (a slow frame may not look at Enter before it is let go); at most 20 tries.
template <class F, class D> static void with_enter_held(F action, D done)
{
   for (int tries = 0; tries < 20 && !done(); tries++) {
      hold_key(KEY_ENTER, true);
      install_int(let_go_of_enter, 30);
      action();
      remove_int(let_go_of_enter);
      key[KEY_ENTER] = 0;
   }
}

class Leaks : public testing::Test {
protected:
   void SetUp() override
   {
      ASSERT_NE(test_data, nullptr);
      data = test_data;
      release_all_keys();
      clear_keybuf();
      universal_control = CONTROL_ARROWS;
      create_highscores();
   }
   void TearDown() override { release_all_keys(); }
};

// The hundredth level start, drawing the same labels, holds the memory the first one did: exactly,
// under the sanitizer (LabelBitmapsReleased in the game's tests allows 256 KiB over 200 starts).
TEST_F(Leaks, LevelStartsHoldTheSameMemory)
{
   game_typ game;
   ASSERT_TRUE(setup_game(&game));
   srand(99);
   create_asteroids(3);
   size_t first = heap_in_use();
   for (int start = 2; start < 100; start++)
      create_asteroids(start % 12 + 1);
   srand(99);
   create_asteroids(3);
   size_t hundredth = heap_in_use();
   teardown_game(&game);
   EXPECT_LE(labs((long)hundredth - (long)first), HEAP_SLACK) << "first " << first << ", hundredth " << hundredth;
}

// Ten whole games, tick by tick with random controls: three levels each, the ship spent, a name
// typed when the score qualifies, Enter at "press enter". Afterwards the heap holds what it did
// before the first game; the sanitizer build's leak check at exit covers the rest.
TEST_F(Leaks, WholeGamesGiveBackTheirMemory)
{
   std::mt19937 rng(7);
   const int controls[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_A, KEY_S};
   size_t before = 0;
   int ticks = 0, names = 0;
   for (int played = 0; played < 10; played++) {
      if (played == 1)
         before = heap_in_use();
      game_typ game;
      ASSERT_TRUE(setup_game(&game));
      for (int level = 1; level <= 3; level++) {
         ASSERT_EQ(game.level, level);
         timer_1 = 200;
         logic_tick(&game);
         ASSERT_GT(game.asteroid_counter, 0);
         timer_1 = 300;
         timer_2 = 5;
         for (int t = 0; t < 150 && ship.life > 0; t++, ticks++) {
            for (int k : controls)
               hold_key(k, rng() % 3 == 0);
            logic_tick(&game);
            compose_frame(&game);
         }
         release_all_keys();
         ship.life = 100;
         for (sprite &a : asteroid)
            a.deystroy();
         timer_2 = 3;
         timer_1 = 500;
         logic_tick(&game);
      }
      game.score += played * 40;
      ship.life = 0;
      logic_tick(&game);
      if (game.input_name) {
         simulate_keypress('Z');
         logic_tick(&game);
         with_enter_held([&] { logic_tick(&game); }, [&] { return !game.input_name; });
         bool listed = false;
         for (const SCORES &e : high_scores)
            listed = listed || (strcmp(e.name, "Z") == 0 && e.score == game.score);
         EXPECT_TRUE(listed) << "game " << played << " scored " << game.score;
         names++;
      }
      ASSERT_FALSE(game.input_name);
      with_enter_held([&] { compose_frame(&game); }, [&] { return game.done; });
      ASSERT_TRUE(game.done);
      teardown_game(&game);
   }
   size_t after = heap_in_use();
   EXPECT_LE(labs((long)after - (long)before), HEAP_SLACK) << "before " << before << ", after " << after;
   EXPECT_GT(names, 0);
   printf("10 games, %d random ticks, %d names entered\n", ticks, names);
}
