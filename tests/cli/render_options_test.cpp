// The argument grammar of `quorvex render`.
#include "render_Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::cli {
namespace {

ParseStatus Parse(std::vector<const char*> args, RenderOptions& out, std::string& error) {
    args.insert(args.begin(), "render");
    return ParseRenderOptions(static_cast<int>(args.size()), args.data(), out, error);
}

TEST(RenderGrammar, SizesIntegersAndFileTypes) {
    int32_t w = 0, h = 0;
    EXPECT_TRUE(ParseSize("1x16384", w, h) && w == 1 && h == 16384);
    for (const char* bad : {"12x", "x5", "0x10", "10x0", "16385x1", "5X5", "5x5x5", "+5x5", " 5x5", "", "5"}) {
        EXPECT_FALSE(ParseSize(bad, w, h)) << bad;
    }
    uint32_t u = 0;
    EXPECT_TRUE(ParseUnsigned32("4294967295", u) && u == 4294967295u);
    for (const char* bad : {"4294967296", "-1", "+1", "1.0", "", "0x10"}) EXPECT_FALSE(ParseUnsigned32(bad, u)) << bad;
    int32_t s = 0;
    EXPECT_TRUE(ParseSigned32("-2147483648", s) && s == INT32_MIN);
    for (const char* bad : {"2147483648", "-2147483649", "-", "--1", "+1", "1a", ""}) {
        EXPECT_FALSE(ParseSigned32(bad, s)) << bad;
    }
    ImageType t = ImageType::Ppm;
    EXPECT_TRUE(ImageTypeFor("dir/x.GIF", t) && t == ImageType::Gif);
    EXPECT_TRUE(ImageTypeFor("a.png", t) && t == ImageType::Png);
    for (const char* bad : {"a.jpg", "a", ".png", "dir/.gif", "a.png.txt"}) EXPECT_FALSE(ImageTypeFor(bad, t)) << bad;
}

TEST(RenderGrammar, AFullCommandLineAndItsDefaults) {
    RenderOptions o;
    std::string error;
    ASSERT_EQ(
        Parse({"--size", "640x480", "--seed", "7", "--frames", "12", "--frame-ms", "30", "--start-tick", "4294967295",
               "--set", "Trace=0", "--set", "TraceModeInd=-4", "--set", "Move3D=5", "--preview", "--out", "x.gif"},
              o, error),
        ParseStatus::Ok)
        << error;
    EXPECT_TRUE(o.width == 640 && o.height == 480 && o.seed == 7 && o.frames == 12 && o.frameMs == 30);
    EXPECT_TRUE(o.startTick == 4294967295u && o.type == ImageType::Gif && o.preview);
    EXPECT_TRUE(!o.settings.Trace && o.settings.Move3D && o.settings.TraceModeInd == -4 && o.settings.TraceLength == 1);

    RenderOptions d;
    ASSERT_EQ(Parse({"--out", "a.ppm", "--frame-ms", "1", "--frames", "0", "--seed", "0", "--size", "8x8"}, d, error),
              ParseStatus::Ok);
    EXPECT_TRUE(d.startTick == 0 && !d.preview && d.settings.Trace);
    EXPECT_EQ(Parse({"--bogus", "--help"}, d, error), ParseStatus::Help);
}

TEST(RenderGrammar, BadInputNamesTheProblemOnOneLine) {
    const std::vector<std::pair<std::vector<const char*>, const char*>> cases = {
        {{"--size", "8x8", "--seed", "1", "--frame-ms", "1", "--out", "a.ppm"}, "--frames"},
        {{"--sise", "8x8"}, "--sise"},
        {{"--size", "8x8", "--seed"}, "needs a value"},
        {{"--size", "12x"}, "12x"},
        {{"--seed", "abc"}, "abc"},
        {{"--set", "Speed=1"}, "Speed"},
        {{"--set", "Trace=yes"}, "yes"},
        {{"--set", "Trace"}, "Name=Value"},
        {{"--size", "8x8", "--seed", "1", "--frames", "1", "--frame-ms", "1", "--out", "a.jpg"}, "file type"},
        {{"--size", "8x8", "--seed", "1", "--frames", "0", "--frame-ms", "1", "--out", "a.gif"}, "frame"},
    };
    for (const auto& [args, word] : cases) {
        RenderOptions o;
        std::string error;
        EXPECT_EQ(Parse(args, o, error), ParseStatus::Error) << word;
        EXPECT_NE(error.find(word), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace quorvex::cli
