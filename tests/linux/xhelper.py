"""Test windows by libX11 through ctypes: `create X Y W H` maps a plain window, prints its id
and keeps it until killed; `close ID` sends WM_DELETE_WINDOW as a window manager's close button.
RandR: `monitor NAME WxH+X+Y [p][o]` sets a monitor (primary; owns the first output), `screen WxH` resizes."""
import ctypes as c, re, signal, struct, sys

x = c.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
d = c.c_void_p(x.XOpenDisplay(None))  # ids and atoms fit in an int, the display pointer does not
if sys.argv[1] == "create":
    win = x.XCreateSimpleWindow(d, x.XDefaultRootWindow(d), *(int(v) for v in sys.argv[2:6]), 0, 0, 0x202020)
    x.XMapWindow(d, win)
    x.XSync(d, 0)
    print(win, flush=True)
    signal.pause()
elif sys.argv[1] in ("monitor", "screen"):
    r, root = c.CDLL("libXrandr.so.2"), c.c_ulong(x.XDefaultRootWindow(d))
    r.XRRGetScreenResources.restype = r.XRRGetScreenInfo.restype = r.XRRConfigSizes.restype = c.POINTER(c.c_int)
    w, h, *at = map(int, re.split("[x+]", sys.argv[-1 if sys.argv[1] == "screen" else 3]))
    if sys.argv[1] == "screen":  # the sizes: width, height, width and height in mm
        sizes = r.XRRConfigSizes(info := r.XRRGetScreenInfo(d, root), c.byref(n := c.c_int()))
        r.XRRSetScreenConfig(d, info, root, [sizes[k : k + 2] for k in range(0, 4 * n.value, 4)].index([w, h]), 1, 0)
    else:  # XRRMonitorInfo: name, primary, automatic, noutput, x, y, width, height, mm, outputs (the resources' 6th)
        res, flags = c.cast(r.XRRGetScreenResources(d, root), c.POINTER(c.c_long)), "".join(sys.argv[4:])
        info = (x.XInternAtom(d, sys.argv[2].encode(), 0), "p" in flags, 0, "o" in flags, *at, w, h, w, h, res[5])
        r.XRRSetMonitor(d, root, struct.pack("L9iL", *info))
    x.XSync(d, 0)
else:  # ClientMessage as longs: type, serial, send_event, display, window, message_type, format, data
    win = int(sys.argv[2], 0)
    atom = lambda name: x.XInternAtom(d, name, 0)
    x.XSendEvent(d, win, 0, 0, (c.c_long * 24)(33, 0, 0, 0, win, atom(b"WM_PROTOCOLS"), 32, atom(b"WM_DELETE_WINDOW")))
    x.XSync(d, 0)
