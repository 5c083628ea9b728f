// An 8-bit picture with padded rows for the trace pass tests. The last row
// ends at its last pixel, so a read past the picture leaves the allocation
// (which a sanitizer build reports).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "frame.h"

namespace quorvex::test {

inline constexpr uint8_t Padding = 0xA5;

struct Picture {
    int32_t w, h, stride;
    std::vector<uint8_t> bytes;
    Picture(int32_t width, int32_t height, int32_t s, uint8_t fill = 0)
        : w(width), h(height), stride(s), bytes(static_cast<size_t>(s) * (height - 1) + width, Padding) {
        for (int32_t y = 0; y < h; ++y) std::fill_n(&at(0, y), w, fill);
    }
    uint8_t& at(int32_t x, int32_t y) { return bytes[static_cast<size_t>(y) * stride + x]; }
    IndexedPixels px() { return IndexedPixels{bytes.data(), w, h, stride}; }
    // Number of lit pixels; -1 when the padding was written.
    int Lit() const {
        int n = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (static_cast<int32_t>(i % stride) >= w) {
                if (bytes[i] != Padding) return -1;
            } else {
                n += bytes[i] != 0;
            }
        }
        return n;
    }
};

}  // namespace quorvex::test
