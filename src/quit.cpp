// The quit request: one flag, raised by the close button from the library's event thread or by
// the platform (a signal handler, the window thread), and read by the title screen, the game and
// every wait for a key release. None of them may do more than raise it: the library cannot be
// shut down from there, and the outer loop still has the scores to save.
#include <atomic>
#include "alleg.h"
#include "quit.h"

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

static std::atomic<bool> quit_flag(false);

// Reads the flag.
bool quit_requested()
{
   return quit_flag;
}

// Raises the flag.
void request_quit()
{
   quit_flag = true;
}

// Asks to quit when the window manager's close button is pressed.
static void on_close_button()
{
   request_quit();
}

// Hands the close button to the library, which calls it from its event thread.
void catch_close_button()
{
   set_close_button_callback(on_close_button);
}
