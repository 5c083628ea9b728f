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

namespace {

class SoftwareClear final : public SurfaceClear {
public:
    explicit SoftwareClear(SoftwareSurface& surface) : surface_(surface) {}
    void ClearSurface(const Rect& area) override { surface_.FillRect(area, 0); }

private:
    SoftwareSurface& surface_;
};

}  // namespace

void RenderFrame(RenderSession& session) {
    session.ticks.Advance(session.frameMs);
    SoftwareClear clear(session.surface);
    DrawFrame(session.engine, clear);
}

}  // namespace quorvex::cli
