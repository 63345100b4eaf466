#!/usr/bin/python3
# Presses the close button of a window as a window manager does: sends the window the
# WM_DELETE_WINDOW message of its WM_PROTOCOLS. Usage: close_window.py WINDOW_ID
import sys
from Xlib import X, display, protocol

screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1], 0))
delete = [screen.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]
window.send_event(protocol.event.ClientMessage(window=window, client_type=screen.intern_atom("WM_PROTOCOLS"), data=(32, delete)))
screen.flush()
