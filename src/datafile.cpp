// The game's data file: a scan of its structure before the library reads it,
// the load, and the check of the twelve objects the game uses.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>
#include "alleg.h"
#include "datafile.h"
#include "quorbix.h"

// Where a refusal's reason goes, and the file it names.
struct reason_typ {
   const char *file;
   char *text;
   size_t size;
};

// Writes the reason, the file's name first; always false, so a check can return it.
static bool say(const reason_typ *why, const char *format, ...)
{
   int named = snprintf(why->text, why->size, "%s", why->file);
   if (named < 0 || (size_t)named >= why->size)
      return false;
   va_list args;
   va_start(args, format);
   vsnprintf(why->text + named, why->size - named, format, args);
   va_end(args);
   return false;
}

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
bool check_datafile(DATAFILE *d, const char *file, char *why_text, size_t why_size)
{
   const reason_typ why = {file, why_text, why_size};
   const int needed = TITLE_BMP + 1;
   int count = 0;
   while (count < needed && d[count].type != DAT_END)
      count++;
   if (count < needed)
      return say(&why, " holds %d objects, the game needs %d", count, needed);
   for (int n = 0; n < needed; n++) {
      if (d[n].type != object_kinds[n] || !d[n].dat) {
         char want[5], got[5];
         kind_name(object_kinds[n], want);
         kind_name(d[n].type, got);
         return say(&why, ": object %d is %s, the game needs %s", n, got, want);
      }
   }
   if (d[GAME_PAL].size < (long)sizeof(PALETTE))
      return say(&why, ": the palette holds %ld bytes, the game needs %d", d[GAME_PAL].size, (int)sizeof(PALETTE));
   return true;
}

// The library trusts every number in a data file: a truncated or damaged file makes it
// call a loader that does not exist, write past the end of its object array or allocate
// gigabytes. So the file's structure is walked here first, as the library will read it.
static const size_t MAX_DATA_BYTES = 16 << 20;   // far above the game's file; bounds a damaged one
static const int MAX_NESTING = 8;                // data files inside data files
static const size_t MIN_OBJECT_BYTES = 12;       // an object's kind and its two sizes

// Big-endian numbers read from a byte range that never runs past its end; it knows where it is in
// the file's contents and where a refusal's reason goes.
struct byte_reader_typ {
   const unsigned char *p;
   size_t left;
   size_t at;                  // offset of p in the contents after the file's 4-byte mark
   const reason_typ *why;

   // Takes n bytes; false when fewer are left.
   bool skip(size_t n)
   {
      if (n > left)
         return false;
      p += n;
      at += n;
      left -= n;
      return true;
   }
   // Says why the scan stopped, and where; always false.
   bool refuse(const char *reason) const { return say(why, " is damaged: %s (byte %zu)", reason, at); }
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
static bool scan_pixels(byte_reader_typ *r, int bits)
{
   int w, h;
   size_t bytes = pixel_bytes(bits);
   if (!bytes)
      return r->refuse("a bitmap of an unknown colour depth");
   if (!r->word(&w) || !r->word(&h) || w == 0 || h == 0)
      return r->refuse("a bitmap without a size");
   if (!r->skip((size_t)w * (size_t)h * bytes))
      return r->refuse("a bitmap cut short");
   return true;
}

// A bitmap object: its colour depth, then its pixels.
static bool scan_bitmap(byte_reader_typ r)
{
   int bits;
   if (!r.word(&bits))
      return r.refuse("a bitmap cut short");
   return scan_pixels(&r, (int16_t)bits);
}

// A font object in the library's current format: ranges of monochrome or colour glyphs.
static bool scan_font(byte_reader_typ r)
{
   int old_height, ranges;
   if (!r.word(&old_height) || old_height != 0)
      return r.refuse("a font in an old format");
   if (!r.word(&ranges) || ranges == 0)
      return r.refuse("a font without glyphs");
   int first_mono = -1;
   while (ranges--) {
      int depth;
      int32_t begin, end;
      if (!r.byte(&depth) || !r.number(&begin) || !r.number(&end) || end < begin || end == INT32_MAX)
         return r.refuse("a font range out of order");
      // The library keeps one set of operations per font: mixed ranges would be misread.
      int mono = depth == 1 || depth == 255;
      if (first_mono >= 0 && mono != first_mono)
         return r.refuse("a font of mixed glyph kinds");
      first_mono = mono;
      // Every glyph takes at least four bytes, which bounds what the library allocates.
      int64_t glyphs = (int64_t)end - begin + 1;
      if (glyphs > (int64_t)(r.left / 4))
         return r.refuse("a font range cut short");
      for (int64_t g = 0; g < glyphs; g++) {
         if (mono) {
            // The library keeps a glyph's size in shorts and draws at least one pixel of every row.
            int w, h;
            if (!r.word(&w) || !r.word(&h) || w == 0 || h == 0 || w > INT16_MAX || h > INT16_MAX)
               return r.refuse("a glyph of no size or out of range");
            if (!r.skip((size_t)((w + 7) / 8) * (size_t)h))
               return r.refuse("a glyph cut short");
         } else if (!scan_pixels(&r, depth == 0 ? 8 : depth)) {
            return false;
         }
      }
   }
   return true;
}

// Declared ahead: a data file can hold data files.
static bool scan_objects(byte_reader_typ r, int nesting);

// One object: its kind, its two sizes and its contents, checked by kind.
static bool scan_object(byte_reader_typ *r, int32_t type, int nesting)
{
   int32_t stored, unpacked;
   if (type == DAT_END)
      return r->refuse("an object of no kind");
   if (!r->number(&stored) || !r->number(&unpacked))
      return r->refuse("an object cut short");
   if (unpacked < 0)
      return r->refuse("an object compressed on its own");
   if (stored != unpacked || (size_t)stored > r->left)
      return r->refuse("an object longer than the file");
   const byte_reader_typ contents = {r->p, (size_t)stored, r->at, r->why};
   r->skip((size_t)stored);
   switch (type) {
   case DAT_FILE:
      return scan_objects(contents, nesting + 1);
   case DAT_BITMAP:
      return scan_bitmap(contents);
   case DAT_FONT:
      return scan_font(contents);
   case DAT_SAMPLE: case DAT_MIDI: case DAT_RLE_SPRITE: case DAT_C_SPRITE: case DAT_XC_SPRITE:
      return r->refuse("an object of a kind the game does not use");
   default:
      return true;   // read as plain bytes, as many as the object says it holds
   }
}

// A list of objects: their count, then each with the properties before it.
static bool scan_objects(byte_reader_typ r, int nesting)
{
   int32_t count;
   if (nesting > MAX_NESTING)
      return r.refuse("data files nested too deep");
   if (!r.number(&count) || count < 0 || (size_t)count > r.left / MIN_OBJECT_BYTES)
      return r.refuse("an object count out of range");
   for (int32_t c = 0; c < count;) {
      int32_t type;
      if (!r.number(&type))
         return r.refuse("fewer objects than counted");
      if (type == DAT_PROPERTY) {
         int32_t name, size;
         if (!r.number(&name) || !r.number(&size) || size < 0 || !r.skip((size_t)size))
            return r.refuse("a property cut short");
         // The library ends its property lists with that name, so such a property is never freed.
         if (name == DAT_END)
            return r.refuse("a property named like the end of a list");
         continue;
      }
      if (!scan_object(&r, type, nesting))
         return false;
      c++;
   }
   return true;
}

// Checks the contents of a data file that follow its 4-byte mark.
bool scan_datafile(const unsigned char *bytes, size_t size, const char *file, char *why_text, size_t why_size)
{
   const reason_typ why = {file, why_text, why_size};
   const byte_reader_typ start = {bytes, size, 0, &why};
   byte_reader_typ r = start;
   int32_t magic;
   if (!r.number(&magic) || magic != DAT_MAGIC)
      return start.refuse("not a data file");
   return scan_objects(r, 0);
}

// Reads a data file's contents after its 4-byte mark, which must say "stored uncompressed": the
// library's decompressor can copy bytes it never wrote, so a compressed file could unpack to
// other contents for the library than for the scan. The game's own file is never compressed.
static bool read_datafile_bytes(const reason_typ *why, std::vector<unsigned char> *bytes)
{
   FILE *f = fopen(why->file, "rb");
   if (!f)
      return say(why, " is missing or unreadable");
   unsigned char block[65536];
   size_t got;
   while ((got = fread(block, 1, sizeof(block), f)) > 0 && bytes->size() <= MAX_DATA_BYTES)
      bytes->insert(bytes->end(), block, block + got);
   bool failed = ferror(f) != 0;
   fclose(f);
   const unsigned char plain_mark[4] = {'s', 'l', 'h', '.'};
   if (failed)
      return say(why, " is unreadable");
   if (bytes->size() > MAX_DATA_BYTES)
      return say(why, " is larger than %zu bytes", MAX_DATA_BYTES);
   if (bytes->size() < sizeof(plain_mark) || memcmp(bytes->data(), plain_mark, sizeof(plain_mark)) != 0)
      return say(why, " is not an uncompressed data file");
   return true;
}

// Scans the file, then has the library load it, then checks the objects the game uses.
DATAFILE *load_checked_datafile(const char *file, char *why_text, size_t why_size)
{
   const reason_typ why = {file, why_text, why_size};
   std::vector<unsigned char> bytes;
   if (!read_datafile_bytes(&why, &bytes))
      return nullptr;
   if (!scan_datafile(bytes.data() + 4, bytes.size() - 4, file, why_text, why_size))
      return nullptr;
   DATAFILE *d = load_datafile(file);
   if (!d) {
      say(&why, " could not be loaded");
      return nullptr;
   }
   if (!check_datafile(d, file, why_text, why_size)) {
      unload_datafile(d);
      return nullptr;
   }
   return d;
}
