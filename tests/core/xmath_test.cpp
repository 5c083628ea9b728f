// Truncate, RoundHalfEven, Sin and Cos against the C library, in every rounding mode the x87 unit can be in.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <random>
#include <vector>

#include "XMath.h"

namespace quorvex {
namespace {

TEST(XMath, ConversionsExactInEveryRoundingMode) {
    // Integers, halves and quarters with their neighbours, large values, and
    // the products the engine forms (brightness times a tint over 255).
    std::vector<long double> probes = {-0.0L, 1e-4000L, -1e-4000L}, bases = {2147483646.0L, -2147483647.0L, 1048576.5L,
                                                                            -1048577.5L, 8388607.5L, 16777216.5L};
    for (long double k = -300; k <= 300; ++k) bases.insert(bases.end(), {k, k + 0.5L, k + 0.25L});
    for (long double x : bases) probes.insert(probes.end(), {x, std::nextafter(x, 1e10L), std::nextafter(x, -1e10L)});
    std::mt19937_64 rng(21);
    std::uniform_real_distribution<long double> wide(-2.0e9L, 2.0e9L), narrow(-300.0L, 300.0L);
    for (int i = 0; i < 20000; ++i) probes.push_back(i % 2 ? wide(rng) : narrow(rng));
    const int saved = std::fegetround();
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        for (const long double x : probes) {
            std::fesetround(FE_TONEAREST);
            const long double t = std::trunc(x), r = std::nearbyint(x);  // ties to even
            ASSERT_EQ(std::fesetround(mode), 0);
            const auto in = [](long double v) { return v >= -2147483648.0L && v <= 2147483647.0L; };
            ASSERT_TRUE(!in(t) || Truncate(x) == int64_t(t)) << mode << " " << double(x);
            ASSERT_TRUE(!in(r) || RoundHalfEven(x) == int64_t(r)) << mode << " " << double(x);
        }
    }
    std::fesetround(saved);
}

TEST(XMath, SineAndCosine) {
    // pi is not a long double: sin of the nearest one is the difference,
    // -5.0165e-20, which a reduction with a short pi gets wrong.
    EXPECT_TRUE(Sin(Pi) == sinl(Pi) && Cos(Pi / 2) == cosl(Pi / 2) && Sin(2 * Pi) == sinl(2 * Pi) &&
                Cos(1001 * Pi / 2) == cosl(1001 * Pi / 2));
    EXPECT_TRUE(Sin(0.0L) == 0.0L && Cos(0.0L) == 1.0L && std::signbit(Sin(-0.0L)));
    EXPECT_TRUE(std::isnan(Sin(INFINITY)) && std::isnan(Cos(NAN)));
    const auto ulps = [](long double a, long double b) { return a == b ? 0.0L : std::fabs(a - b) / std::fabs(std::nextafter(b, a) - b); };
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
