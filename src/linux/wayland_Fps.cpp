// See wayland_Fps.h.
#include "wayland_Fps.h"

#include <algorithm>

namespace quorvex::linux_host {

namespace {

// Cells of 6 x 13 font pixels, as the "fixed" X font's; the glyphs are 5 x 7,
// three rows below the cell's top. Each row is 5 bits, the left column the
// highest bit.
constexpr int32_t CellWidth = 6;
constexpr int32_t CellHeight = 13;
constexpr int32_t GlyphTop = 3;
constexpr int32_t GlyphRows = 7;

struct Glyph {
    char c;
    uint8_t rows[GlyphRows];
};
constexpr Glyph Glyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'f', {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}}, {'p', {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}},
    {'s', {0x00, 0x00, 0x0F, 0x10, 0x0E, 0x01, 0x1E}},
};

const Glyph* Find(char c) {
    for (const Glyph& g : Glyphs) {
        if (g.c == c) return &g;
    }
    return nullptr;  // drawn as a blank cell
}

constexpr uint32_t White = 0x00FFFFFFu;

}  // namespace

Rect DrawFpsText(uint32_t* pixels, int32_t stride, int32_t width, int32_t height, int32_t x, int32_t y, int32_t unit,
                 const char* text, size_t length) {
    unit = std::max(unit, 1);
    const int32_t textWidth = static_cast<int32_t>(std::min<size_t>(length, 64)) * CellWidth * unit;
    const Rect box{std::max(x, 0), std::max(y, 0), std::min(x + textWidth, width),
                   std::min(y + CellHeight * unit, height)};
    if (box.left >= box.right || box.top >= box.bottom) return Rect{};
    for (int32_t py = box.top; py < box.bottom; ++py) {
        uint32_t* row = pixels + static_cast<size_t>(py) * static_cast<size_t>(stride);
        const int32_t fy = (py - y) / unit - GlyphTop;
        for (int32_t px = box.left; px < box.right; ++px) {
            const int32_t cell = (px - x) / (CellWidth * unit);
            const int32_t fx = (px - x) / unit - cell * CellWidth;
            const Glyph* g = Find(text[cell]);
            const bool on = g != nullptr && fy >= 0 && fy < GlyphRows && fx < 5 && ((g->rows[fy] >> (4 - fx)) & 1u);
            row[px] = on ? White : 0u;
        }
    }
    return box;
}

}  // namespace quorvex::linux_host
