// Sine and cosine in long double, identical on every build.
//
// The argument is reduced by the nearest multiple of pi/2, with pi/2 split
// into three parts so that the first two products are exact (Cody and Waite);
// the remainder is kept as a pair hi + lo. Near a multiple of pi/2 the result
// is the small remainder itself, so this is what keeps sin(Pi) or cos(Pi/2)
// accurate to the last digit. On the reduced range |r| <= pi/4 the Taylor
// series converges below a unit in the last place by the terms kept; the
// rounding of its evaluation leaves results up to 1.18 units off near
// |r| = pi/4 (XMath.h says what was measured).
#include <cmath>
#include <limits>

#include "XMath.h"

namespace quorvex {

namespace {

// pi/2 = HalfPi1 + HalfPi2 + HalfPi3 (+ 2.3e-41): 32, 32 and 64 bits.
constexpr long double HalfPi1 = 0x1.921fb544p+0L;
constexpr long double HalfPi2 = 0x1.0b4611a6p-34L;
constexpr long double HalfPi3 = 0x1.3198a2e03707344ap-69L;
constexpr long double TwoOverPi = 0x1.45f306dc9c882a54p-1L;

// (-1)^n / (2n+1)! for n = 1..11, and (-1)^n / (2n)! for n = 2..12, each
// the nearest long double.
constexpr long double SinTerms[] = {
    -0x1.5555555555555556p-3L,  0x1.1111111111111112p-7L,  -0x1.a01a01a01a01a01ap-13L, 0x1.71de3a556c7338fap-19L,
    -0x1.ae64567f544e38fep-26L, 0x1.6124613a86d097cap-33L, -0x1.ae7f3e733b81f11ep-41L, 0x1.952c77030ad4a6b2p-49L,
    -0x1.2f49b4681415724cp-57L, 0x1.71b8ef6dcf5718bep-66L, -0x1.761b413163819d98p-75L,
};
constexpr long double CosTerms[] = {
    0x1.5555555555555556p-5L,   -0x1.6c16c16c16c16c16p-10L, 0x1.a01a01a01a01a01ap-16L,  -0x1.27e4fb7789f5c72ep-22L,
    0x1.1eed8eff8d897b54p-29L,  -0x1.93974a8c07c9d20cp-37L, 0x1.ae7f3e733b81f11ep-45L,  -0x1.6827863b97d977bcp-53L,
    0x1.e542ba402022507ap-62L,  -0x1.0ce396db7f852946p-70L, 0x1.f2cf01972f577ccap-80L,
};

template <size_t N>
long double Series(const long double (&terms)[N], long double z) {
    long double sum = terms[N - 1];
    for (size_t i = N - 1; i-- > 0;) sum = terms[i] + z * sum;
    return sum;
}

// sin(hi + lo) for |hi| <= pi/4, |lo| tiny against hi.
long double SinReduced(long double hi, long double lo) {
    const long double z = hi * hi;
    return hi + (lo + hi * (z * Series(SinTerms, z)));
}

// cos(hi + lo) for |hi| <= pi/4.
long double CosReduced(long double hi, long double lo) {
    const long double z = hi * hi;
    const long double w = 0.5L * z - z * (z * Series(CosTerms, z)) + hi * lo;
    return 1.0L - w;
}

struct Reduced {
    long double hi = 0.0L;
    long double lo = 0.0L;
    int quadrant = 0;  // the multiple of pi/2 taken off, modulo 4
};

bool Reduce(long double x, Reduced& out) {
    // Beyond 2^30 the exact products above no longer hold. The callers keep
    // their angles far below (the spin sheds whole turns past 16384 rad, and a
    // frame's step is capped at 40 ms); the engine tests check the spin's
    // bound, so the library fallback, which differs between builds, is
    // never reached.
    if (!(std::fabs(x) < 0x1p30L)) return false;
    const long double k = std::nearbyint(x * TwoOverPi);
    const long double t = x - k * HalfPi1;  // exact
    const long double w = k * HalfPi2;      // exact
    const long double hi = t - w;
    const long double lo = ((t - hi) - w) - k * HalfPi3;
    out.hi = hi + lo;
    out.lo = lo - (out.hi - hi);
    const long long kk = static_cast<long long>(k);
    out.quadrant = static_cast<int>(kk & 3);
    return true;
}

}  // namespace

long double Sin(long double x) {
    if (x == 0.0L) return x;  // keeps the sign of zero
    Reduced r;
    if (!Reduce(x, r)) return std::isfinite(x) ? std::sin(x) : std::numeric_limits<long double>::quiet_NaN();
    switch (r.quadrant) {
        case 0: return SinReduced(r.hi, r.lo);
        case 1: return CosReduced(r.hi, r.lo);
        case 2: return -SinReduced(r.hi, r.lo);
        default: return -CosReduced(r.hi, r.lo);
    }
}

long double Cos(long double x) {
    Reduced r;
    if (!Reduce(x, r)) return std::isfinite(x) ? std::cos(x) : std::numeric_limits<long double>::quiet_NaN();
    switch (r.quadrant) {
        case 0: return CosReduced(r.hi, r.lo);
        case 1: return -SinReduced(r.hi, r.lo);
        case 2: return -CosReduced(r.hi, r.lo);
        default: return SinReduced(r.hi, r.lo);
    }
}

}  // namespace quorvex
