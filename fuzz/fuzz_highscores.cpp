// libFuzzer harness for the score-file loader: any bytes as "scores.hi" load into a table of
// terminated names; whole records load exactly, the rest of the table keeps what it held; and
// the loaded table saves and loads back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include "highscores.h"

static std::string folder;

// Stops the run with a message when an invariant breaks.
static void require(bool ok, const char *what)
{
   if (!ok) {
      fprintf(stderr, "score-file invariant broken: %s\n", what);
      abort();
   }
}

// Writes the bytes to a file in the harness's own folder.
static void write_bytes(const std::string &name, const uint8_t *bytes, size_t size)
{
   FILE *f = fopen(name.c_str(), "wb");
   require(f != nullptr, "cannot create the input file");
   require(fwrite(bytes, 1, size, f) == size, "cannot write the input file");
   fclose(f);
}

// A private scratch folder, removed at exit.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
   // In memory where possible: every save is flushed to disk, which would slow the fuzzer down.
   std::string tmpl = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/quorbix-fuzz-scores-XXXXXX";
   require(mkdtemp(&tmpl[0]) != nullptr, "no scratch folder");
   folder = tmpl;
   atexit([] {
      unlink((folder + "/in.hi").c_str());
      unlink((folder + "/out.hi").c_str());
      unlink((folder + "/out.hi.lock").c_str());
      rmdir(folder.c_str());
   });
   return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
   const std::string in = folder + "/in.hi", out = folder + "/out.hi";
   write_bytes(in, bytes, size);

   // A table of 9-letter names and negative scores, to tell which entries the load replaced.
   SCORES before[NUM_HIGH_SCORES];
   for (int k = 0; k < NUM_HIGH_SCORES; k++) {
      memset(high_scores[k].name, 'a' + k, MAX_NAME_LENGTH);
      high_scores[k].name[MAX_NAME_LENGTH] = '\0';
      high_scores[k].score = -1000 - k;
      before[k] = high_scores[k];
   }
   require(load_highscores(in.c_str()), "an existing file did not load");

   for (int k = 0; k < NUM_HIGH_SCORES; k++) {
      const SCORES &e = high_scores[k];
      require(memchr(e.name, '\0', NAME_FIELD_SIZE) != nullptr, "a name without its terminating zero");
      size_t start = (size_t)k * SCORE_RECORD_SIZE;
      if (size < start + SCORE_RECORD_SIZE) {
         require(memcmp(&e, &before[k], sizeof(e)) == 0, "an entry past the end of the file changed");
         continue;
      }
      const uint8_t *rec = bytes + start;
      size_t len = strnlen((const char *)rec, MAX_NAME_LENGTH);
      require(strlen(e.name) == len && memcmp(e.name, rec, len) == 0, "a name differs from its record");
      uint32_t v = rec[12] | rec[13] << 8 | rec[14] << 16 | (uint32_t)rec[15] << 24;
      require(e.score == (int32_t)v, "a score differs from its record");
   }

   SCORES loaded[NUM_HIGH_SCORES];
   memcpy(loaded, high_scores, sizeof(loaded));
   unlink(out.c_str());   // else the save would merge in the last run's table
   require(save_highscores(out.c_str()), "the loaded table did not save");
   memset(high_scores, 0, sizeof(high_scores));
   require(load_highscores(out.c_str()), "the saved table did not load");
   for (int k = 0; k < NUM_HIGH_SCORES; k++) {
      require(strcmp(high_scores[k].name, loaded[k].name) == 0, "a name changed through a save");
      require(high_scores[k].score == loaded[k].score, "a score changed through a save");
   }
   return 0;
}
