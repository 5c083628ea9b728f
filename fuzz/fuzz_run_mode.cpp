// Run-mode dispatch over any command line, as the Windows entry computes it
// from the runtime's argument vector before any platform call. The input is
// cut into arguments at zero bytes; the mode and the window handle are
// checked against the entry's table, worked out here on its own terms.
#include <cstdint>
#include <string>
#include <string_view>

#include "app.h"
#include "fuzz_Args.h"

namespace quorvex::fuzz {
namespace {

// A handle's text: each byte adds its code minus 48, modulo 2^32.
uint32_t HandleFrom(std::string_view text) {
    uint32_t v = 0;
    for (unsigned char c : text) v = static_cast<uint32_t>(v * 10ull + c + 0x100000000ull - 48);
    return v;
}

struct Want {
    RunMode mode;
    uint32_t window;
    std::string arg;
};

Want Reference(const FuzzArgs& args) {
    std::string arg = args.argc() > 1 ? args[1] : std::string();
    if (arg.size() >= 2) arg = arg.substr(1);
    const std::string second = args.argc() > 2 ? args[2] : std::string();
    if (arg == "a" || arg == "A") return {RunMode::ChangePassword, HandleFrom(second), arg};
    if (arg == "s" || arg == "S") return {RunMode::Saver, 0, arg};
    if (arg == "p" || arg == "P") return {RunMode::Preview, HandleFrom(second), arg};
    uint32_t owner = 0;
    if (!arg.empty() && (arg[0] == 'c' || arg[0] == 'C')) {
        owner = arg.size() > 2 ? HandleFrom(std::string_view(arg).substr(2)) : 0;
    }
    return {RunMode::Configure, owner, arg};
}

const char* Name(RunMode m) {
    switch (m) {
        case RunMode::Saver:
            return "Saver";
        case RunMode::Preview:
            return "Preview";
        case RunMode::Configure:
            return "Configure";
        case RunMode::ChangePassword:
            return "ChangePassword";
    }
    return "?";
}

}  // namespace
}  // namespace quorvex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvex;
    using namespace quorvex::fuzz;
    const FuzzArgs args("Quorvex.scr", data, size);
    const RunRequest got = DecideRunMode(args.argc(), args.argv());
    const Want want = Reference(args);
    QV_FUZZ_CHECK(got.mode == want.mode, std::string("mode ") + Name(got.mode) + ", want " + Name(want.mode));
    QV_FUZZ_CHECK(got.window == want.window,
                  "window " + std::to_string(got.window) + ", want " + std::to_string(want.window));
    QV_FUZZ_CHECK(got.commandArg == want.arg, "argument '" + got.commandArg + "', want '" + want.arg + "'");
    // A window mode never comes from anything but one letter.
    if (got.mode != RunMode::Configure) QV_FUZZ_CHECK(got.commandArg.size() == 1, got.commandArg);
    return 0;
}
