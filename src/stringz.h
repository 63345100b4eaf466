// Keyboard text entry: edits a short text from the keyboard buffer, one key per call.
#ifndef QUORBIX_STRINGZ_H
#define QUORBIX_STRINGZ_H

// Takes at most one key; after an accepted character the next `delay` calls discard typed keys.
void get_keyboard_input(char *words, int max_length, int delay);

#endif
