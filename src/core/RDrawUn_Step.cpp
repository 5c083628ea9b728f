// The frame step: elapsed time, hold and morph, and the order in which the
// colour, motion and drawing stages run. Nothing here allocates; the clouds
// and the palette scratch live in the Engine.
#include "RDrawUn.h"
#include "XMath.h"

namespace quorvex {

namespace {

constexpr float MaxElapsedMs = 40.0f;
// A morph spans 1500 ms of summed elapsed time: progress 0..100 at 1/15 per ms.
constexpr Extended MorphDivisor = 15.0L;

float MeasureElapsed(Engine& e) {
    // Unsigned difference: a wrap of the 32-bit counter still gives the true
    // small step instead of a huge negative one.
    const uint32_t now = e.Ticks->Now();
    const uint32_t diff = now - e.LastFrameTick;
    float elapsed = Single(static_cast<Extended>(diff));
    if (elapsed > MaxElapsedMs) elapsed = MaxElapsedMs;
    e.LastFrameTick = e.Ticks->Now();
    return elapsed;
}

void AdvanceMorph(Engine& e, float elapsed) {
    if (e.HoldTimer > 0.0f) {
        e.HoldTimer = Single(static_cast<Extended>(e.HoldTimer) - elapsed);
        return;
    }
    const bool unsort = e.Settings->UnSortPoints;
    if (e.MorphForward) {
        e.MorphProgress = Single(static_cast<Extended>(e.MorphProgress) + elapsed / MorphDivisor);
        if (e.MorphProgress >= 100.0f) {
            e.MorphProgress = 100.0f;
            e.MorphForward = false;
            e.HoldTimer = e.HoldTime;
            // CloudA is no longer visible at 100: it becomes the next target.
            NextShape(e.Sequencer, e.Random, e.CloudA, unsort);
        }
    } else {
        e.MorphProgress = Single(static_cast<Extended>(e.MorphProgress) - elapsed / MorphDivisor);
        if (e.MorphProgress <= 0.0f) {
            e.MorphProgress = 0.0f;
            e.MorphForward = true;
            e.HoldTimer = e.HoldTime;
            NextShape(e.Sequencer, e.Random, e.CloudB, unsort);
        }
    }
    BlendClouds(e);
}

void DrawPoints(Engine& e) {
    const SaverSettings& s = *e.Settings;
    // The three angles are the same for every point of the frame.
    const Rotation rotation = MakeRotation(e.SpinAngle);
    for (int i = 0; i < CloudCapacity; ++i) {
        const Point3 turned = RotatePoint(rotation, e.BlendedCloud[i]);
        const int32_t brightness = DepthBrightness(turned);
        ScreenPoint screen;
        if (s.Trace) {
            if (ProjectPoint(e, turned, screen)) PlotPoint(e, screen, brightness, 0, 0);
        } else {
            const PointColours colours = ColoursFor(e, brightness);
            if (ProjectPoint(e, turned, screen)) PlotPoint(e, screen, 0, colours.block, colours.cross);
        }
    }
}

}  // namespace

void BlendClouds(Engine& e) {
    const Extended progress = e.MorphProgress;
    for (int i = 0; i < CloudCapacity; ++i) {
        const Point3& a = e.CloudA[i];
        const Point3& b = e.CloudB[i];
        Point3& out = e.BlendedCloud[i];
        out.x = Single(a.x + (static_cast<Extended>(b.x) - a.x) * progress / 100.0L);
        out.y = Single(a.y + (static_cast<Extended>(b.y) - a.y) * progress / 100.0L);
        out.z = Single(a.z + (static_cast<Extended>(b.z) - a.z) * progress / 100.0L);
    }
}

void PrepareClouds(Engine& e) {
    const bool unsort = e.Settings->UnSortPoints;
    NextShape(e.Sequencer, e.Random, e.CloudA, unsort);
    NextShape(e.Sequencer, e.Random, e.CloudB, unsort);
    BlendClouds(e);
}

void SetUpSurface(Engine& e, int32_t width, int32_t height) {
    // A window that has no size yet gets no surface and changes nothing.
    if (width == 0 && height == 0) return;
    const SaverSettings& s = *e.Settings;
    e.ClientRight = width;
    e.ClientBottom = height;
    e.ProjectionCentre[0] = width / 2;
    e.ProjectionCentre[1] = height / 2;
    e.ProjectionScale[0] = Single(static_cast<Extended>(width / 8));
    e.ProjectionScale[1] = Single(static_cast<Extended>(height / 6));
    if (s.Trace && s.HuesOfGray) {
        FillGreyTable(e.Palette);
        e.Target->SetColourTable(e.Palette);
    }
    if (!s.Trace && !e.TempoApplied) {
        // Without trails the picture looks calmer at a faster tempo.
        e.TempoApplied = true;
        constexpr Extended Tempo = ExtendedConstant(0xa.a3d70a3d70a3d71p-3L, 1.33L);
        e.CentreVelocity.x = Single(e.CentreVelocity.x * Tempo);
        e.CentreVelocity.y = Single(e.CentreVelocity.y * Tempo);
        e.CentreVelocity.z = Single(e.CentreVelocity.z * Tempo);
        e.SpinSpeed.x = Single(e.SpinSpeed.x * Tempo);
        e.SpinSpeed.y = Single(e.SpinSpeed.y * Tempo);
        e.SpinSpeed.z = Single(e.SpinSpeed.z * Tempo);
        e.HoldTime = Single(e.HoldTime / Tempo);
    }
    e.HoldTimer = e.HoldTime;
    e.LastFrameTick = e.Ticks->Now();
    e.Changed = ChangedArea{};
}

void StepFrame(Engine& e) {
    const SaverSettings& s = *e.Settings;
    const float elapsed = MeasureElapsed(e);
    if (!s.HuesOfGray) AdvanceColourCycle(e);
    AdvanceMorph(e, elapsed);
    if (s.Trace && !s.HuesOfGray) RewritePalette(e);
    AdvanceSpin(e, elapsed);
    MoveCentre(e, elapsed);
    DrawPoints(e);
}

}  // namespace quorvex
