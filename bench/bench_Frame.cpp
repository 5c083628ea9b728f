// The frame step alone (240 points, Trace on and off) and a whole Trace
// frame at 3840 x 2160 (step and pass) against the 30 ms repaint period.
#include <string>

#include "bench_Common.h"
#include "XMath.h"
#include "frame.h"
#include "surface_Software.h"

namespace quorvex::bench {

namespace {

struct Rig {
    Rig(bool trace, int32_t width, int32_t height, int32_t traceModeInd) {
        settings.Trace = trace;
        settings.TraceModeInd = traceModeInd;
        engine.Settings = &settings;
        engine.Ticks = &ticks;
        engine.Target = &surface;
        PrepareClouds(engine);
        surface.Resize(width, height, trace ? SurfaceKind::Indexed : SurfaceKind::Rgb);
        engine.ClientRight = width;
        engine.ClientBottom = height;
        SetUpSurface(engine, width, height);
    }
    // One repaint period later, as the animation thread paces it.
    void Advance() { ticks.Advance(RepaintPeriod(settings.Trace)); }

    SaverSettings settings;
    SimulatedTicks ticks{100000};
    SoftwareSurface surface;
    Engine engine;
};

void Step(benchmark::State& state, bool trace) {
    Rig rig(trace, 1920, 1080, 2);
    const uint64_t allocationsBefore = AllocationCount();
    for (auto _ : state) {
        rig.Advance();
        StepFrame(rig.engine);
        benchmark::ClobberMemory();
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(static_cast<double>(AllocationCount() - allocationsBefore),
                                                            benchmark::Counter::kAvgIterations);
#ifdef QUORVEX_EXTENDED_IN_SOFTWARE
    state.SetLabel("software extended");
#else
    state.SetLabel("x87 long double");
#endif
}

// What one paint costs with Trace on, apart from the copy to the window.
void WholeFrame(benchmark::State& state, int32_t traceModeInd, bool fast) {
    Rig rig(true, 3840, 2160, traceModeInd);
    const TraceEffect effect = EffectFor(traceModeInd);
    const double start = ThreadSeconds();
    for (auto _ : state) {
        rig.Advance();
        StepFrame(rig.engine);
        const IndexedPixels px = rig.surface.Pixels();
        if (fast) {
            TracePass(rig.settings, px);
        } else if (effect == TraceEffect::Simple) {
            SimplePass(px, rig.settings.TraceLength);
        } else if (effect == TraceEffect::Diffusion) {
            DiffusionPass(px, rig.settings.TraceLength);
        } else {
            FirePass(px, rig.settings.TraceLength);
        }
        benchmark::ClobberMemory();
    }
    state.counters["percent_of_period"] = 100.0 * PerIteration(state, start) / (TracePeriodMs * 1e-3);
}

}  // namespace

void RegisterFrames() {
    benchmark::RegisterBenchmark("StepFrame/trace", Step, true)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("StepFrame/plain", Step, false)->Unit(benchmark::kMicrosecond);
    const char* names[] = {"Simple", "Diffusion", "Fire"};
    for (int32_t mode = 0; mode < 3; ++mode) {
        for (const bool fast : {false, true}) {
            const std::string name =
                std::string("WholeFrame/") + names[mode] + (fast ? "/TracePass/" : "/plain/") + "3840x2160";
            benchmark::RegisterBenchmark(name.c_str(), WholeFrame, mode, fast)->Unit(benchmark::kMicrosecond);
        }
    }
}

}  // namespace quorvex::bench
