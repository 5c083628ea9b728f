// The paint sequence every host runs once per repaint: show the frame the
// previous paint prepared, then prepare the next one off screen.
#include <cstring>

#include "XMath.h"
#include "frame.h"

namespace quorvex {

void StartPaintState(PaintState& ps, uint32_t fpsTick, uint32_t clockTick) {
    ps.FrameCount = 0;
    ps.FpsStartTick = fpsTick;
    ps.ClockTick = static_cast<int32_t>((clockTick / 1000u) * 1000u);
}

namespace {

void DrawClockIfDue(Engine& e, PaintState& ps, FrameHost& host) {
    const SaverSettings& s = *e.Settings;
    if (!s.ShowClock || e.PreviewMode) return;
    // With Trace the clock goes into the pixels once per tick-count second and
    // the trace pass fades it; without, the cleared surface needs it every frame.
    uint32_t sinceLast = host.Now() - static_cast<uint32_t>(ps.ClockTick);
    if (s.Trace && sinceLast < 1000u) return;

    char text[64];
    size_t length = 0;
    host.LocalClockText(text, sizeof text, length);
    Rect box;
    if (s.Trace) {
        box = host.DrawClock(text, length, nullptr);
    } else {
        PackedColour tint = PackColour(static_cast<uint32_t>(Truncate(e.TintColour[0])),
                                       static_cast<uint32_t>(Truncate(e.TintColour[1])),
                                       static_cast<uint32_t>(Truncate(e.TintColour[2])));
        box = host.DrawClock(text, length, &tint);
    }
    MarkDrawn(e.Changed, box, e.ClientRight, e.ClientBottom);
    ps.ClockTick = static_cast<int32_t>((host.Now() / 1000u) * 1000u);
}

void DrawFpsIfShown(const Engine& e, const PaintState& ps, FrameHost& host, const char* suffix) {
    if (!e.Settings->ShowFPS) return;
    char text[160];
    size_t length = FpsText(ps.FrameCount, host.Now() - ps.FpsStartTick, suffix, text, sizeof text - 2);
    // Two trailing blanks paint over the tail of a longer text from the
    // previous paint.
    text[length++] = ' ';
    text[length++] = ' ';
    host.DrawFps(text, length);
}

}  // namespace

void DrawFrame(Engine& e, SurfaceClear& surface) {
    SaverSettings& s = *e.Settings;
    ChangedArea& changed = e.Changed;
    if (!s.Trace) {
        surface.ClearSurface(changed.content);
        changed.content = Rect{};
    }
    StepFrame(e);
    s.TraceModeInd %= 3;
    if (s.Trace) changed.content = BoundedTracePass(s, e.Target->Pixels(), changed.content);
}

void PresentOnly(Engine& e, FrameHost& host) {
    host.Present(TakePresentArea(e.Changed, e.ClientRight, e.ClientBottom));
}

void PaintFrame(Engine& e, PaintState& ps, FrameHost& host, const char* fpsSuffix) {
    PresentOnly(e, host);
    // Wraps instead of overflowing after 2^31 frames.
    ps.FrameCount = static_cast<int32_t>(static_cast<uint32_t>(ps.FrameCount) + 1u);
    host.ResetBackground();
    DrawFrame(e, host);
    DrawClockIfDue(e, ps, host);
    DrawFpsIfShown(e, ps, host, fpsSuffix);
}

}  // namespace quorvex
