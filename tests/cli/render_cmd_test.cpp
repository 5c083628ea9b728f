// `quorvex render` run in-process: repeatable output, files that decode to
// the rendered frames, and failures that leave no file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render_run.h"
#include "render_Image.h"
#include "render_Session.h"

#if __has_include(<png.h>) && __has_include(<gif_lib.h>)
#include <gif_lib.h>
#include <png.h>
#define RENDER_TEST_DECODE 1
#endif

namespace quorvex::cli {
namespace {

namespace fs = std::filesystem;

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(dir), fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    // `quorvex render --size 64x48 --seed 7 --frames K --frame-ms 30 --out dir/NAME EXTRA...`.
    int Run(const std::string& name, std::vector<std::string> extra = {}, const char* frames = "40") {
        std::vector<std::string> args = {"render", "--size",     "64x48", "--seed", "7",       "--frames",
                                         frames,   "--frame-ms", "30",    "--out",  Path(name)};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunArgs(args);
    }
    int RunArgs(std::vector<std::string> args) { return RunRenderCapturing(std::move(args), stderrText); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Bytes(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        return names;
    }

    fs::path dir = fs::path(::testing::TempDir()) /
                   (std::string("render_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string stderrText;
};

const std::string PpmHeader = "P6\n64 48\n255\n";

TEST_F(RenderCommand, SameArgumentsGiveTheSameBytesInEveryFormat) {
    for (const char* trace : {"Trace=1", "Trace=0"}) {
        for (const char* ext : {".ppm", ".png", ".gif"}) {
            ASSERT_EQ(Run(std::string("a") + ext, {"--set", trace}), 0) << stderrText;
            ASSERT_EQ(Run(std::string("b") + ext, {"--set", trace}), 0) << stderrText;
            EXPECT_GT(Bytes(std::string("a") + ext).size(), 20u);
            EXPECT_EQ(Bytes(std::string("a") + ext), Bytes(std::string("b") + ext)) << ext << " " << trace;
        }
#ifdef RENDER_TEST_DECODE
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_NE(png_image_begin_read_from_file(&image, Path("a.png").c_str()), 0);
        image.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
        ASSERT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0);
        EXPECT_EQ(Bytes("a.ppm").substr(PpmHeader.size()), std::string(pixels.begin(), pixels.end())) << trace;
#endif
    }
    // A different seed is a different picture; a start tick just before the
    // counter wraps is not, since only tick differences drive the animation.
    ASSERT_EQ(Run("late.ppm", {"--set", "Trace=0", "--start-tick", "4294967260"}), 0);
    EXPECT_EQ(Bytes("late.ppm"), Bytes("a.ppm"));
    ASSERT_EQ(RunArgs({"render", "--size", "64x48", "--seed", "8", "--frames", "40", "--frame-ms", "30", "--set",
                       "Trace=0", "--out", Path("c.ppm")}),
              0);
    EXPECT_NE(Bytes("c.ppm"), Bytes("a.ppm"));
}

TEST_F(RenderCommand, PpmIsTheLastFrameThroughTheColourTable) {
    ASSERT_EQ(Run("g.ppm", {"--set", "HuesOfGray=1"}), 0) << stderrText;
    const std::string bytes = Bytes("g.ppm");
    ASSERT_EQ(bytes.size(), PpmHeader.size() + 64 * 48 * 3);
    EXPECT_EQ(bytes.substr(0, PpmHeader.size()), PpmHeader);
    int lit = 0;
    for (size_t i = PpmHeader.size(); i < bytes.size(); i += 3) {
        ASSERT_TRUE(bytes[i] == bytes[i + 1] && bytes[i] == bytes[i + 2]) << "the grey ramp";
        lit += bytes[i] != 0;
    }
    EXPECT_GT(lit, 50);
    EXPECT_TRUE(stderrText.empty());
}

TEST_F(RenderCommand, BadInputExitsWith2AndLeavesNoFile) {
    // The grammar's messages are checked on their own; here, the exit and the file.
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"x.ppm", {"--set", "Trace=on"}}, {"x.ppm", {"--frames"}}, {"x.bmp", {}}, {"no/such/x.ppm", {}}};
    for (const auto& [name, extra] : cases) {
        EXPECT_EQ(Run(name, extra), 2) << name;
        EXPECT_EQ(std::count(stderrText.begin(), stderrText.end(), '\n'), 1) << stderrText;
        EXPECT_TRUE(Entries().empty()) << name;
    }
    EXPECT_EQ(RunArgs({"render", "--size", "8x8", "--seed", "1", "--frame-ms", "1", "--out", Path("y.ppm")}), 2);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(RenderCommand, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    fs::create_directory(dir / "busy.ppm");  // the finished file cannot be renamed over it
    EXPECT_EQ(Run("busy.ppm"), 2);
    EXPECT_EQ(Entries(), std::vector<std::string>{"busy.ppm"});

    { std::ofstream(Path("old.ppm")) << "old"; }
    EXPECT_EQ(Run("old.ppm", {"--size", "64x"}), 2);
    EXPECT_EQ(Bytes("old.ppm"), "old");
    EXPECT_EQ(Run("old.ppm"), 0);
    EXPECT_EQ(Bytes("old.ppm").substr(0, 2), "P6");
    EXPECT_EQ(Entries().size(), 2u);
}

TEST(FramePalette, ExactUpTo256ColoursThenThreeThreeTwo) {
    // 256 distinct colours fill 16 x 16; a column of black more makes 257.
    const auto colourOf = [](int i) { return PackColour(i, 255 - i, i * 7); };
    for (int width : {16, 17}) {
        SoftwareSurface s(width, 16, SurfaceKind::Rgb);
        for (int i = 0; i < 256; ++i) s.FillRect(Rect{i % 16, i / 16, i % 16 + 1, i / 16 + 1}, colourOf(i));
        FramePalette p;
        ASSERT_EQ(p.Build(s), width == 16);
        EXPECT_EQ(p.Count(), 256);
        if (width == 16) {
            for (int i = 0; i < 256; ++i) ASSERT_EQ(p.Colour(p.IndexOf(colourOf(i))), colourOf(i)) << i;
        } else {
            const PackedColour q = p.Colour(p.IndexOf(PackColour(200, 100, 50)));
            const int expected[] = {200, 100, 50}, tolerance[] = {37, 37, 86};
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(static_cast<int>((q >> (8 * c)) & 0xFF), expected[c], tolerance[c]);
        }
    }
}

#ifdef RENDER_TEST_DECODE
TEST_F(RenderCommand, GifHoldsEveryFrameWithItsDelayAndExactColours) {
    if (!GifAvailable()) GTEST_SKIP() << "no GIF support in this build";
    for (bool trace : {true, false}) {
        ASSERT_EQ(Run("t.gif", {"--set", trace ? "Trace=1" : "Trace=0", "--set", "PrimitivePoints=0"}, "5"), 0);
        int error = 0;
        GifFileType* gif = DGifOpenFileName(Path("t.gif").c_str(), &error);
        ASSERT_NE(gif, nullptr);
        ASSERT_EQ(DGifSlurp(gif), GIF_OK);
        ASSERT_EQ(gif->ImageCount, 5);

        // Replay the same frames and compare the colour of every pixel.
        RenderOptions options;
        options.width = 64, options.height = 48, options.seed = 7, options.frameMs = 30;
        options.settings.Trace = trace;
        options.settings.PrimitivePoints = false;
        auto session = std::make_unique<RenderSession>();
        StartRender(*session, options);
        for (int k = 0; k < 5; ++k) {
            RenderFrame(*session);
            GraphicsControlBlock gcb;
            ASSERT_EQ(DGifSavedExtensionToGCB(gif, k, &gcb), GIF_OK);
            EXPECT_EQ(gcb.DelayTime, 3);
            const SavedImage& image = gif->SavedImages[k];
            const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
            for (int i = 0; i < 64 * 48; ++i) {
                const GifColorType c = map->Colors[image.RasterBits[i]];
                ASSERT_EQ(PackColour(c.Red, c.Green, c.Blue), session->surface.ColourAt(i % 64, i / 64))
                    << "trace " << trace << " frame " << k << " pixel " << i;
            }
        }
        DGifCloseFile(gif, &error);
    }
}
#endif

}  // namespace
}  // namespace quorvex::cli
