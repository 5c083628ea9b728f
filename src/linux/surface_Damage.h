// Which parts of the Trace-off surface a frame drew on. Without trails a
// frame is black but for the points and the clock, so the next frame needs
// to clear, convert and put only those parts instead of the whole surface.
#pragma once

#include <cstdint>

#include "RDrawUn.h"
#include "surface_Software.h"

namespace quorvex::linux_host {

// A few bounding boxes, one per kind of drawing; empty boxes have
// left >= right or top >= bottom.
struct Damage {
    static constexpr int Count = 2;
    static constexpr int Points = 0;
    static constexpr int Clock = 1;
    Rect boxes[Count]{};

    // Grows box `which` to hold r clipped to width x height.
    void Add(int which, const Rect& r, int32_t width, int32_t height);
    void Clear();
    bool Empty() const;
};

bool IsEmpty(const Rect& r);

// The parts of the surface a present must put, given what the frame put
// last drew (`shown`) and what the frame now on the surface drew: the whole
// surface when `whole` is set or with Trace (whose pass changes every
// pixel); otherwise only what the two frames drew, as the rest is black on
// both. Returns how many parts it wrote.
inline constexpr int MaxFrameChanges = 2 * Damage::Count;
int FrameChanges(const SoftwareSurface& surface, bool whole, const Damage& shown, const Damage& drawn,
                 Rect (&parts)[MaxFrameChanges]);

// The engine's drawing target for the host: draws into the surface and
// records where the rectangle fills went.
class DamageTrackingTarget final : public DrawTarget {
public:
    explicit DamageTrackingTarget(SoftwareSurface& surface) : surface_(surface) {}
    IndexedPixels Pixels() override { return surface_.Pixels(); }
    void SetColourTable(const ColourEntry (&table)[256]) override { surface_.SetColourTable(table); }
    void FillRect(const Rect& r, PackedColour colour) override;
    Damage& Drawn() { return drawn_; }

private:
    SoftwareSurface& surface_;
    Damage drawn_;
};

}  // namespace quorvex::linux_host
