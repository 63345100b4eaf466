// The quit request: one flag, raised by the close button from the library's event thread or
// by a signal handler, and read by the title screen, the game and every wait for a key
// release. Neither may do more than raise it: the library cannot be shut down from inside
// a handler, and the outer loop still has the scores to save.
#include <atomic>
#include <signal.h>
#include "alleg.h"
#include "quit.h"

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

static std::atomic<bool> quit_flag(false);
static std::atomic<bool> signalled(false);  // a signal has asked to quit already

// Ctrl-C in the terminal, logout (and kill, timeout), the terminal closed.
static const int QUIT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

// Asks to quit. A second signal means the player will not wait: the signal's own default
// action, death, follows as soon as this handler returns. The save is atomic, so even a
// save under way then leaves the old table whole.
static void on_quit_signal(int number)
{
   if (signalled.exchange(true)) {
      signal(number, SIG_DFL);
      raise(number);
      return;
   }
   quit_flag = true;
}

// Asks to quit when the window manager's close button is pressed.
static void on_close_button()
{
   quit_flag = true;
}

// Reads the flag.
bool quit_requested()
{
   return quit_flag;
}

// Installs the handler for the three signals, each blocking the others while it runs.
void catch_quit_signals()
{
   struct sigaction action = {};
   action.sa_handler = on_quit_signal;
   action.sa_flags = SA_RESTART;
   sigemptyset(&action.sa_mask);
   for (int number : QUIT_SIGNALS)
      sigaddset(&action.sa_mask, number);
   for (int number : QUIT_SIGNALS)
      sigaction(number, &action, nullptr);
}

// Hands the close button to the library, which calls it from its event thread.
void catch_close_button()
{
   set_close_button_callback(on_close_button);
}
