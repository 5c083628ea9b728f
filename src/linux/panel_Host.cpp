// See panel_Host.h.
#include "panel_Host.h"

#include <time.h>

namespace quorvex::linux_host {

namespace {

// The clock's top-right corner, from the right and top edges.
constexpr int32_t ClockMargin = 25;

}  // namespace

Rect PanelHost::DrawClock(const char* text, size_t length, const PackedColour* colour) {
    if (!texts_) return Rect{};
    return face_.Draw(surface_, surface_.Width() - ClockMargin, ClockMargin, text, length, colour);
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

void ResizeAnimation(Animation& a, SoftwareSurface& surface, int32_t width, int32_t height) {
    surface.Resize(width, height, a.engine.Settings->Trace ? SurfaceKind::Indexed : SurfaceKind::Rgb);
    SetUpSurface(a.engine, width, height);
}

}  // namespace quorvex::linux_host
