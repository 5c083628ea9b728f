// The bounded trace pass against the full one on a case made of bytes (size, rectangle, pass and length, row padding,
// then the pixels, 0 outside the rectangle), for the unit test and the fuzz target.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "frame.h"

namespace quorvex {

// Empty when the bounded pass gave the full pass's bytes, padding included, and the exact box of what stays lit.
inline std::string CheckBoundedPass(const uint8_t* data, size_t size) {
    if (size < 8) return {};
    const int32_t w = 1 + data[0] % 96, h = 1 + data[1] % 64, stride = w + data[7] % 5, x0 = data[2] % (w + 1),
                  y0 = data[3] % (h + 1), x1 = x0 + data[4] % (w - x0 + 1), y1 = y0 + data[5] % (h - y0 + 1);
    const int32_t lengths[] = {0, 1, 2, 3, 4, 5, -1, -59, -60, -61, -252, 1000, INT32_MIN, INT32_MAX, -30, 7};
    SaverSettings s;
    s.TraceModeInd = data[6] % 3, s.TraceLength = lengths[data[6] / 3 % 16];
    std::vector<uint8_t> full(size_t(stride) * size_t(h - 1) + size_t(w), 0x5A);
    for (int32_t i = 0, x = 0, y = 0; i < w * h; ++i, x = i % w, y = i / w)
        full[size_t(y) * size_t(stride) + size_t(x)] =
            x >= x0 && x < x1 && y >= y0 && y < y1 && 8 + size_t(i) < size ? data[8 + i] : 0;
    std::vector<uint8_t> bounded = full;
    TracePass(s, IndexedPixels{full.data(), w, h, stride});
    const Rect got = BoundedTracePass(s, IndexedPixels{bounded.data(), w, h, stride}, Rect{x0, y0, x1, y1});
    Rect lit;
    for (int32_t i = 0, x = 0, y = 0; i < w * h; ++i, x = i % w, y = i / w)
        if (full[size_t(y) * size_t(stride) + size_t(x)]) lit = Union(lit, Rect{x, y, x + 1, y + 1});
    return bounded != full ? "bytes differ" : std::memcmp(&got, &lit, sizeof lit) ? "box differs" : "";
}

}  // namespace quorvex
