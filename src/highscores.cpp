// The high-score table and "scores.hi": 7 records of 16 bytes, no header.
// Record layout: name (10 bytes, zero-terminated), 2 bytes of padding, score
// (32-bit signed, little-endian). Saving goes through a temporary file that is
// renamed over the old one, so a failed or interrupted save never tears it.
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include "highscores.h"

SCORES high_scores[NUM_HIGH_SCORES];

static const int SCORE_OFFSET = 12;  // where the score sits inside a record

static const SCORES default_scores[NUM_HIGH_SCORES] = {
   {"Morwick", 100}, {"Tallo", 90}, {"Brenna", 75}, {"Quill", 50},
   {"Dastor", 30}, {"Fennig", 20}, {"Ulmar", 15}
};

// Copies one record from the file image into a table entry, keeping the name terminated.
static void unpack_record(const unsigned char *rec, SCORES *entry)
{
   memcpy(entry->name, rec, NAME_FIELD_SIZE);
   entry->name[MAX_NAME_LENGTH] = '\0';
   const unsigned char *s = rec + SCORE_OFFSET;
   entry->score = (int32_t)((uint32_t)s[0] | (uint32_t)s[1] << 8 | (uint32_t)s[2] << 16 | (uint32_t)s[3] << 24);
}

// Writes one table entry as a record of the file image.
static void pack_record(const SCORES *entry, unsigned char *rec)
{
   memset(rec, 0, SCORE_RECORD_SIZE);
   memcpy(rec, entry->name, NAME_FIELD_SIZE);
   uint32_t v = (uint32_t)entry->score;
   unsigned char *s = rec + SCORE_OFFSET;
   s[0] = v & 0xff;
   s[1] = (v >> 8) & 0xff;
   s[2] = (v >> 16) & 0xff;
   s[3] = (v >> 24) & 0xff;
}

// Reads up to 112 bytes; whole records only replace table entries, the rest keep theirs.
bool load_highscores(const char *file)
{
   FILE *f = fopen(file, "rb");
   if (!f)
      return false;
   unsigned char image[SCORE_FILE_SIZE];
   size_t got = fread(image, 1, sizeof(image), f);
   fclose(f);
   for (int k = 0; k < NUM_HIGH_SCORES; k++) {
      size_t start = (size_t)k * SCORE_RECORD_SIZE;
      if (got < start + SCORE_RECORD_SIZE)
         break;
      unpack_record(image + start, &high_scores[k]);
   }
   return true;
}

// Writes the table to "<file>.tmp", flushes it to disk and renames it over `file`.
bool save_highscores(const char *file)
{
   unsigned char image[SCORE_FILE_SIZE];
   for (int k = 0; k < NUM_HIGH_SCORES; k++)
      pack_record(&high_scores[k], image + k * SCORE_RECORD_SIZE);

   std::string temp = std::string(file) + ".tmp";
   FILE *f = fopen(temp.c_str(), "wb");
   if (!f)
      return false;
   bool ok = fwrite(image, 1, sizeof(image), f) == sizeof(image);
   ok = fflush(f) == 0 && ok;
   ok = fsync(fileno(f)) == 0 && ok;
   ok = fclose(f) == 0 && ok;
   if (ok && rename(temp.c_str(), file) == 0)
      return true;
   remove(temp.c_str());
   return false;
}

// A score qualifies when it is strictly above the last entry.
bool compare_new_entry(int score)
{
   return score > high_scores[NUM_HIGH_SCORES - 1].score;
}

// Inserts above the first strictly lower entry; the last entry drops out.
void update_highscores(const char *name, int score)
{
   int i = 0;
   while (i < NUM_HIGH_SCORES && high_scores[i].score >= score)
      i++;
   if (i == NUM_HIGH_SCORES)
      return;
   for (int k = NUM_HIGH_SCORES - 1; k > i; k--)
      high_scores[k] = high_scores[k - 1];
   high_scores[i].score = score;
   memset(high_scores[i].name, 0, NAME_FIELD_SIZE);
   strncpy(high_scores[i].name, name, MAX_NAME_LENGTH);
}

// Fills the table with the default names and scores.
void create_highscores()
{
   memset(high_scores, 0, sizeof(high_scores));
   for (int k = 0; k < NUM_HIGH_SCORES; k++)
      high_scores[k] = default_scores[k];
}
