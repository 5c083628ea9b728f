// The front end's rules and drawing without a display: pixels for any
// true-colour visual, the clock's text, glyphs. What a user sees of
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
#include "monitors_Layout.h"
#include "options.h"
#include "pixels_Convert.h"
#include "settings_File.h"
#include "x11_Monitors.h"
#include "x11_Present.h"

namespace quorvex::linux_host {
namespace {

ParsedOptions Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quorvex");
    return ParseFrontEndOptions(static_cast<int>(args.size()), args.data());
}

// Every setting is given a value other than its default: one routed to another's field shows.
TEST(FrontEndOptions, EachOptionLandsInItsOwnField) {
    ParsedOptions p = Parse({"--trace", "--no-trace", "--show-fps", "--show-clock", "--hues-of-gray", "--mix-points",
                             "--no-primitive-points", "-move-3d", "--no-mouse-sens", "--trace-mode=diffusion",
                             "--trace-length", "3", "--geometry=1x16384", "--duration", "86400", "--stats", "-no-shm"});
    SaverSettings s;
    ApplyOverrides(p.options, s);
    EXPECT_EQ(SettingsText(s),
              "ShowFPS=1\nUnSortPoints=1\nMouseSens=0\nMove3D=1\nPrimitivePoints=0\nHuesOfGray=1\nTrace=0\n"
              "ShowClock=1\nTraceModeInd=1\nTraceLength=3\n");
    EXPECT_TRUE(p.ok && p.options.mode == DisplayMode::Window && p.options.width == 1 && p.options.height == 16384 &&
                p.options.durationMs == 86400000u && p.options.stats && !p.options.sharedMemory);
    p = Parse({"-window-id", "4294967295", "--trace-mode", "2"});  // the hex form: "no such window" in xvfb_test.sh
    EXPECT_TRUE(p.ok && p.options.windowId == 0xFFFFFFFFu && p.options.mode == DisplayMode::WindowId &&
                p.options.sharedMemory && p.options.overrides[SettingIndex("TraceModeInd")] == 2);
    EXPECT_LT(QuoteArgument(std::string(5000, 'a').c_str()).size(), 100u);
}

// Wayland only where it can show the run and only when named or asked; refusals are rows of xvfb_test.sh.
TEST(FrontEndOptions, BackendFollowsTheEnvironmentAndTheMode) {
    using B = Backend;
    for (const auto& [args, env, want] : std::vector<std::tuple<std::vector<const char*>, const char*, B>>{
             {{}, "wayland-1", B::Wayland}, {{}, "", B::X11}, {{}, nullptr, B::X11},
             {{"--fullscreen"}, "w", B::Wayland}, {{"--root"}, "w", B::X11}, {{"--window-id", "7"}, "w", B::X11},
             {{"--display", ":1"}, "w", B::X11}, {{"--backend", "x11"}, "w", B::X11},
             {{"--backend=wayland"}, nullptr, B::Wayland}}) {
        ParsedOptions p = Parse(args);
        B got = B::Auto;
        std::string error;
        EXPECT_TRUE(p.ok && ChooseBackend(p.options, env, got, error) && got == want)
            << args.size() << ' ' << (env ? env : "unset");
    }
}

// The rest of the file's rules are seen in `quorvex config` runs.
TEST(SettingsFile, StoredValuesAreExactlyWhatIntToDecimalWrites) {
    for (int32_t v : {0, 9, 10, 2147483647, -1, -12, -2147483647 - 1})
        EXPECT_TRUE(IsStoredDecimalText(IntToDecimal(v))) << v;
    for (const char* bad : {"", "-1", "07", "1a", " 5", "+1", "00", "2147483648", "1.0"})
        EXPECT_FALSE(IsStoredDecimalText(bad)) << bad;
}

// What runs under Xvfb cannot show: focus, a jump across the 16-bit range, a keymap giving Q unshifted.
TEST(InputRules, BoundariesOfWhatEndsTheSaver) {
    using K = InputKind;
    const std::vector<std::pair<InputEvent, bool>> full = {{{K::Motion, 0, 0, -32768, -32768}, false},
        {{K::Motion, 0, 0, 32767, 32767}, true}, {{K::FocusLost}, false}, {{K::FocusGained}, false},
        {{K::FocusLost}, true}};
    InputState s;
    for (size_t i = 0; i < full.size(); ++i)
        EXPECT_EQ(InputEndsRun(DisplayMode::Fullscreen, true, s, full[i].first), full[i].second) << i;
    EXPECT_TRUE(InputEndsRun(DisplayMode::Window, true, s, {K::Key, XK_Q}));
}

// The areas full screen animates: the primary first, clipped to the window and in its coordinates; clones,
// mirrors inside a larger panel and outsiders dropped.
TEST(ArrangeMonitors, PrimaryFirstClippedWithoutRepeats) {
    const Rect a{0, 0, 800, 600}, b{800, 0, 1440, 480}, c{1440, 0, 1600, 700}, s{0, 0, 1600, 700}, m{0, 0, 1366, 700};
    using Rects = std::vector<Rect>;
    for (const auto& [found, primary, window, want] : std::vector<std::tuple<Rects, int, Rect, Rects>>{
             {{}, 0, s, {s}}, {{a, b, c}, 2, s, {c, a, b}}, {{b, a}, -1, s, {b, a}}, {{a, a, b}, 0, s, {a, b}},
             {{a, m, b, {900, 0, 1000, 99}}, 0, s, {m, b}}, {{{1600, 0, 1900, 700}, a}, 0, s, {a}},
             {{b, {400, 0, 800, 600}}, 1, {400, 0, 1440, 600}, {{0, 0, 400, 600}, {400, 0, 1040, 480}}},
             {{{-100, -50, 700, 600}, {1500, 600, 1800, 900}}, 0, s, {{0, 0, 700, 600}, {1500, 600, 1600, 700}}}}) {
        const Rects got = ArrangeMonitors(found, primary, window);
        EXPECT_TRUE(got.size() == want.size() && !std::memcmp(got.data(), want.data(), got.size() * sizeof(Rect)))
            << found.size() << " listed, primary " << primary;
    }
}

TEST(ImagePresenter, CompletionFreesOnlyItsOwnSegment) {  // not one the server may still read for another monitor
    XEvent ev{};
    reinterpret_cast<XShmCompletionEvent&>(ev) = XShmCompletionEvent{70, 0, False, nullptr, 0, 0, 0, 5, 0};
    EXPECT_TRUE(CompletesPut(ev, 70, 5) && !CompletesPut(ev, 70, 6) && !CompletesPut(ev, 71, 5));
}

TEST(Pixels, ChannelsScaleToTheirMasksAndRowsToTheirByteOrder) {
    const PixelLayout rgb565{0xF800, 0x07E0, 0x001F, 16};
    for (const auto& [layout, r, g, b, pixel] : std::vector<std::tuple<PixelLayout, int, int, int, uint32_t>>{
             {PixelLayout{}, 0x12, 0x34, 0x56, 0x123456u}, {{0xFF, 0xFF00, 0xFF0000}, 0x12, 0x34, 0x56, 0x563412u},
             {rgb565, 255, 255, 255, 0xFFFFu}, {rgb565, 0, 128, 0, 32u << 5},
             {{0x3FF00000, 0xFFC00, 0x3FF}, 255, 255, 255, 0x3FFFFFFFu}})
        EXPECT_EQ(PixelMapper(layout).Map(r, g, b), pixel) << std::hex << pixel;
    for (const PixelLayout& bad : {PixelLayout{0xE0, 0x1C, 0x03, 8}, {0xF0F000, 0xFF00, 0xFF}, {0xFF0000, 0, 0xFF}})
        EXPECT_FALSE(PixelMapper(bad).Supported());

    const ColourEntry table[256] = {{}, {0x56, 0x34, 0x12, 0}};  // entry 1: blue, green, red
    uint32_t pixels[256];
    const uint8_t src[20] = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1};  // a run of 16, then the rest
    for (bool msb : {false, true}) {
        const PixelMapper m(PixelLayout{0xFF0000, 0xFF00, 0xFF, 32, msb});
        MapColourTable(m, table, pixels);
        std::vector<uint8_t> out(4 * 20 + 1, 0xEE);
        ConvertIndexedRow(m, src, 20, pixels, out.data());
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(out[4 * i + (msb ? 1 : 2)], src[i] ? 0x12 : 0) << "msb " << msb << " pixel " << i;
        EXPECT_EQ(out[80], 0xEE);
    }
    const PackedColour colours[3] = {PackColour(0x12, 0x34, 0x56), PackColour(1, 2, 3), PackColour(7, 8, 9)};
    uint32_t wide[4] = {0, 0, 0, 0xDEADBEEFu};
    ConvertPackedRow(PixelMapper(PixelLayout{}), colours, 3, reinterpret_cast<uint8_t*>(wide));
    EXPECT_TRUE(wide[0] == 0x123456u && wide[1] == 0x010203u && wide[2] == 0x070809u && wide[3] == 0xDEADBEEFu);
    uint8_t narrow[8] = {0, 0, 0, 0, 0, 0, 0xEE};  // room for a 32-bit store, which a 24-bit row never makes
    ConvertPackedRow(PixelMapper(PixelLayout{0xFF0000, 0xFF00, 0xFF, 24}), colours, 2, narrow);
    EXPECT_EQ(std::memcmp(narrow, "\x56\x34\x12\x03\x02\x01\xEE", 7), 0);
}

// The hour's form from the locale's pattern; 12-hour text itself is core code.
TEST(Clock, LocalePatternsGiveTheTimeText) {
    char out[64];
    for (const auto& [pattern, text] : std::vector<std::pair<const char*, const char*>>{{"%r", "09:05:09 AM"},
             {"%k.%M.%S", "9.05.09"}, {"%-I:%M:%S %p", "9:05:09 AM"}, {"%_H:%M", "9:05:09"}, {"%T", "09:05:09"},
             {"%p %I:%M:%S", "AM 09:05:09"}, {"%p %H:%M", "09:05:09"}, {"%l,%M", "9,05,09 AM"},
             {"%p %I\xec\x8b\x9c %M\xeb\xb6\x84", "AM 09:05:09"}, {"%M minutes", "09:05:09"}, {"%-", "09:05:09"},
             {nullptr, "09:05:09"}}) {
        const ClockStyle style = ClockStyleFromPattern(pattern, "AM", "PM");  // the format points into it
        const std::string got(out, ClockText(TimeOfDay{9, 5, 9}, style.Format(), out, 64));
        EXPECT_EQ(got, text) << (pattern ? pattern : "null");
    }
    std::string longPm;
    for (int i = 0; i < 20; ++i) longPm += "\xc3\xa9";
    EXPECT_EQ(std::strlen(ClockStyleFromPattern("%r", "AM", longPm.c_str()).pm), 30u) << "whole characters only";
}

TEST(Clock, TextFaceAndGlyphCoverage) {
    const std::string text = "a\xc3\xa9\xe5\x8d\x88\xf0\x9f\x95\x90";
    size_t i = 0;
    for (uint32_t expected : {uint32_t{'a'}, 0xE9u, 0x5348u, 0x1F550u})
        EXPECT_EQ(NextCodePoint(text.data(), text.size(), i), expected);
    // Stray, overlong, surrogate, past U+10FFFF, never valid, cut short: U+FFFD from every byte on.
    const std::string bad = "\x80\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80\xff\xe5\x8d";
    for (size_t k = 0, j = 0; k < bad.size(); j = ++k)
        EXPECT_TRUE(NextCodePoint(bad.data(), bad.size(), j) == 0xFFFDu && j == k + 1) << k;
    const FaceCandidate none{}, thin{true, 40, 0}, italic{true, 80, 100}, light{true, 50, 100}, upright{true, 80, 0};
    for (const auto& [a, b, useThin, shear] : {std::tuple{italic, thin, true, true}, {light, thin, false, false},
                                              {upright, upright, false, true}, {none, thin, true, true}}) {
        const FaceChoice f = ChooseClockFace(a, b);
        EXPECT_TRUE(f.useThin == useThin && f.slantByShear == shear && !f.none);
    }
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

}  // namespace
}  // namespace quorvex::linux_host
