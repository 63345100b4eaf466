// Non-blocking text entry from the library's keyboard buffer.
#include <cstring>
#include "alleg.h"
#include "stringz.h"

static const int CODE_BACKSPACE = 8;
static const int CODE_LINE_FEED = 10;
static const int CODE_ENTER = 13;
static const int CODE_ESCAPE = 27;

// Calls still to discard pending keys, shared by every entry.
static int key_delay = 0;

// Backspace removes, Enter, line feed and Escape are dropped, anything else is appended.
void get_keyboard_input(char *words, int max_length, int delay)
{
   if (delay > 0 && key_delay > 0) {
      clear_keybuf();
      key_delay--;
   }
   if (!keypressed())
      return;
   int length = (int)strlen(words);
   int code = readkey() & 0xff;
   if (code == CODE_BACKSPACE) {
      if (length > 0)
         words[length - 1] = '\0';
      return;
   }
   if (code == CODE_LINE_FEED || code == CODE_ENTER || code == CODE_ESCAPE || length >= max_length)
      return;
   words[length] = (char)code;
   words[length + 1] = '\0';
   if (delay > 0)
      key_delay = delay;
}
