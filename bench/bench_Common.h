// What the benchmark rows share: the surface sizes, a filled surface, the
// memcpy yardstick and the counters every row reports.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "RDrawUn.h"

namespace quorvex::bench {

struct SurfaceSize {
    int32_t width;
    int32_t height;
    const char* name;
};
inline constexpr SurfaceSize Sizes[] = {{1920, 1080, "1920x1080"}, {3840, 2160, "3840x2160"}};

// An 8-bit surface without row padding, filled with a fixed pseudo-random
// picture.
struct BenchSurface {
    explicit BenchSurface(int32_t width, int32_t height);
    IndexedPixels Pixels() { return IndexedPixels{bytes.data(), width, height, width}; }
    int32_t width;
    int32_t height;
    std::vector<uint8_t> bytes;
};

// Seconds of thread CPU time for one memcpy of a width x height surface: the
// median over the repetitions of the Memcpy row of that size, which runs
// before every other row; measured on the spot when a filter left that row
// out.
double MemcpySeconds(int32_t width, int32_t height);

// Thread CPU time in seconds, the clock the library reports a row's CPU
// time with.
double ThreadSeconds();

// CPU seconds per iteration of the loop a row has just run, started at
// `start`. The counters below are plain numbers computed from it (the
// library's own inverted-rate counters would print as times).
inline double PerIteration(const benchmark::State& state, double start) {
    return (ThreadSeconds() - start) / static_cast<double>(state.iterations());
}

// ns_per_px and ratio_to_memcpy for a row that handles one surface per
// iteration.
void ReportPerPixel(benchmark::State& state, double secondsPerIteration, int32_t width, int32_t height);

// Heap allocations made since the program started.
uint64_t AllocationCount();

void RegisterMemcpy();
void RegisterTracePasses();
void RegisterFrames();
void RegisterExtended();

}  // namespace quorvex::bench
