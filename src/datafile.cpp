// The game's data file: a scan of its structure before the library reads it,
// the load, and the check of the twelve objects the game uses.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>
#include "alleg.h"
#include "datafile.h"
#include "quorbix.h"

static const char *const DATA_FILE = "quorbix.dat";

// The kind each of the game's objects must have, by position.
static const int object_kinds[TITLE_BMP + 1] = {
   DAT_PALETTE,                                                  // GAME_PAL
   DAT_BITMAP, DAT_BITMAP, DAT_BITMAP, DAT_BITMAP, DAT_BITMAP,   // bullet frames
   DAT_FONT, DAT_FONT, DAT_FONT, DAT_FONT,                       // FONT_MAIN .. FONT_TITLE
   DAT_BITMAP, DAT_BITMAP                                        // SHIP_BMP, TITLE_BMP
};

// Spells a data-file kind as the four letters the library uses for it.
static void kind_name(int kind, char out[5])
{
   out[0] = (char)((kind >> 24) & 0xff);
   out[1] = (char)((kind >> 16) & 0xff);
   out[2] = (char)((kind >> 8) & 0xff);
   out[3] = (char)(kind & 0xff);
   out[4] = '\0';
}

// Counts the objects and checks the kind of each one the game uses.
bool check_datafile(DATAFILE *d, char *why, size_t why_size)
{
   const int needed = TITLE_BMP + 1;
   int count = 0;
   while (count < needed && d[count].type != DAT_END)
      count++;
   if (count < needed) {
      snprintf(why, why_size, "%s holds %d objects, the game needs %d", DATA_FILE, count, needed);
      return false;
   }
   for (int n = 0; n < needed; n++) {
      if (d[n].type != object_kinds[n] || !d[n].dat) {
         char want[5], got[5];
         kind_name(object_kinds[n], want);
         kind_name(d[n].type, got);
         snprintf(why, why_size, "%s: object %d is %s, the game needs %s", DATA_FILE, n, got, want);
         return false;
      }
   }
   if (d[GAME_PAL].size < (long)sizeof(PALETTE)) {
      snprintf(why, why_size, "%s: the palette holds %ld bytes, the game needs %d",
               DATA_FILE, d[GAME_PAL].size, (int)sizeof(PALETTE));
      return false;
   }
   return true;
}

// The library trusts every number in a data file: a truncated or damaged file makes it
// call a loader that does not exist, write past the end of its object array or allocate
// gigabytes. So the file's structure is walked here first, as the library will read it.
static const size_t MAX_DATA_BYTES = 16 << 20;   // far above the game's file; bounds a damaged one
static const int MAX_NESTING = 8;                // data files inside data files
static const size_t MIN_OBJECT_BYTES = 12;       // an object's kind and its two sizes

// Big-endian numbers read from a byte range that never runs past its end.
struct byte_reader_typ {
   const unsigned char *p;
   size_t left;

   // Takes n bytes; false when fewer are left.
   bool skip(size_t n)
   {
      if (n > left)
         return false;
      p += n;
      left -= n;
      return true;
   }
   // One byte, as pack_getc gives it.
   bool byte(int *v)
   {
      if (left < 1)
         return false;
      *v = p[0];
      return skip(1);
   }
   // A 16-bit word, as pack_mgetw gives it.
   bool word(int *v)
   {
      if (left < 2)
         return false;
      *v = p[0] << 8 | p[1];
      return skip(2);
   }
   // A 32-bit signed number, as pack_mgetl gives it.
   bool number(int32_t *v)
   {
      if (left < 4)
         return false;
      *v = (int32_t)((uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | (uint32_t)p[3]);
      return skip(4);
   }
};

// Says why the scan stopped; always false, so a check can return it.
static bool refuse(char *why, size_t why_size, const char *reason, size_t offset)
{
   snprintf(why, why_size, "%s is damaged: %s (byte %zu)", DATA_FILE, reason, offset);
   return false;
}

// The bytes one pixel takes in the file, for the colour depths the library reads; 0 for others.
static size_t pixel_bytes(int bits)
{
   switch (bits) {
   case 8: return 1;
   case 15: case 16: return 2;
   case 24: return 3;
   case 32: case -32: return 4;
   default: return 0;
   }
}

// Width, height and pixels of a bitmap of the given depth, all within the object.
static bool scan_pixels(byte_reader_typ *r, int bits, size_t base, char *why, size_t why_size)
{
   int w, h;
   size_t bytes = pixel_bytes(bits);
   if (!bytes)
      return refuse(why, why_size, "a bitmap of an unknown colour depth", base - r->left);
   if (!r->word(&w) || !r->word(&h) || w == 0 || h == 0)
      return refuse(why, why_size, "a bitmap without a size", base - r->left);
   if (!r->skip((size_t)w * (size_t)h * bytes))
      return refuse(why, why_size, "a bitmap cut short", base - r->left);
   return true;
}

// A bitmap object: its colour depth, then its pixels.
static bool scan_bitmap(byte_reader_typ r, size_t base, char *why, size_t why_size)
{
   int bits;
   if (!r.word(&bits))
      return refuse(why, why_size, "a bitmap cut short", base - r.left);
   return scan_pixels(&r, (int16_t)bits, base, why, why_size);
}

// A font object in the library's current format: ranges of monochrome or colour glyphs.
static bool scan_font(byte_reader_typ r, size_t base, char *why, size_t why_size)
{
   int old_height, ranges;
   if (!r.word(&old_height) || old_height != 0)
      return refuse(why, why_size, "a font in an old format", base - r.left);
   if (!r.word(&ranges) || ranges == 0)
      return refuse(why, why_size, "a font without glyphs", base - r.left);
   int first_mono = -1;
   while (ranges--) {
      int depth;
      int32_t begin, end;
      if (!r.byte(&depth) || !r.number(&begin) || !r.number(&end) || end < begin || end == INT32_MAX)
         return refuse(why, why_size, "a font range out of order", base - r.left);
      // The library keeps one set of operations per font: mixed ranges would be misread.
      int mono = depth == 1 || depth == 255;
      if (first_mono >= 0 && mono != first_mono)
         return refuse(why, why_size, "a font of mixed glyph kinds", base - r.left);
      first_mono = mono;
      // Every glyph takes at least four bytes, which bounds what the library allocates.
      int64_t glyphs = (int64_t)end - begin + 1;
      if (glyphs > (int64_t)(r.left / 4))
         return refuse(why, why_size, "a font range cut short", base - r.left);
      for (int64_t g = 0; g < glyphs; g++) {
         if (mono) {
            // The library keeps a glyph's size in shorts and draws at least one pixel of every row.
            int w, h;
            if (!r.word(&w) || !r.word(&h) || w == 0 || h == 0 || w > INT16_MAX || h > INT16_MAX)
               return refuse(why, why_size, "a glyph of no size or out of range", base - r.left);
            if (!r.skip((size_t)((w + 7) / 8) * (size_t)h))
               return refuse(why, why_size, "a glyph cut short", base - r.left);
         } else if (!scan_pixels(&r, depth == 0 ? 8 : depth, base, why, why_size)) {
            return false;
         }
      }
   }
   return true;
}

// Declared ahead: a data file can hold data files.
static bool scan_objects(byte_reader_typ r, size_t base, int nesting, char *why, size_t why_size);

// One object: its kind, its two sizes and its contents, checked by kind.
static bool scan_object(byte_reader_typ *r, int32_t type, size_t base, int nesting, char *why, size_t why_size)
{
   int32_t stored, unpacked;
   if (type == DAT_END)
      return refuse(why, why_size, "an object of no kind", base - r->left);
   if (!r->number(&stored) || !r->number(&unpacked))
      return refuse(why, why_size, "an object cut short", base - r->left);
   if (unpacked < 0)
      return refuse(why, why_size, "an object compressed on its own", base - r->left);
   if (stored != unpacked || (size_t)stored > r->left)
      return refuse(why, why_size, "an object longer than the file", base - r->left);
   byte_reader_typ contents = {r->p, (size_t)stored};
   size_t contents_base = base - r->left + contents.left;
   r->skip((size_t)stored);
   switch (type) {
   case DAT_FILE:
      return scan_objects(contents, contents_base, nesting + 1, why, why_size);
   case DAT_BITMAP:
      return scan_bitmap(contents, contents_base, why, why_size);
   case DAT_FONT:
      return scan_font(contents, contents_base, why, why_size);
   case DAT_SAMPLE: case DAT_MIDI: case DAT_RLE_SPRITE: case DAT_C_SPRITE: case DAT_XC_SPRITE:
      return refuse(why, why_size, "an object of a kind the game does not use", base - r->left);
   default:
      return true;   // read as plain bytes, as many as the object says it holds
   }
}

// A list of objects: their count, then each with the properties before it.
static bool scan_objects(byte_reader_typ r, size_t base, int nesting, char *why, size_t why_size)
{
   int32_t count;
   if (nesting > MAX_NESTING)
      return refuse(why, why_size, "data files nested too deep", base - r.left);
   if (!r.number(&count) || count < 0 || (size_t)count > r.left / MIN_OBJECT_BYTES)
      return refuse(why, why_size, "an object count out of range", base - r.left);
   for (int32_t c = 0; c < count;) {
      int32_t type;
      if (!r.number(&type))
         return refuse(why, why_size, "fewer objects than counted", base - r.left);
      if (type == DAT_PROPERTY) {
         int32_t name, size;
         if (!r.number(&name) || !r.number(&size) || size < 0 || !r.skip((size_t)size))
            return refuse(why, why_size, "a property cut short", base - r.left);
         // The library ends its property lists with that name, so such a property is never freed.
         if (name == DAT_END)
            return refuse(why, why_size, "a property named like the end of a list", base - r.left);
         continue;
      }
      if (!scan_object(&r, type, base, nesting, why, why_size))
         return false;
      c++;
   }
   return true;
}

// Checks the contents of a data file that follow its 4-byte mark.
bool scan_datafile(const unsigned char *bytes, size_t size, char *why, size_t why_size)
{
   byte_reader_typ r = {bytes, size};
   int32_t magic;
   if (!r.number(&magic) || magic != DAT_MAGIC)
      return refuse(why, why_size, "not a data file", 0);
   return scan_objects(r, size, 0, why, why_size);
}

// Reads a data file's contents after its 4-byte mark, which must say "stored uncompressed": the
// library's decompressor can copy bytes it never wrote, so a compressed file could unpack to
// other contents for the library than for the scan. The game's own file is never compressed.
static bool read_datafile_bytes(const char *file, std::vector<unsigned char> *bytes, char *why, size_t why_size)
{
   FILE *f = fopen(file, "rb");
   if (!f) {
      snprintf(why, why_size, "%s is missing or unreadable", DATA_FILE);
      return false;
   }
   unsigned char block[65536];
   size_t got;
   while ((got = fread(block, 1, sizeof(block), f)) > 0 && bytes->size() <= MAX_DATA_BYTES)
      bytes->insert(bytes->end(), block, block + got);
   bool failed = ferror(f) != 0;
   fclose(f);
   const unsigned char plain_mark[4] = {'s', 'l', 'h', '.'};
   if (failed)
      snprintf(why, why_size, "%s is unreadable", DATA_FILE);
   else if (bytes->size() > MAX_DATA_BYTES)
      snprintf(why, why_size, "%s is larger than %zu bytes", DATA_FILE, MAX_DATA_BYTES);
   else if (bytes->size() < sizeof(plain_mark) || memcmp(bytes->data(), plain_mark, sizeof(plain_mark)) != 0)
      snprintf(why, why_size, "%s is not an uncompressed data file", DATA_FILE);
   else
      return true;
   return false;
}

// Scans the file, then has the library load it, then checks the objects the game uses.
DATAFILE *load_checked_datafile(const char *file, char *why, size_t why_size)
{
   std::vector<unsigned char> bytes;
   if (!read_datafile_bytes(file, &bytes, why, why_size))
      return nullptr;
   if (!scan_datafile(bytes.data() + 4, bytes.size() - 4, why, why_size))
      return nullptr;
   DATAFILE *d = load_datafile(file);
   if (!d) {
      snprintf(why, why_size, "%s could not be loaded", DATA_FILE);
      return nullptr;
   }
   if (!check_datafile(d, why, why_size)) {
      unload_datafile(d);
      return nullptr;
   }
   return d;
}
