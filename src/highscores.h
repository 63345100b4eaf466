// The seven best scores: the table, its defaults, its insertion rule and its file.
#ifndef QUORBIX_HIGHSCORES_H
#define QUORBIX_HIGHSCORES_H

#include <cstdint>

const int NUM_HIGH_SCORES = 7;
const int NAME_FIELD_SIZE = 10;                // a name of at most 9 characters and its zero
const int MAX_NAME_LENGTH = NAME_FIELD_SIZE - 1;
const int SCORE_RECORD_SIZE = 16;              // name field, 2 unused bytes, 32-bit score
const int SCORE_FILE_SIZE = NUM_HIGH_SCORES * SCORE_RECORD_SIZE;
const char *const SCORE_FILE = "scores.hi";      // in the working directory

struct SCORES {
   char name[NAME_FIELD_SIZE];
   int32_t score;
};

extern SCORES high_scores[NUM_HIGH_SCORES];

// Reads the table from a file; false (table untouched) when it cannot be opened.
bool load_highscores(const char *file);
// Merges in the table another copy of the game wrote meanwhile and writes the result; false, with
// the old file left whole and the reason on stderr, when anything fails.
bool save_highscores(const char *file);
// Every distinct entry as often as the table holding it most often has it, best seven first;
// entries of `mine` go below equal scores of `disk`. `out` may be `mine`.
void merge_highscores(const SCORES disk[], const SCORES mine[], SCORES out[]);
// True when a score beats the last entry of the table.
bool compare_new_entry(int score);
// Puts a qualifying score into its place, below any equal score.
void update_highscores(const char *name, int score);
// Fills the table with the default entries.
void create_highscores();

#endif
