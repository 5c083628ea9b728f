// The frame sequence of an offline render: the frame work every window host
// runs (DrawFrame), driven by a simulated clock.
#pragma once

#include <cstdint>

#include "RDrawUn.h"
#include "render_Options.h"
#include "surface_Software.h"

namespace quorvex::cli {

// Holds pointers into itself: make it once and keep it in place.
struct RenderSession {
    SaverSettings settings;
    bool preview = false;
    uint32_t frameMs = 0;
    SimulatedTicks ticks;
    SoftwareSurface surface;
    Engine engine;

    RenderSession() = default;
    RenderSession(const RenderSession&) = delete;
    RenderSession& operator=(const RenderSession&) = delete;
};

// Seeds the generator, picks the first two shapes and sets up a black
// surface with the clock at the start tick.
void StartRender(RenderSession& session, const RenderOptions& options);
// One frame: the clock moves by the frame time, then DrawFrame, as in every
// window host.
void RenderFrame(RenderSession& session);

}  // namespace quorvex::cli
