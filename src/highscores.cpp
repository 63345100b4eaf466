// The high-score table and "scores.hi": 7 records of 16 bytes, no header.
// Record layout: name (10 bytes, zero-terminated), 2 bytes of padding, score
// (32-bit signed, little-endian). Saving goes through a temporary file that
// replaces the old one in one step, so a failed or interrupted save never tears it. A save holds a lock
// on "<file>.lock" while it merges in what other copies of the game wrote and writes the result.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include "highscores.h"
#include "platform.h"

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

// Reads whole records from the start of a file into a table, at most 7; -1 when it cannot be opened.
static int read_records(const char *file, SCORES table[])
{
   FILE *f = fopen(file, "rb");
   if (!f)
      return -1;
   unsigned char image[SCORE_FILE_SIZE];
   size_t got = fread(image, 1, sizeof(image), f);
   fclose(f);
   int records = (int)(got / SCORE_RECORD_SIZE);
   for (int k = 0; k < records; k++)
      unpack_record(image + k * SCORE_RECORD_SIZE, &table[k]);
   return records;
}

// Reads up to 112 bytes; whole records only replace table entries, the rest keep theirs.
bool load_highscores(const char *file)
{
   return read_records(file, high_scores) >= 0;
}

// Writes the table to "<file>.tmp", flushes it to disk and puts it in the place of `file`; errno says why it failed.
static bool write_table(const char *file)
{
   unsigned char image[SCORE_FILE_SIZE];
   for (int k = 0; k < NUM_HIGH_SCORES; k++)
      pack_record(&high_scores[k], image + k * SCORE_RECORD_SIZE);

   std::string temp = std::string(file) + ".tmp";
   FILE *f = fopen(temp.c_str(), "wb");
   if (!f)
      return false;
   bool ok = fwrite(image, 1, sizeof(image), f) == sizeof(image);
   ok = flush_to_disk(f) && ok;
   ok = fclose(f) == 0 && ok;
   if (ok && replace_file(temp.c_str(), file))
      return true;
   int why = errno;
   remove(temp.c_str());
   errno = why;
   return false;
}

// Under the lock: the table on disk merged into ours (unless it is missing or short), then written.
// A failure is told on stderr with its reason; the table stays in memory for the next save.
bool save_highscores(const char *file)
{
   std::string lock_name = std::string(file) + ".lock";
   int lock = lock_file(lock_name.c_str());
   bool ok = lock >= 0;
   if (ok) {
      SCORES disk[NUM_HIGH_SCORES];
      if (read_records(file, disk) == NUM_HIGH_SCORES)
         merge_highscores(disk, high_scores, high_scores);
      ok = write_table(file);
   }
   int why = errno;
   if (lock >= 0)
      unlock_file(lock);
   if (!ok)
      fprintf(stderr, "quorbix: cannot save the high scores in %s: %s\n", file, strerror(why));
   return ok;
}

// A score qualifies when it is strictly above the last entry.
bool compare_new_entry(int score)
{
   return score > high_scores[NUM_HIGH_SCORES - 1].score;
}

// Inserts an entry above the first strictly lower one; the last entry drops out.
static void insert_entry(SCORES table[], const SCORES &entry)
{
   int i = 0;
   while (i < NUM_HIGH_SCORES && table[i].score >= entry.score)
      i++;
   if (i == NUM_HIGH_SCORES)
      return;
   for (int k = NUM_HIGH_SCORES - 1; k > i; k--)
      table[k] = table[k - 1];
   table[i] = entry;
}

// Inserts a qualifying score with its name cut to 9 characters.
void update_highscores(const char *name, int score)
{
   SCORES entry = {};
   strncpy(entry.name, name, MAX_NAME_LENGTH);
   entry.score = score;
   insert_entry(high_scores, entry);
}

// How often an entry (its name and score) occurs among the first `upto` entries of a table.
static int occurrences(const SCORES table[], int upto, const SCORES &entry)
{
   int n = 0;
   for (int k = 0; k < upto; k++)
      n += table[k].score == entry.score && strcmp(table[k].name, entry.name) == 0;
   return n;
}

// Our entries that the disk's table holds fewer times go into it by the insertion rule, best first.
void merge_highscores(const SCORES disk[], const SCORES mine[], SCORES out[])
{
   SCORES merged[NUM_HIGH_SCORES];
   memcpy(merged, disk, sizeof(merged));
   for (int k = 0; k < NUM_HIGH_SCORES; k++)
      if (occurrences(mine, k + 1, mine[k]) > occurrences(disk, NUM_HIGH_SCORES, mine[k]))
         insert_entry(merged, mine[k]);
   memcpy(out, merged, sizeof(merged));
}

// Fills the table with the default names and scores.
void create_highscores()
{
   memset(high_scores, 0, sizeof(high_scores));
   for (int k = 0; k < NUM_HIGH_SCORES; k++)
      high_scores[k] = default_scores[k];
}
