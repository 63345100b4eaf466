// Requests to quit from outside the game: the window's close button, and the signals
// a terminal or a desktop sends. They end the title screen or the game as Esc does.
#ifndef QUORBIX_QUIT_H
#define QUORBIX_QUIT_H

// True once the close button was pressed or SIGINT, SIGTERM or SIGHUP arrived.
bool quit_requested();
// Makes SIGINT, SIGTERM and SIGHUP ask to quit, in place of whatever handled them before.
void catch_quit_signals();
// Makes the window's close button, where the platform has one, ask to quit.
void catch_close_button();

#endif
