// `quorvex render` option parsing over any argument vector. Whatever it
// accepts must be within the documented ranges and must come out the same
// when written back as a plain command line and parsed again; whatever it
// refuses must come with a one-line reason.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_Args.h"
#include "render_Options.h"
#include "settings.h"

namespace quorvex::fuzz {
namespace {

using cli::ImageType;
using cli::ParseStatus;
using cli::RenderOptions;

bool AsksForHelp(const FuzzArgs& args) {
    for (int i = 1; i < args.argc(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") return true;
    }
    return false;
}

std::vector<std::string> Canonical(const RenderOptions& o) {
    std::vector<std::string> v = {"render",
                                  "--size",
                                  std::to_string(o.width) + "x" + std::to_string(o.height),
                                  "--seed",
                                  std::to_string(o.seed),
                                  "--frames",
                                  std::to_string(o.frames),
                                  "--frame-ms",
                                  std::to_string(o.frameMs),
                                  "--start-tick",
                                  std::to_string(o.startTick)};
    for (int i = 0; i < SettingCount; ++i) {
        v.push_back("--set");
        v.push_back(std::string(SettingNames[i]) + "=" + std::to_string(GetSettingValue(o.settings, i)));
    }
    if (o.preview) v.push_back("--preview");
    v.push_back("--out");
    v.push_back(o.out);
    return v;
}

bool Same(const RenderOptions& a, const RenderOptions& b) {
    for (int i = 0; i < SettingCount; ++i) {
        if (GetSettingValue(a.settings, i) != GetSettingValue(b.settings, i)) return false;
    }
    return a.width == b.width && a.height == b.height && a.seed == b.seed && a.frames == b.frames &&
           a.frameMs == b.frameMs && a.startTick == b.startTick && a.preview == b.preview && a.out == b.out &&
           a.type == b.type;
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    using namespace quorvex::fuzz;
    const FuzzArgs args("render", data, size);
    RenderOptions opt;
    std::string error;
    const ParseStatus status = cli::ParseRenderOptions(args.argc(), args.argv(), opt, error);

    QV_FUZZ_CHECK((status == ParseStatus::Help) == AsksForHelp(args), "help exactly when asked for");
    if (status == ParseStatus::Error) {
        QV_FUZZ_CHECK(!error.empty(), "a refusal says why");
        QV_FUZZ_CHECK(error.find('\n') == std::string::npos, "one line: " + error);
        return 0;
    }
    if (status != ParseStatus::Ok) return 0;

    QV_FUZZ_CHECK(opt.width >= 1 && opt.width <= cli::MaxRenderSide, std::to_string(opt.width));
    QV_FUZZ_CHECK(opt.height >= 1 && opt.height <= cli::MaxRenderSide, std::to_string(opt.height));
    QV_FUZZ_CHECK(!opt.out.empty(), "an output file");
    ImageType type;
    QV_FUZZ_CHECK(cli::ImageTypeFor(opt.out, type) && type == opt.type, opt.out);
    QV_FUZZ_CHECK(opt.type != ImageType::Gif || opt.frames > 0, "a GIF has frames");
    for (int i = 0; i < 8; ++i) {
        const int32_t v = GetSettingValue(opt.settings, i);
        QV_FUZZ_CHECK(v == 0 || v == 1, SettingNames[i]);
    }

    const std::vector<std::string> again = Canonical(opt);
    std::vector<const char*> argv;
    for (const std::string& s : again) argv.push_back(s.c_str());
    argv.push_back(nullptr);
    RenderOptions reparsed;
    std::string error2;
    const ParseStatus status2 = cli::ParseRenderOptions(static_cast<int>(again.size()), argv.data(), reparsed, error2);
    QV_FUZZ_CHECK(status2 == ParseStatus::Ok, "the written-back command line parses: " + error2);
    QV_FUZZ_CHECK(Same(opt, reparsed), "the written-back command line means the same");
    return 0;
}
