// A broken X connection. Xlib reports it to one handler, from whichever thread met it first (the
// library's event thread, or the main thread drawing), and calls exit() if the handler returns;
// exit() runs the library's shut-down, which talks to the dead display from under the other thread
// and hangs or crashes. So the handler ends the process itself.
#include <atomic>
#include <cstdio>
#include <unistd.h>
#include <X11/Xlib.h>
#include "connection.h"
#include "highscores.h"

// The first caller saves the table, with any name already confirmed, and leaves at once without
// the exit handlers; any other caller waits for it to be gone.
static int on_lost_display(Display *)
{
   static std::atomic<bool> leaving(false);
   if (leaving.exchange(true))
      for (;;)
         pause();
   bool saved = save_highscores(SCORE_FILE);
   fprintf(stderr, "quorbix: the connection to the display was lost; the high scores %s\n",
           saved ? "are saved" : "could not be saved");
   _exit(1);
}

// Xlib's handler is the process's own, set for every connection at once.
void catch_lost_display()
{
   XSetIOErrorHandler(on_lost_display);
}
