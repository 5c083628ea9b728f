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

std::optional<int32_t> Override(std::initializer_list<const char*> args, const char* setting) {
    const ParsedOptions p = Parse(args);
    EXPECT_TRUE(p.ok) << p.error;
    return p.options.overrides[SettingIndex(setting)];
}

TEST(FrontEndOptions, DefaultsModesAndSingleDashSpellings) {
    ParsedOptions p = Parse({});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.options.mode == DisplayMode::Window && p.options.width == 1024 && p.options.height == 768);
    for (const auto& o : p.options.overrides) EXPECT_FALSE(o.has_value());
    EXPECT_TRUE(p.options.sharedMemory);
    EXPECT_EQ(Parse({"-root"}).options.mode, DisplayMode::Root);
    ParsedOptions id = Parse({"-window-id", "0x2a"});
    EXPECT_TRUE(id.ok && id.options.mode == DisplayMode::WindowId && id.options.windowId == 42u);
    ParsedOptions g = Parse({"--geometry", "800x600"});
    EXPECT_TRUE(g.ok && g.options.geometryGiven && g.options.width == 800);
}

TEST(FrontEndOptions, SwitchesSetTheirSettingOnAndTheNoFormOff) {
    const char* const cases[][2] = {{"trace", "Trace"},
                                    {"show-fps", "ShowFPS"},
                                    {"show-clock", "ShowClock"},
                                    {"hues-of-gray", "HuesOfGray"},
                                    {"primitive-points", "PrimitivePoints"},
                                    {"mix-points", "UnSortPoints"},
                                    {"move-3d", "Move3D"},
                                    {"mouse-sens", "MouseSens"}};
    for (const auto& c : cases) {
        const std::string on = std::string("--") + c[0], off = std::string("--no-") + c[0];
        EXPECT_EQ(Override({on.c_str()}, c[1]), 1) << on;
        EXPECT_EQ(Override({off.c_str()}, c[1]), 0) << off;
        int set = 0;  // only that one setting is touched
        for (const auto& o : Parse({on.c_str()}).options.overrides) set += o.has_value();
        EXPECT_EQ(set, 1) << on;
    }
    EXPECT_EQ(Override({"--trace", "--no-trace"}, "Trace"), 0) << "the later switch wins";
}

TEST(FrontEndOptions, TraceModeAndLengthTakeTheirValueEitherWay) {
    EXPECT_EQ(Override({"--trace-mode", "simple"}, "TraceModeInd"), 0);
    EXPECT_EQ(Override({"--trace-mode=diffusion"}, "TraceModeInd"), 1);
    EXPECT_EQ(Override({"--trace-mode", "fire"}, "TraceModeInd"), 2);
    EXPECT_EQ(Override({"--trace-mode", "1"}, "TraceModeInd"), 1);
    EXPECT_EQ(Override({"--trace-length=3"}, "TraceLength"), 3);
    EXPECT_EQ(Override({"--trace-length", "0"}, "TraceLength"), 0);
    for (const char* bad : {"4", "-1", "", "1x", "one", "+1", "00000000004"}) {
        EXPECT_FALSE(Parse({"--trace-length", bad}).ok) << "length " << bad;
    }
    for (const char* bad : {"Fire", "3", "", "smoke"}) EXPECT_FALSE(Parse({"--trace-mode", bad}).ok) << "mode " << bad;
}

TEST(FrontEndOptions, GeometryAndWindowIdsAcceptOnlyWellFormedValues) {
    int32_t w = 0, h = 0;
    EXPECT_TRUE(ParseGeometry("640x480", w, h) && w == 640 && h == 480);
    EXPECT_TRUE(ParseGeometry("1x16384", w, h) && h == 16384);
    for (const char* bad : {"", "x", "640", "640x", "x480", "0x480", "640x0", "16385x10", "-640x480", "640x480+0+0",
                            "640X480", "640x480x", " 640x480", "99999999999x1"}) {
        EXPECT_FALSE(ParseGeometry(bad, w, h)) << bad;
    }
    const std::pair<const char*, uint32_t> ids[] = {
        {"12345", 12345u}, {"0x1A00003", 0x1A00003u}, {"0XfFfFfFfF", 0xFFFFFFFFu}, {"4294967295", 4294967295u}};
    for (const auto& [text, value] : ids) {
        uint32_t id = 0;
        EXPECT_TRUE(ParseWindowId(text, id) && id == value) << text;
    }
    for (const char* bad :
         {"", "0", "0x", "0x0", "4294967296", "0x100000000", "12z", "-5", "+5", "0x-1", "1e3", " 12", "12 ", "0x 1"}) {
        uint32_t id = 0;
        EXPECT_FALSE(ParseWindowId(bad, id)) << bad;
    }
}

TEST(FrontEndOptions, BadInputGivesOneLineNamingTheArgument) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--frobnicate"}, "--frobnicate"},
        {{"stray"}, "stray"},
        {{"--window-id"}, "missing value"},
        {{"--window-id", "zero"}, "zero"},
        {{"--geometry", "10"}, "'10'"},
        {{"--geometry", "800x"}, "geometry"},
        {{"--fullscreen=yes"}, "no value"},
        {{"--root", "--fullscreen"}, "exclude"},
        {{"--fullscreen", "--geometry", "10x10"}, "--geometry"},
        {{"--duration", "0"}, "duration"},
        {{"-"}, "'-'"},
        {{"--"}, "'--'"},
        {{"--no-"}, "--no-"},
        {{"--no-geometry"}, "--no-geometry"},
        {{"--bad\nname\r\x1b[2J"}, "--bad"},
    };
    for (const auto& [args, mention] : cases) {
        std::vector<const char*> argv{"quorvex"};
        argv.insert(argv.end(), args.begin(), args.end());
        ParsedOptions p = ParseFrontEndOptions(static_cast<int>(argv.size()), argv.data());
        EXPECT_FALSE(p.ok) << args[0];
        EXPECT_NE(p.error.find(mention), std::string::npos) << p.error;
        EXPECT_EQ(p.error.find_first_of("\n\r\x1b"), std::string::npos) << p.error;
    }
    EXPECT_LT(QuoteArgument(std::string(5000, 'a').c_str()).size(), 100u);
}

TEST(FrontEndOptions, ScreensaverWindowIsUsedWithRootOrNoModeOnly) {
    std::string error;
    FrontEndOptions plain, root = Parse({"--root"}).options;
    ASSERT_TRUE(ApplyScreensaverWindow(plain, "0x400001", error));
    EXPECT_TRUE(plain.mode == DisplayMode::WindowId && plain.windowId == 0x400001u);
    ASSERT_TRUE(ApplyScreensaverWindow(root, "77", error));
    EXPECT_TRUE(root.mode == DisplayMode::WindowId && root.windowId == 77u);
    // An explicit window id, full screen or window size wins over it.
    FrontEndOptions explicitId = Parse({"--window-id", "5"}).options, full = Parse({"--fullscreen"}).options,
                    sized = Parse({"--geometry", "300x200"}).options;
    for (FrontEndOptions* o : {&explicitId, &full, &sized}) ASSERT_TRUE(ApplyScreensaverWindow(*o, "77", error));
    EXPECT_EQ(explicitId.windowId, 5u);
    EXPECT_EQ(full.mode, DisplayMode::Fullscreen);
    EXPECT_EQ(sized.mode, DisplayMode::Window);
    // Unset or empty: nothing changes; garbage: an error, not a guess.
    FrontEndOptions unset;
    ASSERT_TRUE(ApplyScreensaverWindow(unset, nullptr, error) && ApplyScreensaverWindow(unset, "", error));
    EXPECT_EQ(unset.mode, DisplayMode::Window);
    EXPECT_FALSE(ApplyScreensaverWindow(unset, "window", error));
    EXPECT_NE(error.find("XSCREENSAVER_WINDOW"), std::string::npos);
}

TEST(FrontEndOptions, OverridesReplaceOnlyTheSettingsGiven) {
    SaverSettings s;
    s.Trace = false;
    s.TraceModeInd = 0;
    s.ShowClock = true;
    ApplyOverrides(Parse({"--trace", "--trace-mode", "fire"}).options, s);
    EXPECT_TRUE(s.Trace && s.ShowClock);
    EXPECT_EQ(s.TraceModeInd, 2);
    EXPECT_EQ(s.TraceLength, 1);
}

}  // namespace
}  // namespace quorvex::linux_host
