// Extended-precision helpers shared by the shape library and the engine.
//
// Every build (x86-64 Linux, i686 MinGW) must produce bit-identical clouds and
// frames, and the values must be those of extended arithmetic rounded to
// nearest. The C libraries disagree on sinl/cosl (glibc computes them in
// software, MinGW uses the x87 instructions, whose built-in 66-bit pi makes
// sin(pi) come out 8 % off), so both builds use the one implementation in
// XMath_Trig.cpp. sqrt is correctly rounded everywhere.
#pragma once

#include <cmath>
#include <cstdint>

#include "Extended.h"

namespace quorvex {

inline constexpr Extended Pi = ExtendedConstant(0xc.90fdaa22168c235p-2L, 3.141592653589793238462643383279502884L);

// Sine and cosine in extended precision, the same bits on every build. Not
// correctly rounded: against 300-bit arithmetic, over 100 000 arguments each
// of |x| <= 8 and |x| <= 2^20, 5.4 % of sines and 5.9 % of cosines are not the
// nearest long double, and 77 of the 200 000 results are off by more than one
// unit in the last place, at most 1.18 units (all where the reduced argument
// lies near +-pi/4). Every caller rounds the result (or a product of it) to
// single precision at once, 40 bits coarser, so this never shows except in
// the rare value that lies within about a unit of a single's rounding
// boundary, and then alike on every build. The argument reduction is exact
// enough that sin(Pi) is right in all its digits. For |x| >= 2^30 they fall
// back to the C library, which differs between builds (the software type has
// none and gives a NaN); no caller gets there
// (spin angles stay below 16384 rad plus a frame's turn, the colour cycle
// within 2 pi, the shapes within 32 pi).
Extended Sin(Extended x);
Extended Cos(Extended x);

// The software type brings its own Sqrt, NearbyInt, Truncate, RoundHalfEven
// and Single; these are the hardware ones.
#ifndef QUORVEX_EXTENDED_IN_SOFTWARE
inline long double Sqrt(long double x) {
    __asm__("fsqrt" : "+t"(x));
    return x;
}

// The x87 integer store in whatever rounding mode is set: one of the two
// integers next to x, for |x| < 2^31 - 1. The conversions below correct it to the
// one they want instead of switching the rounding mode, whose control-word
// writes stall the x87 unit (a frame converts a few thousand values).
inline int32_t NearInteger(long double x) {
    int32_t r;
    __asm__("fistpl %0" : "=m"(r) : "t"(x) : "st");
    return r;
}

// Conversion toward zero, for |x| < 2^31 - 1. Which way the store rounded
// is as good as random, so the correction is arithmetic, not a branch.
inline int32_t Truncate(long double x) {
    const int32_t r = NearInteger(x);
    const long double back = r;
    const int32_t roundedUp = (x >= 0.0L) & (back > x);
    const int32_t roundedDown = (x < 0.0L) & (back < x);
    return r - roundedUp + roundedDown;
}

// Conversion to the nearest integer, ties to even, independent of the
// current rounding mode. In the usual round-to-nearest mode the store already
// gives it unless x lies halfway.
inline int32_t RoundHalfEven(long double x) {
    const int32_t r = NearInteger(x);
    const long double off = x - static_cast<long double>(r);
    if (off < 0.5L && off > -0.5L) return r;
    const int32_t f = r - (off < 0.0L);  // floor(x)
    const long double diff = x - static_cast<long double>(f);
    if (diff > 0.5L) return f + 1;
    if (diff < 0.5L) return f;
    return (f % 2 == 0) ? f : f + 1;
}

// Round an extended value to single precision: the one place a stored float
// is made from an intermediate.
inline float Single(long double x) { return static_cast<float>(x); }

// The nearest integral value, ties to even in the rounding mode the engine
// runs in.
inline long double NearbyInt(long double x) { return std::nearbyint(x); }
#endif

}  // namespace quorvex
