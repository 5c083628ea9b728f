// Turning the surface's pixels into an X image of a true-colour visual: the
// 8-bit pixels through their colour table, or the packed colours of the
// Trace-off surface. Pure functions over rows, so they run without a server.
#pragma once

#include <cstdint>

#include "RDrawUn.h"

namespace quorvex::linux_host {

// What an XImage of a TrueColor visual looks like.
struct PixelLayout {
    uint32_t redMask = 0xFF0000u;
    uint32_t greenMask = 0x00FF00u;
    uint32_t blueMask = 0x0000FFu;
    int bitsPerPixel = 32;  // 16, 24 or 32
    bool msbFirst = false;  // the image's byte order
};

// Maps 8-bit red, green and blue to a pixel value of the layout; channels
// narrower or wider than 8 bits are scaled to their full range.
class PixelMapper {
public:
    explicit PixelMapper(const PixelLayout& layout);
    bool Supported() const { return supported_; }
    const PixelLayout& Layout() const { return layout_; }
    uint32_t Map(uint32_t red, uint32_t green, uint32_t blue) const;
    uint32_t MapPacked(PackedColour c) const { return Map(c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu); }
    // The layout of nearly every server: 32 bits, 0x00RRGGBB, in the host's byte order.
    bool IsCommon32() const { return common32_; }

private:
    struct Channel {
        int shift = 0;
        int bits = 0;
    };
    uint32_t Scale(const Channel& ch, uint32_t value) const;
    PixelLayout layout_;
    Channel red_, green_, blue_;
    bool supported_ = false;
    bool common32_ = false;
};

// The colour table as pixel values, once per frame.
void MapColourTable(const PixelMapper& mapper, const ColourEntry* table, uint32_t (&pixels)[256]);

// One row of `width` pixels into `dst` in the layout of the mapper.
void ConvertIndexedRow(const PixelMapper& mapper, const uint8_t* src, int32_t width, const uint32_t (&pixels)[256],
                       uint8_t* dst);
void ConvertPackedRow(const PixelMapper& mapper, const PackedColour* src, int32_t width, uint8_t* dst);

}  // namespace quorvex::linux_host
