// `quorvex render` fed what a careless script or a hostile caller passes:
// sizes and numbers past every limit, options without values, names with
// control bytes, paths through missing directories or through files. Every
// refusal is exit status 2 with one line on stderr, and leaves the output
// directory exactly as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render_run.h"
#include "render_Options.h"

namespace quorvex::cli {
namespace {

namespace fs = std::filesystem;

class RenderHostile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) /
              (std::string("render_hostile_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A working command line into dir/NAME, with `change` applied to it.
    std::vector<std::string> Args(const std::string& name) const {
        return {"render", "--size", "16x12", "--seed", "3", "--frames", "2", "--frame-ms", "30", "--out", Path(name)};
    }
    static void Replace(std::vector<std::string>& args, const std::string& option, const std::string& value) {
        auto it = std::find(args.begin(), args.end(), option);
        ASSERT_NE(it, args.end());
        *(it + 1) = value;
    }
    int Run(std::vector<std::string> args) { return RunRenderCapturing(std::move(args), stderrText); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(e.path().lexically_relative(dir));
        std::sort(names.begin(), names.end());
        return names;
    }
    // Exit 2, exactly one printable line on stderr, and the directory as before.
    void ExpectRefused(std::vector<std::string> args, const std::vector<std::string>& before, const std::string& what) {
        EXPECT_EQ(Run(std::move(args)), 2) << what;
        EXPECT_EQ(std::count(stderrText.begin(), stderrText.end(), '\n'), 1) << what << ": " << stderrText;
        EXPECT_EQ(stderrText.rfind("quorvex render: ", 0), 0u) << stderrText;
        const bool printable = std::none_of(stderrText.begin(), stderrText.end() - 1, [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u < 0x20 || u == 0x7F;
        });
        EXPECT_TRUE(printable) << what << ": " << stderrText;
        EXPECT_EQ(Entries(), before) << what;
    }

    fs::path dir;
    std::string stderrText;
};

TEST_F(RenderHostile, SizesOutsideOneTo16384AreRefused) {
    for (const char* size : {"16385x16",
                             "16x16385",
                             "0x16",
                             "16x0",
                             "0x0",
                             "4294967297x1",
                             "1x4294967312",
                             "99999999999999999999999x1",
                             "-16x16",
                             "16x-16",
                             "+16x16",
                             " 16x16",
                             "16x16 ",
                             "16 x16",
                             "16X16",
                             "16x16x16",
                             "x16",
                             "16x",
                             "x",
                             "",
                             "1e3x1",
                             "0x10x10"}) {
        std::vector<std::string> args = Args("a.ppm");
        Replace(args, "--size", size);
        ExpectRefused(args, {}, std::string("--size '") + size + "'");
    }
    // The largest legal surface is accepted by the parser (not rendered here:
    // it would write 800 MB).
    RenderOptions o;
    std::string error;
    const char* const largest[] = {"render", "--size",     "16384x16384", "--seed", "0",    "--frames",
                                   "0",      "--frame-ms", "0",           "--out",  "b.ppm"};
    ASSERT_EQ(ParseRenderOptions(11, largest, o, error), ParseStatus::Ok) << error;
    EXPECT_EQ(o.width, 16384);
    EXPECT_EQ(o.height, 16384);
}

TEST_F(RenderHostile, NumbersThatOverflowOrAreNotDecimalAreRefused) {
    for (const char* option : {"--seed", "--frames", "--frame-ms", "--start-tick"}) {
        for (const char* value : {"4294967296", "18446744073709551617", "99999999999999999999999999", "-1", "-0", "1e3",
                                  "0x10", "", " 1", "1 ", "+1", "1.0", "\xd9\xa3" /* Arabic-Indic 3 */}) {
            std::vector<std::string> args = Args("a.ppm");
            if (std::string(option) == "--start-tick") {
                args.insert(args.end(), {"--start-tick", value});
            } else {
                Replace(args, option, value);
            }
            ExpectRefused(args, {}, std::string(option) + " '" + value + "'");
        }
    }
    // The settings take 32-bit signed values and nothing else.
    for (const char* set :
         {"TraceLength=2147483648", "TraceModeInd=-2147483649", "Trace=99999999999", "Trace=", "Trace=1x", "Trace=--1",
          "=1", "Trace", "trace=1", "Trace =1", "Bogus=1", "TraceModeInd=\x1b[2J"}) {
        std::vector<std::string> args = Args("a.ppm");
        args.insert(args.end(), {"--set", set});
        ExpectRefused(args, {}, std::string("--set ") + set);
    }
    // The extremes themselves are accepted and kept exactly.
    RenderOptions o;
    std::string error;
    const char* const edges[] = {"render",
                                 "--size",
                                 "1x1",
                                 "--seed",
                                 "4294967295",
                                 "--frames",
                                 "0",
                                 "--frame-ms",
                                 "4294967295",
                                 "--start-tick",
                                 "4294967295",
                                 "--set",
                                 "TraceModeInd=-2147483648",
                                 "--set",
                                 "TraceLength=2147483647",
                                 "--out",
                                 "e.ppm"};
    ASSERT_EQ(ParseRenderOptions(17, edges, o, error), ParseStatus::Ok) << error;
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.frameMs, 4294967295u);
    EXPECT_EQ(o.startTick, 4294967295u);
    EXPECT_EQ(o.settings.TraceModeInd, INT32_MIN);
    EXPECT_EQ(o.settings.TraceLength, INT32_MAX);
}

TEST_F(RenderHostile, EveryOptionWithoutItsValueIsRefused) {
    for (const char* option : {"--size", "--seed", "--frames", "--frame-ms", "--start-tick", "--set", "--out"}) {
        // As the last argument: nothing follows.
        std::vector<std::string> args = Args("a.ppm");
        args.push_back(option);
        ExpectRefused(args, {}, std::string(option) + " at the end");
        EXPECT_NE(stderrText.find(option), std::string::npos) << stderrText;
    }
    // An option's value that is the next option is taken as the value, and
    // fails as one; nothing is skipped silently.
    ExpectRefused({"render", "--size", "--seed", "3", "--frames", "2", "--frame-ms", "30", "--out", Path("a.ppm")}, {},
                  "--size --seed");
    // Each required option missing in turn.
    for (const char* option : {"--size", "--seed", "--frames", "--frame-ms", "--out"}) {
        std::vector<std::string> args = Args("a.ppm");
        auto it = std::find(args.begin(), args.end(), option);
        args.erase(it, it + 2);
        ExpectRefused(args, {}, std::string("without ") + option);
    }
}

TEST_F(RenderHostile, OutputPathsThatCannotBeWrittenLeaveNothing) {
    { std::ofstream(Path("plain.ppm")) << "keep"; }
    fs::create_directory(dir / "taken.ppm");
    const std::vector<std::string> before = Entries();
    const std::vector<std::string> refused = {
        Path("missing/dir/a.ppm"),
        Path("plain.ppm/a.ppm"),               // through a file
        Path("taken.ppm"),                     // a directory in the way
        Path(std::string(300, 'n') + ".ppm"),  // a name longer than the system takes
        Path("missing\n\x1b[31m/a.ppm"),       // odd bytes in a missing directory
        Path("a.ppm/"),                        // names a directory, not a file
        Path(".ppm"),                          // an extension without a name
        Path("a.ppm.txt"),
        Path("a.jpg"),
        Path("a.ppm\n.txt"),
        Path("a.gif") + "\n",
    };
    for (const std::string& out : refused) {
        std::vector<std::string> args = Args("x.ppm");
        Replace(args, "--out", out);
        ExpectRefused(args, before, "--out '" + out + "'");
    }
    std::ifstream in(Path("plain.ppm"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
    // A GIF of no frames is no picture.
    std::vector<std::string> args = Args("a.gif");
    Replace(args, "--frames", "0");
    ExpectRefused(args, before, "GIF of 0 frames");
}

TEST_F(RenderHostile, LegalNamesWithOddBytesAreWrittenExactlyThere) {
    // Any byte but '/' and NUL is legal in a file name here, and a name may
    // take the whole 255 bytes the file system allows: the picture goes
    // to exactly that name, and no temporary file stays behind.
    for (const std::string& name :
         {std::string("line\nfeed.ppm"), std::string("esc\x1b[31m.PPM"), std::string("\xff\xfe high.ppm"),
          std::string(" lead and trail .ppm"), std::string(251, 'l') + ".ppm"}) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        EXPECT_EQ(Run(Args(name)), 0) << name << ": " << stderrText;
        EXPECT_EQ(Entries(), std::vector<std::string>{name});
        std::ifstream in(Path(name), std::ios::binary);
        std::string head(2, '\0');
        in.read(head.data(), 2);
        EXPECT_EQ(head, "P6") << name;
    }
}

}  // namespace
}  // namespace quorvex::cli
