// The decimal text of stored settings and window handles must read back to
// the same 32-bit integer, every one of them. The suite sweeps a strided
// sample that touches every digit count and sign, plus each integer next to
// a digit-count boundary; QUORVEX_DECIMAL_SWEEP=full sweeps all 2^32 (a
// few minutes, see docs/robustness.md).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "settings.h"

namespace quorvex::testing {
namespace {

// Returns an empty text when value round-trips and its text has the shape
// the store writes (one character per digit of |value|, 48 + d or 48 - d),
// otherwise what went wrong.
std::string RoundTripFault(int32_t value) {
    char text[16];
    std::memset(text, 0x7E, sizeof text);
    const size_t n = IntToDecimal(value, text);
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    const std::string digits = std::to_string(magnitude);
    if (n != digits.size()) return "length " + std::to_string(n) + " for " + std::to_string(value);
    if (text[n] != 0x7E) return "wrote past the text for " + std::to_string(value);
    for (size_t k = 0; k < n; ++k) {
        const int d = digits[k] - '0';
        if (static_cast<unsigned char>(text[k]) != (value < 0 ? 48 - d : 48 + d)) {
            return "character " + std::to_string(k) + " of " + std::to_string(value);
        }
    }
    const int32_t back = DecimalToInt(text, n);
    if (back != value) return std::to_string(value) + " read back as " + std::to_string(back);
    return {};
}

std::vector<int32_t> EdgeValues() {
    std::vector<int32_t> v = {0, 1, -1, INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1};
    // Both sides of every change in digit count, for both signs.
    for (int64_t p = 1; p <= 1000000000; p *= 10) {
        for (int64_t q : {p - 1, p, p + 1}) {
            v.push_back(static_cast<int32_t>(q));
            v.push_back(static_cast<int32_t>(-q));
        }
    }
    // Values whose digits are all nines or all ones, which carry in both directions.
    for (int64_t r = 9, o = 1; r <= INT32_MAX; r = r * 10 + 9, o = o * 10 + 1) {
        v.push_back(static_cast<int32_t>(r));
        v.push_back(static_cast<int32_t>(-r));
        v.push_back(static_cast<int32_t>(o));
        v.push_back(static_cast<int32_t>(-o));
    }
    return v;
}

TEST(DecimalSweep, EdgeValuesRoundTrip) {
    const std::vector<int32_t> values = EdgeValues();
    ASSERT_GT(values.size(), 60u);
    for (int32_t v : values) EXPECT_EQ(RoundTripFault(v), "") << v;
}

TEST(DecimalSweep, StridedSampleOfAllIntegersRoundTrips) {
    // 65537 is odd, so the stride walks through every residue class of the
    // low bits and lands on values of every length and both signs.
    constexpr uint64_t Stride = 65537;
    const bool full = std::getenv("QUORVEX_DECIMAL_SWEEP") != nullptr &&
                      std::strcmp(std::getenv("QUORVEX_DECIMAL_SWEEP"), "full") == 0;
    const uint64_t step = full ? 1 : Stride;
    uint64_t checked = 0;
    int failures = 0;
    for (uint64_t u = 0; u <= UINT32_MAX; u += step) {
        const std::string fault = RoundTripFault(static_cast<int32_t>(static_cast<uint32_t>(u)));
        ++checked;
        if (!fault.empty() && ++failures <= 10) ADD_FAILURE() << fault;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(checked, full ? uint64_t{1} << 32 : (UINT32_MAX / Stride) + 1);
}

TEST(DecimalSweep, TextOfAnyBytesReadsModulo2To32) {
    // DecimalToInt against the plain rule over every single byte and every
    // pair, and over long texts that overflow many times.
    for (int a = 0; a < 256; ++a) {
        const char one[1] = {static_cast<char>(a)};
        EXPECT_EQ(DecimalToInt(one, 1), a - 48);
        for (int b = 0; b < 256; ++b) {
            const char two[2] = {static_cast<char>(a), static_cast<char>(b)};
            ASSERT_EQ(DecimalToInt(two, 2), (a - 48) * 10 + (b - 48)) << a << " " << b;
        }
    }
    std::string nines(40, '9');
    uint64_t expected = 0;
    for (char c : nines) expected = (expected * 10 + static_cast<uint64_t>(c - '0')) & 0xFFFFFFFFu;
    EXPECT_EQ(DecimalToInt(nines), static_cast<int32_t>(static_cast<uint32_t>(expected)));
}

}  // namespace
}  // namespace quorvex::testing
