// Requests to quit from outside the game: the window's close button, and whatever the platform
// sends (signals, the end of a session). They end the title screen or the game as Esc does.
#ifndef QUORBIX_QUIT_H
#define QUORBIX_QUIT_H

// True once a request to quit came in.
bool quit_requested();
// Asks to quit; safe from a signal handler or another thread.
void request_quit();
// Makes the window's close button, where the platform has one, ask to quit.
void catch_close_button();

#endif
