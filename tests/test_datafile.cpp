// quorbix.dat damaged: the check and the scan refuse it with the reason.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "datafile.h"
#include "quorbix.h"
#include "support.h"

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
// (read past its end when installed); numbers the library would trust (a count of -1 writes past its objects, kind -1
// calls a null loader, an empty font or glyph never ends a row, a packed file is misread). Whole ones pass the scan.
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
      char why[WHY_SIZE] = "";
      EXPECT_FALSE(check_datafile(d.data(), DATA_FILE, why, sizeof(why)));
      EXPECT_STREQ(why, c.why);
   }
   auto file = [](int32_t count) { return dat().add("slh.").n(DAT_MAGIC).n(count); };
   auto one = [&](int32_t kind, const dat &contents) { return file(1).object(kind, contents); };
   auto bitmap = [&](int bits, int w, int h, size_t n) { return one(DAT_BITMAP, dat().w(bits).w(w).w(h).c(0, n)); };
   auto font = [&](int ranges, const dat &glyphs) { return one(DAT_FONT, dat().w(0).w(ranges).add(glyphs.b)); };
   auto mono = [](int32_t begin, int32_t end) { return dat().c(1).n(begin).n(end); };
   std::vector<dat> nested(1, dat().n(0));                    // nested[k]: a list k data files deep
   for (int depth = 0; depth < 8; depth++)
      nested.push_back(dat().n(1).object(DAT_FILE, nested.back()));
   const struct { const char *fault; dat file; } cases[] = {
      {"object count", file(-1)}, {"object count", file(0x7f000000)}, {"no kind", one(DAT_END, dat().c(0, 4))},
      {"nested too deep", one(DAT_FILE, nested[8])}, {"property cut short", file(1).n(DAT_PROPERTY).n(DAT_NAME).n(-1)},
      {"named like the end", file(1).n(DAT_PROPERTY).n(DAT_END).n(0).object(DAT_DATA, dat())},
      {"longer than the file", file(1).n(DAT_DATA).n(1 << 30).n(1 << 30)}, {"unknown colour depth", bitmap(7, 2, 2, 4)},
      {"compressed on its own", file(1).n(DAT_DATA).n(4).n(-8).c(0, 4)}, {"without a size", bitmap(8, 0, 5, 0)},
      {"uncompressed", dat().add("slh!").n(DAT_MAGIC).n(0)}, {"does not use", one(DAT_SAMPLE, dat().c(0, 16))},
      {"bitmap cut short", bitmap(8, 65535, 65535, 0)}, {"bitmap cut short", bitmap(16, 4, 4, 31)},
      {"holds 1 objects", bitmap(16, 4, 4, 32)}, {"holds 0 objects", file(0)}, {"holds 1 objects", one(DAT_DATA, dat())},
      {"holds 1 objects", font(1, mono(65, 65).w(32767).w(1).c(0, 4096))}, {"holds 1 objects", one(DAT_FILE, nested[7])},
      {"without a size", one(DAT_BITMAP, dat().w(8).c(1))}, {"old format", one(DAT_FONT, dat().w(8).c(0, 64))},
      {"without glyphs", font(0, dat())}, {"range cut short (byte 33)", font(1, mono(0, 0x3fffffff).c(0, 16))},
      {"out of order", font(1, mono(90, 65))}, {"holds 1 objects", font(1, dat().c(0).n(65).n(65).w(2).w(2).c(7, 4))},
      {"glyph of no size or out of range (byte 37)", font(1, mono(65, 65).w(0).w(14))},
      {"glyph of no size or out of range (byte 37)", font(1, mono(65, 65).w(40000).w(1).c(0, 5000))},
      {"glyph cut short (byte 37)", font(1, mono(65, 65).w(10).w(1).c(0))},
      {"mixed glyph kinds (byte 47)", font(2, mono(32, 32).w(8).w(1).c(0).c(8).n(33).n(33))},
      {"mixed glyph kinds (byte 47)", font(2, dat().c(255).n(32).n(32).w(8).w(1).c(0).c(8).n(33).n(33))}};
   for (const auto &c : cases) {
      write_file("quorbix.dat", c.file.b);
      char why[WHY_SIZE] = "";
      EXPECT_EQ(load_checked_datafile("quorbix.dat", why, sizeof(why)), nullptr) << c.fault;
      EXPECT_NE(strstr(why, c.fault), nullptr) << c.fault << ": " << why;
   }
}
