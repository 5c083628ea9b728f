// The X11 front end's command line over any argument vector, and the
// XSCREENSAVER_WINDOW value laid over it. Whatever it accepts must be within
// the documented ranges and must mean the same when written back as a plain
// command line; whatever it refuses must come with one printable line.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_Args.h"
#include "options.h"
#include "settings.h"

namespace quorvex::fuzz {
namespace {

using linux_host::DisplayMode;
using linux_host::FrontEndOptions;

constexpr const char* FlagNames[SettingCount] = {
    "show-fps",     "mix-points", "mouse-sens", "move-3d", "primitive-points",
    "hues-of-gray", "trace",      "show-clock", nullptr,   nullptr};
constexpr const char* ModeNames[] = {"simple", "diffusion", "fire"};

bool Printable(const std::string& line) {
    for (unsigned char c : line) {
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

std::vector<std::string> Canonical(const FrontEndOptions& o) {
    std::vector<std::string> v = {"quorvex"};
    switch (o.mode) {
        case DisplayMode::Fullscreen:
            v.push_back("--fullscreen");
            break;
        case DisplayMode::Root:
            v.push_back("--root");
            break;
        case DisplayMode::WindowId:
            v.push_back("--window-id");
            v.push_back(std::to_string(o.windowId));
            break;
        case DisplayMode::Window:
            break;
    }
    if (o.geometryGiven) {
        v.push_back("--geometry");
        v.push_back(std::to_string(o.width) + "x" + std::to_string(o.height));
    }
    if (!o.display.empty()) {
        v.push_back("--display");
        v.push_back(o.display);
    }
    for (int i = 0; i < SettingCount; ++i) {
        if (!o.overrides[i]) continue;
        const int32_t value = *o.overrides[i];
        if (FlagNames[i] != nullptr) {
            v.push_back(std::string(value ? "--" : "--no-") + FlagNames[i]);
        } else if (i == 8) {
            v.push_back("--trace-mode");
            v.push_back(ModeNames[value]);
        } else {
            v.push_back("--trace-length");
            v.push_back(std::to_string(value));
        }
    }
    if (o.durationMs != 0) {
        v.push_back("--duration");
        v.push_back(std::to_string(o.durationMs / 1000));
    }
    if (o.stats) v.push_back("--stats");
    if (!o.sharedMemory) v.push_back("--no-shm");
    if (o.help) v.push_back("--help");
    return v;
}

bool Same(const FrontEndOptions& a, const FrontEndOptions& b) {
    return a.mode == b.mode && a.modeGiven == b.modeGiven && a.width == b.width && a.height == b.height &&
           a.geometryGiven == b.geometryGiven && a.windowId == b.windowId && a.display == b.display &&
           a.overrides == b.overrides && a.durationMs == b.durationMs && a.stats == b.stats &&
           a.sharedMemory == b.sharedMemory && a.help == b.help;
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    using namespace quorvex::fuzz;
    // The first byte says whether the last argument is instead the value of
    // XSCREENSAVER_WINDOW.
    const bool withEnv = size > 0 && (data[0] & 1) != 0;
    FuzzArgs args("quorvex", size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);
    int argc = args.argc();
    std::string env;
    if (withEnv && argc > 1) env = args[static_cast<size_t>(--argc)];

    const linux_host::ParsedOptions parsed = linux_host::ParseFrontEndOptions(argc, args.argv());
    if (!parsed.ok) {
        QV_FUZZ_CHECK(!parsed.error.empty(), "a refusal says why");
        QV_FUZZ_CHECK(Printable(parsed.error), "one printable line: " + parsed.error);
        return 0;
    }
    const FrontEndOptions& o = parsed.options;
    QV_FUZZ_CHECK(parsed.error.empty(), parsed.error);
    QV_FUZZ_CHECK(o.width >= 1 && o.width <= linux_host::MaxWindowSide, std::to_string(o.width));
    QV_FUZZ_CHECK(o.height >= 1 && o.height <= linux_host::MaxWindowSide, std::to_string(o.height));
    QV_FUZZ_CHECK(o.mode != DisplayMode::WindowId || o.windowId != 0, "a window id is never 0");
    QV_FUZZ_CHECK(!(o.geometryGiven && o.modeGiven), "geometry only for the window");
    QV_FUZZ_CHECK(o.durationMs % 1000 == 0 && o.durationMs <= 86400000u, std::to_string(o.durationMs));
    for (int i = 0; i < SettingCount; ++i) {
        if (!o.overrides[i]) continue;
        const int32_t v = *o.overrides[i];
        const int32_t top = i == 8 ? 2 : i == 9 ? 3 : 1;
        QV_FUZZ_CHECK(v >= 0 && v <= top, std::string(SettingNames[i]) + " = " + std::to_string(v));
    }

    const std::vector<std::string> again = Canonical(o);
    std::vector<const char*> argv;
    for (const std::string& s : again) argv.push_back(s.c_str());
    argv.push_back(nullptr);
    const linux_host::ParsedOptions reparsed =
        linux_host::ParseFrontEndOptions(static_cast<int>(again.size()), argv.data());
    QV_FUZZ_CHECK(reparsed.ok, "the written-back command line parses: " + reparsed.error);
    QV_FUZZ_CHECK(Same(o, reparsed.options), "the written-back command line means the same");

    // Overrides land in their own fields and nowhere else.
    SaverSettings s;
    linux_host::ApplyOverrides(o, s);
    for (int i = 0; i < SettingCount; ++i) {
        const int32_t want = o.overrides[i] ? *o.overrides[i] : GetSettingValue(SaverSettings{}, i);
        QV_FUZZ_CHECK(GetSettingValue(s, i) == want, SettingNames[i]);
    }

    if (withEnv) {
        FrontEndOptions withWindow = o;
        std::string error;
        const bool ok = linux_host::ApplyScreensaverWindow(withWindow, env.c_str(), error);
        if (!ok) {
            QV_FUZZ_CHECK(!error.empty() && Printable(error), "one printable line: " + error);
        } else {
            QV_FUZZ_CHECK(withWindow.mode != DisplayMode::WindowId || withWindow.windowId != 0, "a window id");
            // Only the window it draws into may change.
            FrontEndOptions rest = withWindow;
            rest.mode = o.mode;
            rest.windowId = o.windowId;
            QV_FUZZ_CHECK(Same(rest, o), "the variable changes nothing but the target window");
        }
    }
    return 0;
}
