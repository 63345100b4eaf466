// Keyboard text entry.
#include <gtest/gtest.h>
#include "support.h"
#include "stringz.h"

// Keys typed before each call: Backspace, the limit, dropped keys, and the pause after a key.
TEST(TextEntry, KeysLimitAndPause)
{
   end_entry_pause();   // whichever test ran before
   clear_keybuf();
   char line[16] = "#";    // the text starts after a guard byte that must survive
   const struct { const char *keys; int delay; const char *after; } steps[] = {    // '\1': an arrow key
      {"z", 0, "z"}, {"\b", 0, ""}, {"\b", 0, ""}, {"a\t", 0, "a"}, {"", 0, "a\t"}, {"\xe9", 0, "a\t\xe9"}, {"b", 0, "a\t\xe9" "b"},
      {"d", 0, "a\t\xe9" "b"}, {"\b", 0, "a\t\xe9"},
      {"\r\n\x1b" "c", 2, "a\t\xe9"}, {"", 2, "a\t\xe9"}, {"", 2, "a\t\xe9"}, {"", 2, "a\t\xe9" "c"},
      {"x", 2, "a\t\xe9" "c"}, {"y", 2, "a\t\xe9" "c"}, {"\b", 2, "a\t\xe9"},
      {"\1z", 2, "a\t\xe9"}, {"", 2, "a\t\xe9"}, {"y", 2, "a\t\xe9"}, {"f", 2, "a\t\xe9" "f"},
      {"", 2, "a\t\xe9" "f"}, {"", 2, "a\t\xe9" "f"}, {"g\b", 2, "a\t\xe9" "f"}, {"", 2, "a\t\xe9"},
      {"\bh", 2, "a\t"}, {"", 2, "a\th"}, {"", 2, "a\th"}, {"", 2, "a\th"},
      {"\b", 1, "a\t"}, {"i", 1, "a\ti"}, {"j", 1, "a\ti"}, {"k", 1, "a\tik"}};
   for (const auto &s : steps) {
      for (const char *k = s.keys; *k; k++)    // as readkey() gives it: scancode, then character code
         simulate_keypress(*k == '\1' ? KEY_LEFT << 8 : KEY_Q << 8 | (unsigned char)*k);
      get_keyboard_input(line + 1, 4, s.delay);
      EXPECT_STREQ(line + 1, s.after) << "after keys " << s.keys;
   }
   EXPECT_EQ(line[0], '#');
}
