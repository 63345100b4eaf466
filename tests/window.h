// Allegro brought up as the game brings it up, for programs that drive the game's code.
#ifndef QUORBIX_TEST_WINDOW_H
#define QUORBIX_TEST_WINDOW_H

// Timer, keyboard, a 640 x 480 8-bit window on the X display, text drawn without a background; false on failure.
bool open_game_window();

#endif
