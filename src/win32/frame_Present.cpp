// Presentation of a frame through GDI: the copy to the window, the clear,
// the clock in the surface and the FPS text on the window.
#include "frame_Present.h"

#include <windows.h>

#include <cstdlib>

#include "app_State.h"
#include "app_Surface.h"

namespace quorvex::win32 {

namespace {

// Presents one screen's frame; the clock and the FPS text belong to the
// primary screen only. `update` is what the system asked to repaint: it is
// copied in full, whatever changed.
class GdiPresenter final : public FrameHost {
public:
    GdiPresenter(SaverScreen& screen, const Rect& update)
        : screen_(screen), update_(update), texts_(IsPrimary(screen)) {}

    void Present(const Rect& area) override {
        Copy(area);
        Copy(update_);
    }

    void ResetBackground() override { SetBkColor(screen_.Surface.MemoryDC, 0); }

    void ClearSurface(const Rect& area) override {
        RECT r{area.left, area.top, area.right, area.bottom};
        if (!IsEmpty(area)) ExtTextOutA(screen_.Surface.MemoryDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }

    Rect DrawClock(const char* text, size_t length, const PackedColour* colour) override {
        if (!texts_) return Rect{};
        const FrameSurface& s = screen_.Surface;
        if (colour != nullptr) SetTextColor(s.MemoryDC, *colour);
        TextOutA(s.MemoryDC, s.Width - 25, 25, text, static_cast<int>(length));
        // The text is right-aligned at the point; the italic face leans out
        // of its advance box on both sides, by well under half its height.
        SIZE size{0, 0};
        GetTextExtentPoint32A(s.MemoryDC, text, static_cast<int>(length), &size);
        const int32_t lean = size.cy / 2 + 2;
        return Rect{s.Width - 25 - size.cx - lean, 25 - 2, s.Width - 25 + lean, 25 + size.cy + 2};
    }

    void DrawFps(const char* text, size_t length) override {
        if (texts_) TextOutA(screen_.Surface.WindowDC, 10, 10, text, static_cast<int>(length));
    }

    uint32_t Now() override { return GetTickCount(); }

    void LocalClockText(char* out, size_t outSize, size_t& length) override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        TimeOfDay t{now.wHour, now.wMinute, now.wSecond};
        length = ClockText(t, Host().Clock.format, out, outSize);
    }

private:
    void Copy(const Rect& part) {
        const FrameSurface& s = screen_.Surface;
        const Rect r = Clip(part, s.Width, s.Height);
        if (IsEmpty(r)) return;
        BitBlt(s.WindowDC, s.ClientRect.left + r.left, s.ClientRect.top + r.top, r.right - r.left, r.bottom - r.top,
               s.MemoryDC, r.left, r.top, SRCCOPY);
    }

    SaverScreen& screen_;
    const Rect update_;
    const bool texts_;
};

class GetTickCountSource final : public TickSource {
public:
    uint32_t Now() override { return GetTickCount(); }
};

// One locale item as text; `fallback` when the locale has none.
void LocaleText(LCTYPE item, char* out, int outSize, const char* fallback) {
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, item, out, outSize) <= 0) {
        lstrcpynA(out, fallback, outSize);
    }
}

int LocaleNumber(LCTYPE item, int fallback) {
    char text[8];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text) <= 0) return fallback;
    return std::atoi(text);
}

}  // namespace

TickSource& SystemTicks() {
    static GetTickCountSource ticks;
    return ticks;
}

void LoadClockFormat() {
    ClockFormat& c = Host().Clock;
    char separator[8];
    LocaleText(LOCALE_STIME, separator, sizeof separator, ":");
    c.format.separator = separator[0] != '\0' ? separator[0] : ':';
    c.format.twelveHour = LocaleNumber(LOCALE_ITIME, 1) == 0;
    c.format.leadingZero = LocaleNumber(LOCALE_ITLZERO, 1) != 0;
    c.format.designatorFirst = LocaleNumber(LOCALE_ITIMEMARKPOSN, 0) != 0;
    LocaleText(LOCALE_S1159, c.am, sizeof c.am, "AM");
    LocaleText(LOCALE_S2359, c.pm, sizeof c.pm, "PM");
    c.format.am = c.am;
    c.format.pm = c.pm;
}

void PaintSaverFrame(SaverScreen& screen) {
    HostState& host = Host();
    // A password prompt, a 0 x 0 resize or the teardown may have taken the
    // surface or switched painting off; then nothing is drawn.
    if (!screen.PaintEnabled || !SurfaceLive(screen)) return;
    RECT update{0, 0, 0, 0};
    GetUpdateRect(screen.Window.load(std::memory_order_relaxed), &update, FALSE);
    GdiPresenter presenter(screen, Rect{update.left, update.top, update.right, update.bottom});
    // While the display is off no frame is drawn; a repaint only copies.
    if (host.DisplayOff.load(std::memory_order_relaxed)) {
        PresentOnly(screen.Animation, presenter);
    } else {
        PaintFrame(screen.Animation, screen.Paint, presenter, host.Strings[4]);
    }
}

}  // namespace quorvex::win32
