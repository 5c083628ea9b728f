// Offline frame sequence; see render_Session.h.
#include "render_Session.h"

#include "frame.h"

namespace quorvex::cli {

void StartRender(RenderSession& session, const RenderOptions& options) {
    session.settings = options.settings;
    session.preview = options.preview;
    session.frameMs = options.frameMs;

    Engine& e = session.engine;
    e = Engine{};
    e.Settings = &session.settings;
    e.PreviewMode = options.preview;
    e.Ticks = &session.ticks;
    e.Target = &session.surface;
    e.Random.RandomSeed = options.seed;
    PrepareClouds(e);

    session.surface.Resize(options.width, options.height,
                           session.settings.Trace ? SurfaceKind::Indexed : SurfaceKind::Rgb);
    // The set-up reads the clock, so it must already show the start tick.
    session.ticks.Set(options.startTick);
    SetUpSurface(e, options.width, options.height);
}

void RenderFrame(RenderSession& session) {
    SaverSettings& s = session.settings;
    session.ticks.Advance(session.frameMs);
    if (!s.Trace) session.surface.Clear();
    StepFrame(session.engine);
    s.TraceModeInd %= 3;
    if (s.Trace) TracePass(s, session.surface.Pixels());
}

}  // namespace quorvex::cli
