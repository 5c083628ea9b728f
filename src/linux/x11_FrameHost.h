// The X11 half of a paint: the surface goes to the window through the
// presenter, the FPS text onto the window with a core X font; the clock is
// shared with every back end (panel_Host.h).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "panel_Host.h"
#include "x11_Present.h"
#include "x11_Session.h"

namespace quorvex::linux_host {

class X11FrameHost final : public PanelHost {
public:
    X11FrameHost(Session& session, SoftwareSurface& surface, ImagePresenter& presenter, ClockFace& face,
                 const ClockStyle& style);
    ~X11FrameHost() override;
    X11FrameHost(const X11FrameHost&) = delete;
    X11FrameHost& operator=(const X11FrameHost&) = delete;

    void Present(const Rect& area) override;
    void DrawFps(const char* text, size_t length) override;

    // The surface's corner in the window (the FPS text is placed from it),
    // and whether the clock and the FPS text are drawn.
    void Place(int32_t x, int32_t y, bool texts) {
        originX_ = x;
        originY_ = y;
        ShowTexts(texts);
    }

private:
    Session& session_;
    ImagePresenter& presenter_;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    GC textGc_ = nullptr;
    XFontStruct* font_ = nullptr;
    int fontAscent_ = 10;
};

}  // namespace quorvex::linux_host
