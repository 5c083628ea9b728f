// `quorvex render` and `quorvex shapes` in-process: the grammar, refusals that change nothing, pictures that
// decode to the frames, listings that read back bit-exactly, a failed write reported as a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

#include "CShapeUn.h"
#include "commands.h"
#include "render_Image.h"
#include "render_Options.h"
#include "render_Session.h"

#if __has_include(<png.h>) && __has_include(<gif_lib.h>)
#include <gif_lib.h>
#include <png.h>
#define RENDER_TEST_DECODE 1
#endif

namespace quorvex::cli {
namespace {

namespace fs = std::filesystem;
using Line = std::vector<std::string>;

struct Result { int status; std::string out, err; };
Result RunCommand(int (*command)(int, char**), Line args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = command(int(args.size()), argv.data());
    std::string out = ::testing::internal::GetCapturedStdout();  // stdout first: evaluation order
    return {status, out, ::testing::internal::GetCapturedStderr()};
}

class Render : public ::testing::Test {
protected:
    void SetUp() override { fs::remove_all(dir), fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    // A working command line into dir/NAME, then `extra`.
    Line Args(const std::string& name, Line extra = {}, const char* frames = "40") const {
        Line a = {"render", "--size", "64x48", "--seed", "7", "--frames", frames, "--frame-ms", "30", "--out"};
        a.push_back(Path(name));
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    int Run(Line args) {
        const Result r = RunCommand(RunRender, std::move(args));
        err = r.err;
        return r.status;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Bytes(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    Line Entries() const {
        Line names;
        for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(e.path().lexically_relative(dir));
        std::sort(names.begin(), names.end());
        return names;
    }
    void ExpectRefused(Line args, const std::string& word = {}) {
        const Line before = Entries();
        const std::string what = args.size() > 11 ? args[11] + " " + args.back() : args.back();
        EXPECT_EQ(Run(std::move(args)), 2) << what;
        EXPECT_EQ(err.rfind("quorvex render: ", 0), 0u) << what << ": " << err;
        EXPECT_EQ(std::count_if(err.begin(), err.end(), [](char c) { return (unsigned char)c < 0x20 || c == 0x7F; }), 1)
            << what << ": one printable line: " << err;
        EXPECT_NE(err.find(word), std::string::npos) << err;
        EXPECT_EQ(Entries(), before) << what;
    }

    // One directory per process and test: two runs of the suite at once must not share one.
    fs::path dir = fs::path(::testing::TempDir()) / ("render_" + std::to_string(getpid()) + "_" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string err;
};

TEST_F(Render, TheGrammarRefusesWhatItCannotTakeExactly) {
    const auto with = [&](const std::string& option, const std::string& value) {
        Line a = Args("a.ppm");
        auto it = std::find(a.begin(), a.end(), option);
        if (it == a.end()) return a.insert(a.end(), {option, value}), a;
        return *(it + 1) = value, a;
    };
    for (const char* size : {"16385x16", "16x16385", "0x16", "16x0", "4294967297x1", "1x4294967312", "-16x16", "+16x16",
                             " 16x16", "16x16 ", "16X16", "16x16x16", "x16", "16x", "", "1e3x1", "5"}) {
        ExpectRefused(with("--size", size), "--size");
    }
    for (const char* option : {"--seed", "--frames", "--frame-ms", "--start-tick"}) {
        for (const char* value :
             {"4294967296", "18446744073709551617", "-1", "1e3", "0x10", "", " 1", "+1", "1.0", "\xd9\xa3"}) {
            ExpectRefused(with(option, value), option);
        }
    }
    for (const char* set : {"TraceLength=2147483648", "TraceModeInd=-2147483649", "Trace=", "Trace=--1", "=1",
                            "trace=1", "Trace =1", "Speed=1", "TraceModeInd=\x1b[2J", "Trace=yes"}) {
        ExpectRefused(Args("a.ppm", {"--set", set}), "setting");
    }
    ExpectRefused(Args("a.ppm", {"--set", "Trace"}), "Name=Value");
    for (const char* option : {"--size", "--seed", "--frames", "--frame-ms", "--start-tick", "--set", "--out"}) {
        ExpectRefused(Args("a.ppm", {option}), std::string("option '") + option + "' needs a value");
        Line a = Args("a.ppm");
        auto it = std::find(a.begin(), a.end(), option);
        if (it == a.end()) continue;
        a.erase(it, it + 2);
        ExpectRefused(a, option);  // each required option missing in turn
    }
    ExpectRefused({"render", "--size", "--seed", "3", "--frames", "2", "--frame-ms", "30", "--out", Path("a.ppm")},
                  "--size");
    ExpectRefused(Args("a.ppm", {"--sise", "8x8"}), "--sise");
    ExpectRefused(Args("a.gif", {}, "0"), "frame");  // a GIF of no frames is no picture
    EXPECT_EQ(Run({"render", "--bogus", "-h"}), 0);

    // The extremes are accepted and kept exactly; the defaults.
    const char* const edges[] = {"render", "--size", "16384x1", "--seed", "4294967295", "--frames", "0",
                                 "--frame-ms", "4294967295", "--start-tick", "4294967295", "--set",
                                 "TraceModeInd=-2147483648", "--set", "TraceLength=2147483647", "--set", "Move3D=5",
                                 "--set", "Trace=0", "--preview", "--out", "e.PPM"};
    RenderOptions o, d;
    std::string error;
    ASSERT_EQ(ParseRenderOptions(22, edges, o, error), ParseStatus::Ok) << error;
    EXPECT_TRUE(o.width == 16384 && o.height == 1 && o.seed == 4294967295u && o.frames == 0);
    EXPECT_TRUE(o.frameMs == 4294967295u && o.startTick == 4294967295u && o.preview && o.type == ImageType::Ppm);
    EXPECT_TRUE(o.settings.TraceModeInd == INT32_MIN && o.settings.TraceLength == INT32_MAX && o.settings.Move3D &&
                !o.settings.Trace && !o.settings.ShowFPS);
    const char* const plain[] = {"render", "--out", "a.png", "--frame-ms", "1", "--frames", "0",
                                 "--seed", "0", "--size", "1x16384"};
    ASSERT_EQ(ParseRenderOptions(11, plain, d, error), ParseStatus::Ok) << error;
    EXPECT_TRUE(d.startTick == 0 && !d.preview && d.settings.Trace && d.settings.TraceLength == 1);
    EXPECT_EQ(d.type, ImageType::Png);
    ImageType t;
    EXPECT_TRUE(ImageTypeFor("dir/x.GIF", t) && t == ImageType::Gif);
}

TEST_F(Render, OutputPathsThatCannotBeWrittenLeaveEverythingAsItWas) {
    { std::ofstream(Path("plain.ppm")) << "keep"; }
    fs::create_directory(dir / "taken.ppm");  // the finished file cannot be renamed over it
    for (const std::string& out : Line{"missing/dir/a.ppm", "plain.ppm/a.ppm", "taken.ppm", "missing\n\x1b[31m/a.ppm",
                                       std::string(300, 'n') + ".ppm", "a.ppm/", ".ppm", "a.ppm.txt", "a.gif\n"}) {
        ExpectRefused(Args(out));
    }
    ExpectRefused(Args("plain.ppm", {"--size", "64x"}));
    EXPECT_EQ(Bytes("plain.ppm"), "keep");
    EXPECT_EQ(Run(Args("plain.ppm")), 0);
    EXPECT_EQ(Bytes("plain.ppm").substr(0, 2), "P6");
    EXPECT_EQ(Entries(), (Line{"plain.ppm", "taken.ppm"})) << "no temporary file stays";
    // Any byte but '/' and NUL is legal in a name, up to 255 bytes: written exactly there.
    for (const std::string& name : Line{"line\nfeed.ppm", std::string("esc\x1b[31m.PPM"), std::string("\xff\xfe.ppm"),
                                   std::string(" lead .ppm"), std::string(251, 'l') + ".ppm"}) {
        fs::remove_all(dir), fs::create_directories(dir);
        EXPECT_EQ(Run(Args(name, {"--frames", "2"})), 0) << err;
        EXPECT_TRUE(Entries() == Line{name} && Bytes(name).substr(0, 2) == "P6") << name;
    }
}

TEST_F(Render, PicturesAreRepeatableAndDecodeToTheFrames) {
    const std::string header = "P6\n64 48\n255\n";
    for (const char* trace : {"Trace=1", "Trace=0"}) {
        for (const char* ext : {".ppm", ".png", ".gif"}) {
            ASSERT_EQ(Run(Args(std::string("a") + ext, {"--set", trace})), 0) << err;
            ASSERT_EQ(Run(Args(std::string("b") + ext, {"--set", trace})), 0) << err;
            EXPECT_GT(Bytes(std::string("a") + ext).size(), 20u);
            EXPECT_EQ(Bytes(std::string("a") + ext), Bytes(std::string("b") + ext)) << ext << " " << trace;
        }
        ASSERT_EQ(Bytes("a.ppm").size(), header.size() + 64 * 48 * 3);
        EXPECT_EQ(Bytes("a.ppm").substr(0, header.size()), header);
#ifdef RENDER_TEST_DECODE
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_NE(png_image_begin_read_from_file(&image, Path("a.png").c_str()), 0);
        image.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
        ASSERT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0);
        EXPECT_EQ(Bytes("a.ppm").substr(header.size()), std::string(pixels.begin(), pixels.end())) << trace;
#endif
    }
    // Only tick differences drive the animation: a start just before the wrap
    // gives the same picture; another seed does not.
    ASSERT_EQ(Run(Args("late.ppm", {"--set", "Trace=0", "--start-tick", "4294967260"})), 0);
    EXPECT_EQ(Bytes("late.ppm"), Bytes("a.ppm"));
    Line other = Args("c.ppm", {"--set", "Trace=0"});
    other[4] = "8";
    ASSERT_EQ(Run(other), 0);
    EXPECT_NE(Bytes("c.ppm"), Bytes("a.ppm"));
    // The PPM is the last frame through the colour table: the grey ramp.
    ASSERT_EQ(Run(Args("g.ppm", {"--set", "HuesOfGray=1"})), 0);
    const std::string grey = Bytes("g.ppm");
    int lit = 0;
    for (size_t i = header.size(); i + 2 < grey.size(); i += 3) {
        ASSERT_TRUE(grey[i] == grey[i + 1] && grey[i] == grey[i + 2]);
        lit += grey[i] != 0;
    }
    EXPECT_TRUE(lit > 50 && err.empty());
}

#ifdef RENDER_TEST_DECODE
TEST_F(Render, GifHoldsEveryFrameWithItsDelayAndExactColours) {
    if (!GifAvailable()) GTEST_SKIP() << "no GIF support in this build";
    for (bool trace : {true, false}) {
        ASSERT_EQ(Run(Args("t.gif", {"--set", trace ? "Trace=1" : "Trace=0", "--set", "PrimitivePoints=0"}, "5")), 0);
        int error = 0;
        GifFileType* gif = DGifOpenFileName(Path("t.gif").c_str(), &error);
        ASSERT_NE(gif, nullptr);
        ASSERT_EQ(DGifSlurp(gif), GIF_OK);
        ASSERT_EQ(gif->ImageCount, 5);
        RenderOptions options;  // the same frames replayed
        options.width = 64, options.height = 48, options.seed = 7, options.frameMs = 30;
        options.settings.Trace = trace, options.settings.PrimitivePoints = false;
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
                    << k << " " << i;
            }
        }
        DGifCloseFile(gif, &error);
    }
}
#endif

TEST(FramePalette, ExactUpTo256ColoursThenThreeThreeTwo) {
    const auto colourOf = [](int i) { return PackColour(i, 255 - i, i * 7); };
    for (int width : {16, 17}) {  // 256 distinct colours, then a column of black more
        SoftwareSurface s(width, 16, SurfaceKind::Rgb);
        for (int i = 0; i < 256; ++i) s.FillRect(Rect{i % 16, i / 16, i % 16 + 1, i / 16 + 1}, colourOf(i));
        FramePalette p;
        ASSERT_EQ(p.Build(s), width == 16);
        EXPECT_EQ(p.Count(), 256);
        for (int i = 0; i < 256 && width == 16; ++i) ASSERT_EQ(p.Colour(p.IndexOf(colourOf(i))), colourOf(i)) << i;
        const PackedColour q = p.Colour(p.IndexOf(PackColour(200, 100, 50)));
        const int expected[] = {200, 100, 50}, tolerance[] = {37, 37, 86};
        for (int c = 0; c < 3 && width == 17; ++c) EXPECT_NEAR(int((q >> (8 * c)) & 0xFF), expected[c], tolerance[c]);
    }
}

// Every line must name the next point and read back as its very bits.
void ExpectListing(const std::string& out, ShapeId firstId, int shapes) {
    std::istringstream lines(out);
    std::string line;
    int count = 0;
    PointCloud cloud{};
    while (std::getline(lines, line)) {
        if (count % 240 == 0) BuildShape(firstId + count / 240, cloud);
        int id = -1, index = -1;
        float v[3];
        ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %g %g %g", &id, &index, &v[0], &v[1], &v[2]), 5) << line;
        ASSERT_EQ(id, firstId + count / 240) << line;
        ASSERT_EQ(index, count % 240) << line;
        ASSERT_EQ(std::memcmp(v, &cloud[index], sizeof v), 0) << line;
        ++count;
    }
    EXPECT_EQ(count, shapes * 240);
}

TEST(ShapesCommand, ListsOneOrAllShapesBitExactly) {
    const Result one = RunCommand(RunShapes, {"shapes", "7"});
    EXPECT_TRUE(one.status == 0 && one.err.empty());
    ExpectListing(one.out, 7, 1);
    EXPECT_NE(one.out.find("\n7 5 -6.99382241e-08 -1 -0.5\n"), std::string::npos);
    const Result all = RunCommand(RunShapes, {"shapes"});
    EXPECT_EQ(all.status, 0);
    ExpectListing(all.out, 0, 21);
}

TEST(ShapesCommand, RejectsAnythingButAWholeNumberUpTo20) {
    for (const char* bad : {"21", "-1", "3x", "", " 3", "3 ", "1.0", "+3", "99999999999", "0x1", "--frobnicate"}) {
        const Result r = RunCommand(RunShapes, {"shapes", bad});
        EXPECT_TRUE(r.status == 2 && r.out.empty()) << "'" << bad << "'";
        EXPECT_TRUE(!r.err.empty() && r.err.find('\n') == r.err.size() - 1)
            << "one line for '" << bad << "': " << r.err;
    }
    EXPECT_EQ(RunCommand(RunShapes, {"shapes", "1", "2"}).status, 2);
    const Result help = RunCommand(RunShapes, {"shapes", "--help"});
    EXPECT_TRUE(help.status == 0 && help.out.find("Usage: quorvex shapes [ID]") != std::string::npos);
}

[[noreturn]] void ListIntoFullDevice() {
    if (std::freopen("/dev/full", "w", stdout) == nullptr) std::_Exit(3);
    char name[] = "shapes";
    char* argv[] = {name, nullptr};
    std::_Exit(RunShapes(1, argv));
}

TEST(ShapesCommandDeathTest, AFailedWriteIsNotSuccess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ListIntoFullDevice(), testing::ExitedWithCode(1), "could not write");
}

}  // namespace
}  // namespace quorvex::cli
