// The X11 half of a paint: the surface goes to the window through the
// presenter, the clock into the surface with FreeType, the FPS text onto the
// window with a core X font.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "clock_Face.h"
#include "clock_Format.h"
#include "frame.h"
#include "surface_Software.h"
#include "x11_Present.h"
#include "x11_Session.h"

namespace quorvex::linux_host {

// The monotonic clock in microseconds, and in milliseconds wrapping at 2^32
// like a tick count (the millisecond clock is the microsecond one divided).
uint64_t MonotonicUs();
inline uint32_t MonotonicMs() { return static_cast<uint32_t>(MonotonicUs() / 1000u); }

class MonotonicTicks final : public TickSource {
public:
    uint32_t Now() override { return MonotonicMs(); }
};

class X11FrameHost final : public FrameHost {
public:
    X11FrameHost(Session& session, SoftwareSurface& surface, ImagePresenter& presenter, ClockFace& face,
                 const ClockStyle& style);
    ~X11FrameHost() override;
    X11FrameHost(const X11FrameHost&) = delete;
    X11FrameHost& operator=(const X11FrameHost&) = delete;

    void Present(const Rect& area) override;
    void ClearSurface(const Rect& area) override;
    Rect DrawClock(const char* text, size_t length, const PackedColour* colour) override;
    void DrawFps(const char* text, size_t length) override;
    uint32_t Now() override { return MonotonicMs(); }
    void LocalClockText(char* out, size_t outSize, size_t& length) override;

    // The surface's corner in the window (the FPS text is placed from it),
    // and whether the clock and the FPS text are drawn: on the primary
    // monitor's animation only.
    void Place(int32_t x, int32_t y, bool texts) {
        originX_ = x;
        originY_ = y;
        texts_ = texts;
    }
    // The window lost its contents (an expose, a new surface): put the
    // whole frame next time.
    void WindowExposed() { putWhole_ = true; }
    bool Exposed() const { return putWhole_; }

private:
    Session& session_;
    SoftwareSurface& surface_;
    ImagePresenter& presenter_;
    bool putWhole_ = true;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    bool texts_ = true;
    ClockFace& face_;
    const ClockStyle& style_;
    GC textGc_ = nullptr;
    XFontStruct* font_ = nullptr;
    int fontAscent_ = 10;
};

}  // namespace quorvex::linux_host
