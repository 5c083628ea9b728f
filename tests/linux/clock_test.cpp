// The clock: the locale's time pattern, UTF-8 designators, the choice of
// face, and how glyph coverage lands in either kind of surface.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "clock_Face.h"
#include "clock_Format.h"

namespace quorvex::linux_host {
namespace {

std::string Text(const ClockStyle& style, int h, int m, int s) {
    char out[64];
    size_t n = ClockText(TimeOfDay{h, m, s}, style.Format(), out, sizeof out);
    return std::string(out, n);
}

TEST(ClockStyle, CommonLocalePatterns) {
    const struct {
        const char* pattern;
        int h, m, s;
        const char* text;
    } cases[] = {
        {"%H:%M:%S", 7, 5, 9, "07:05:09"},
        {"%r", 0, 0, 1, "12:00:01 AM"},
        {"%r", 13, 30, 0, "01:30:00 PM"},
        {"%k.%M.%S", 7, 5, 9, "7.05.09"},
        {"%-I:%M:%S %p", 21, 0, 0, "9:00:00 PM"},
        {"%p %I:%M:%S", 9, 1, 2, "AM 09:01:02"},
        {"%T", 23, 59, 59, "23:59:59"},
        // A unit word after the hour is not a separator.
        {"%p %I\xec\x8b\x9c %M\xeb\xb6\x84 %S\xec\xb4\x88", 15, 0, 0, "PM 03:00:00"},
        // No hour at all, an empty pattern, a pattern cut after '%', no pattern.
        {"%M minutes", 18, 4, 5, "18:04:05"},
        {"", 18, 4, 5, "18:04:05"},
        {"%", 18, 4, 5, "18:04:05"},
        {"%-", 18, 4, 5, "18:04:05"},
        {nullptr, 18, 4, 5, "18:04:05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(ClockStyleFromPattern(c.pattern, "AM", "PM"), c.h, c.m, c.s), c.text)
            << (c.pattern ? c.pattern : "null");
    }
}

TEST(ClockStyle, LongDesignatorsAreCutAtACharacterBoundary) {
    std::string longPm;
    for (int i = 0; i < 20; ++i) longPm += "\xc3\xa9";  // 40 bytes of 'é'
    ClockStyle s = ClockStyleFromPattern("%I:%M:%S %p", "AM", longPm.c_str());
    EXPECT_LT(std::strlen(s.pm), sizeof s.pm);
    EXPECT_EQ(std::strlen(s.pm) % 2, 0u);  // never half of a 2-byte character
}

TEST(Utf8, DecodesValidSequencesAndReplacesBrokenOnes) {
    const std::string text = "a\xc3\xa9\xe5\x8d\x88\xf0\x9f\x95\x90";
    size_t i = 0;
    for (uint32_t expected : {uint32_t{'a'}, 0xE9u, 0x5348u, 0x1F550u})
        EXPECT_EQ(NextCodePoint(text.data(), text.size(), i), expected);
    EXPECT_EQ(i, text.size());

    // Truncated at the end, a stray continuation byte, an overlong form, a surrogate.
    for (std::string bad : {std::string("\xe5\x8d"), std::string("\x80"), std::string("\xc0\xaf"),
                            std::string("\xed\xa0\x80"), std::string("\xff")}) {
        size_t k = 0;
        EXPECT_EQ(NextCodePoint(bad.data(), bad.size(), k), 0xFFFDu);
        EXPECT_EQ(k, 1u);  // one byte at a time: the loop always advances
    }
}

TEST(ClockFaceChoice, PrefersThinOverATrueItalic) {
    const FaceCandidate thinUpright{true, 40, 0};
    FaceChoice c = ChooseClockFace(FaceCandidate{true, 80, 100}, thinUpright);
    EXPECT_TRUE(c.useThin && c.slantByShear);
    c = ChooseClockFace(FaceCandidate{true, 50, 100}, thinUpright);
    EXPECT_FALSE(c.useThin || c.slantByShear);
    // The "italic" match is upright after all: lean it.
    c = ChooseClockFace(FaceCandidate{true, 80, 0}, FaceCandidate{true, 80, 0});
    EXPECT_TRUE(!c.useThin && c.slantByShear);

    EXPECT_TRUE(ChooseClockFace(FaceCandidate{}, FaceCandidate{}).none);
    EXPECT_TRUE(ChooseClockFace(FaceCandidate{}, thinUpright).useThin);
}

TEST(ClockCoverage, IndexedPixelsKeepTheBrighterValueAndClip) {
    uint8_t bits[4 * 3] = {};
    bits[0] = 200;  // (0, 0) brighter than the glyph's edge
    IndexedPixels px{bits, 3, 3, 4};
    const uint8_t glyph[2 * 2] = {100, 255, 0, 128};
    CoverIndexed(px, 0, 0, glyph, 2, 2, 2);
    EXPECT_TRUE(bits[0] == 200 && bits[1] == 255 && bits[4] == 0 && bits[5] == 128);
    // Hanging over every edge: only the inside is touched, nothing else.
    uint8_t row[4 * 3] = {};
    IndexedPixels small{row, 3, 3, 4};
    uint8_t full[5 * 5];
    std::memset(full, 255, sizeof full);
    CoverIndexed(small, -1, -1, full, 5, 5, 5);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(row[y * 4 + x], x < 3 ? 255 : 0) << x << "," << y;
    }
    CoverIndexed(small, 3, 0, full, 5, 5, 5);  // wholly outside
    CoverIndexed(small, -5, -5, full, 5, 5, 5);
    EXPECT_EQ(row[3], 0);
}

TEST(ClockCoverage, PackedPixelsBlendTheColourByCoverage) {
    SoftwareSurface s(3, 1, SurfaceKind::Rgb);
    s.FillRect(Rect{0, 0, 3, 1}, PackColour(0, 0, 200));
    const uint8_t glyph[3] = {0, 255, 128};
    CoverPacked(s, 0, 0, glyph, 3, 1, 3, PackColour(255, 100, 0));
    EXPECT_EQ(s.ColourAt(0, 0), PackColour(0, 0, 200));    // untouched
    EXPECT_EQ(s.ColourAt(1, 0), PackColour(255, 100, 0));  // fully covered
    // Half covered: halfway between the two, rounded.
    EXPECT_EQ(s.ColourAt(2, 0), PackColour(128, 50, 100));
    // Clipping on the right and bottom.
    CoverPacked(s, 2, 0, glyph + 1, 2, 1, 2, PackColour(1, 2, 3));
    EXPECT_EQ(s.ColourAt(2, 0), PackColour(1, 2, 3));
}

}  // namespace
}  // namespace quorvex::linux_host
