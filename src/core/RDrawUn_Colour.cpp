// The slowly cycling tint, the colour table that makes pixel values act as
// brightness, and the footprint of one point on the surface.
#include "RDrawUn.h"
#include "XMath.h"

namespace quorvex {

namespace {

// Periods in frames; their least common multiple (30240) is the length of
// the whole colour pattern.
constexpr int32_t RedPeriod = 1080;
constexpr int32_t GreenPeriod = 1260;
constexpr int32_t BluePeriod = 1440;

void Tick(int32_t& counter, int32_t period) {
    counter += 1;
    if (counter > period) counter -= period;
}

// truncate(b x tint / 255), the product formed first. The product is exact
// in a double (8 by 24 bits), and its quotient by 255 is either a whole
// number or lies below one by far more than a double's rounding error, so
// the double division truncates to the integer the extended one gives, in
// SSE registers instead of a chain of x87 round trips (this runs 720 times a
// frame without Trace).
uint32_t Channel(int32_t brightness, float tint) {
    const double p = static_cast<double>(brightness) * static_cast<double>(tint);
    return static_cast<uint32_t>(static_cast<int32_t>(p / 255.0));
}

PackedColour Tinted(int32_t brightness, const float* tint) {
    return PackColour(Channel(brightness, tint[0]), Channel(brightness, tint[1]), Channel(brightness, tint[2]));
}

}  // namespace

void AdvanceColourCycle(Engine& e) {
    int32_t* n = e.ColourCounters;
    Tick(n[0], RedPeriod);
    Tick(n[1], GreenPeriod);
    Tick(n[2], BluePeriod);

    float* tint = e.TintColour;
    tint[0] = Single((Cos(static_cast<Extended>(n[0]) / 540.0L * Pi) + 1.0L) * 255.0L / 2.0L);
    tint[1] = Single((Sin(static_cast<Extended>(n[1]) / 630.0L * Pi) + 1.0L) * 255.0L / 2.0L);
    tint[2] = Single((Sin(static_cast<Extended>(n[2]) / 720.0L * Pi) + 1.0L) * 255.0L / 2.0L);

    // Keep the total near 500 so the hue wanders at a steady lightness.
    const Extended sum = static_cast<Extended>(tint[0]) + tint[1] + tint[2];
    const float factor = sum == 0.0L ? 1.0f : Single(500.0L / sum);
    for (int k = 0; k < 3; ++k) {
        tint[k] = Single(static_cast<Extended>(tint[k]) * factor);
        if (tint[k] > 255.0f) tint[k] = 255.0f;
    }
}

void RewritePalette(Engine& e) {
    const Extended red = static_cast<Extended>(e.TintColour[0]) / 255.0L;
    const Extended green = static_cast<Extended>(e.TintColour[1]) / 255.0L;
    const Extended blue = static_cast<Extended>(e.TintColour[2]) / 255.0L;
    for (int i = 0; i < 256; ++i) {
        ColourEntry& entry = e.Palette[i];
        entry.red = static_cast<uint8_t>(Truncate(red * i));
        entry.green = static_cast<uint8_t>(Truncate(green * i));
        entry.blue = static_cast<uint8_t>(Truncate(blue * i));
        entry.reserved = 0;
    }
    // The whole table at once: the trails already on the surface take the
    // new tint together with the fresh points.
    e.Target->SetColourTable(e.Palette);
}

void FillGreyTable(ColourEntry (&table)[256]) {
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        table[i] = ColourEntry{v, v, v, 0};
    }
}

PointColours ColoursFor(const Engine& e, int32_t brightness) {
    const SaverSettings& s = *e.Settings;
    const int32_t b = brightness;
    // The corners of a plus-shaped point are drawn darker.
    const int32_t b2 = s.PrimitivePoints ? b : Truncate(static_cast<Extended>(b) / 1.5L);
    PointColours out;
    if (s.HuesOfGray) {
        const auto grey = static_cast<uint32_t>(b);
        const auto grey2 = static_cast<uint32_t>(b2);
        out.cross = PackColour(grey, grey, grey);
        out.block = PackColour(grey2, grey2, grey2);
    } else {
        out.cross = Tinted(b, e.TintColour);
        out.block = b2 == b ? out.cross : Tinted(b2, e.TintColour);
    }
    return out;
}

void PlotPixel(IndexedPixels& px, int32_t x, int32_t y, int32_t brightness) {
    // The caller's bounds keep points inside; this guard only protects the
    // memory should a host hand over a surface smaller than its window.
    if (px.bits == nullptr || x < 0 || y < 0 || x >= px.width || y >= px.height) return;
    uint8_t& p = px.bits[static_cast<size_t>(y) * static_cast<size_t>(px.stride) + static_cast<size_t>(x)];
    if (brightness > p) p = static_cast<uint8_t>(brightness);
}

void PlotPoint(Engine& e, ScreenPoint p, int32_t brightness, PackedColour block, PackedColour cross) {
    // The margins differ: 3 on the right and 4 at the bottom.
    if (p.x < 2 || p.x > e.ClientRight - 3 || p.y < 2 || p.y > e.ClientBottom - 4) return;
    const SaverSettings& s = *e.Settings;
    const int32_t x = p.x;
    const int32_t y = p.y;
    // Every footprint below lies within the 3 x 3 block around the point.
    MarkDrawn(e.Changed, Rect{x - 1, y - 1, x + 2, y + 2}, e.ClientRight, e.ClientBottom);
    if (e.PreviewMode) {
        if (s.Trace) {
            IndexedPixels px = e.Target->Pixels();
            PlotPixel(px, x, y, brightness);
        } else {
            e.Target->FillRect(Rect{x, y, x + 1, y + 1}, block);
        }
        return;
    }
    if (s.Trace) {
        IndexedPixels px = e.Target->Pixels();
        for (int32_t j = -1; j <= 1; ++j) {
            for (int32_t i = -1; i <= 1; ++i) PlotPixel(px, x + i, y + j, brightness);
        }
        return;
    }
    e.Target->FillRect(Rect{x - 1, y - 1, x + 2, y + 2}, block);
    if (!s.PrimitivePoints) {
        e.Target->FillRect(Rect{x - 1, y, x + 2, y + 1}, cross);
        e.Target->FillRect(Rect{x, y - 1, x + 1, y + 2}, cross);
    }
}

}  // namespace quorvex
