// The x87 extended format in software, for processors whose long double is
// something else (IEEE quad on 64-bit ARM, double elsewhere): a 64-bit
// significand with an explicit leading bit and a 15-bit exponent (bias
// 16383), every operation rounded once, to nearest with ties to even, exactly
// as the x87 unit does in its default mode. The x86 build runs the same engine
// on the hardware long double; both give the same bits.
//
// Out of range: the engine never meets subnormals, infinities or NaNs, so
// they are not computed the x87 way. A result too small for a normal number
// is flushed to zero (the x87 unit would keep a subnormal), one too large
// becomes infinity, and any operation on an out-of-range operand gives the
// x87 default NaN.
#pragma once

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace quorvex {

class SoftExtended {
public:
    static constexpr int32_t Bias = 16383;
    static constexpr int32_t TopExponent = 0x7fff;  // infinities and NaNs
    static constexpr uint64_t Lead = uint64_t{1} << 63;

    constexpr SoftExtended() = default;

    // Exact: every float is a normal extended number.
    [[gnu::always_inline]] constexpr SoftExtended(float f) {
        const uint32_t bits = std::bit_cast<uint32_t>(f);
        const uint16_t sign = static_cast<uint16_t>((bits >> 16) & 0x8000u);
        const int32_t e = static_cast<int32_t>((bits >> 23) & 0xffu);
        const uint64_t m = bits & 0x7fffffu;
        if (e == 0xff) {
            *this = m == 0 ? Infinity(sign != 0) : DefaultNaN();
        } else if (e == 0) {
            if (m != 0) {  // a float subnormal, m * 2^-149
                const int32_t top = 63 - std::countl_zero(m);
                sig_ = m << (63 - top);
                se_ = static_cast<uint16_t>(sign | (top - 149 + Bias));
            } else {
                se_ = sign;
            }
        } else {
            sig_ = (m | 0x800000u) << 40;
            se_ = static_cast<uint16_t>(sign | (e - 127 + Bias));
        }
    }

    // Exact for every integer type up to 64 bits.
    template <std::integral I>
    constexpr SoftExtended(I v) {
        const bool negative = v < 0;
        const uint64_t magnitude = negative ? uint64_t{0} - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        *this = FromMagnitude(negative, magnitude);
    }

    // A constant: evaluated by the compiler, and refused unless the literal
    // is exactly an extended number. A decimal literal read by a compiler
    // whose long double is wider and then narrowed could round twice, so
    // constants that are not short binary fractions are written by their bits
    // (hexadecimal literals) and this check keeps it so.
    consteval SoftExtended(long double v) {
        if (v != v) throw "a NaN is not a constant of the engine";
        const bool negative = __builtin_signbit(v) != 0;
        if (negative) v = -v;
        if (v == 0) {
            se_ = negative ? 0x8000 : 0;
            return;
        }
        int32_t e = 0;
        while (v >= 2) v /= 2, ++e;
        while (v < 1) v *= 2, --e;
        for (int i = 0; i < 64; ++i) {
            sig_ <<= 1;
            if (v >= 1) sig_ |= 1, v -= 1;
            v *= 2;
        }
        if (v != 0) throw "a constant with more significant bits than the extended format holds";
        if (e + Bias <= 0 || e + Bias >= TopExponent) throw "a constant outside the extended range";
        se_ = static_cast<uint16_t>((negative ? 0x8000 : 0) | (e + Bias));
    }

    // The x87 encoding: sign and exponent in 16 bits, then the significand.
    static constexpr SoftExtended FromBits(uint16_t signExponent, uint64_t significand) {
        SoftExtended r;
        r.se_ = signExponent;
        r.sig_ = significand;
        return r;
    }
    constexpr uint16_t SignExponent() const { return se_; }
    constexpr uint64_t Significand() const { return sig_; }

    static constexpr SoftExtended DefaultNaN() { return FromBits(0xffff, 0xc000000000000000u); }
    static constexpr SoftExtended Infinity(bool negative) {
        return FromBits(static_cast<uint16_t>((negative ? 0x8000 : 0) | TopExponent), Lead);
    }

    constexpr bool Negative() const { return (se_ & 0x8000) != 0; }
    constexpr int32_t Exponent() const { return se_ & 0x7fff; }  // biased
    constexpr bool IsZero() const { return Exponent() == 0 && sig_ == 0; }
    // A normal number or zero: the values the engine works with.
    constexpr bool InRange() const {
        const int32_t e = Exponent();
        return e == 0 ? sig_ == 0 : e != TopExponent && (sig_ & Lead) != 0;
    }
    constexpr bool IsNaN() const { return Exponent() == TopExponent && sig_ != Lead; }

    constexpr SoftExtended operator-() const { return FromBits(static_cast<uint16_t>(se_ ^ 0x8000), sig_); }
    constexpr SoftExtended operator+() const { return *this; }

    [[gnu::always_inline]] friend constexpr SoftExtended operator+(SoftExtended a, SoftExtended b) { return Add(a, b, false); }
    [[gnu::always_inline]] friend constexpr SoftExtended operator-(SoftExtended a, SoftExtended b) { return Add(a, b, true); }
    [[gnu::always_inline]] friend constexpr SoftExtended operator*(SoftExtended a, SoftExtended b) {
        if (!a.InRange() || !b.InRange()) return DefaultNaN();
        const bool negative = a.Negative() != b.Negative();
        if (a.IsZero() || b.IsZero()) return FromBits(negative ? 0x8000 : 0, 0);
        U128 p = static_cast<U128>(a.sig_) * b.sig_;  // in [2^126, 2^128)
        int32_t e = a.Exponent() + b.Exponent() - Bias + 1;
        if ((p >> 127) == 0) p <<= 1, --e;
        return RoundPack(negative, e, p);
    }
    friend constexpr SoftExtended operator/(SoftExtended a, SoftExtended b) {
        if (!a.InRange() || !b.InRange() || b.IsZero()) return DefaultNaN();
        const bool negative = a.Negative() != b.Negative();
        if (a.IsZero()) return FromBits(negative ? 0x8000 : 0, 0);
        int32_t e = a.Exponent() - b.Exponent() + Bias;
        if (b.sig_ == Lead) return RoundPack(negative, e, static_cast<U128>(a.sig_) << 64);  // a power of two: exact
        // The quotient's 64 bits, then the remainder tells the rest.
        const bool shiftOne = a.sig_ < b.sig_;
        if (shiftOne) --e;
        uint64_t rem = 0;
        const uint64_t q = shiftOne ? Divide(a.sig_, 0, b.sig_, rem) : Divide(a.sig_ >> 1, a.sig_ << 63, b.sig_, rem);
        // Below or past half a unit: never exactly half, as that would make
        // b times an odd 65-bit number a 64-bit one, so b a power of two.
        const uint64_t below = rem == 0 ? 0 : rem < b.sig_ - rem ? 1 : Lead | 1;
        return RoundPack(negative, e, (static_cast<U128>(q) << 64) | below);
    }
    SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
    SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
    SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
    SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

    friend constexpr bool operator==(SoftExtended a, SoftExtended b) { return Compare(a, b) == 0; }
    friend constexpr bool operator!=(SoftExtended a, SoftExtended b) { return Compare(a, b) != 0; }
    friend constexpr bool operator<(SoftExtended a, SoftExtended b) { return Compare(a, b) == -1; }
    friend constexpr bool operator>(SoftExtended a, SoftExtended b) { return Compare(a, b) == 1; }
    friend constexpr bool operator<=(SoftExtended a, SoftExtended b) { return b >= a; }
    friend constexpr bool operator>=(SoftExtended a, SoftExtended b) {
        const int c = Compare(a, b);
        return c == 0 || c == 1;
    }

    // Correctly rounded square root; out of range for negative operands.
    friend SoftExtended Sqrt(SoftExtended x) {
        if (!x.InRange() || (x.Negative() && !x.IsZero())) return DefaultNaN();
        if (x.IsZero()) return x;
        // x = sig * 2^u, u = exponent - 63: take n = sig * 2^s with u - s even
        // and n in [2^126, 2^128), so that its root has 64 bits.
        const int32_t u = x.Exponent() - Bias - 63;
        const int32_t s = (u & 1) ? 63 : 64;
        const U128 n = static_cast<U128>(x.sig_) << s;
        uint64_t q = RootEstimate(n);
        const U128 r = n - static_cast<U128>(q) * q;
        // sqrt(n) - q > 1/2 exactly when n - q^2 > q; it is never a tie.
        const bool up = r > q;
        const int32_t e = (u - s) / 2 + 63 + Bias;
        if (!up) return Pack(false, e, q);
        return ++q == 0 ? Pack(false, e + 1, Lead) : Pack(false, e, q);
    }

    // Single precision in one rounding, float subnormals included.
    [[gnu::always_inline]] friend constexpr float Single(SoftExtended x) {
        const uint32_t sign = x.Negative() ? 0x80000000u : 0u;
        if (!x.InRange()) {
            return std::bit_cast<float>(x.IsNaN() ? 0xffc00000u : sign | 0x7f800000u);
        }
        if (x.IsZero()) return std::bit_cast<float>(sign);
        int32_t e = x.Exponent() - Bias;
        // Bits kept: 24 for a normal float, fewer below 2^-126.
        const int32_t drop = e >= -126 ? 40 : -86 - e;
        if (drop > 64) return std::bit_cast<float>(sign);
        const uint64_t kept = drop == 64 ? 0 : x.sig_ >> drop;
        uint32_t m = static_cast<uint32_t>(kept + RoundsUp(x.sig_, drop, kept));
        if (e < -126) return std::bit_cast<float>(sign | m);  // m may carry into the smallest normal
        if (m == 0x1000000u) m >>= 1, ++e;
        if (e > 127) return std::bit_cast<float>(sign | 0x7f800000u);
        return std::bit_cast<float>(sign | static_cast<uint32_t>(e + 127) << 23 | (m & 0x7fffffu));
    }

    // Conversion toward zero, for |x| < 2^31; out of range gives INT32_MIN,
    // as the x87 integer store does.
    friend constexpr int32_t Truncate(SoftExtended x) {
        const int32_t e = x.Exponent() - Bias;
        if (!x.InRange() || e >= 31) return INT32_MIN;
        if (e < 0) return 0;
        const int64_t v = static_cast<int64_t>(x.sig_ >> (63 - e));
        return static_cast<int32_t>(x.Negative() ? -v : v);
    }

    // To the nearest integer, ties to even, for |x| < 2^31.
    friend constexpr int32_t RoundHalfEven(SoftExtended x) {
        const int32_t e = x.Exponent() - Bias;
        if (!x.InRange() || e >= 31) return INT32_MIN;
        const int64_t v = static_cast<int64_t>(RoundedMagnitude(x));
        return x.Negative() ? static_cast<int32_t>(-v) : v > INT32_MAX ? INT32_MIN : static_cast<int32_t>(v);
    }

    // The nearest integral value, ties to even, keeping the sign of zero.
    friend constexpr SoftExtended NearbyInt(SoftExtended x) {
        if (!x.InRange() || x.Exponent() - Bias >= 63) return x;
        const uint64_t m = RoundedMagnitude(x);
        return m == 0 ? FromBits(x.se_ & 0x8000, 0) : FromMagnitude(x.Negative(), m);
    }

private:
    using U128 = unsigned __int128;

    static constexpr SoftExtended FromMagnitude(bool negative, uint64_t magnitude) {
        if (magnitude == 0) return SoftExtended();
        const int32_t lz = std::countl_zero(magnitude);
        return FromBits(static_cast<uint16_t>((negative ? 0x8000 : 0) | (Bias + 63 - lz)), magnitude << lz);
    }

    // A normalised significand with its biased exponent; flushes what falls
    // out of range.
    [[gnu::always_inline]] static constexpr SoftExtended Pack(bool negative, int32_t e, uint64_t sig) {
        const uint16_t sign = negative ? 0x8000 : 0;
        if (e >= TopExponent) return Infinity(negative);
        if (e <= 0) return FromBits(sign, 0);  // would be subnormal
        return FromBits(static_cast<uint16_t>(sign | e), sig);
    }

    // v has its leading bit at 127; e is the biased exponent of that bit.
    [[gnu::always_inline]] static constexpr SoftExtended RoundPack(bool negative, int32_t e, U128 v) {
        uint64_t hi = static_cast<uint64_t>(v >> 64);
        const uint64_t lo = static_cast<uint64_t>(v);
        // Just below the normal range the x87 unit rounds on its subnormal
        // grid, one bit coarser: from all ones there that carries into the
        // smallest normal number, which is in range.
        if (e == 0 && hi == ~uint64_t{0}) return FromBits(negative ? 0x8001 : 1, Lead);
        if (lo > Lead || (lo == Lead && (hi & 1) != 0)) {
            if (++hi == 0) hi = Lead, ++e;
        }
        return Pack(negative, e, hi);
    }

    // Whether dropping the low `drop` bits of sig (1..64) rounds kept up.
    [[gnu::always_inline]] static constexpr uint32_t RoundsUp(uint64_t sig, int32_t drop, uint64_t kept) {
        const uint64_t half = uint64_t{1} << (drop - 1);
        const uint64_t rest = drop == 64 ? sig : sig & ((half << 1) - 1);
        return rest > half || (rest == half && (kept & 1) != 0);
    }

    // |x| rounded to an integer, ties to even, for exponents below 63.
    static constexpr uint64_t RoundedMagnitude(SoftExtended x) {
        if (x.IsZero()) return 0;
        const int32_t drop = 63 - (x.Exponent() - Bias);
        if (drop > 64) return 0;  // below a half
        const uint64_t kept = drop == 64 ? 0 : x.sig_ >> drop;
        return kept + RoundsUp(x.sig_, drop, kept);
    }

    // -1, 0, 1, or 2 when either is a NaN.
    [[gnu::always_inline]] static constexpr int Compare(SoftExtended a, SoftExtended b) {
        if (a.IsNaN() || b.IsNaN()) return 2;
        if (a.IsZero() && b.IsZero()) return 0;
        if (a.Negative() != b.Negative()) return a.Negative() ? -1 : 1;
        const U128 ma = static_cast<U128>(a.Exponent()) << 64 | a.sig_;
        const U128 mb = static_cast<U128>(b.Exponent()) << 64 | b.sig_;
        const int c = ma < mb ? -1 : ma > mb ? 1 : 0;
        return a.Negative() ? -c : c;
    }

    [[gnu::always_inline]] static constexpr SoftExtended Add(SoftExtended a, SoftExtended b, bool subtract) {
        if (!a.InRange() || !b.InRange()) return DefaultNaN();
        if (subtract) b = -b;
        if (b.IsZero()) return a.IsZero() ? FromBits(a.se_ & b.se_ & 0x8000, 0) : a;
        if (a.IsZero()) return b;
        if (a.Exponent() < b.Exponent() || (a.Exponent() == b.Exponent() && a.sig_ < b.sig_)) std::swap(a, b);
        // 62 bits of room below each significand, and a sticky bit for
        // whatever is shifted out beyond them: enough for one rounding.
        const int32_t d = a.Exponent() - b.Exponent();
        if (d >= 66) return a;  // |b| is under half of either unit next to a: a rounds back to itself
        const U128 wide = static_cast<U128>(a.sig_) << 62;
        U128 small = static_cast<U128>(b.sig_) << 62;
        if (d > 0) {
            const bool sticky = (small & ((static_cast<U128>(1) << d) - 1)) != 0;
            small = (small >> d) | sticky;
        }
        const bool same = a.Negative() == b.Negative();
        U128 v = same ? wide + small : wide - small;
        if (v == 0) return SoftExtended();  // x - x is +0 when rounding to nearest
        const uint64_t top = static_cast<uint64_t>(v >> 64);
        const int32_t lz = top != 0 ? std::countl_zero(top) : 64 + std::countl_zero(static_cast<uint64_t>(v));
        v <<= lz;
        return RoundPack(a.Negative(), a.Exponent() + 2 - lz, v);
    }

    // (hi:lo) / d for hi < d: the quotient, and the remainder in rem.
    static constexpr uint64_t Divide(uint64_t hi, uint64_t lo, uint64_t d, uint64_t& rem) {
#if defined(__x86_64__)
        if (!std::is_constant_evaluated()) {
            uint64_t q;
            __asm__("divq %[d]" : "=a"(q), "=d"(rem) : [d] "r"(d), "a"(lo), "d"(hi) : "cc");
            return q;
        }
#endif
        const U128 n = static_cast<U128>(hi) << 64 | lo;
        rem = static_cast<uint64_t>(n % d);
        return static_cast<uint64_t>(n / d);
    }

    // floor(sqrt(n)) for n in [2^126, 2^128).
    static uint64_t RootEstimate(U128 n) {
        const double approx = std::sqrt(static_cast<double>(n));  // within 2^12 of the root
        U128 q = approx >= 0x1p64 ? ~uint64_t{0} : static_cast<uint64_t>(approx);
        q = (q + n / q) / 2;  // one Newton step: within one of the root
        while (q * q > n) --q;
        while (q < ~uint64_t{0} && (q + 1) * (q + 1) <= n) ++q;
        return static_cast<uint64_t>(q);
    }

    uint64_t sig_ = 0;
    uint16_t se_ = 0;
};

// Found by ordinary lookup too, for arguments that are constants.
SoftExtended Sqrt(SoftExtended x);
constexpr float Single(SoftExtended x);
constexpr int32_t Truncate(SoftExtended x);
constexpr int32_t RoundHalfEven(SoftExtended x);
constexpr SoftExtended NearbyInt(SoftExtended x);

}  // namespace quorvex
