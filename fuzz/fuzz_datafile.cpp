// libFuzzer harness for the data-file loader: any bytes as "quorbix.dat" go through the game's
// own loading path (scan, the library's load_datafile, the check of the twelve objects) and are
// either refused with a reason or give a file whose objects the game can use; nothing crashes,
// leaks or reads out of bounds.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include "alleg.h"
#include "quorbix.h"
#include "datafile.h"

static std::string input;

// Stops the run with a message when an invariant breaks.
static void require(bool ok, const char *what)
{
   if (!ok) {
      fprintf(stderr, "data-file invariant broken: %s\n", what);
      abort();
   }
}

// The library without any display, in the 8-bit mode the game uses; a private scratch file.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
   require(install_allegro(SYSTEM_NONE, &errno, atexit) == 0, "Allegro did not start");
   set_color_depth(8);
   // In memory where possible: every save is flushed to disk, which would slow the fuzzer down.
   std::string tmpl = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/quorbix-fuzz-data-XXXXXX";
   require(mkdtemp(&tmpl[0]) != nullptr, "no scratch folder");
   static std::string folder = tmpl;
   input = folder + "/quorbix.dat";
   atexit([] {
      unlink(input.c_str());
      rmdir(folder.c_str());
   });
   return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
   FILE *f = fopen(input.c_str(), "wb");
   require(f != nullptr, "cannot create the input file");
   require(fwrite(bytes, 1, size, f) == size, "cannot write the input file");
   fclose(f);

   char why[WHY_SIZE] = "";
   DATAFILE *d = load_checked_datafile(input.c_str(), why, sizeof(why));
   if (!d) {
      require(why[0] != '\0', "a refusal without a reason");
      return 0;
   }
   // What the game does with an accepted file: the palette, a text in each font, each picture.
   BITMAP *canvas = create_bitmap(64, 32);
   require(canvas != nullptr, "no canvas");
   PALETTE colours;
   memcpy(colours, d[GAME_PAL].dat, sizeof(colours));
   for (int n = FONT_MAIN; n <= FONT_TITLE; n++)
      textout(canvas, (FONT *)d[n].dat, "Quorbix 0.9", 0, 0, 15);
   const int pictures[] = {BULLET_1, BULLET_2, BULLET_DIE_1, BULLET_DIE_2, BULLET_DIE_3, SHIP_BMP, TITLE_BMP};
   for (int n : pictures)
      rotate_sprite(canvas, (BITMAP *)d[n].dat, 0, 0, itofix(32));
   destroy_bitmap(canvas);
   unload_datafile(d);
   return 0;
}
