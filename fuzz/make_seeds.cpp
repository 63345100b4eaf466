// Writes the seed corpus of the fuzz harnesses: the default score table as the game saves
// it, and a copy of the game's data file.
#include <cstdio>
#include <string>
#include "highscores.h"

// Copies a file byte for byte.
static bool copy_file(const char *from, const std::string &to)
{
   FILE *in = fopen(from, "rb");
   FILE *out = fopen(to.c_str(), "wb");
   bool ok = in && out;
   int c;
   while (ok && (c = fgetc(in)) != EOF)
      ok = fputc(c, out) != EOF;
   if (in)
      fclose(in);
   if (out)
      ok = fclose(out) == 0 && ok;
   return ok;
}

int main(int argc, char **argv)
{
   if (argc != 3) {
      fprintf(stderr, "usage: make_seeds QUORBIX_DAT SEED_FOLDER\n");
      return 2;
   }
   std::string seeds = argv[2];
   create_highscores();
   bool ok = save_highscores((seeds + "/scores/default.hi").c_str());
   remove((seeds + "/scores/default.hi.lock").c_str());   // the save's lock file is no seed
   ok = copy_file(argv[1], seeds + "/data/quorbix.dat") && ok;
   if (!ok)
      fprintf(stderr, "make_seeds: could not write the seeds in %s\n", argv[2]);
   return ok ? 0 : 1;
}
