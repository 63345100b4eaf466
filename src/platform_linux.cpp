// The game on Linux: an X11 desktop and a POSIX file system. The window's names and icon, the
// signals and the lost display, fullscreen through the window manager, the keyboard as the X
// server sees it, X's message box, and the score file's flush, replacement and lock.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/shm.h>
#include <unistd.h>
#include "alleg.h"
#include <xalleg.h>
#include <X11/Xatom.h>
#include "highscores.h"
#include "platform.h"
#include "quit.h"

extern "C" {
extern void *allegro_icon;        // the XPM picture the library's X11 driver gives each window it makes
extern const char **ship_icon;   // the ship in XPM form, made from the data file at build time
}

// The EWMH request: add a state to the window's, asked by an application.
static const long NET_WM_STATE_ADD = 1;
static const long SOURCE_APPLICATION = 1;

// The X11 driver names its window and takes its icon from these when it makes the window.
void name_window()
{
   allegro_icon = ship_icon;
   xwin_set_window_name("quorbix", "Quorbix");
}

// Ctrl-C in the terminal, logout (and kill, timeout), the terminal closed.
static const int QUIT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
static std::atomic<bool> signalled(false);  // a signal has asked to quit already

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
   request_quit();
}

// A broken X connection: a logout, a lost remote display or a server that ended. Xlib reports it
// to one handler, from whichever thread met it first (the library's event thread, or the main
// thread drawing), and calls exit() if the handler returns; exit() runs the library's shut-down,
// which talks to the dead display from under the other thread and hangs or crashes. So the first
// caller saves the table, with any name already confirmed, and leaves at once with status 1
// without the exit handlers; any other caller waits for it to be gone.
static int on_lost_display(Display *)
{
   static std::atomic<bool> leaving(false);
   if (leaving.exchange(true))
      for (;;)
         pause();
   bool saved = save_highscores(SCORE_FILE);
   fprintf(stderr, "quorbix: the connection to the display was lost; the high scores %s\n",
           saved ? "are saved" : "could not be saved");
   // The library's shared image would outlive the game: the shut-down that frees it is skipped.
   if (_xwin.use_shm)
      shmctl(_xwin.shminfo.shmid, IPC_RMID, nullptr);
   _exit(1);
}

// The three signals' handler, each blocking the others while it runs, in place of whatever handled
// them before; and Xlib's handler of a lost connection, the process's own for every connection.
void catch_outside_quits()
{
   struct sigaction action = {};
   action.sa_handler = on_quit_signal;
   action.sa_flags = SA_RESTART;
   sigemptyset(&action.sa_mask);
   for (int number : QUIT_SIGNALS)
      sigaddset(&action.sa_mask, number);
   for (int number : QUIT_SIGNALS)
      sigaction(number, &action, nullptr);
   // Xlib is the library's to start: no Xlib call may come before its connection opens, and a
   // handler set earlier now and then made the library fail to start.
   if (_xwin.display)
      XSetIOErrorHandler(on_lost_display);
}

// True when a window manager that follows EWMH runs on the display.
static bool window_manager_answers()
{
   Atom type;
   int format;
   unsigned long count = 0, left;
   unsigned char *value = nullptr;
   XLOCK();
   Display *d = _xwin.display;
   Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
   int status = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type, &format,
                                   &count, &left, &value);
   if (value)
      XFree(value);
   XUNLOCK();
   return status == Success && count == 1;
}

// Asks the window manager to make the window fullscreen. The way back needs no request: the
// window manager lets go of the window, state and all, when the library unmaps it to switch.
static void ask_for_fullscreen()
{
   XLOCK();
   Display *d = _xwin.display;
   XEvent event = {};
   event.xclient.type = ClientMessage;
   event.xclient.window = _xwin.wm_window;
   event.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
   event.xclient.format = 32;
   event.xclient.data.l[0] = NET_WM_STATE_ADD;
   event.xclient.data.l[1] = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
   event.xclient.data.l[3] = SOURCE_APPLICATION;
   XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
   XFlush(d);
   XUNLOCK();
}

// A framed window of that size through the library's X11 driver.
bool set_window_mode(int w, int h)
{
   return set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0) == 0;
}

// A desktop-size window the window manager makes fullscreen, as the library's own fullscreen
// driver would change the monitor's mode and grab keyboard and pointer; that driver is used only
// where no window manager can do it.
bool set_fullscreen_mode(int w, int h)
{
   if (!_xwin.display)
      return false;
   if (!window_manager_answers())
      return set_gfx_mode(GFX_XWINDOWS_FULLSCREEN, w, h, 0, 0) == 0;
   if (!set_window_mode(w, h))
      return false;
   ask_for_fullscreen();
   return true;
}

// The X server's own key map, which knows F11 is still down after a mode change let go of every key.
bool f11_held_on_desktop()
{
   if (!_xwin.display)
      return false;
   char keys[32];
   XLOCK();
   XQueryKeymap(_xwin.display, keys);
   KeyCode code = XKeysymToKeycode(_xwin.display, XK_F11);
   XUNLOCK();
   return code != 0 && ((unsigned char)keys[code / 8] >> (code % 8) & 1);
}

// Under X the library is shut down before the box: its event thread reads the keyboard mapping
// again whenever that changes, as it can with the very key that closes the box, and a shutdown
// running then frees the library's settings under that thread, which crashes the game now and
// then. X's box is the xmessage program, which needs nothing of the library to be running.
void fatal_message(const char *text)
{
   SYSTEM_DRIVER *driver = system_driver;
   if (driver && driver->id == SYSTEM_XWINDOWS && driver->message) {
      allegro_exit();
      driver->message(text);
   } else {
      allegro_message("%s", text);
   }
}

// The stream's buffer to the kernel, then the kernel's to the disk.
bool flush_to_disk(FILE *f)
{
   return fflush(f) == 0 && fsync(fileno(f)) == 0;
}

// rename() replaces the file in one step on POSIX.
bool replace_file(const char *temp, const char *file)
{
   return rename(temp, file) == 0;
}

// flock() on the lock file, which every copy of the game opens.
int lock_file(const char *name)
{
   int lock = open(name, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
   if (lock >= 0 && flock(lock, LOCK_EX) != 0) {
      int why = errno;
      close(lock);
      errno = why;
      return -1;
   }
   return lock;
}

// Closing the file lets its flock() go.
void unlock_file(int lock)
{
   close(lock);
}
