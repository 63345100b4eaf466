// Test main (Allegro up, the data file through the game's own check, a fresh folder) and shared helpers.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>
#include "datafile.h"
#include "stringz.h"
#include "support.h"
#include "window.h"

DATAFILE *test_data = nullptr;

void release_all_keys()
{
   std::fill(key, key + KEY_MAX, 0);
}

void end_entry_pause()
{
   char scratch[2] = "";
   for (int i = 0; i < 2; i++)   // the game's and the tests' pauses are at most 2 calls long
      get_keyboard_input(scratch, 0, 2);
}

void press_key(int scancode, int ms)
{
   key[scancode] = 1;
   std::thread([scancode, ms] {
      rest(ms);
      key[scancode] = 0;
   }).detach();
}

std::string read_file(const char *name)
{
   std::ifstream f(name, std::ios::binary);
   return std::string(std::istreambuf_iterator<char>(f), {});
}

void write_file(const char *name, const std::string &bytes)
{
   std::ofstream(name, std::ios::binary) << bytes;
}

ink ink_in(BITMAP *bmp, int x1, int y1, int x2, int y2)
{
   ink k;
   for (int y = y1; y <= y2; y++)
      for (int x = x1; x <= x2; x++)
         if (int c = getpixel(bmp, x, y)) {
            k.count++;
            k.min_x = std::min(k.min_x, x);
            k.max_x = std::max(k.max_x, x);
            k.min_y = std::min(k.min_y, y);
            k.max_y = std::max(k.max_y, y);
            k.colors.insert(c);
         }
   return k;
}

int rows_differing(BITMAP *a, int ax, int ay, BITMAP *b, int bx, int by, int w, int h)
{
   int rows = 0;
   for (int y = 0; y < h; y++)
      rows += memcmp(a->line[ay + y] + ax, b->line[by + y] + bx, w) != 0;
   return rows;
}

int main(int argc, char **argv)
{
   testing::InitGoogleTest(&argc, argv);

   if (!open_game_window())
      return 2;
   char why[WHY_SIZE] = "";
   if (!(test_data = load_checked_datafile(QUORBIX_DAT, why, sizeof(why))))
      fprintf(stderr, "%s\n", why);

   namespace fs = std::filesystem;    // a fresh folder for the files the tests write
   const fs::path dir = fs::temp_directory_path() / ("quorbix-test-" + std::to_string(std::random_device()()));
   std::error_code error;
   const bool made = fs::create_directory(dir, error);
   if (made)
      fs::current_path(dir, error);
   if (!made || error) {
      fprintf(stderr, "no fresh temporary folder %s\n", dir.string().c_str());
      return 2;
   }
   int result = RUN_ALL_TESTS();
   fs::current_path(dir.parent_path());
   if (fs::remove_all(dir, error) == 0 || error)
      fprintf(stderr, "could not remove %s\n", dir.string().c_str());
   return result;
}
END_OF_MAIN()  // on Windows the library's WinMain hands the command line to this main
