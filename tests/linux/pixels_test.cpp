// From the surface to the pixels of an X image of several visuals.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pixels_Convert.h"

namespace quorvex::linux_host {
namespace {

TEST(PixelMapper, CommonLayoutPutsRedHighAndBlueLow) {
    PixelMapper m(PixelLayout{});
    ASSERT_TRUE(m.Supported());
    EXPECT_TRUE(m.IsCommon32());
    EXPECT_EQ(m.Map(0x12, 0x34, 0x56), 0x123456u);
    EXPECT_EQ(m.MapPacked(PackColour(0x12, 0x34, 0x56)), 0x123456u);
}

TEST(PixelMapper, NarrowAndReversedChannelsScaleToTheirFullRange) {
    PixelLayout rgb565;
    rgb565.redMask = 0xF800;
    rgb565.greenMask = 0x07E0;
    rgb565.blueMask = 0x001F;
    rgb565.bitsPerPixel = 16;
    PixelMapper m(rgb565);
    ASSERT_TRUE(m.Supported());
    EXPECT_EQ(m.Map(255, 255, 255), 0xFFFFu);
    EXPECT_EQ(m.Map(0, 0, 0), 0u);
    EXPECT_EQ(m.Map(255, 0, 0), 0xF800u);
    EXPECT_EQ(m.Map(0, 128, 0), 32u << 5);

    PixelLayout bgr;
    bgr.redMask = 0x0000FF;
    bgr.blueMask = 0xFF0000;
    PixelMapper b(bgr);
    EXPECT_FALSE(b.IsCommon32());
    EXPECT_EQ(b.Map(0x12, 0x34, 0x56), 0x563412u);

    PixelLayout deep;  // 10 bits a channel
    deep.redMask = 0x3FF00000;
    deep.greenMask = 0x000FFC00;
    deep.blueMask = 0x000003FF;
    PixelMapper d(deep);
    ASSERT_TRUE(d.Supported());
    EXPECT_EQ(d.Map(255, 255, 255), 0x3FFFFFFFu);
}

TEST(PixelMapper, RefusesLayoutsItCannotWrite) {
    PixelLayout eight;
    eight.bitsPerPixel = 8;
    EXPECT_FALSE(PixelMapper(eight).Supported());
    PixelLayout holes;
    holes.redMask = 0xF0F000;
    EXPECT_FALSE(PixelMapper(holes).Supported());
    PixelLayout none;
    none.greenMask = 0;
    EXPECT_FALSE(PixelMapper(none).Supported());
}

TEST(ConvertRows, IndexedRowGoesThroughTheColourTable) {
    ColourEntry table[256]{};
    table[1] = ColourEntry{0x56, 0x34, 0x12, 0};  // blue, green, red
    table[255] = ColourEntry{255, 255, 255, 0};
    PixelMapper m(PixelLayout{});
    uint32_t pixels[256];
    MapColourTable(m, table, pixels);
    const uint8_t src[4] = {0, 1, 255, 1};
    uint32_t dst[4] = {9, 9, 9, 9};
    ConvertIndexedRow(m, src, 4, pixels, reinterpret_cast<uint8_t*>(dst));
    EXPECT_EQ(dst[0], 0u);
    EXPECT_EQ(dst[1], 0x123456u);
    EXPECT_EQ(dst[2], 0xFFFFFFu);
    EXPECT_EQ(dst[3], 0x123456u);
}

TEST(ConvertRows, OtherByteOrdersAndSizesAreWrittenByteByByte) {
    ColourEntry table[256]{};
    table[7] = ColourEntry{0x56, 0x34, 0x12, 0};
    PixelLayout big;
    big.msbFirst = true;
    PixelMapper m(big);
    uint32_t pixels[256];
    MapColourTable(m, table, pixels);
    const uint8_t src[2] = {7, 0};
    uint8_t dst[8] = {};
    ConvertIndexedRow(m, src, 2, pixels, dst);
    const uint8_t expectBig[8] = {0x00, 0x12, 0x34, 0x56, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(dst, expectBig, 8), 0);

    PixelLayout packed24;
    packed24.bitsPerPixel = 24;
    PixelMapper p(packed24);
    const PackedColour colours[2] = {PackColour(0x12, 0x34, 0x56), PackColour(1, 2, 3)};
    uint8_t out[7] = {0, 0, 0, 0, 0, 0, 0xEE};
    ConvertPackedRow(p, colours, 2, out);
    const uint8_t expect24[7] = {0x56, 0x34, 0x12, 3, 2, 1, 0xEE};  // nothing written past the row
    EXPECT_EQ(std::memcmp(out, expect24, 7), 0);
}

TEST(ConvertRows, PackedRowSwapsRedAndBlueForTheCommonLayout) {
    PixelMapper m(PixelLayout{});
    std::vector<PackedColour> src(37);
    for (size_t i = 0; i < src.size(); ++i) src[i] = PackColour(i, 2 * i, 3 * i);
    std::vector<uint32_t> dst(src.size() + 1, 0xDEADBEEFu);
    ConvertPackedRow(m, src.data(), static_cast<int32_t>(src.size()), reinterpret_cast<uint8_t*>(dst.data()));
    for (size_t i = 0; i < src.size(); ++i) {
        EXPECT_EQ(dst[i], (i << 16) | ((2 * i) << 8) | (3 * i)) << i;
    }
    EXPECT_EQ(dst.back(), 0xDEADBEEFu);
}

}  // namespace
}  // namespace quorvex::linux_host
