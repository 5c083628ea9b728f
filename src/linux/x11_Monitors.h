// The monitors of the X screen: the full-screen saver runs one animation on
// each, as the Windows saver does with one window per monitor.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "RDrawUn.h"

namespace quorvex::linux_host {

// The areas to animate within a width x height screen: `found` clipped to
// it, empty and repeated (cloned) areas dropped, the primary (index
// `primary`, or the first when out of range) first. The whole screen when
// nothing is left.
std::vector<Rect> ArrangeMonitors(const std::vector<Rect>& found, int primary, int32_t width, int32_t height);

// The screen's monitors from RandR 1.5, else from Xinerama, arranged as above.
std::vector<Rect> ScreenMonitors(Display* display, int screen, int32_t width, int32_t height);

}  // namespace quorvex::linux_host
