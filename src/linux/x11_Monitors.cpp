// See x11_Monitors.h.
#include "x11_Monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

namespace quorvex::linux_host {

namespace {

// RandR 1.5 monitors: the only source that knows which one is primary.
bool RandrMonitors(Display* display, int screen, std::vector<Rect>& found, int& primary) {
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor)) return false;
    if (major < 1 || (major == 1 && minor < 5)) return false;
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, RootWindow(display, screen), True, &count);
    if (monitors == nullptr) return false;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = monitors[i];
        if (m.primary) primary = static_cast<int>(found.size());
        found.push_back(Rect{m.x, m.y, m.x + m.width, m.y + m.height});
    }
    XRRFreeMonitors(monitors);
    return !found.empty();
}

bool XineramaMonitors(Display* display, std::vector<Rect>& found) {
    int event = 0;
    int error = 0;
    if (!XineramaQueryExtension(display, &event, &error) || !XineramaIsActive(display)) return false;
    int count = 0;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    if (screens == nullptr) return false;
    for (int i = 0; i < count; ++i) {
        const XineramaScreenInfo& s = screens[i];
        found.push_back(Rect{s.x_org, s.y_org, s.x_org + s.width, s.y_org + s.height});
    }
    XFree(screens);
    return !found.empty();
}

bool SameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

std::vector<Rect> ArrangeMonitors(const std::vector<Rect>& found, int primary, int32_t width, int32_t height) {
    std::vector<Rect> areas;
    const int count = static_cast<int>(found.size());
    if (primary < 0 || primary >= count) primary = 0;
    for (int k = 0; k < count; ++k) {
        // The primary first, the others in their order.
        const int i = k == 0 ? primary : (k <= primary ? k - 1 : k);
        const Rect& m = found[static_cast<size_t>(i)];
        const Rect r{std::max(m.left, 0), std::max(m.top, 0), std::min(m.right, width), std::min(m.bottom, height)};
        if (r.left >= r.right || r.top >= r.bottom) continue;
        if (std::any_of(areas.begin(), areas.end(), [&](const Rect& a) { return SameRect(a, r); })) continue;
        areas.push_back(r);
    }
    if (areas.empty()) areas.push_back(Rect{0, 0, width, height});
    return areas;
}

std::vector<Rect> ScreenMonitors(Display* display, int screen, int32_t width, int32_t height) {
    std::vector<Rect> found;
    int primary = 0;
    if (!RandrMonitors(display, screen, found, primary)) {
        found.clear();
        primary = 0;
        XineramaMonitors(display, found);
    }
    return ArrangeMonitors(found, primary, width, height);
}

}  // namespace quorvex::linux_host
