// The front end's command line: modes, settings switches, values and the
// one-line errors of bad input.
#include "options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace quorvex::linux_host {
namespace {

ParsedOptions Parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"quorvex"};
    argv.insert(argv.end(), args.begin(), args.end());
    return ParseFrontEndOptions(static_cast<int>(argv.size()), argv.data());
}

int Index(const char* name) { return SettingIndex(name); }

TEST(FrontEndOptions, NoArgumentsIsADefaultWindowWithNoOverrides) {
    ParsedOptions p = Parse({});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.mode, DisplayMode::Window);
    EXPECT_EQ(p.options.width, 1024);
    EXPECT_EQ(p.options.height, 768);
    for (const auto& o : p.options.overrides) EXPECT_FALSE(o.has_value());
    EXPECT_TRUE(p.options.sharedMemory);
}

TEST(FrontEndOptions, SwitchesSetTheirSettingOnAndTheNoFormOff) {
    struct Case {
        const char* on;
        const char* off;
        const char* setting;
    };
    const Case cases[] = {
        {"--trace", "--no-trace", "Trace"},
        {"--show-fps", "--no-show-fps", "ShowFPS"},
        {"--show-clock", "--no-show-clock", "ShowClock"},
        {"--hues-of-gray", "--no-hues-of-gray", "HuesOfGray"},
        {"--primitive-points", "--no-primitive-points", "PrimitivePoints"},
        {"--mix-points", "--no-mix-points", "UnSortPoints"},
        {"--move-3d", "--no-move-3d", "Move3D"},
        {"--mouse-sens", "--no-mouse-sens", "MouseSens"},
    };
    for (const Case& c : cases) {
        ParsedOptions on = Parse({c.on});
        ASSERT_TRUE(on.ok) << c.on << ": " << on.error;
        EXPECT_EQ(on.options.overrides[Index(c.setting)], 1) << c.on;
        ParsedOptions off = Parse({c.off});
        ASSERT_TRUE(off.ok) << c.off << ": " << off.error;
        EXPECT_EQ(off.options.overrides[Index(c.setting)], 0) << c.off;
        // Only that one setting is touched.
        int set = 0;
        for (const auto& o : on.options.overrides) set += o.has_value();
        EXPECT_EQ(set, 1) << c.on;
    }
    // The later of two contradicting switches wins.
    ParsedOptions both = Parse({"--trace", "--no-trace"});
    ASSERT_TRUE(both.ok);
    EXPECT_EQ(both.options.overrides[Index("Trace")], 0);
}

TEST(FrontEndOptions, TraceModeAndLengthTakeTheirValueEitherWay) {
    ParsedOptions p = Parse({"--trace-mode", "simple", "--trace-length=3"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.overrides[Index("TraceModeInd")], 0);
    EXPECT_EQ(p.options.overrides[Index("TraceLength")], 3);
    EXPECT_EQ(Parse({"--trace-mode=diffusion"}).options.overrides[Index("TraceModeInd")], 1);
    EXPECT_EQ(Parse({"--trace-mode", "fire"}).options.overrides[Index("TraceModeInd")], 2);
    EXPECT_EQ(Parse({"--trace-mode", "1"}).options.overrides[Index("TraceModeInd")], 1);
    EXPECT_EQ(Parse({"--trace-length", "0"}).options.overrides[Index("TraceLength")], 0);

    for (const char* bad : {"4", "-1", "", "1x", "one", "+1", "00000000004"}) {
        ParsedOptions q = Parse({"--trace-length", bad});
        EXPECT_FALSE(q.ok) << "length " << bad;
    }
    for (const char* bad : {"Fire", "3", "", "smoke"}) {
        EXPECT_FALSE(Parse({"--trace-mode", bad}).ok) << "mode " << bad;
    }
}

TEST(FrontEndOptions, XStyleSingleDashSpellingsAreAccepted) {
    ParsedOptions root = Parse({"-root"});
    ASSERT_TRUE(root.ok) << root.error;
    EXPECT_EQ(root.options.mode, DisplayMode::Root);
    ParsedOptions id = Parse({"-window-id", "0x2a"});
    ASSERT_TRUE(id.ok) << id.error;
    EXPECT_EQ(id.options.mode, DisplayMode::WindowId);
    EXPECT_EQ(id.options.windowId, 42u);
}

TEST(FrontEndOptions, GeometryAcceptsOnlyTwoPositiveSides) {
    int32_t w = 0;
    int32_t h = 0;
    ASSERT_TRUE(ParseGeometry("640x480", w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    ASSERT_TRUE(ParseGeometry("1x16384", w, h));
    EXPECT_EQ(h, 16384);
    for (const char* bad : {"", "x", "640", "640x", "x480", "0x480", "640x0", "16385x10", "-640x480", "640x480+0+0",
                            "640X480", "640x480x", " 640x480", "99999999999x1", "0x10"}) {
        EXPECT_FALSE(ParseGeometry(bad, w, h)) << bad;
    }
    ParsedOptions p = Parse({"--geometry", "800x600"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.options.geometryGiven);
    EXPECT_EQ(p.options.width, 800);
    ParsedOptions bad = Parse({"--geometry", "800x"});
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("geometry"), std::string::npos) << bad.error;
}

TEST(FrontEndOptions, WindowIdsAreDecimalOrHexAndNeverZeroOrOverflowing) {
    uint32_t id = 0;
    ASSERT_TRUE(ParseWindowId("12345", id));
    EXPECT_EQ(id, 12345u);
    ASSERT_TRUE(ParseWindowId("0x1A00003", id));
    EXPECT_EQ(id, 0x1A00003u);
    ASSERT_TRUE(ParseWindowId("0XfFfFfFfF", id));
    EXPECT_EQ(id, 0xFFFFFFFFu);
    ASSERT_TRUE(ParseWindowId("4294967295", id));
    EXPECT_EQ(id, 4294967295u);
    for (const char* bad :
         {"", "0", "0x", "0x0", "4294967296", "0x100000000", "12z", "-5", "+5", "0x-1", "1e3", " 12", "12 ", "0x 1"}) {
        EXPECT_FALSE(ParseWindowId(bad, id)) << bad;
    }
}

TEST(FrontEndOptions, BadInputGivesOneLineNamingTheArgument) {
    struct Case {
        std::vector<const char*> args;
        const char* mention;
    };
    const std::vector<Case> cases = {
        {{"--frobnicate"}, "--frobnicate"},
        {{"stray"}, "stray"},
        {{"--window-id"}, "missing value"},
        {{"--window-id", "zero"}, "zero"},
        {{"--geometry", "10"}, "'10'"},
        {{"--fullscreen=yes"}, "no value"},
        {{"--root", "--fullscreen"}, "exclude"},
        {{"--fullscreen", "--geometry", "10x10"}, "--geometry"},
        {{"--duration", "0"}, "duration"},
        {{"-"}, "'-'"},
        {{"--"}, "'--'"},
        {{"--no-"}, "--no-"},
        {{"--no-geometry"}, "--no-geometry"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"quorvex"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        ParsedOptions p = ParseFrontEndOptions(static_cast<int>(argv.size()), argv.data());
        EXPECT_FALSE(p.ok) << c.args[0];
        EXPECT_NE(p.error.find(c.mention), std::string::npos) << p.error;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << p.error;
    }
}

TEST(FrontEndOptions, ControlCharactersInAnEchoedArgumentCannotBreakTheLine) {
    ParsedOptions p = Parse({"--bad\nname\r\x1b[2J"});
    ASSERT_FALSE(p.ok);
    EXPECT_EQ(p.error.find('\n'), std::string::npos);
    EXPECT_EQ(p.error.find('\r'), std::string::npos);
    EXPECT_EQ(p.error.find('\x1b'), std::string::npos);
    std::string longArg(5000, 'a');
    EXPECT_LT(QuoteArgument(longArg.c_str()).size(), 100u);
}

TEST(FrontEndOptions, ScreensaverWindowIsUsedWithRootOrNoModeOnly) {
    std::string error;
    FrontEndOptions plain;
    ASSERT_TRUE(ApplyScreensaverWindow(plain, "0x400001", error));
    EXPECT_EQ(plain.mode, DisplayMode::WindowId);
    EXPECT_EQ(plain.windowId, 0x400001u);

    FrontEndOptions root = Parse({"--root"}).options;
    ASSERT_TRUE(ApplyScreensaverWindow(root, "77", error));
    EXPECT_EQ(root.mode, DisplayMode::WindowId);
    EXPECT_EQ(root.windowId, 77u);

    // An explicit window id, full screen or window size wins over it.
    FrontEndOptions explicitId = Parse({"--window-id", "5"}).options;
    ASSERT_TRUE(ApplyScreensaverWindow(explicitId, "77", error));
    EXPECT_EQ(explicitId.windowId, 5u);
    FrontEndOptions full = Parse({"--fullscreen"}).options;
    ASSERT_TRUE(ApplyScreensaverWindow(full, "77", error));
    EXPECT_EQ(full.mode, DisplayMode::Fullscreen);
    FrontEndOptions sized = Parse({"--geometry", "300x200"}).options;
    ASSERT_TRUE(ApplyScreensaverWindow(sized, "77", error));
    EXPECT_EQ(sized.mode, DisplayMode::Window);

    // Unset or empty: nothing changes; garbage: an error, not a guess.
    FrontEndOptions unset;
    ASSERT_TRUE(ApplyScreensaverWindow(unset, nullptr, error));
    ASSERT_TRUE(ApplyScreensaverWindow(unset, "", error));
    EXPECT_EQ(unset.mode, DisplayMode::Window);
    FrontEndOptions garbage;
    EXPECT_FALSE(ApplyScreensaverWindow(garbage, "window", error));
    EXPECT_NE(error.find("XSCREENSAVER_WINDOW"), std::string::npos);
}

TEST(FrontEndOptions, OverridesReplaceOnlyTheSettingsGiven) {
    SaverSettings s;
    s.Trace = false;
    s.TraceModeInd = 0;
    s.ShowClock = true;
    ApplyOverrides(Parse({"--trace", "--trace-mode", "fire"}).options, s);
    EXPECT_TRUE(s.Trace);
    EXPECT_EQ(s.TraceModeInd, 2);
    EXPECT_TRUE(s.ShowClock);  // not on the command line: kept
    EXPECT_EQ(s.TraceLength, 1);
}

}  // namespace
}  // namespace quorvex::linux_host
