// Sine and cosine in extended precision, identical on every build, written
// once for the hardware and the software type.
//
// The argument is reduced by the nearest multiple of pi/2, with pi/2 split
// into three parts so that the first two products are exact (Cody and Waite);
// the remainder is kept as a pair hi + lo. Near a multiple of pi/2 the result
// is the small remainder itself, so this is what keeps sin(Pi) or cos(Pi/2)
// accurate to the last digit. On the reduced range |r| <= pi/4 the Taylor
// series converges below a unit in the last place by the terms kept; the
// rounding of its evaluation leaves results up to 1.18 units off near
// |r| = pi/4 (XMath.h says what was measured).
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <type_traits>

#include "XMath.h"

namespace quorvex::trig {

// pi/2 = HalfPi1 + HalfPi2 + HalfPi3 (+ 2.3e-41): 32, 32 and 64 bits.
template <class T>
constexpr T HalfPi1 = 0x1.921fb544p+0L;
template <class T>
constexpr T HalfPi2 = 0x1.0b4611a6p-34L;
template <class T>
constexpr T HalfPi3 = 0x1.3198a2e03707344ap-69L;
template <class T>
constexpr T TwoOverPi = 0x1.45f306dc9c882a54p-1L;

// (-1)^n / (2n+1)! for n = 1..11, and (-1)^n / (2n)! for n = 2..12, each
// the nearest extended number.
template <class T>
constexpr T SinTerms[] = {
    -0x1.5555555555555556p-3L,  0x1.1111111111111112p-7L,  -0x1.a01a01a01a01a01ap-13L, 0x1.71de3a556c7338fap-19L,
    -0x1.ae64567f544e38fep-26L, 0x1.6124613a86d097cap-33L, -0x1.ae7f3e733b81f11ep-41L, 0x1.952c77030ad4a6b2p-49L,
    -0x1.2f49b4681415724cp-57L, 0x1.71b8ef6dcf5718bep-66L, -0x1.761b413163819d98p-75L,
};
template <class T>
constexpr T CosTerms[] = {
    0x1.5555555555555556p-5L,   -0x1.6c16c16c16c16c16p-10L, 0x1.a01a01a01a01a01ap-16L,  -0x1.27e4fb7789f5c72ep-22L,
    0x1.1eed8eff8d897b54p-29L,  -0x1.93974a8c07c9d20cp-37L, 0x1.ae7f3e733b81f11ep-45L,  -0x1.6827863b97d977bcp-53L,
    0x1.e542ba402022507ap-62L,  -0x1.0ce396db7f852946p-70L, 0x1.f2cf01972f577ccap-80L,
};

template <class T, size_t N>
T Series(const T (&terms)[N], T z) {
    T sum = terms[N - 1];
    for (size_t i = N - 1; i-- > 0;) sum = terms[i] + z * sum;
    return sum;
}

// sin(hi + lo) for |hi| <= pi/4, |lo| tiny against hi.
template <class T>
T SinReduced(T hi, T lo) {
    const T z = hi * hi;
    return hi + (lo + hi * (z * Series(SinTerms<T>, z)));
}

// cos(hi + lo) for |hi| <= pi/4.
template <class T>
T CosReduced(T hi, T lo) {
    const T z = hi * hi;
    const T w = 0.5L * z - z * (z * Series(CosTerms<T>, z)) + hi * lo;
    return 1.0L - w;
}

template <class T>
struct Reduced {
    T hi = 0.0L;
    T lo = 0.0L;
    int quadrant = 0;  // the multiple of pi/2 taken off, modulo 4
};

template <class T>
bool Reduce(T x, Reduced<T>& out) {
    // Beyond 2^30 the exact products above no longer hold. The callers keep
    // their angles far below (the spin sheds whole turns past 16384 rad, and a
    // frame's step is capped at 40 ms); the engine tests check the spin's
    // bound, so the library fallback, which differs between builds, is
    // never reached.
    if (!(x < 0x1p30L && x > -0x1p30L)) return false;
    const T k = NearbyInt(x * TwoOverPi<T>);
    const T t = x - k * HalfPi1<T>;  // exact
    const T w = k * HalfPi2<T>;      // exact
    const T hi = t - w;
    const T lo = ((t - hi) - w) - k * HalfPi3<T>;
    out.hi = hi + lo;
    out.lo = lo - (out.hi - hi);
    out.quadrant = RoundHalfEven(k) & 3;
    return true;
}

// Beyond the reduction's reach: the C library for the hardware type, a NaN
// for the software one, which has no library to ask.
template <class T>
T OutOfReach(T x, bool sine) {
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(x)) return std::numeric_limits<T>::quiet_NaN();
        return sine ? std::sin(x) : std::cos(x);
    } else {
        return (void)x, (void)sine, T::DefaultNaN();
    }
}

template <class T>
T SinOf(T x) {
    if (x == 0.0L) return x;  // keeps the sign of zero
    Reduced<T> r;
    if (!Reduce(x, r)) return OutOfReach(x, true);
    switch (r.quadrant) {
        case 0: return SinReduced(r.hi, r.lo);
        case 1: return CosReduced(r.hi, r.lo);
        case 2: return -SinReduced(r.hi, r.lo);
        default: return -CosReduced(r.hi, r.lo);
    }
}

template <class T>
T CosOf(T x) {
    Reduced<T> r;
    if (!Reduce(x, r)) return OutOfReach(x, false);
    switch (r.quadrant) {
        case 0: return CosReduced(r.hi, r.lo);
        case 1: return -SinReduced(r.hi, r.lo);
        case 2: return -CosReduced(r.hi, r.lo);
        default: return SinReduced(r.hi, r.lo);
    }
}

}  // namespace quorvex::trig
