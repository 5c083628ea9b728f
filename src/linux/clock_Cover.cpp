// Putting glyph coverage into the surface, choosing the face and reading
// UTF-8; the FreeType half is clock_Face.cpp.
#include <algorithm>

#include "clock_Face.h"

namespace quorvex::linux_host {

void CoverIndexed(IndexedPixels px, int32_t left, int32_t top, const uint8_t* coverage, int32_t width, int32_t rows,
                  int32_t pitch) {
    if (px.bits == nullptr) return;
    const int32_t x0 = std::max(left, 0);
    const int32_t y0 = std::max(top, 0);
    const int32_t x1 = std::min(left + width, px.width);
    const int32_t y1 = std::min(top + rows, px.height);
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* row = px.bits + static_cast<size_t>(y) * static_cast<size_t>(px.stride);
        const uint8_t* cov = coverage + static_cast<size_t>(y - top) * static_cast<size_t>(pitch) - left;
        for (int32_t x = x0; x < x1; ++x) row[x] = std::max(row[x], cov[x]);
    }
}

void CoverPacked(SoftwareSurface& surface, int32_t left, int32_t top, const uint8_t* coverage, int32_t width,
                 int32_t rows, int32_t pitch, PackedColour colour) {
    const int32_t x0 = std::max(left, 0);
    const int32_t y0 = std::max(top, 0);
    const int32_t x1 = std::min(left + width, surface.Width());
    const int32_t y1 = std::min(top + rows, surface.Height());
    for (int32_t y = y0; y < y1; ++y) {
        const uint8_t* cov = coverage + static_cast<size_t>(y - top) * static_cast<size_t>(pitch) - left;
        for (int32_t x = x0; x < x1; ++x) {
            const uint32_t a = cov[x];
            if (a == 0) continue;
            PackedColour out = colour;
            if (a < 255) {
                const PackedColour old = surface.ColourAt(x, y);
                out = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const uint32_t c = (colour >> shift) & 0xFFu;
                    const uint32_t o = (old >> shift) & 0xFFu;
                    out |= ((c * a + o * (255u - a) + 127u) / 255u) << shift;
                }
            }
            surface.FillRect(Rect{x, y, x + 1, y + 1}, out);
        }
    }
}

FaceChoice ChooseClockFace(const FaceCandidate& italic, const FaceCandidate& thin) {
    constexpr int Light = 50;  // FC_WEIGHT_LIGHT
    FaceChoice choice;
    if (!italic.found && !thin.found) {
        choice.none = true;
        return choice;
    }
    const bool italicHeavy = italic.found && italic.weight > Light;
    choice.useThin = !italic.found || (italicHeavy && thin.found && thin.weight < italic.weight);
    const FaceCandidate& chosen = choice.useThin ? thin : italic;
    choice.slantByShear = chosen.slant == 0;
    return choice;
}

uint32_t NextCodePoint(const char* text, size_t length, size_t& i) {
    constexpr uint32_t Replacement = 0xFFFD;
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t b0 = byte(i);
    int extra;
    uint32_t code;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0u) == 0xC0u) {
        extra = 1;
        code = b0 & 0x1Fu;
    } else if ((b0 & 0xF0u) == 0xE0u) {
        extra = 2;
        code = b0 & 0x0Fu;
    } else if ((b0 & 0xF8u) == 0xF0u) {
        extra = 3;
        code = b0 & 0x07u;
    } else {
        ++i;
        return Replacement;
    }
    if (length - i <= static_cast<size_t>(extra)) {
        ++i;
        return Replacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const uint8_t b = byte(i + static_cast<size_t>(k));
        if ((b & 0xC0u) != 0x80u) {
            ++i;
            return Replacement;
        }
        code = (code << 6) | (b & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    static constexpr uint32_t Smallest[4] = {0, 0x80, 0x800, 0x10000};
    if (code < Smallest[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        ++i;
        return Replacement;
    }
    i += static_cast<size_t>(extra) + 1;
    return code;
}

}  // namespace quorvex::linux_host
