// The memcpy yardstick, and the surface and counters the rows share.
#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <utility>
#include <vector>

#include "bench_Common.h"

namespace quorvex::bench {

namespace {

using SizeKey = std::pair<int32_t, int32_t>;

double Median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Iterations and seconds per copy of every run of a Memcpy row, by size. The
// library also calls a row with fewer iterations while it settles how many to
// time; only the runs with the final count are the row's repetitions.
struct CopyRun {
    benchmark::IterationCount iterations;
    double seconds;
};
std::map<SizeKey, std::vector<CopyRun>>& MemcpyRows() {
    static std::map<SizeKey, std::vector<CopyRun>> rows;
    return rows;
}

double RowSeconds(const std::vector<CopyRun>& runs) {
    benchmark::IterationCount most = 0;
    for (const CopyRun& r : runs) most = std::max(most, r.iterations);
    std::vector<double> seconds;
    for (const CopyRun& r : runs) {
        if (r.iterations == most) seconds.push_back(r.seconds);
    }
    return Median(seconds);
}

void CopySurface(benchmark::State& state, int32_t width, int32_t height) {
    BenchSurface from(width, height);
    std::vector<uint8_t> to(from.bytes.size());
    const double start = ThreadSeconds();
    for (auto _ : state) {
        std::memcpy(to.data(), from.bytes.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    const double perCopy = PerIteration(state, start);
    MemcpyRows()[SizeKey{width, height}].push_back(CopyRun{state.iterations(), perCopy});
    ReportPerPixel(state, perCopy, width, height);
}

}  // namespace

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

BenchSurface::BenchSurface(int32_t w, int32_t h)
    : width(w), height(h), bytes(static_cast<size_t>(w) * static_cast<size_t>(h)) {
    // A fixed xorshift picture: every byte value, no structure a pass could
    // short-cut.
    uint32_t x = 2463534242u;
    for (uint8_t& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x >> 24);
    }
}

double MemcpySeconds(int32_t width, int32_t height) {
    const SizeKey key{width, height};
    if (auto row = MemcpyRows().find(key); row != MemcpyRows().end() && !row->second.empty()) {
        return RowSeconds(row->second);
    }
    // No Memcpy row of this size has run (a filter left it out): time copies
    // here, once.
    static std::map<SizeKey, double> standalone;
    if (auto it = standalone.find(key); it != standalone.end()) return it->second;
    BenchSurface from(width, height);
    std::vector<uint8_t> to(from.bytes.size());
    constexpr int Warm = 20;
    constexpr int Runs = 301;
    std::vector<double> times;
    times.reserve(Runs);
    for (int i = 0; i < Warm + Runs; ++i) {
        const double start = ThreadSeconds();
        std::memcpy(to.data(), from.bytes.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        if (i >= Warm) times.push_back(ThreadSeconds() - start);
    }
    return standalone[key] = Median(times);
}

void ReportPerPixel(benchmark::State& state, double secondsPerIteration, int32_t width, int32_t height) {
    const double pixels = static_cast<double>(width) * static_cast<double>(height);
    state.counters["ns_per_px"] = secondsPerIteration * 1e9 / pixels;
    state.counters["ratio_to_memcpy"] = secondsPerIteration / MemcpySeconds(width, height);
}

void RegisterMemcpy() {
    for (const SurfaceSize& size : Sizes) {
        benchmark::RegisterBenchmark((std::string("Memcpy/") + size.name).c_str(), CopySurface, size.width, size.height)
            ->Unit(benchmark::kMicrosecond);
    }
}

}  // namespace quorvex::bench
