// The shared sine and cosine against the C library's long double ones (which
// the native build could otherwise use), including the cancellation cases
// near multiples of pi/2 that the shapes hit.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "XMath.h"

namespace quorvex {
namespace {

long double UlpDistance(long double a, long double b) {
    if (a == b) return 0.0L;
    long double ulp = std::fabs(std::nextafter(b, a) - b);
    return std::fabs(a - b) / ulp;
}

TEST(Trig, ExactNearMultiplesOfHalfPi) {
    // pi itself is not a long double: sin of its nearest one is the
    // difference, -5.0165e-20, which a reduction with a short pi gets wrong.
    EXPECT_EQ(Sin(Pi), sinl(Pi));
    EXPECT_EQ(Cos(Pi / 2), cosl(Pi / 2));
    EXPECT_EQ(Sin(2 * Pi), sinl(2 * Pi));
    EXPECT_EQ(Cos(1001 * Pi / 2), cosl(1001 * Pi / 2));
    EXPECT_EQ(Sin(0.0L), 0.0L);
    EXPECT_EQ(Cos(0.0L), 1.0L);
    EXPECT_TRUE(std::signbit(Sin(-0.0L)));
}

TEST(Trig, WithinOneUnitOfTheLibraryOverTheSaversRange) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> wide(-20000.0, 20000.0);
    std::uniform_real_distribution<double> narrow(-8.0, 8.0);
    int same = 0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        long double x = (i % 2 ? wide(gen) : narrow(gen)) + static_cast<long double>(i) * 0x1p-50L;
        ASSERT_LE(UlpDistance(Sin(x), sinl(x)), 1.0L) << static_cast<double>(x);
        ASSERT_LE(UlpDistance(Cos(x), cosl(x)), 1.0L) << static_cast<double>(x);
        same += Sin(x) == sinl(x);
        same += Cos(x) == cosl(x);
    }
    EXPECT_GT(same, 2 * n * 9 / 10);
}

TEST(Trig, NotFiniteGivesNotANumber) {
    EXPECT_TRUE(std::isnan(Sin(INFINITY)));
    EXPECT_TRUE(std::isnan(Cos(NAN)));
}

}  // namespace
}  // namespace quorvex
