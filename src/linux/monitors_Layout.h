// Which parts of a full-screen window get an animation of their own, from the
// monitors the display system lists (RandR or Xinerama on X11, the outputs of
// a Wayland compositor): one animation per monitor, as the Windows saver does
// with one window per monitor.
#pragma once

#include <vector>

#include "RDrawUn.h"

namespace quorvex::linux_host {

// The areas to animate in a window that lies at `window`, in the coordinates
// the monitors in `found` are given in (a window manager may have placed it
// anywhere). Each monitor is clipped to the window and given in the window's
// own coordinates. Empty areas are dropped, and so is an area lying inside
// another: mirrored panels of different sizes show one animation, on the
// larger. The primary (index `primary`, or the first when out of range), or
// the area it lies inside, comes first. The whole window when nothing is left.
std::vector<Rect> ArrangeMonitors(const std::vector<Rect>& found, int primary, const Rect& window);

}  // namespace quorvex::linux_host
