// See x11_FrameHost.h.
#include "x11_FrameHost.h"

namespace quorvex::linux_host {

namespace {

// The FPS text's top-left corner.
constexpr int FpsX = 10;
constexpr int FpsY = 10;

}  // namespace

X11FrameHost::X11FrameHost(Session& session, SoftwareSurface& surface, ImagePresenter& presenter, ClockFace& face,
                           const ClockStyle& style)
    : PanelHost(surface, face, style), session_(session), presenter_(presenter) {
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
    presenter_.ShowParts(surface_, &area, 1);
}

void X11FrameHost::DrawFps(const char* text, size_t length) {
    // Straight onto the window, over the frame just put there; the next put
    // covers it again.
    if (!Texts()) return;
    XDrawImageString(session_.display, session_.window, textGc_, originX_ + FpsX, originY_ + FpsY + fontAscent_, text,
                     static_cast<int>(length));
}

}  // namespace quorvex::linux_host
