// Each trace pass, plain and vectorised, over a whole surface per iteration.
#include <string>
#include <vector>

#include "bench_Common.h"
#include "frame.h"
#include "frame_TraceFast.h"

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

}  // namespace

void RegisterTracePasses() {
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
