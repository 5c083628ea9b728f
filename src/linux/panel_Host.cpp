// See panel_Host.h.
#include "panel_Host.h"

#include <time.h>

namespace quorvex::linux_host {

namespace {

// The clock's top-right corner, from the right and top edges.
constexpr int32_t ClockMargin = 25;

}  // namespace

void PanelHost::SurfaceRemade() {
    putWhole_ = true;
    shown_.Clear();
    target_.Drawn().Clear();
}

int PanelHost::TakeChanges(Rect (&parts)[MaxFrameChanges]) {
    Damage& drawn = target_.Drawn();
    const int n = FrameChanges(surface_, putWhole_, shown_, drawn, parts);
    putWhole_ = false;
    shown_ = drawn;
    return n;
}

void PanelHost::ClearSurface() {
    // Black everywhere but where the last frame drew: clear just that.
    Damage& drawn = target_.Drawn();
    for (const Rect& r : drawn.boxes) {
        if (!IsEmpty(r)) surface_.FillRect(r, 0);
    }
    drawn.Clear();
}

void PanelHost::DrawClock(const char* text, size_t length, const PackedColour* colour) {
    if (!texts_) return;
    const Rect box = face_.Draw(surface_, surface_.Width() - ClockMargin, ClockMargin, text, length, colour);
    if (colour != nullptr) target_.Drawn().Add(Damage::Clock, box, surface_.Width(), surface_.Height());
}

void PanelHost::LocalClockText(char* out, size_t outSize, size_t& length) {
    time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    TimeOfDay t;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    length = ClockText(t, style_.Format(), out, outSize);
}

void StartAnimation(Animation& a, SaverSettings& settings, TickSource& ticks, DrawTarget& target, uint32_t seed,
                    size_t index) {
    Engine& e = a.engine;
    e.Settings = &settings;
    e.Ticks = &ticks;
    e.Target = &target;
    e.PreviewMode = false;
    e.Random.RandomSeed = seed + static_cast<uint32_t>(index) * 0x9E3779B9u;
    StartPaintState(a.paint, ticks.Now(), ticks.Now());
    PrepareClouds(e);
}

void ResizeAnimation(Animation& a, SoftwareSurface& surface, PanelHost& host, int32_t width, int32_t height) {
    surface.Resize(width, height, a.engine.Settings->Trace ? SurfaceKind::Indexed : SurfaceKind::Rgb);
    host.SurfaceRemade();
    SetUpSurface(a.engine, width, height);
}

}  // namespace quorvex::linux_host
