// See x11_Monitors.h.
#include "x11_Monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

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

}  // namespace

std::vector<Rect> ScreenMonitors(Display* display, int screen, const Rect& window) {
    std::vector<Rect> found;
    int primary = 0;
    if (!RandrMonitors(display, screen, found, primary)) {
        found.clear();
        primary = 0;
        XineramaMonitors(display, found);
    }
    return ArrangeMonitors(found, primary, window);
}

int WatchMonitors(Display* display, int screen) {
    const Window root = RootWindow(display, screen);
    XWindowAttributes attrs{};
    XGetWindowAttributes(display, root, &attrs);
    XSelectInput(display, root, attrs.your_event_mask | StructureNotifyMask);
    int event = 0;
    int error = 0;
    if (!XRRQueryExtension(display, &event, &error)) return -1;
    XRRSelectInput(display, root, RRScreenChangeNotifyMask);
    return event + RRScreenChangeNotify;
}

bool MonitorsChanged(XEvent& event, Window root, int changeType) {
    const bool changed = (changeType >= 0 && event.type == changeType) ||
                         (event.type == ConfigureNotify && event.xconfigure.window == root);
    if (changed) XRRUpdateConfiguration(&event);
    return changed;
}

}  // namespace quorvex::linux_host
