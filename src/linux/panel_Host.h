// What every back end's paint shares: the surface, the clock drawn into it,
// the local time, and the engine of one animation. A back end adds only how
// the surface reaches the screen and the FPS text.
#pragma once

#include <cstdint>

#include "clock_Face.h"
#include "clock_Format.h"
#include "clock_Monotonic.h"
#include "frame.h"
#include "surface_Software.h"

namespace quorvex::linux_host {

class PanelHost : public FrameHost {
public:
    PanelHost(SoftwareSurface& surface, ClockFace& face, const ClockStyle& style)
        : surface_(surface), face_(face), style_(style) {}

    void ClearSurface(const Rect& area) override { surface_.FillRect(area, 0); }
    Rect DrawClock(const char* text, size_t length, const PackedColour* colour) override;
    uint32_t Now() override { return MonotonicMs(); }
    void LocalClockText(char* out, size_t outSize, size_t& length) override;

    // Whether the clock and the FPS text are drawn: on the first monitor's
    // animation only.
    void ShowTexts(bool texts) { texts_ = texts; }
    bool Texts() const { return texts_; }

protected:
    SoftwareSurface& surface_;

private:
    bool texts_ = true;
    ClockFace& face_;
    const ClockStyle& style_;
};

// One animation with its own engine and random draw, as the Windows saver
// starts one at WM_CREATE: the FPS base, the clock's second and the first
// two shapes. `index` spreads the seeds of the animations of one run.
struct Animation {
    Engine engine;
    PaintState paint;
};
void StartAnimation(Animation& a, SaverSettings& settings, TickSource& ticks, DrawTarget& target, uint32_t seed,
                    size_t index);
// A surface of the new size for the animation (the Windows WM_SIZE): the
// picture kind follows Trace, and the engine gets its projection again.
// The new surface is presented whole.
void ResizeAnimation(Animation& a, SoftwareSurface& surface, int32_t width, int32_t height);

}  // namespace quorvex::linux_host
