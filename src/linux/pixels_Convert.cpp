// Pixel conversion; see pixels_Convert.h.
#include "pixels_Convert.h"

#include <bit>
#include <cstring>

namespace quorvex::linux_host {

namespace {

void StorePixel(uint8_t* dst, uint32_t value, int bytes, bool msbFirst) {
    for (int k = 0; k < bytes; ++k) {
        int shift = msbFirst ? 8 * (bytes - 1 - k) : 8 * k;
        dst[k] = static_cast<uint8_t>(value >> shift);
    }
}

}  // namespace

PixelMapper::PixelMapper(const PixelLayout& layout) : layout_(layout) {
    auto channel = [](uint32_t mask, Channel& ch) {
        if (mask == 0) return false;
        ch.shift = std::countr_zero(mask);
        ch.bits = std::popcount(mask);
        // The mask must be one run of bits.
        return (mask >> ch.shift) == ((ch.bits == 32) ? 0xFFFFFFFFu : ((1u << ch.bits) - 1u));
    };
    bool bpp = layout.bitsPerPixel == 16 || layout.bitsPerPixel == 24 || layout.bitsPerPixel == 32;
    supported_ = bpp && channel(layout.redMask, red_) && channel(layout.greenMask, green_) &&
                 channel(layout.blueMask, blue_) && red_.bits <= 16 && green_.bits <= 16 && blue_.bits <= 16;
    common32_ = supported_ && layout.bitsPerPixel == 32 && layout.redMask == 0xFF0000u &&
                layout.greenMask == 0x00FF00u && layout.blueMask == 0x0000FFu &&
                layout.msbFirst == (std::endian::native == std::endian::big);
}

uint32_t PixelMapper::Scale(const Channel& ch, uint32_t value) const {
    const uint32_t top = (1u << ch.bits) - 1u;
    // Rounded, so 0 stays 0 and 255 becomes the channel's full value.
    return ((value * top + 127u) / 255u) << ch.shift;
}

uint32_t PixelMapper::Map(uint32_t red, uint32_t green, uint32_t blue) const {
    if (common32_) return (red << 16) | (green << 8) | blue;
    return Scale(red_, red & 0xFFu) | Scale(green_, green & 0xFFu) | Scale(blue_, blue & 0xFFu);
}

void MapColourTable(const PixelMapper& mapper, const ColourEntry* table, uint32_t (&pixels)[256]) {
    for (int i = 0; i < 256; ++i) pixels[i] = mapper.Map(table[i].red, table[i].green, table[i].blue);
}

void ConvertIndexedRow(const PixelMapper& mapper, const uint8_t* src, int32_t width, const uint32_t (&pixels)[256],
                       uint8_t* dst) {
    const PixelLayout& layout = mapper.Layout();
    if (layout.bitsPerPixel == 32 && layout.msbFirst == (std::endian::native == std::endian::big)) {
        // The hot path. Most of a frame is black, so runs of sixteen zero
        // pixels are stored without a table look-up each.
        uint32_t* out = reinterpret_cast<uint32_t*>(dst);
        const uint32_t zero = pixels[0];
        int32_t x = 0;
        for (; x + 16 <= width; x += 16) {
            uint64_t a;
            uint64_t b;
            std::memcpy(&a, src + x, 8);
            std::memcpy(&b, src + x + 8, 8);
            if ((a | b) == 0) {
                for (int k = 0; k < 16; ++k) out[x + k] = zero;
            } else {
                for (int k = 0; k < 16; ++k) out[x + k] = pixels[src[x + k]];
            }
        }
        for (; x < width; ++x) out[x] = pixels[src[x]];
        return;
    }
    const int bytes = layout.bitsPerPixel / 8;
    for (int32_t x = 0; x < width; ++x) StorePixel(dst + x * bytes, pixels[src[x]], bytes, layout.msbFirst);
}

void ConvertPackedRow(const PixelMapper& mapper, const PackedColour* src, int32_t width, uint8_t* dst) {
    if (mapper.IsCommon32()) {
        // Red and blue trade places; the compiler turns this into vector code.
        uint32_t* out = reinterpret_cast<uint32_t*>(dst);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = src[x];
            out[x] = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
        }
        return;
    }
    const PixelLayout& layout = mapper.Layout();
    const int bytes = layout.bitsPerPixel / 8;
    for (int32_t x = 0; x < width; ++x) StorePixel(dst + x * bytes, mapper.MapPacked(src[x]), bytes, layout.msbFirst);
}

}  // namespace quorvex::linux_host
