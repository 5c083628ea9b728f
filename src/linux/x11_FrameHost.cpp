// See x11_FrameHost.h.
#include "x11_FrameHost.h"

#include <time.h>

namespace quorvex::linux_host {

namespace {

// The clock's top-right corner, from the right and top edges.
constexpr int32_t ClockMargin = 25;
// The FPS text's top-left corner.
constexpr int FpsX = 10;
constexpr int FpsY = 10;

}  // namespace

uint64_t MonotonicUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

X11FrameHost::X11FrameHost(Session& session, SoftwareSurface& surface, ImagePresenter& presenter, ClockFace& face,
                           const ClockStyle& style)
    : session_(session), surface_(surface), presenter_(presenter), face_(face), style_(style) {
    Display* dpy = session_.display;
    XGCValues values{};
    // White and black of a true-colour visual: all channel bits, none.
    values.foreground = session_.visual->red_mask | session_.visual->green_mask | session_.visual->blue_mask;
    values.background = 0;
    unsigned long mask = GCForeground | GCBackground;
    font_ = XLoadQueryFont(dpy, "fixed");
    if (font_ != nullptr) {
        values.font = font_->fid;
        mask |= GCFont;
    }
    textGc_ = XCreateGC(dpy, session_.window, mask, &values);
    if (font_ != nullptr) {
        fontAscent_ = font_->ascent;
    } else if (XFontStruct* info = XQueryFont(dpy, XGContextFromGC(textGc_))) {
        // The server's default font.
        fontAscent_ = info->ascent;
        XFreeFontInfo(nullptr, info, 0);
    }
}

X11FrameHost::~X11FrameHost() {
    if (textGc_ != nullptr) XFreeGC(session_.display, textGc_);
    if (font_ != nullptr) XFreeFont(session_.display, font_);
}

void X11FrameHost::Present(const Rect& area) {
    // Only the area can differ from what the window shows, unless the
    // server has thrown the window's contents away.
    if (putWhole_) {
        presenter_.Show(surface_);
        putWhole_ = false;
    } else {
        presenter_.ShowParts(surface_, &area, 1);
    }
}

void X11FrameHost::ClearSurface(const Rect& area) { surface_.FillRect(area, 0); }

Rect X11FrameHost::DrawClock(const char* text, size_t length, const PackedColour* colour) {
    if (!texts_) return Rect{};
    return face_.Draw(surface_, surface_.Width() - ClockMargin, ClockMargin, text, length, colour);
}

void X11FrameHost::DrawFps(const char* text, size_t length) {
    // Straight onto the window, over the frame just put there; the next put
    // covers it again.
    if (!texts_) return;
    XDrawImageString(session_.display, session_.window, textGc_, originX_ + FpsX, originY_ + FpsY + fontAscent_, text,
                     static_cast<int>(length));
}

void X11FrameHost::LocalClockText(char* out, size_t outSize, size_t& length) {
    time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    TimeOfDay t;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    length = ClockText(t, style_.Format(), out, outSize);
}

}  // namespace quorvex::linux_host
