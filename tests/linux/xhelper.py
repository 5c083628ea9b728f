#!/usr/bin/env python3
"""Test windows through libX11 by ctypes, without a toolkit.
  xhelper.py create W H X Y  map a plain window, print its id, keep it until killed
  xhelper.py close ID        send WM_DELETE_WINDOW, as a window manager's close button does"""
import ctypes as c, signal, sys

x = c.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
for f, r, a in [("XDefaultRootWindow", c.c_ulong, [c.c_void_p]), ("XInternAtom", c.c_ulong, [c.c_void_p, c.c_char_p, c.c_int]),
                ("XCreateSimpleWindow", c.c_ulong, [c.c_void_p, c.c_ulong] + [c.c_int] * 2 + [c.c_uint] * 3 + [c.c_ulong] * 2),
                ("XMapWindow", c.c_int, [c.c_void_p, c.c_ulong]), ("XSync", c.c_int, [c.c_void_p, c.c_int]),
                ("XSendEvent", c.c_int, [c.c_void_p, c.c_ulong, c.c_int, c.c_long, c.c_void_p])]:
    getattr(x, f).restype, getattr(x, f).argtypes = r, a
d = x.XOpenDisplay(None)
if sys.argv[1] == "create":
    w, h, px, py = (int(v) for v in sys.argv[2:6])
    win = x.XCreateSimpleWindow(d, x.XDefaultRootWindow(d), px, py, w, h, 0, 0, 0x202020)
    x.XMapWindow(d, win)
    x.XSync(d, 0)
    print(win, flush=True)
    signal.pause()
else:  # a ClientMessage: type, serial, send_event, display, window, message_type, format, data
    ev = (c.c_long * 24)(33, 0, 0, 0, int(sys.argv[2], 0), x.XInternAtom(d, b"WM_PROTOCOLS", 0), 32,
                         x.XInternAtom(d, b"WM_DELETE_WINDOW", 0))
    x.XSendEvent(d, int(sys.argv[2], 0), 0, 0, ev)
    x.XSync(d, 0)
