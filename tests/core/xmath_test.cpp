// Truncate, RoundHalfEven, Sin and Cos against the C library, in every rounding mode the x87 unit can be in.
// The software type is held to these through its bits (extended_test.cpp).
#include "XMath.h"
#ifndef QUORVEX_EXTENDED_IN_SOFTWARE
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <random>
#include <vector>

namespace quorvex {
namespace {

TEST(XMath, ConversionsExactInEveryRoundingMode) {
    // Quarters with their neighbours, halves near the int32 and float limits, random values up to 2e9.
    std::vector<long double> probes = {-0.0L, 1e-4000L, 2147483646.5L, -2147483647.5L, 8388607.5L, -1048577.5L};
    for (long double k = -300; k <= 300; k += 0.25L)
        probes.insert(probes.end(), {k, nextafterl(k, 1e10L), nextafterl(k, -1e10L)});
    std::mt19937_64 rng(21);
    std::uniform_real_distribution<long double> wide(-2.0e9L, 2.0e9L);
    for (int i = 0; i < 20000; ++i) probes.push_back(wide(rng));
    // Worked out first: the compiler may move a conversion across a change of mode.
    std::vector<std::pair<int64_t, int64_t>> expected;  // toward zero, ties to even
    for (const long double x : probes) expected.push_back({int64_t(std::trunc(x)), int64_t(std::nearbyint(x))});
    const int saved = std::fegetround();
    int wrong = 0;
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (size_t i = 0; i < probes.size(); ++i)
            wrong += Truncate(probes[i]) != expected[i].first || RoundHalfEven(probes[i]) != expected[i].second;
    }
    std::fesetround(saved);
    EXPECT_EQ(wrong, 0);
}

TEST(XMath, SineAndCosine) {
    // pi is not a long double: sin of the nearest one is the difference,
    // -5.0165e-20, which a reduction with a short pi gets wrong.
    EXPECT_TRUE(Sin(Pi) == sinl(Pi) && Cos(Pi / 2) == cosl(Pi / 2) && Sin(2 * Pi) == sinl(2 * Pi) &&
                Cos(1001 * Pi / 2) == cosl(1001 * Pi / 2));
    EXPECT_TRUE(Sin(0.0L) == 0.0L && Cos(0.0L) == 1.0L && std::signbit(Sin(-0.0L)));
    EXPECT_TRUE(std::isnan(Sin(INFINITY)) && std::isnan(Cos(NAN)));
    const auto ulps = [](long double a, long double b) {
        return a == b ? 0.0L : fabsl(a - b) / fabsl(nextafterl(b, a) - b);
    };
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> wide(-20000.0, 20000.0), narrow(-8.0, 8.0);
    int same = 0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        const long double x = (i % 2 ? wide(gen) : narrow(gen)) + i * 0x1p-50L;
        ASSERT_TRUE(ulps(Sin(x), sinl(x)) <= 1.0L && ulps(Cos(x), cosl(x)) <= 1.0L) << double(x);
        same += (Sin(x) == sinl(x)) + (Cos(x) == cosl(x));
    }
    EXPECT_GT(same, 2 * n * 9 / 10);
}

}  // namespace
}  // namespace quorvex
#endif
