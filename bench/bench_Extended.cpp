// The extended arithmetic alone: the work of 256 projected points (a turn
// about one axis, the perspective, the stores to single and to int) on the
// hardware long double, the software type, and Boost.Multiprecision's
// cpp_bin_float set to the same format, which was measured as the
// alternative to the software type. Where long double is the x87 format, each
// row also counts how many of its results differ from the x87 unit's.
#include <cfloat>
#include <random>
#include <string>

#include "SoftExtended.h"
#include "XMath.h"
#include "bench_Common.h"

#if __has_include(<boost/multiprecision/cpp_bin_float.hpp>)
#include <boost/multiprecision/cpp_bin_float.hpp>
#define QUORVEX_BENCH_BOOST 1
#endif

namespace quorvex::bench {

namespace {

struct Operands {
    float x[256], y[256], s, c, centre, scale;
};

const Operands& Points() {
    static const Operands points = [] {
        Operands o{};
        std::mt19937 rng(21);
        std::uniform_real_distribution<float> unit(-1.33f, 1.33f);
        for (int i = 0; i < 256; ++i) o.x[i] = unit(rng), o.y[i] = unit(rng);
        o.s = 0.4794255f, o.c = 0.8775826f, o.centre = 0.37f, o.scale = 240.0f;
        return o;
    }();
    return points;
}

// One point: single-precision results and the rounded column, as the engine stores them.
template <class T, class ToFloat, class ToInt>
int64_t Point(const Operands& o, int i, ToFloat single, ToInt round) {
    const T x = o.x[i], y = o.y[i], s = o.s, c = o.c;
    const float turnedX = single(x * c - y * s);
    const float turnedY = single(x * s + y * c);
    const float depth = single(T(1) - (T(turnedY) + T(o.centre)) / T(10));
    return round((T(turnedX) + T(o.centre)) / T(depth) * T(o.scale)) + std::bit_cast<int32_t>(turnedY);
}

template <class T, class ToFloat, class ToInt>
void Arithmetic(benchmark::State& state, const char* label, ToFloat single, ToInt round) {
    const Operands& o = Points();
    int64_t differ = 0;
    for (int i = 0; i < 256 && LDBL_MANT_DIG == 64; ++i) {  // only the x87 format is a reference
        const auto hardware = [](long double v) { return static_cast<float>(v); };
        const auto nearest = [](long double v) { return static_cast<int32_t>(nearbyintl(v)); };
        differ += Point<T>(o, i, single, round) != Point<long double>(o, i, hardware, nearest);
    }
    const uint64_t allocationsBefore = AllocationCount();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int i = 0; i < 256; ++i) sum += Point<T>(o, i, single, round);
        benchmark::DoNotOptimize(sum);
    }
    const double allocations = static_cast<double>(AllocationCount() - allocationsBefore);
    state.SetLabel(label);
    if (LDBL_MANT_DIG == 64) state.counters["points_differing_from_x87"] = static_cast<double>(differ);
    state.counters["allocs"] = allocations;
}

}  // namespace

void RegisterExtended() {
#ifndef QUORVEX_EXTENDED_IN_SOFTWARE
    benchmark::RegisterBenchmark("Extended/hardware", [](benchmark::State& state) {
        Arithmetic<long double>(
            state, "x87 long double", [](long double v) { return Single(v); },
            [](long double v) { return RoundHalfEven(v); });
    });
#endif
    benchmark::RegisterBenchmark("Extended/soft", [](benchmark::State& state) {
        Arithmetic<SoftExtended>(
            state, "SoftExtended", [](SoftExtended v) { return Single(v); },
            [](SoftExtended v) { return RoundHalfEven(v); });
    });
#ifdef QUORVEX_BENCH_BOOST
    using Boost = boost::multiprecision::number<
        boost::multiprecision::cpp_bin_float<64, boost::multiprecision::digit_base_2, void, int16_t, -16382, 16383>,
        boost::multiprecision::et_off>;
    benchmark::RegisterBenchmark("Extended/boost", [](benchmark::State& state) {
        Arithmetic<Boost>(
            state, "cpp_bin_float<64, base 2, int16_t, -16382, 16383>", [](const Boost& v) { return static_cast<float>(v); },
            [](const Boost& v) {  // its round() takes ties away from zero
                const Boost f = floor(v), rest = v - f;
                const int32_t n = static_cast<int32_t>(f);
                return rest > 0.5 || (rest == 0.5 && (n & 1) != 0) ? n + 1 : n;
            });
    });
#endif
}

}  // namespace quorvex::bench
