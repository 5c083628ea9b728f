// The front end's rules without a display; what a user sees of them (errors,
// the settings file, ending by input) is checked under Xvfb by xvfb_test.sh.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <vector>

#include "input_Rules.h"
#include "options.h"
#include "settings_File.h"

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

}  // namespace
}  // namespace quorvex::linux_host
