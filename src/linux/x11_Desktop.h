// What desktops expect of a top-level window: the process and machine that
// own it (so task switchers and kill tools can find the process), a UTF-8
// title, and full screen asked of the window manager when one runs.
#pragma once

#include <X11/Xlib.h>

namespace quorvex::linux_host {

// True when an EWMH window manager runs that supports full-screen windows;
// the saver then asks it for full screen instead of going past it.
bool WindowManagerDoesFullscreen(Display* dpy, int screen);
// _NET_WM_PID, WM_CLIENT_MACHINE, WM_NAME and _NET_WM_NAME; with `fullscreen`
// also _NET_WM_STATE_FULLSCREEN, which a window manager reads at map time.
void SetDesktopProperties(Display* dpy, Window w, const char* title, bool fullscreen);
// After mapping: the same request as a message, for managers that only act
// on those.
void RequestFullscreen(Display* dpy, int screen, Window w);

}  // namespace quorvex::linux_host
