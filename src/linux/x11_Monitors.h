// The monitors of the X screen, which the full-screen saver covers.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "monitors_Layout.h"

namespace quorvex::linux_host {

// The screen's monitors from RandR 1.5, else from Xinerama, arranged for a
// window lying at `window` in root coordinates (see ArrangeMonitors).
std::vector<Rect> ScreenMonitors(Display* display, int screen, const Rect& window);

}  // namespace quorvex::linux_host
