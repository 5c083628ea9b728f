// The front end's rules and drawing without a display: pixels for any
// true-colour visual, the clock's text, glyphs, damage. What a user sees of
// them (errors, the settings file, ending by input) xvfb_test.sh checks.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "clock_Face.h"
#include "clock_Format.h"
#include "input_Rules.h"
#include "options.h"
#include "pixels_Convert.h"
#include "settings_File.h"
#include "surface_Damage.h"
#include "x11_Monitors.h"

namespace quorvex::linux_host {
namespace {

ParsedOptions Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quorvex");
    return ParseFrontEndOptions(static_cast<int>(args.size()), args.data());
}

TEST(FrontEndOptions, EachSettingOptionSetsItsSettingOnly) {
    const struct {
        std::vector<const char*> args;
        const char* setting;
        int value;
    } rows[] = {
        {{"--trace"}, "Trace", 1}, {{"--no-trace"}, "Trace", 0}, {{"--show-fps"}, "ShowFPS", 1},
        {{"--no-show-fps"}, "ShowFPS", 0}, {{"--show-clock"}, "ShowClock", 1}, {{"--hues-of-gray"}, "HuesOfGray", 1},
        {{"--mix-points"}, "UnSortPoints", 1}, {{"--no-primitive-points"}, "PrimitivePoints", 0},
        {{"-move-3d"}, "Move3D", 1}, {{"--mouse-sens"}, "MouseSens", 1}, {{"--no-mouse-sens"}, "MouseSens", 0},
        {{"--trace", "--no-trace"}, "Trace", 0}, {{"--trace-mode", "simple"}, "TraceModeInd", 0},
        {{"--trace-mode=diffusion"}, "TraceModeInd", 1}, {{"--trace-mode", "2"}, "TraceModeInd", 2},
        {{"--trace-length=3"}, "TraceLength", 3}, {{"--trace-length", "0"}, "TraceLength", 0},
    };
    for (const auto& r : rows) {
        const ParsedOptions p = Parse(r.args);
        ASSERT_TRUE(p.ok) << r.args[0] << ": " << p.error;
        int set = 0;
        for (const auto& o : p.options.overrides) set += o.has_value();
        EXPECT_TRUE(set == 1 && p.options.overrides[SettingIndex(r.setting)] == r.value) << r.args[0];
    }
    SaverSettings s;
    s.ShowClock = true;
    ApplyOverrides(Parse({"--no-trace", "--trace-mode", "simple"}).options, s);
    EXPECT_TRUE(!s.Trace && s.TraceModeInd == 0 && s.ShowClock && s.TraceLength == 1);
}

TEST(FrontEndOptions, DefaultsAndLargestValues) {
    ParsedOptions p = Parse({});
    EXPECT_TRUE(p.ok && p.options.mode == DisplayMode::Window && p.options.sharedMemory && p.options.durationMs == 0);
    p = Parse({"--geometry=1x16384", "--duration", "86400", "--stats", "-no-shm", "--display", ":3"});
    EXPECT_TRUE(p.ok && p.options.width == 1 && p.options.height == 16384 && p.options.durationMs == 86400000u &&
                p.options.stats && !p.options.sharedMemory && p.options.display == ":3");
    for (const char* id : {"0XfFfFfFfF", "4294967295"}) EXPECT_EQ(Parse({"-window-id", id}).options.windowId, 0xFFFFFFFFu);
    EXPECT_LT(QuoteArgument(std::string(5000, 'a').c_str()).size(), 100u);
}

TEST(SettingsFile, StoredDecimalTextOnlyAndBoundedWarnings) {
    for (int32_t v : {0, 9, 10, 2147483647, -1, -12, -2147483647 - 1}) EXPECT_TRUE(IsStoredDecimalText(IntToDecimal(v)));
    for (const char* bad : {"", "-1", "07", "1a", " 5", "+1", "00", "2147483648", "1.0"})
        EXPECT_FALSE(IsStoredDecimalText(bad)) << bad;
    std::string junk;
    for (int i = 0; i < 500; ++i) junk += std::string("\x01\xff=\0z\n", 6);
    std::vector<std::string> warnings;
    ParseSettingsText(junk, warnings);
    EXPECT_EQ(warnings.size(), 11u) << "ten lines, then one line for the rest";
}

// The rest of the rules are seen ending (or not ending) real runs under Xvfb.
TEST(InputRules, BoundariesOfWhatEndsTheSaver) {
    using K = InputKind;
    const std::vector<std::pair<InputEvent, bool>> full = {{{K::Motion, 0, 0, -32768, -32768}, false},
        {{K::Motion, 0, 0, 32767, 32767}, true},  // no 32-bit overflow
        {{K::Button, 0, 4}, false}, {{K::Button, 0, 5}, false}, {{K::Button, 0, 6}, false}, {{K::Button, 0, 7}, false},
        {{K::FocusLost}, false}, {{K::FocusGained}, false}, {{K::FocusLost}, true}};
    InputState s;
    for (size_t i = 0; i < full.size(); ++i)
        EXPECT_EQ(InputEndsRun(DisplayMode::Fullscreen, true, s, full[i].first), full[i].second) << i;
    for (DisplayMode m : {DisplayMode::Window, DisplayMode::Root, DisplayMode::WindowId}) {
        EXPECT_EQ(InputEndsRun(m, true, s, {K::Key, XK_Q}), m == DisplayMode::Window);
        EXPECT_FALSE(InputEndsRun(m, true, s, {K::FocusLost}) || InputEndsRun(m, true, s, {K::Button, 0, 3}));
    }
}

// The areas full screen animates, from the monitors the server lists: the
// primary first, clipped to the screen, clones and outsiders dropped.
TEST(ArrangeMonitors, PrimaryFirstClippedWithoutRepeats) {
    const Rect a{0, 0, 800, 600}, b{800, 0, 1440, 480}, c{1440, 0, 1600, 700};
    using Rects = std::vector<Rect>;
    for (const auto& [found, primary, expected] : std::vector<std::tuple<Rects, int, Rects>>{
             {{}, 0, {{0, 0, 1600, 700}}}, {{a, b, c}, 0, {a, b, c}}, {{a, b, c}, 2, {c, a, b}}, {{a, b, c}, 1, {b, a, c}},
             {{b, a}, -1, {b, a}}, {{a, a, b}, 0, {a, b}}, {{{1600, 0, 1900, 700}, a}, 0, {a}},
             {{{-100, -50, 700, 600}, {1500, 600, 1800, 900}}, 0, {{0, 0, 700, 600}, {1500, 600, 1600, 700}}}}) {
        std::vector<std::vector<int32_t>> got, want;
        for (const Rect& r : ArrangeMonitors(found, primary, 1600, 700)) got.push_back({r.left, r.top, r.right, r.bottom});
        for (const Rect& r : expected) want.push_back({r.left, r.top, r.right, r.bottom});
        EXPECT_EQ(got, want) << found.size() << " listed, primary " << primary;
    }
}

TEST(Pixels, ChannelsScaleToTheirMasksAndRowsToTheirByteOrder) {
    const PixelLayout rgb565 = PixelLayout{0xF800, 0x07E0, 0x001F, 16};
    const struct {
        PixelLayout layout;
        uint32_t r, g, b, pixel;
    } maps[] = {{PixelLayout{}, 0x12, 0x34, 0x56, 0x123456u}, {rgb565, 255, 255, 255, 0xFFFFu}, {rgb565, 0, 128, 0, 32u << 5},
                {rgb565, 5, 0, 0, 1u << 11}, {PixelLayout{0xFF, 0xFF00, 0xFF0000}, 0x12, 0x34, 0x56, 0x563412u},
                {PixelLayout{0x3FF00000, 0xFFC00, 0x3FF}, 255, 255, 255, 0x3FFFFFFFu}};
    for (const auto& m : maps) EXPECT_EQ(PixelMapper(m.layout).Map(m.r, m.g, m.b), m.pixel) << std::hex << m.pixel;
    for (const PixelLayout& bad : {PixelLayout{0xE0, 0x1C, 0x03, 8}, PixelLayout{0xF0F000, 0xFF00, 0xFF}, PixelLayout{0xFF0000, 0, 0xFF}})
        EXPECT_FALSE(PixelMapper(bad).Supported());

    ColourEntry table[256]{};
    table[1] = ColourEntry{0x56, 0x34, 0x12, 0};  // blue, green, red
    uint32_t pixels[256];
    const uint8_t src[20] = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1};  // a run of 16, then the rest
    for (bool msb : {false, true}) {
        const PixelMapper m(PixelLayout{0xFF0000, 0xFF00, 0xFF, 32, msb});
        MapColourTable(m, table, pixels);
        uint8_t out[4 * 20 + 1] = {};
        out[80] = 0xEE;
        ConvertIndexedRow(m, src, 20, pixels, out);
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(out[4 * i + (msb ? 1 : 2)], src[i] ? 0x12 : 0) << "msb " << msb << " pixel " << i;
        EXPECT_EQ(out[80], 0xEE);
    }
    const PackedColour colours[3] = {PackColour(0x12, 0x34, 0x56), PackColour(1, 2, 3), PackColour(7, 8, 9)};
    uint32_t wide[4] = {0, 0, 0, 0xDEADBEEFu};
    ConvertPackedRow(PixelMapper(PixelLayout{}), colours, 3, reinterpret_cast<uint8_t*>(wide));
    EXPECT_TRUE(wide[0] == 0x123456u && wide[1] == 0x010203u && wide[2] == 0x070809u && wide[3] == 0xDEADBEEFu);
    uint8_t narrow[7] = {0, 0, 0, 0, 0, 0, 0xEE};
    ConvertPackedRow(PixelMapper(PixelLayout{0xFF0000, 0xFF00, 0xFF, 24}), colours, 2, narrow);
    EXPECT_EQ(std::memcmp(narrow, "\x56\x34\x12\x03\x02\x01\xEE", 7), 0);
}

TEST(Clock, LocalePatternsGiveTheTimeText) {
    const struct {
        const char* pattern;
        int h, m, s;
        const char* text;
    } rows[] = {{"%H:%M:%S", 7, 5, 9, "07:05:09"}, {"%r", 0, 0, 1, "12:00:01 AM"}, {"%r", 13, 30, 0, "01:30:00 PM"},
                {"%k.%M.%S", 7, 5, 9, "7.05.09"}, {"%-I:%M:%S %p", 21, 0, 0, "9:00:00 PM"}, {"%_H:%M", 7, 0, 0, "7:00:00"},
                {"%p %I:%M:%S", 9, 1, 2, "AM 09:01:02"}, {"%p %H:%M", 9, 1, 2, "09:01:02"}, {"%T", 23, 59, 59, "23:59:59"},
                {"%l,%M", 12, 0, 0, "12,00,00 PM"}, {"%p %I\xec\x8b\x9c %M\xeb\xb6\x84", 15, 0, 0, "PM 03:00:00"},
                {"%M minutes", 18, 4, 5, "18:04:05"}, {"%-", 18, 4, 5, "18:04:05"}, {nullptr, 18, 4, 5, "18:04:05"}};
    char out[64];
    for (const auto& r : rows) {
        const size_t n = ClockText(TimeOfDay{r.h, r.m, r.s}, ClockStyleFromPattern(r.pattern, "AM", "PM").Format(), out, 64);
        EXPECT_EQ(std::string(out, n), r.text) << (r.pattern ? r.pattern : "null");
    }
    std::string longPm;
    for (int i = 0; i < 20; ++i) longPm += "\xc3\xa9";
    EXPECT_EQ(std::strlen(ClockStyleFromPattern("%r", "AM", longPm.c_str()).pm), 30u) << "whole characters only";
}

TEST(Clock, TextFaceAndGlyphCoverage) {
    const std::string text = "a\xc3\xa9\xe5\x8d\x88\xf0\x9f\x95\x90";
    size_t i = 0;
    for (uint32_t expected : {uint32_t{'a'}, 0xE9u, 0x5348u, 0x1F550u}) EXPECT_EQ(NextCodePoint(text.data(), text.size(), i), expected);
    for (const std::string bad : {"\xe5\x8d", "\x80", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xff"}) {
        size_t k = 0;
        EXPECT_TRUE(NextCodePoint(bad.data(), bad.size(), k) == 0xFFFDu && k == 1u) << bad.size();
    }
    const FaceCandidate none{}, thin{true, 40, 0}, italic{true, 80, 100}, lightItalic{true, 50, 100}, upright{true, 80, 0};
    for (const auto& [a, b, useThin, shear] : {std::tuple{italic, thin, true, true}, {lightItalic, thin, false, false},
                                              {upright, upright, false, true}, {none, thin, true, true}})
        EXPECT_TRUE(ChooseClockFace(a, b).useThin == useThin && ChooseClockFace(a, b).slantByShear == shear && !ChooseClockFace(a, b).none);
    EXPECT_TRUE(ChooseClockFace(none, none).none);

    uint8_t bits[4 * 3] = {200}, full[5 * 5];
    std::memset(full, 255, sizeof full);
    const uint8_t glyph[2 * 2] = {100, 255, 0, 128};
    CoverIndexed(IndexedPixels{bits, 3, 3, 4}, 0, 0, glyph, 2, 2, 2);
    EXPECT_TRUE(bits[0] == 200 && bits[1] == 255 && bits[4] == 0 && bits[5] == 128) << "the brighter value stays";
    CoverIndexed(IndexedPixels{bits, 3, 3, 4}, -1, 1, full, 5, 5, 5);
    EXPECT_TRUE(bits[4] == 255 && bits[6] == 255 && bits[7] == 0 && bits[11] == 0) << "clipped to 3x3 of stride 4";
    SoftwareSurface surface(3, 1, SurfaceKind::Rgb);
    surface.FillRect(Rect{0, 0, 3, 1}, PackColour(0, 0, 200));
    CoverPacked(surface, 0, 0, glyph + 1, 3, 1, 3, PackColour(255, 100, 0));  // coverage 255, 0, 128
    EXPECT_TRUE(surface.ColourAt(0, 0) == PackColour(255, 100, 0) && surface.ColourAt(1, 0) == PackColour(0, 0, 200));
    EXPECT_EQ(surface.ColourAt(2, 0), PackColour(128, 50, 100)) << "blended by coverage, rounded";
}

TEST(Damage, BoxesHoldWhatWasDrawnInsideTheSurface) {
    Damage d;
    for (const Rect& r : {Rect{90, -3, 120, 4}, Rect{10, 20, 30, 40}, Rect{5, 25, 15, 60}, Rect{-5, 0, 0, 10}})
        d.Add(Damage::Clock, r, 100, 50);
    const Rect& c = d.boxes[Damage::Clock];
    EXPECT_TRUE(c.left == 5 && c.top == 0 && c.right == 100 && c.bottom == 50 && d.boxes[Damage::Points].right == 0);
    d.Clear();
    EXPECT_TRUE(d.Empty());
}

}  // namespace
}  // namespace quorvex::linux_host
