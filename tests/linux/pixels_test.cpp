// From the surface to the pixels of an X image of several visuals.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pixels_Convert.h"

namespace quorvex::linux_host {
namespace {

PixelLayout Layout(uint32_t red, uint32_t green, uint32_t blue, int bits = 32) {
    PixelLayout l;
    l.redMask = red, l.greenMask = green, l.blueMask = blue, l.bitsPerPixel = bits;
    return l;
}

TEST(PixelMapper, ChannelsScaleToTheirMasksFullRange) {
    PixelMapper common(PixelLayout{});
    ASSERT_TRUE(common.Supported() && common.IsCommon32());
    EXPECT_EQ(common.Map(0x12, 0x34, 0x56), 0x123456u);
    EXPECT_EQ(common.MapPacked(PackColour(0x12, 0x34, 0x56)), 0x123456u);
    PixelMapper m(Layout(0xF800, 0x07E0, 0x001F, 16));
    ASSERT_TRUE(m.Supported());
    EXPECT_TRUE(m.Map(255, 255, 255) == 0xFFFFu && m.Map(0, 0, 0) == 0u && m.Map(255, 0, 0) == 0xF800u);
    EXPECT_EQ(m.Map(0, 128, 0), 32u << 5);
    PixelMapper bgr(Layout(0x0000FF, 0x00FF00, 0xFF0000));
    EXPECT_FALSE(bgr.IsCommon32());
    EXPECT_EQ(bgr.Map(0x12, 0x34, 0x56), 0x563412u);
    PixelMapper deep(Layout(0x3FF00000, 0x000FFC00, 0x000003FF));  // 10 bits a channel
    ASSERT_TRUE(deep.Supported());
    EXPECT_EQ(deep.Map(255, 255, 255), 0x3FFFFFFFu);
    // Layouts it cannot write: 8 bits, a mask with holes, a missing channel.
    PixelLayout eight;
    eight.bitsPerPixel = 8;
    EXPECT_FALSE(PixelMapper(eight).Supported());
    EXPECT_FALSE(PixelMapper(Layout(0xF0F000, 0x00FF00, 0x0000FF)).Supported());
    EXPECT_FALSE(PixelMapper(Layout(0xFF0000, 0, 0x0000FF)).Supported());
}

TEST(ConvertRows, IndexedRowsGoThroughTheColourTableInAnyByteOrder) {
    ColourEntry table[256]{};
    table[1] = ColourEntry{0x56, 0x34, 0x12, 0};  // blue, green, red
    table[255] = ColourEntry{255, 255, 255, 0};
    PixelMapper m(PixelLayout{});
    uint32_t pixels[256];
    MapColourTable(m, table, pixels);
    const uint8_t src[4] = {0, 1, 255, 1};
    uint32_t dst[4] = {9, 9, 9, 9};
    ConvertIndexedRow(m, src, 4, pixels, reinterpret_cast<uint8_t*>(dst));
    EXPECT_TRUE(dst[0] == 0u && dst[1] == 0x123456u && dst[2] == 0xFFFFFFu && dst[3] == 0x123456u);

    PixelLayout big;
    big.msbFirst = true;
    PixelMapper b(big);
    MapColourTable(b, table, pixels);
    uint8_t bytes[8] = {};
    ConvertIndexedRow(b, src + 1, 2, pixels, bytes);
    const uint8_t expectBig[8] = {0x00, 0x12, 0x34, 0x56, 0x00, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::memcmp(bytes, expectBig, 8), 0);
}

TEST(ConvertRows, PackedRowsSwapRedAndBlueAndStopAtTheRowEnd) {
    PixelMapper m(PixelLayout{});
    std::vector<PackedColour> src(37);
    for (size_t i = 0; i < src.size(); ++i) src[i] = PackColour(i, 2 * i, 3 * i);
    std::vector<uint32_t> dst(src.size() + 1, 0xDEADBEEFu);
    ConvertPackedRow(m, src.data(), static_cast<int32_t>(src.size()), reinterpret_cast<uint8_t*>(dst.data()));
    for (size_t i = 0; i < src.size(); ++i) EXPECT_EQ(dst[i], (i << 16) | ((2 * i) << 8) | (3 * i)) << i;
    EXPECT_EQ(dst.back(), 0xDEADBEEFu);

    PixelLayout packed24;
    packed24.bitsPerPixel = 24;
    const PackedColour colours[2] = {PackColour(0x12, 0x34, 0x56), PackColour(1, 2, 3)};
    uint8_t out[7] = {0, 0, 0, 0, 0, 0, 0xEE};
    ConvertPackedRow(PixelMapper(packed24), colours, 2, out);
    const uint8_t expect24[7] = {0x56, 0x34, 0x12, 3, 2, 1, 0xEE};
    EXPECT_EQ(std::memcmp(out, expect24, 7), 0);
}

}  // namespace
}  // namespace quorvex::linux_host
