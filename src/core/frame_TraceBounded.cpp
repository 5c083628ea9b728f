// The trace passes over the part of the picture that can hold light. Outside
// a rectangle holding every non-zero pixel, each pass leaves 0 as 0: Simple
// takes its fade off 0 and clamps, Diffusion and Fire average sources that
// are all 0. So a pass only needs to visit that rectangle grown by how far
// the pass can carry a value out of it in one go, and gives there the very
// bytes the full pass gives.
#include <array>
#include <cstring>

#include "frame.h"

namespace quorvex {

namespace {

// Part of a picture as a picture of its own; rows keep the full stride.
IndexedPixels View(const IndexedPixels& px, const Rect& r) {
    return IndexedPixels{px.bits + static_cast<size_t>(r.top) * static_cast<size_t>(px.stride) + r.left,
                         r.right - r.left, r.bottom - r.top, px.stride};
}

// Each output of a pass is a non-decreasing function of its sources, and
// Diffusion's new neighbours are outputs themselves; so a brighter picture
// never gives a darker result anywhere. The farthest a pass can carry light
// to the right of a rectangle is then what it carries out of a surface lit
// at 255 on every row left of a column, and likewise for the other three
// sides. Near the surface's edge that is more than further in: Diffusion
// leaves its border as it is, so a lit border keeps feeding its neighbours
// in full. The spreads are measured here once per fade on a small surface,
// with the lit part 1 to Half lines deep: the largest spread (Diffusion
// without fade, 4) stays well inside it, and the border's pull has died
// out by then; a larger surface gives the same numbers.
constexpr int32_t Side = 16;
constexpr int32_t Half = Side / 2;

int32_t Spread(void (*pass)(IndexedPixels, int32_t), int32_t fade, int side) {
    int32_t spread = 0;
    for (int32_t depth = 1; depth <= Half; ++depth) {
        uint8_t bytes[Side * Side];
        // How far past the lit part a pixel lies (0 or less inside it):
        // lit on the left, the right, the top or the bottom.
        auto past = [side, depth](int32_t i) {
            const int32_t along = side < 2 ? i % Side : i / Side;
            return side % 2 == 0 ? along - depth + 1 : Side - depth - along;
        };
        for (int32_t i = 0; i < Side * Side; ++i) bytes[i] = past(i) <= 0 ? 255 : 0;
        // AverageFade(3 - fade) is fade for every fade 0..255.
        pass(IndexedPixels{bytes, Side, Side, Side}, 3 - fade);
        for (int32_t i = 0; i < Side * Side; ++i) {
            if (bytes[i] != 0 && past(i) > spread) spread = past(i);
        }
    }
    return spread;
}

using MarginTable = std::array<TraceMargins, 256>;

MarginTable MeasureMargins(void (*pass)(IndexedPixels, int32_t)) {
    MarginTable table{};
    for (int32_t fade = 0; fade < 256; ++fade) {
        // Light from a part lit on the left goes right, and so on; some
        // 5 to 15 ms for both tables, once per process.
        table[fade] =
            TraceMargins{Spread(pass, fade, 1), Spread(pass, fade, 3), Spread(pass, fade, 0), Spread(pass, fade, 2)};
    }
    return table;
}

// First non-zero byte of row[from..to), or `to`.
int32_t FirstLit(const uint8_t* row, int32_t from, int32_t to) {
    int32_t x = from;
    for (uint64_t word = 0; x + 8 <= to; x += 8) {
        std::memcpy(&word, row + x, 8);
        if (word != 0) break;
    }
    for (; x < to; ++x) {
        if (row[x] != 0) return x;
    }
    return to;
}

// One past the last non-zero byte of row[from..to), or `from`.
int32_t LastLit(const uint8_t* row, int32_t from, int32_t to) {
    int32_t x = to;
    for (uint64_t word = 0; x - 8 >= from; x -= 8) {
        std::memcpy(&word, row + x - 8, 8);
        if (word != 0) break;
    }
    for (; x > from; --x) {
        if (row[x - 1] != 0) return x;
    }
    return from;
}

}  // namespace

TraceMargins MarginsFor(TraceEffect effect, int32_t fade) {
    if (effect == TraceEffect::Simple) return TraceMargins{};
    static const MarginTable diffusion = MeasureMargins(DiffusionPass);
    static const MarginTable fire = MeasureMargins(FirePass);
    const size_t k = static_cast<size_t>(fade < 0 ? 0 : fade > 255 ? 255 : fade);
    return effect == TraceEffect::Diffusion ? diffusion[k] : fire[k];
}

Rect NonZeroBounds(IndexedPixels px, const Rect& area) {
    if (!Usable(px)) return Rect{};
    const Rect a = Clip(area, px.width, px.height);
    auto row = [&px](int32_t y) { return px.bits + static_cast<size_t>(y) * static_cast<size_t>(px.stride); };
    int32_t top = a.top, bottom = a.bottom;
    while (top < bottom && FirstLit(row(top), a.left, a.right) == a.right) ++top;
    if (top == bottom) return Rect{};
    while (LastLit(row(bottom - 1), a.left, a.right) == a.left) --bottom;
    // Each row only needs looking at outside the columns already known lit.
    int32_t left = a.right, right = a.left;
    for (int32_t y = top; y < bottom; ++y) {
        left = FirstLit(row(y), a.left, left);
        right = LastLit(row(y), right, a.right);
    }
    return Rect{left, top, right, bottom};
}

Rect BoundedTracePass(const SaverSettings& s, IndexedPixels px, const Rect& content) {
    if (!Usable(px)) return Rect{};
    const Rect c = Clip(content, px.width, px.height);
    if (IsEmpty(c)) return Rect{};
    const TraceEffect effect = EffectFor(s.TraceModeInd);
    const int32_t length = s.TraceLength;
    const TraceMargins m = MarginsFor(effect, effect == TraceEffect::Simple ? SimpleFade(length) : AverageFade(length));
    // Every pixel the pass can leave non-zero, and every one it must darken.
    const Rect reach =
        Clip(Rect{c.left - m.left, c.top - m.top, c.right + m.right, c.bottom + m.bottom}, px.width, px.height);
    // The views add the ring of sources the passes read but do not write
    // (Diffusion: one pixel all round; Fire: a column each side, two rows
    // below); those hold what the full pass reads there, 0 or a border.
    switch (effect) {
        case TraceEffect::Simple:
            SimplePassFast(View(px, reach), length);
            break;
        case TraceEffect::Diffusion:
            DiffusionPassFast(View(px, Clip(Rect{reach.left - 1, reach.top - 1, reach.right + 1, reach.bottom + 1},
                                            px.width, px.height)),
                              length);
            break;
        case TraceEffect::Fire:
            FirePassFast(
                View(px, Clip(Rect{reach.left - 1, reach.top, reach.right + 1, reach.bottom + 2}, px.width, px.height)),
                length);
            break;
    }
    return NonZeroBounds(px, reach);
}

}  // namespace quorvex
