// The number type of the engine's intermediates: the x87 extended format,
// 64-bit significand, rounded to nearest. On x86 that is the hardware long
// double; elsewhere, or when QUORVEX_SOFT_EXTENDED is set, the same format in
// software (SoftExtended.h). Both give the same bits for every operation the
// engine uses, so every build draws the same frames.
#pragma once

#include <cfloat>

#if defined(QUORVEX_SOFT_EXTENDED) || !(defined(__i386__) || defined(__x86_64__))
#define QUORVEX_EXTENDED_IN_SOFTWARE 1
#include "SoftExtended.h"
#endif

namespace quorvex {

#ifdef QUORVEX_EXTENDED_IN_SOFTWARE
using Extended = SoftExtended;
#else
using Extended = long double;
#endif

// A constant given by its bits (a hexadecimal literal, exact in any binary
// long double of 64 bits or more) beside the decimal it stands for. Where
// long double is the x87 format the compiler checks that the two agree, so
// the bits are those the decimal has always had on x86.
consteval Extended ExtendedConstant(long double bits, long double decimal) {
    if (LDBL_MANT_DIG == 64 && bits != decimal) throw "the bits differ from the decimal they stand for";
    return Extended(bits);
}

}  // namespace quorvex
