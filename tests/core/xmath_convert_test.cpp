// Truncate and RoundHalfEven against the C library's exact conversions, on
// the values where a conversion goes wrong first: integers, halves, and their
// nearest neighbours on both sides, in every rounding mode the x87 unit can
// be left in.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "XMath.h"

namespace quorvex {
namespace {

std::vector<long double> Probes() {
    std::vector<long double> v;
    auto around = [&v](long double x) {
        v.push_back(x);
        v.push_back(std::nextafter(x, 1e10L));
        v.push_back(std::nextafter(x, -1e10L));
    };
    for (int32_t k = -300; k <= 300; ++k) {
        around(static_cast<long double>(k));
        around(k + 0.5L);
        around(k + 0.25L);
    }
    for (const long double big : {2147483646.0L, -2147483647.0L, 1048576.5L, -1048577.5L, 8388607.5L, 16777216.5L}) {
        around(big);
    }
    around(0.0L);
    v.push_back(-0.0L);
    v.push_back(1e-4000L);
    v.push_back(-1e-4000L);
    std::mt19937_64 rng(21);
    std::uniform_real_distribution<long double> wide(-2.0e9L, 2.0e9L), narrow(-300.0L, 300.0L);
    for (int i = 0; i < 20000; ++i) v.push_back(i % 2 ? wide(rng) : narrow(rng));
    // Products as the engine forms them: brightness times a tint over 255.
    for (int32_t b = 0; b <= 255; ++b) v.push_back(b * 249.42f / 255.0L);
    return v;
}

// Exact references: truncl, and nearbyintl in round-to-nearest (ties to even).
void ExpectExact(const std::vector<long double>& probes, int mode) {
    for (const long double x : probes) {
        const long double t = std::trunc(x);
        if (t >= -2147483648.0L && t <= 2147483647.0L) {
            ASSERT_EQ(Truncate(x), static_cast<int64_t>(t)) << mode << " x = " << static_cast<double>(x);
        }
        const int saved = std::fegetround();
        std::fesetround(FE_TONEAREST);
        const long double r = std::nearbyint(x);
        std::fesetround(saved);
        if (r >= -2147483648.0L && r <= 2147483647.0L) {
            ASSERT_EQ(RoundHalfEven(x), static_cast<int64_t>(r)) << mode << " x = " << static_cast<double>(x);
        }
    }
}

TEST(XMathConvert, ExactInEveryRoundingMode) {
    const std::vector<long double> probes = Probes();
    const int saved = std::fegetround();
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        ExpectExact(probes, mode);
        std::fesetround(saved);
        if (HasFatalFailure()) return;
    }
}

TEST(XMathConvert, WorkedCases) {
    EXPECT_TRUE(RoundHalfEven(2.5L) == 2 && RoundHalfEven(3.5L) == 4 && RoundHalfEven(-2.5L) == -2 &&
                RoundHalfEven(-3.5L) == -4);
    EXPECT_TRUE(Truncate(255.0L - 110.848L) == 144 && Truncate(-0.75L) == 0 && Truncate(-1.0L) == -1);
}

}  // namespace
}  // namespace quorvex
