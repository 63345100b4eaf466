// The game on Windows: Win32 for the end of a session, fullscreen as a borderless window over
// the whole desktop, the keyboard's real state, the library's message box, and the score file's
// flush, replacement and lock. windows.h and allegro.h both define BITMAP: this file alone sees
// Win32, through the library's own winalleg.h, which keeps the two apart.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include "alleg.h"
#include <winalleg.h>
#include "highscores.h"
#include "platform.h"
#include "quit.h"

// The window's icon is the exe's resource named allegro_icon, which the library gives every
// window it makes; its title is set once the window exists.
void name_window()
{
}

// The session ends: the table is saved now, as Windows may end the process as soon as this
// message is handled, and the game is asked to quit as after the close button.
static int on_window_message(HWND, UINT message, WPARAM ending, LPARAM, int *)
{
   if (message == WM_ENDSESSION && ending) {
      request_quit();
      save_highscores(SCORE_FILE);
   }
   return 1;  // on to the library and Windows as always: 0 would take the message away and hold up the logoff
}

// The end of the session comes as a message to the game's window; Windows has no quit signals.
void catch_outside_quits()
{
   win_set_msg_pre_proc(on_window_message);
}

// The window made active again after a mode change restyled it: else Windows may leave it
// inactive, and the library reads the keyboard only for the active window.
static void activate(HWND window)
{
   SetForegroundWindow(window);
}

// A framed window of that size through the library's DirectDraw window driver, made active.
bool set_window_mode(int w, int h)
{
   if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0) != 0)
      return false;
   activate(win_get_window());
   return true;
}

// A window of the desktop's size without a frame, over the whole desktop; the library's own
// fullscreen driver would change the monitor's mode. The window loses its frame between two
// modes, as a driver's exit gives it back and the next one sizes the window by its style.
bool set_fullscreen_mode(int w, int h)
{
   set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
   HWND window = win_get_window();
   SetWindowLong(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
   if (set_gfx_mode(GFX_DIRECTX_WIN, w, h, 0, 0) != 0)
      return false;
   SetWindowPos(window, HWND_TOP, 0, 0, w, h, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
   activate(window);
   return true;
}

// Windows' own key state, which knows F11 is still down after a mode change let go of every key.
bool f11_held_on_desktop()
{
   return GetAsyncKeyState(VK_F11) & 0x8000;
}

// The library's own message box, which waits for the player.
void fatal_message(const char *text)
{
   allegro_message("%s", text);
}

// The stream's buffer to Windows, then Windows' to the disk.
bool flush_to_disk(FILE *f)
{
   return fflush(f) == 0 && _commit(_fileno(f)) == 0;
}

// The name as Windows' wide-character calls take it, read in the code page fopen uses.
static bool wide_name(const char *name, wchar_t (&wide)[MAX_PATH])
{
   return MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH) > 0;
}

// rename() refuses to replace a file on Windows: MoveFileExW does it in one step.
bool replace_file(const char *temp, const char *file)
{
   wchar_t from[MAX_PATH], to[MAX_PATH];
   if (wide_name(temp, from) && wide_name(file, to) &&
       MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
   errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
   return false;
}

// The lock is on the file's first byte, which LockFileEx waits for like flock().
int lock_file(const char *name)
{
   int lock = _open(name, _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
   if (lock < 0)
      return -1;
   OVERLAPPED whole = {};
   if (!LockFileEx((HANDLE)_get_osfhandle(lock), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
      _close(lock);
      errno = EACCES;
      return -1;
   }
   return lock;
}

// Lets the byte go and closes the file.
void unlock_file(int lock)
{
   OVERLAPPED whole = {};
   UnlockFileEx((HANDLE)_get_osfhandle(lock), 0, 1, 0, &whole);
   _close(lock);
}
