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
    // C and most European locales.
    ClockStyle c = ClockStyleFromPattern("%H:%M:%S", "", "");
    EXPECT_EQ(Text(c, 7, 5, 9), "07:05:09");
    // en_US: "%r" and the 12-hour clock with the designator after.
    ClockStyle us = ClockStyleFromPattern("%r", "AM", "PM");
    EXPECT_EQ(Text(us, 0, 0, 1), "12:00:01 AM");
    EXPECT_EQ(Text(us, 13, 30, 0), "01:30:00 PM");
    // Hour without a leading zero, and another separator.
    ClockStyle dot = ClockStyleFromPattern("%k.%M.%S", "", "");
    EXPECT_EQ(Text(dot, 7, 5, 9), "7.05.09");
    ClockStyle dash = ClockStyleFromPattern("%-I:%M:%S %p", "am", "pm");
    EXPECT_EQ(Text(dash, 21, 0, 0), "9:00:00 pm");
    // The designator first, as some Asian locales write it.
    ClockStyle first = ClockStyleFromPattern("%p %I:%M:%S", "AM", "PM");
    EXPECT_EQ(Text(first, 9, 1, 2), "AM 09:01:02");
    // %T is %H:%M:%S.
    EXPECT_EQ(Text(ClockStyleFromPattern("%T", "", ""), 23, 59, 59), "23:59:59");
}

TEST(ClockStyle, OddPatternsFallBackSafely) {
    // No hour at all, an empty pattern, a pattern cut after '%', no pattern.
    const char* const patterns[] = {"%M minutes", "", "%", "%-", nullptr};
    for (const char* p : patterns) {
        ClockStyle s = ClockStyleFromPattern(p, "AM", "PM");
        EXPECT_EQ(Text(s, 18, 4, 5), "18:04:05") << (p ? p : "null");
    }
    // A unit word after the hour is not a separator.
    ClockStyle ko = ClockStyleFromPattern("%p %I\xec\x8b\x9c %M\xeb\xb6\x84 %S\xec\xb4\x88", "AM", "PM");
    EXPECT_EQ(Text(ko, 15, 0, 0), "PM 03:00:00");
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
    EXPECT_EQ(NextCodePoint(text.data(), text.size(), i), 'a');
    EXPECT_EQ(NextCodePoint(text.data(), text.size(), i), 0xE9u);
    EXPECT_EQ(NextCodePoint(text.data(), text.size(), i), 0x5348u);
    EXPECT_EQ(NextCodePoint(text.data(), text.size(), i), 0x1F550u);
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
    FaceCandidate bookItalic{true, 80, 100};
    FaceCandidate thinUpright{true, 40, 0};
    FaceChoice c = ChooseClockFace(bookItalic, thinUpright);
    EXPECT_TRUE(c.useThin);
    EXPECT_TRUE(c.slantByShear);

    FaceCandidate lightItalic{true, 50, 100};
    c = ChooseClockFace(lightItalic, thinUpright);
    EXPECT_FALSE(c.useThin);
    EXPECT_FALSE(c.slantByShear);

    // The "italic" match is upright after all: lean it.
    FaceCandidate upright{true, 80, 0};
    c = ChooseClockFace(upright, FaceCandidate{true, 80, 0});
    EXPECT_FALSE(c.useThin);
    EXPECT_TRUE(c.slantByShear);

    EXPECT_TRUE(ChooseClockFace(FaceCandidate{}, FaceCandidate{}).none);
    EXPECT_TRUE(ChooseClockFace(FaceCandidate{}, thinUpright).useThin);
}

TEST(ClockCoverage, IndexedPixelsKeepTheBrighterValueAndClip) {
    uint8_t bits[4 * 3] = {};
    bits[0] = 200;  // (0, 0) brighter than the glyph's edge
    IndexedPixels px{bits, 3, 3, 4};
    const uint8_t glyph[2 * 2] = {100, 255, 0, 128};
    CoverIndexed(px, 0, 0, glyph, 2, 2, 2);
    EXPECT_EQ(bits[0], 200);
    EXPECT_EQ(bits[1], 255);
    EXPECT_EQ(bits[4], 0);
    EXPECT_EQ(bits[5], 128);
    // Hanging over every edge: only the inside is touched, nothing else.
    uint8_t row[4 * 3] = {};
    IndexedPixels small{row, 3, 3, 4};
    const uint8_t full[5 * 5] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
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
