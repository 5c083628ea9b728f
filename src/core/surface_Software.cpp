// Plain-memory drawing target; see surface_Software.h.
#include "surface_Software.h"

#include <algorithm>
#include <iterator>

namespace quorvex {

SoftwareSurface::SoftwareSurface(int32_t width, int32_t height, SurfaceKind kind, int32_t stride) {
    Resize(width, height, kind, stride);
}

void SoftwareSurface::Resize(int32_t width, int32_t height, SurfaceKind kind, int32_t stride) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    stride_ = std::max(stride, width_);
    kind_ = kind;
    const size_t w = static_cast<size_t>(width_);
    const size_t h = static_cast<size_t>(height_);
    // Only the kind in use holds memory: a large surface of the other kind
    // would cost up to four times as much for nothing.
    if (kind == SurfaceKind::Indexed) {
        std::vector<PackedColour>().swap(rgb_);
        indexed_.assign(static_cast<size_t>(stride_) * h, 0);
    } else {
        std::vector<uint8_t>().swap(indexed_);
        rgb_.assign(w * h, 0);
    }
    std::fill(std::begin(table_), std::end(table_), ColourEntry{});
}

void SoftwareSurface::Clear() {
    std::fill(indexed_.begin(), indexed_.end(), uint8_t{0});
    std::fill(rgb_.begin(), rgb_.end(), PackedColour{0});
}

IndexedPixels SoftwareSurface::Pixels() {
    if (kind_ != SurfaceKind::Indexed || indexed_.empty()) return IndexedPixels{nullptr, width_, height_, stride_};
    return IndexedPixels{indexed_.data(), width_, height_, stride_};
}

void SoftwareSurface::SetColourTable(const ColourEntry (&table)[256]) {
    std::copy(std::begin(table), std::end(table), std::begin(table_));
}

void SoftwareSurface::FillRect(const Rect& r, PackedColour colour) {
    if (kind_ != SurfaceKind::Rgb) return;
    const int32_t left = std::max(r.left, 0);
    const int32_t top = std::max(r.top, 0);
    const int32_t right = std::min(r.right, width_);
    const int32_t bottom = std::min(r.bottom, height_);
    if (left >= right || top >= bottom) return;
    for (int32_t y = top; y < bottom; ++y) {
        PackedColour* row = rgb_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
        std::fill(row + left, row + right, colour);
    }
}

uint8_t SoftwareSurface::IndexAt(int32_t x, int32_t y) const {
    if (kind_ != SurfaceKind::Indexed || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return indexed_[static_cast<size_t>(y) * static_cast<size_t>(stride_) + static_cast<size_t>(x)];
}

PackedColour SoftwareSurface::ColourAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    if (kind_ == SurfaceKind::Rgb)
        return rgb_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    const ColourEntry& c = table_[IndexAt(x, y)];
    return PackColour(c.red, c.green, c.blue);
}

void SoftwareSurface::RowToRgb(int32_t y, uint8_t* out) const {
    if (y < 0 || y >= height_) return;
    if (kind_ == SurfaceKind::Rgb) {
        const PackedColour* row = RgbRow(y);
        for (int32_t x = 0; x < width_; ++x) {
            out[3 * x] = static_cast<uint8_t>(row[x] & 0xFFu);
            out[3 * x + 1] = static_cast<uint8_t>((row[x] >> 8) & 0xFFu);
            out[3 * x + 2] = static_cast<uint8_t>((row[x] >> 16) & 0xFFu);
        }
        return;
    }
    const uint8_t* row = IndexRow(y);
    for (int32_t x = 0; x < width_; ++x) {
        const ColourEntry& c = table_[row[x]];
        out[3 * x] = c.red;
        out[3 * x + 1] = c.green;
        out[3 * x + 2] = c.blue;
    }
}

const uint8_t* SoftwareSurface::IndexRow(int32_t y) const {
    if (kind_ != SurfaceKind::Indexed || y < 0 || y >= height_) return nullptr;
    return indexed_.data() + static_cast<size_t>(y) * static_cast<size_t>(stride_);
}

const PackedColour* SoftwareSurface::RgbRow(int32_t y) const {
    if (kind_ != SurfaceKind::Rgb || y < 0 || y >= height_) return nullptr;
    return rgb_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
}

}  // namespace quorvex
