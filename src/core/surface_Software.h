// A drawing target in plain memory, for hosts without a platform surface
// (the X11 front end, the offline renderer, tests), and a clock that moves
// only when told to. Memory is taken when the surface is made or resized,
// never while a frame is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "RDrawUn.h"

namespace quorvex {

// Which picture the surface holds: 8-bit pixel values under a colour table
// (Trace on) or packed colours painted by rectangle fills (Trace off).
enum class SurfaceKind { Indexed, Rgb };

class SoftwareSurface final : public DrawTarget {
public:
    SoftwareSurface() = default;
    // stride 0 means stride = width; a smaller stride is raised to width.
    SoftwareSurface(int32_t width, int32_t height, SurfaceKind kind, int32_t stride = 0);

    // Reallocates for the new size and kind; the picture and the colour
    // table start black. Sizes below 0 count as 0.
    void Resize(int32_t width, int32_t height, SurfaceKind kind, int32_t stride = 0);
    // Black picture; the colour table is kept.
    void Clear();

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Stride() const { return stride_; }
    SurfaceKind Kind() const { return kind_; }

    // Null bits unless the surface is Indexed.
    IndexedPixels Pixels() override;
    void SetColourTable(const ColourEntry (&table)[256]) override;
    // Clipped to the surface; ignored unless the surface is Rgb.
    void FillRect(const Rect& r, PackedColour colour) override;

    const ColourEntry* ColourTable() const { return table_; }
    // Pixel value at (x, y) of an Indexed surface.
    uint8_t IndexAt(int32_t x, int32_t y) const;
    // What a viewer sees at (x, y), as a packed colour (red in the low byte):
    // the table entry of the pixel value, or the painted colour.
    PackedColour ColourAt(int32_t x, int32_t y) const;
    // One row of the visible picture as red, green, blue bytes (3 per pixel).
    void RowToRgb(int32_t y, uint8_t* out) const;
    // Row pointers into the raw storage, for writers that stream rows.
    const uint8_t* IndexRow(int32_t y) const;
    const PackedColour* RgbRow(int32_t y) const;

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
    SurfaceKind kind_ = SurfaceKind::Indexed;
    std::vector<uint8_t> indexed_;
    std::vector<PackedColour> rgb_;
    ColourEntry table_[256]{};
};

// A tick counter that a test or the renderer sets by hand.
class SimulatedTicks final : public TickSource {
public:
    explicit SimulatedTicks(uint32_t start = 0) : now_(start) {}
    uint32_t Now() override { return now_; }
    void Set(uint32_t tick) { now_ = tick; }
    // Wraps modulo 2^32 like the real counter.
    void Advance(uint32_t ms) { now_ += ms; }

private:
    uint32_t now_;
};

}  // namespace quorvex
