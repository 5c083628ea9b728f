#!/usr/bin/env python3
"""Test helper without toolkit or Xlib bindings: talks to libX11 via ctypes.

  xwindow_helper.py create W H X Y   make and map a plain window, print its id,
                                     keep it until killed
  xwindow_helper.py close ID         send WM_DELETE_WINDOW, as a window manager's
                                     close button does
"""
import ctypes
import signal
import sys

x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XCreateSimpleWindow.restype = ctypes.c_ulong
x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]

display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open display")

if sys.argv[1] == "create":
    w, h, px, py = (int(v) for v in sys.argv[2:6])
    win = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), px, py, w, h, 0, 0, 0x202020)
    x.XStoreName(display, win, b"quorvex test host")
    x.XMapWindow(display, win)
    x.XSync(display, 0)
    print(win, flush=True)
    while True:  # until killed; the server then destroys the window
        signal.pause()
elif sys.argv[1] == "close":
    win = int(sys.argv[2], 0)
    ev = Event()
    ev.xclient.type = 33  # ClientMessage
    ev.xclient.window = win
    ev.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    ev.xclient.format = 32
    ev.xclient.l[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x.XSendEvent(display, win, 0, 0, ctypes.byref(ev))
    x.XSync(display, 0)
