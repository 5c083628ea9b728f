// Extended-precision helpers shared by the shape library and the engine.
//
// Every build (x86-64 Linux, i686 MinGW) must produce bit-identical clouds and
// frames. The C libraries disagree on sinl/cosl (glibc computes them in
// software, MinGW uses the x87 instructions), so on x86 both builds go to the
// x87 instructions directly. sqrt is correctly rounded everywhere.
#pragma once

#include <cmath>
#include <cstdint>

namespace quorvex {

inline constexpr long double Pi = 3.141592653589793238462643383279502884L;

inline long double Sin(long double x) {
#if defined(__i386__) || defined(__x86_64__)
    __asm__("fsin" : "+t"(x));
    return x;
#else
    return std::sin(x);
#endif
}

inline long double Cos(long double x) {
#if defined(__i386__) || defined(__x86_64__)
    __asm__("fcos" : "+t"(x));
    return x;
#else
    return std::cos(x);
#endif
}

inline long double Sqrt(long double x) {
#if defined(__i386__) || defined(__x86_64__)
    __asm__("fsqrt" : "+t"(x));
    return x;
#else
    return std::sqrt(x);
#endif
}

// Conversion toward zero, for values known to fit in 32 bits.
inline int32_t Truncate(long double x) { return static_cast<int32_t>(x); }

// Conversion to the nearest integer, ties to even, independent of the
// current rounding mode.
inline int32_t RoundHalfEven(long double x) {
    long double f = std::floor(x);
    long double diff = x - f;
    if (diff > 0.5L) return static_cast<int32_t>(f) + 1;
    if (diff < 0.5L) return static_cast<int32_t>(f);
    int32_t fi = static_cast<int32_t>(f);
    return (fi % 2 == 0) ? fi : fi + 1;
}

// Round an extended value to single precision: the one place a stored float
// is made from an intermediate.
inline float Single(long double x) { return static_cast<float>(x); }

}  // namespace quorvex
