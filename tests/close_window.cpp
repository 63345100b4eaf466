// Presses the close button of a window as a window manager does: sends the window the
// WM_DELETE_WINDOW message of its WM_PROTOCOLS. Usage: close_window WINDOW_ID
#include <cstdlib>
#include <X11/Xlib.h>

int main(int argc, char **argv)
{
   Display *display = argc == 2 ? XOpenDisplay(nullptr) : nullptr;
   if (!display)
      return 1;
   XEvent event = {};
   event.xclient.type = ClientMessage;
   event.xclient.window = strtoul(argv[1], nullptr, 0);
   event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
   event.xclient.format = 32;
   event.xclient.data.l[0] = XInternAtom(display, "WM_DELETE_WINDOW", False);
   event.xclient.data.l[1] = CurrentTime;
   bool sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event) != 0;
   XCloseDisplay(display);
   return sent ? 0 : 1;
}
