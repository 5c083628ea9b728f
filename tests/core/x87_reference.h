// Every operation of the software extended type against the x87 unit, on one
// pair of operands (x86 only: there long double is the x87 format).
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "SoftExtended.h"

namespace quorvex::x87 {

inline SoftExtended Soft(long double x) {
    uint64_t m;
    uint16_t se;
    std::memcpy(&m, &x, 8), std::memcpy(&se, reinterpret_cast<const char*>(&x) + 8, 2);
    return SoftExtended::FromBits(se, m);
}
inline long double Hard(uint16_t se, uint64_t m) {
    long double x = 0;
    std::memcpy(&x, &m, 8), std::memcpy(reinterpret_cast<char*>(&x) + 8, &se, 2);
    return x;
}

// The same bits where the x87 result is a normal number or zero; where it is
// out of range the soft one must be out of range too, or a flushed zero.
inline bool Agrees(SoftExtended s, long double h) {
    const SoftExtended r = Soft(h);
    if (!r.InRange()) return !s.InRange() || s.IsZero();
    return s.SignExponent() == r.SignExponent() && s.Significand() == r.Significand();
}

// Calls fail(name) for each operation whose results differ; operands out of range are skipped.
template <class Fail>
void CompareAll(long double a, long double b, Fail&& fail) {
    const SoftExtended sa = Soft(a), sb = Soft(b);
    if (!sa.InRange() || !sb.InRange()) return;
    if (!Agrees(sa + sb, a + b)) fail("+");
    if (!Agrees(sa - sb, a - b)) fail("-");
    if (!Agrees(sa * sb, a * b)) fail("*");
    if (b != 0 && !Agrees(sa / sb, a / b)) fail("/");
    if ((sa < sb) != (a < b) || (sa > sb) != (a > b) || (sa <= sb) != (a <= b) || (sa >= sb) != (a >= b) ||
        (sa == sb) != (a == b) || (sa != sb) != (a != b))
        fail("compare");
    if (!Agrees(Sqrt(Soft(fabsl(a))), sqrtl(fabsl(a)))) fail("sqrt");
    if (std::bit_cast<uint32_t>(Single(sa)) != std::bit_cast<uint32_t>(static_cast<float>(a))) fail("to float");
    if (!Agrees(NearbyInt(sa), nearbyintl(a))) fail("nearbyint");
    if (fabsl(a) < 2147483647.0L && (Truncate(sa) != int32_t(truncl(a)) || RoundHalfEven(sa) != int32_t(nearbyintl(a))))
        fail("to int32");
    const float f = std::bit_cast<float>(static_cast<uint32_t>(sb.Significand()));
    if (!std::isnan(f) && !Agrees(SoftExtended(f), f)) fail("from float");
    const int64_t i = static_cast<int64_t>(sb.Significand() >> (sb.Exponent() & 63));
    if (!Agrees(SoftExtended(i), i) || !Agrees(SoftExtended(int32_t(i)), int32_t(i))) fail("from integer");
}

}  // namespace quorvex::x87
