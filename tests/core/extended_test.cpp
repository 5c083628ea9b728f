// The software extended type against the x87 unit on generated operands:
// random bits, and the cases where rounding is hard to get right.
#include <cfloat>
#if LDBL_MANT_DIG == 64
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "XMath_Trig.h"
#include "x87_reference.h"

namespace quorvex {
namespace {

using x87::Hard;
constexpr uint64_t Lead = SoftExtended::Lead;
constexpr int32_t Bias = SoftExtended::Bias;
#if defined(__SANITIZE_ADDRESS__)
constexpr int64_t Rounds = 100000;  // a tenth in the sanitizer build
#else
constexpr int64_t Rounds = 1000000;
#endif

long double Make(bool negative, int32_t e, uint64_t m) {
    return Hard(static_cast<uint16_t>((negative ? 0x8000 : 0) | e), m | Lead);
}

TEST(SoftExtended, EveryOperationGivesTheBitsOfTheX87Unit) {
    std::map<std::string, int64_t> wrong;
    std::string examples;
    int64_t operands = 0;
    const auto fail = [&](const char* op, long double a, long double b) {
        char line[96];
        std::snprintf(line, sizeof line, "%s on %La, %La\n", op, a, b);
        if (wrong[op]++ < 3) examples += line;
    };
    const auto check = [&](long double a, long double b) {
        operands += 2;
        x87::CompareAll(a, b, [&](const char* op) { fail(op, a, b); });
    };
    const long double specials[] = {0.0L, -0.0L, 1.0L, -1.0L, 0.5L, -1.5L, 2.5L, 2147483646.5L, -2147483646.5L,
                                    0x1.ffffffp127L, 0x1p-126L, 0x1.000001p-126L, 0x1p-149L, 0x1.8p-149L};
    for (const long double a : specials)
        for (const long double b : specials) check(a, b), check(nextafterl(a, 1), nextafterl(b, -1));
    std::mt19937_64 rng(21);
    for (int64_t i = 0; i < Rounds; ++i) {
        const uint64_t r1 = rng(), r2 = rng(), r3 = rng();
        const bool n1 = r3 >> 63, n2 = (r3 >> 62) & 1;
        const int32_t e = Bias - 40 + static_cast<int32_t>(r3 % 80);
        // Random bits near one, and over the whole exponent range.
        check(Make(n1, e, r1), Make(n2, e + static_cast<int32_t>((r3 >> 8) % 130) - 65, r2));
        check(Make(n1, 1 + static_cast<int32_t>(r1 % 32766), r2), Make(n2, 1 + static_cast<int32_t>(r2 % 32766), r1));
        // Short significands whose products and quotients are exact or lie on
        // the rounding point; halves of an ulp, with carries out of the top.
        const int k1 = 20 + static_cast<int>(r3 % 24), k2 = 62 + static_cast<int>((r3 >> 5) % 3) - k1;
        const long double x = Make(n1, e, (r1 >> k1 | 1) << k1), y = Make(n2, e, (r2 >> k2 | 1) << k2);
        check(x, y), check(x * y, y), check(nextafterl(x * y, 0), y);
        check(Make(n1, e, (r3 & 1) ? ~uint64_t{0} : r1), Make(n2, e - 63 - static_cast<int32_t>(r2 % 3), (r3 & 2) ? Lead | (r2 >> 61) : r2));
        // Products and quotients at the bottom of the normal range.
        const int32_t k = static_cast<int32_t>(r3 % 64), low = (r3 & 8) ? 1 : 0;
        const long double bottom = Make(n1, 1 + k, (r3 & 16) ? ~uint64_t{0} : r1);
        check(bottom, Make(n2, Bias - k - low, (r3 & 32) ? Lead : r2)), check(bottom, Make(n2, Bias + k + low, (r3 & 32) ? Lead : r2));
        // Cancellation: nearly equal magnitudes.
        check(Make(n1, e, r1), Make(!n1, e - static_cast<int32_t>((r3 >> 20) & 1), r1 + (r2 % 16) - 8));
        // Perfect squares and their neighbours, at both exponent parities.
        const uint64_t s = (r1 >> 32) | (uint64_t{1} << 31);
        const long double square = ldexpl(static_cast<long double>(s * s), static_cast<int>(r2 % 200) - 100);
        check(square, nextafterl(square, 0)), check(nextafterl(square, INFINITY), square);
        // Halfway between two floats, and just either side.
        const float f = std::bit_cast<float>(static_cast<uint32_t>(r2) & 0x7f7fffffu);
        const long double mid = (static_cast<long double>(f) + nextafterf(f, INFINITY)) / 2;
        check(n1 ? -mid : mid, nextafterl(mid, n2 ? 0 : INFINITY));
        // Quarters of integers, up to the int32 limits.
        const long double q = static_cast<int64_t>(r1 >> 33) * ((r3 & 4) ? 1 : -1) + (r2 & 3) * 0.25L;
        const long double edge = ((r3 & 4) ? 1 : -1) * (2147483647.0L - (r2 % 8) * 0.5L);
        check(q, nextafterl(q, n2 ? 0 : INFINITY)), check(edge, nextafterl(edge, 0));
    }
    // Sine and cosine: every step in software against the engine's hardware ones.
#ifndef QUORVEX_EXTENDED_IN_SOFTWARE
    for (int64_t i = 0; i < Rounds / 4; ++i) {
        const uint64_t r = rng();
        const long double x = ldexpl(static_cast<long double>(r >> 11), static_cast<int>(r % 64) - 87) * ((r & 1) ? 1 : -1);
        const long double y = (r & 2) ? x : NearbyInt(x) * Pi / 2;  // near multiples of pi/2 too
        operands += 1;
        if (!x87::Agrees(trig::SinOf(x87::Soft(y)), Sin(y))) fail("sin", y, y);
        if (!x87::Agrees(trig::CosOf(x87::Soft(y)), Cos(y))) fail("cos", y, y);
    }
#endif
    RecordProperty("operands", std::to_string(operands));
    std::printf("%lld operands compared\n", static_cast<long long>(operands));
    EXPECT_TRUE(wrong.empty()) << examples;
}

}  // namespace
}  // namespace quorvex
#endif
