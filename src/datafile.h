// The game's data file quorbix.dat: scanned, loaded and checked before the game uses it.
#ifndef QUORBIX_DATAFILE_H
#define QUORBIX_DATAFILE_H

#include <cstddef>
#include "alleg.h"

// The game's data file, in the folder it runs in.
static const char *const DATA_FILE = "quorbix.dat";
// Room for any reason a refusal gives, with the file's name in it.
static const size_t WHY_SIZE = 160;

// True when a loaded data file holds the game's twelve objects of the right kinds; else says why,
// naming the file.
bool check_datafile(DATAFILE *d, const char *file, char *why, size_t why_size);
// True when the contents of an uncompressed data file (the bytes after its 4-byte mark) are
// whole and every object in them can be read safely by the library; else says why.
bool scan_datafile(const unsigned char *bytes, size_t size, const char *file, char *why, size_t why_size);
// Scans, loads and checks a data file; null, with the reason, when it is missing or damaged.
DATAFILE *load_checked_datafile(const char *file, char *why, size_t why_size);

#endif
