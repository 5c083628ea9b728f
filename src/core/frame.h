// Frame presentation shared by every host: the trace passes, the paint
// sequence, the pacing of repaints, and the clock and FPS texts. The host
// supplies the platform half through FrameHost.
#pragma once

#include <cstddef>
#include <cstdint>

#include "RDrawUn.h"
#include "UTypes.h"

namespace quorvex {

// Entry k selects the pass for TraceModeInd k: 0 Simple, 1 Diffusion, any
// other value Fire.
inline constexpr uint8_t TraceModeTable[3] = {0, 1, 2};

enum class TraceEffect { Simple, Diffusion, Fire };

// The pass TraceModeInd selects; a negative remainder selects Fire.
TraceEffect EffectFor(int32_t traceModeInd);
// What a pass takes off each pixel for a TraceLength: 6 * (4 - length) under
// Simple, 3 - length under Diffusion and Fire. A stored value is used as it
// is wherever that formula leaves every byte in 0..255; only lengths that
// would add to a pixel and wrap it past 255 are limited: Simple above 4 counts
// as 4, Diffusion and Fire above 3 as 3. A fade of 255 already blanks every
// pixel, so larger ones (very negative lengths) are held at 255 and the
// arithmetic cannot overflow.
int32_t SimpleFade(int32_t traceLength);
int32_t AverageFade(int32_t traceLength);

// Plain row-by-row passes, in place, top-down and left to right.
void SimplePass(IndexedPixels px, int32_t traceLength);
void DiffusionPass(IndexedPixels px, int32_t traceLength);
void FirePass(IndexedPixels px, int32_t traceLength);

// The same passes vectorised: byte for byte the results of the plain ones.
void SimplePassFast(IndexedPixels px, int32_t traceLength);
void DiffusionPassFast(IndexedPixels px, int32_t traceLength);
void FirePassFast(IndexedPixels px, int32_t traceLength);

// The pass for the current settings (TraceModeInd already reduced mod 3).
void TracePass(const SaverSettings& s, IndexedPixels px);

// How far a pass can carry a non-zero pixel beyond a rectangle holding all
// of them, in columns and rows on each side, for the amount it takes off
// (SimpleFade or AverageFade). Exact: some picture inside the rectangle
// reaches each margin.
struct TraceMargins {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
TraceMargins MarginsFor(TraceEffect effect, int32_t fade);

// The bounding box of the non-zero pixels within `area` (empty when none).
Rect NonZeroBounds(IndexedPixels px, const Rect& area);

// TracePass for a picture that is 0 outside `content`: it gives the same
// bytes, visiting only what the pass can change, and returns the bounding
// box of the non-zero pixels it leaves.
Rect BoundedTracePass(const SaverSettings& s, IndexedPixels px, const Rect& content);

// Repaint pacing of the animation thread.
inline constexpr uint32_t TracePeriodMs = 30;
inline constexpr uint32_t PlainPeriodMs = 10;
inline uint32_t RepaintPeriod(bool trace) { return trace ? TracePeriodMs : PlainPeriodMs; }
// Sleep after a turn that took `elapsed` ms: the rest of the period, at least 3.
uint32_t RepaintWait(uint32_t period, uint32_t elapsed);

// "57 fps": frames / elapsed * 1000 rounded half-even, then the suffix.
// Empty when no time has passed. Returns the length written (buffer >= 32).
size_t FpsText(int32_t frameCount, uint32_t elapsedMs, const char* suffix, char* out, size_t outSize);

// Local time of day in a long time format.
struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};
struct TimeFormat {
    bool twelveHour = false;
    bool leadingZero = true;
    char separator = ':';
    const char* am = "AM";
    const char* pm = "PM";
    bool designatorFirst = false;
};
size_t ClockText(const TimeOfDay& t, const TimeFormat& f, char* out, size_t outSize);

// Paints part of a host's surface black (the rest is black already).
class SurfaceClear {
public:
    virtual ~SurfaceClear() = default;
    virtual void ClearSurface(const Rect& area) = 0;
};

// What a frame does to the surface, the one definition every host and the
// offline renderer run: clear what the last frame drew (Trace off),
// StepFrame, TraceModeInd reduced mod 3, the trace pass over what can hold
// light (Trace on). e.Changed follows what is drawn.
void DrawFrame(Engine& e, SurfaceClear& surface);

// The platform half of one paint.
class FrameHost : public SurfaceClear {
public:
    // Copy `area` of the surface (the frame the previous paint prepared) to
    // the same place in the window; the rest of the window already shows it.
    virtual void Present(const Rect& area) = 0;
    // The point fills leave their last colour as the surface's background;
    // give it back black before anything else uses it.
    virtual void ResetBackground() {}
    // Draw the clock text into the surface, its top-right corner 25 px from
    // the right and top edges, in the clock face. `colour` is null with Trace
    // on: the text stays white and fades with the trails. Returns a
    // rectangle holding every pixel the text touched (empty: none).
    virtual Rect DrawClock(const char* text, size_t length, const PackedColour* colour) = 0;
    // Draw the FPS text onto the window at (10, 10), white on black.
    virtual void DrawFps(const char* text, size_t length) = 0;
    virtual uint32_t Now() = 0;
    virtual void LocalClockText(char* out, size_t outSize, size_t& length) = 0;
};

struct PaintState {
    int32_t FrameCount = 0;
    uint32_t FpsStartTick = 0;
    int32_t ClockTick = 0;
};

// Window creation: the FPS base and the clock's second.
void StartPaintState(PaintState& ps, uint32_t fpsTick, uint32_t clockTick);

// One paint: present, DrawFrame, clock, FPS text.
void PaintFrame(Engine& e, PaintState& ps, FrameHost& host, const char* fpsSuffix);
// A present without a frame (the display is off, a repaint was asked for):
// the screen shows the frame the last paint prepared.
void PresentOnly(Engine& e, FrameHost& host);

}  // namespace quorvex
