// What the game needs of the desktop and the file system it runs on. Each platform has one file:
// platform_linux.cpp (X11 and POSIX) and platform_windows.cpp (Win32); the build picks one.
#ifndef QUORBIX_PLATFORM_H
#define QUORBIX_PLATFORM_H

#include <cstdio>

// Gives the window its names and the ship as its icon; before the library starts.
void name_window();
// Makes the desktop's own ways of ending the game save the score table: the signals of a terminal
// or a logout and a lost display on Linux, the end of the session on Windows.
void catch_outside_quits();
// Sets a mode with the game's window of w x h; false if it cannot.
bool set_window_mode(int w, int h);
// Sets a mode in which the game's window fills the whole desktop of w x h; false if it cannot.
bool set_fullscreen_mode(int w, int h);
// Whether F11 is down on the desktop's keyboard now, whatever the library last saw.
bool f11_held_on_desktop();
// Shows the message of an error the game cannot go on after; the caller then ends the process.
void fatal_message(const char *text);

// Flushes a file open for writing through to the disk.
bool flush_to_disk(FILE *f);
// Puts `temp` in the place of `file` in one step, replacing it; errno says why it failed.
bool replace_file(const char *temp, const char *file);
// Waits for the exclusive lock of the file `name`, made if missing: its handle, or -1 (errno says why).
int lock_file(const char *name);
// Lets the lock go.
void unlock_file(int lock);

#endif
