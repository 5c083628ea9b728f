// The program's decimal text: IntToDecimal and DecimalToInt. A 4-byte input
// is a 32-bit integer whose text must read back to it; any other input is a
// text whose number must match the rule "each byte adds its code minus 48,
// modulo 2^32", worked out here independently.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_Args.h"
#include "settings.h"

namespace quorvex::fuzz {
namespace {

// Decimal digits of |value| (as a 64-bit magnitude, so INT32_MIN is fine).
std::string MagnitudeDigits(int32_t value) {
    int64_t m = value;
    if (m < 0) m = -m;
    return std::to_string(m);
}

void CheckInteger(int32_t value) {
    const std::string text = IntToDecimal(value);
    char buffer[16];
    std::memset(buffer, 0x5A, sizeof buffer);
    const size_t n = IntToDecimal(value, buffer);
    QV_FUZZ_CHECK(n == text.size() && std::memcmp(buffer, text.data(), n) == 0, "the two IntToDecimal forms agree");
    QV_FUZZ_CHECK(n <= 12 && buffer[12] == 0x5A, "IntToDecimal wrote past its 12 bytes");

    // Digit k of |value| d becomes the character 48 + d for a positive value
    // and 48 - d for a negative one: no sign character, nothing else.
    const std::string digits = MagnitudeDigits(value);
    QV_FUZZ_CHECK(text.size() == digits.size(), std::to_string(value) + " -> '" + text + "'");
    for (size_t k = 0; k < digits.size(); ++k) {
        const int d = digits[k] - '0';
        const int want = value < 0 ? 48 - d : 48 + d;
        QV_FUZZ_CHECK(static_cast<unsigned char>(text[k]) == want, std::to_string(value) + " -> '" + text + "'");
    }
    const int32_t back = DecimalToInt(text);
    QV_FUZZ_CHECK(back == value, std::to_string(value) + " read back as " + std::to_string(back));
}

int32_t ReferenceNumber(const uint8_t* data, size_t size) {
    uint64_t total = 0;
    for (size_t i = 0; i < size; ++i) {
        total = (total * 10 + data[i] + (1ull << 32) - 48) & 0xFFFFFFFFull;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(total));
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    using namespace quorvex::fuzz;
    if (size == 4) {
        int32_t value;
        std::memcpy(&value, data, 4);
        CheckInteger(value);
        // The neighbours of every value found share its digit-carrying edges.
        CheckInteger(static_cast<int32_t>(static_cast<uint32_t>(value) + 1u));
        CheckInteger(static_cast<int32_t>(static_cast<uint32_t>(value) - 1u));
        return 0;
    }
    const int32_t got = DecimalToInt(reinterpret_cast<const char*>(data), size);
    const int32_t want = ReferenceNumber(data, size);
    QV_FUZZ_CHECK(got == want, "text of " + std::to_string(size) + " bytes read as " + std::to_string(got) + ", want " +
                                   std::to_string(want));
    return 0;
}
