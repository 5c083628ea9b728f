// Each trace pass, plain and vectorised, over a whole surface per iteration.
#include <string>
#include <vector>

#include "bench_Common.h"
#include "frame.h"
#include "frame_TraceFast.h"
#include "surface_Software.h"

namespace quorvex::bench {

namespace {

using PassFn = void (*)(IndexedPixels, int32_t);

struct Pass {
    const char* name;
    PassFn plain;
    PassFn fast;
};

constexpr Pass Passes[] = {
    {"Simple", SimplePass, SimplePassFast},
    {"Diffusion", DiffusionPass, DiffusionPassFast},
    {"Fire", FirePass, FirePassFast},
};

// `path`: the instruction set the fast pass is pinned to for this row.
void RunPass(benchmark::State& state, PassFn pass, TraceVectorPath path, int32_t width, int32_t height) {
    BenchSurface surface(width, height);
    // The default TraceLength; the passes cost the same for every length.
    const int32_t traceLength = SaverSettings{}.TraceLength;
    SetTraceVectorPath(path);
    const double start = ThreadSeconds();
    for (auto _ : state) {
        pass(surface.Pixels(), traceLength);
        benchmark::ClobberMemory();
    }
    ReportPerPixel(state, PerIteration(state, start), width, height);
    SetTraceVectorPath(TraceVectorPath::Automatic);
}

// Two savers on the same frames: one pass over the whole surface, one over
// what can hold light. Only the passes are timed; the pictures are what the
// saver shows after a few seconds and go on changing as it does.
struct TypicalRig {
    explicit TypicalRig(int32_t traceModeInd) {
        settings.TraceModeInd = traceModeInd;
        engine.Settings = &settings;
        engine.Ticks = &ticks;
        engine.Target = &surface;
        PrepareClouds(engine);
        surface.Resize(3840, 2160, SurfaceKind::Indexed);
        SetUpSurface(engine, 3840, 2160);
    }
    // One frame: the points, then the pass; returns its thread CPU seconds.
    double Frame(bool bounded) {
        ticks.Advance(TracePeriodMs);
        StepFrame(engine);
        const double start = ThreadSeconds();
        if (bounded) {
            engine.Changed.content = BoundedTracePass(settings, surface.Pixels(), engine.Changed.content);
        } else {
            TracePass(settings, surface.Pixels());
        }
        return ThreadSeconds() - start;
    }
    SaverSettings settings;
    SimulatedTicks ticks{100000};
    SoftwareSurface surface;
    Engine engine;
};

void RunTypical(benchmark::State& state, int32_t traceModeInd) {
    TypicalRig full(traceModeInd), bounded(traceModeInd);
    for (int f = 0; f < 100; ++f) full.Frame(false), bounded.Frame(true);
    double fullSeconds = 0, boundedSeconds = 0;
    for (auto _ : state) {
        fullSeconds += full.Frame(false);
        boundedSeconds += bounded.Frame(true);
        benchmark::ClobberMemory();
    }
    const Rect& c = bounded.engine.Changed.content;
    const double n = static_cast<double>(state.iterations());
    state.counters["full_us"] = 1e6 * fullSeconds / n;
    state.counters["bounded_us"] = 1e6 * boundedSeconds / n;
    state.counters["ratio"] = boundedSeconds / fullSeconds;
    state.counters["lit_share"] = static_cast<double>(c.right - c.left) * (c.bottom - c.top) / (3840.0 * 2160.0);
}

}  // namespace

void RegisterTracePasses() {
    const char* names[] = {"Simple", "Diffusion", "Fire"};
    for (int32_t mode = 0; mode < 3; ++mode) {
        const std::string name = std::string("TypicalPicture/") + names[mode] + "/bounded-vs-full/3840x2160";
        benchmark::RegisterBenchmark(name.c_str(), RunTypical, mode)->Unit(benchmark::kMillisecond);
    }
    // "fast" is what TracePass runs on this machine; where that is the AVX2
    // code, "fast-sse2" shows the baseline kernels every x86 build has.
    struct Variant {
        const char* name;
        bool fast;
        TraceVectorPath path;
    };
    std::vector<Variant> variants = {{"plain", false, TraceVectorPath::Automatic},
                                     {"fast", true, TraceVectorPath::Automatic}};
    if (Avx2Usable()) variants.push_back({"fast-sse2", true, TraceVectorPath::Sse2});
    for (const Pass& pass : Passes) {
        for (const SurfaceSize& size : Sizes) {
            for (const Variant& v : variants) {
                const std::string name = std::string(pass.name) + "/" + v.name + "/" + size.name;
                benchmark::RegisterBenchmark(name.c_str(), RunPass, v.fast ? pass.fast : pass.plain, v.path, size.width,
                                             size.height)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

}  // namespace quorvex::bench
