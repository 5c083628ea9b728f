"""Test windows by libX11 through ctypes: `create X Y W H` maps a plain window, prints its id
and keeps it until killed; `close ID` sends WM_DELETE_WINDOW as a window manager's close button."""
import ctypes as c, signal, sys

x = c.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
d = c.c_void_p(x.XOpenDisplay(None))  # ids and atoms fit in an int, the display pointer does not
if sys.argv[1] == "create":
    win = x.XCreateSimpleWindow(d, x.XDefaultRootWindow(d), *(int(v) for v in sys.argv[2:6]), 0, 0, 0x202020)
    x.XMapWindow(d, win)
    x.XSync(d, 0)
    print(win, flush=True)
    signal.pause()
else:  # ClientMessage as longs: type, serial, send_event, display, window, message_type, format, data
    win = int(sys.argv[2], 0)
    atom = lambda name: x.XInternAtom(d, name, 0)
    x.XSendEvent(d, win, 0, 0, (c.c_long * 24)(33, 0, 0, 0, win, atom(b"WM_PROTOCOLS"), 32, atom(b"WM_DELETE_WINDOW")))
    x.XSync(d, 0)
