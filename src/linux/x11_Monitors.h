// The monitors of the X screen, which the full-screen saver covers.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "monitors_Layout.h"

namespace quorvex::linux_host {

// The screen's monitors from RandR 1.5, else from Xinerama, arranged for a
// window lying at `window` in root coordinates (see ArrangeMonitors).
std::vector<Rect> ScreenMonitors(Display* display, int screen, const Rect& window);

// Asks for the events that tell of a change of the monitors: RandR's screen
// change (a monitor plugged in or out, the screen resized) and the root's
// ConfigureNotify, the only sign of monitors a client sets. Returns the
// screen change's event type, or -1 without RandR.
int WatchMonitors(Display* display, int screen);
// True when `event` is one of those; Xlib's screen size is then up to date.
bool MonitorsChanged(XEvent& event, Window root, int changeType);

}  // namespace quorvex::linux_host
