// Which of the four run modes a command line asks for. Exact, case-sensitive
// comparisons; anything unrecognised opens the configuration dialog.
#include <cstring>

#include "app.h"
#include "settings.h"

namespace quorvex {

namespace {

uint32_t WindowFromText(const char* text, size_t length) {
    return static_cast<uint32_t>(DecimalToInt(text, length));
}

}  // namespace

RunRequest DecideRunMode(int argc, const char* const* argv) {
    RunRequest r;
    r.commandArg = (argc > 1 && argv[1] != nullptr) ? argv[1] : "";
    // "/s", "-s" and "xs" all mean s: the first character goes whatever it is.
    if (r.commandArg.size() > 1) r.commandArg.erase(0, 1);
    const char* second = (argc > 2 && argv[2] != nullptr) ? argv[2] : "";
    const std::string& arg = r.commandArg;

    if (arg == "A" || arg == "a") {
        r.mode = RunMode::ChangePassword;
        r.window = WindowFromText(second, std::strlen(second));
    } else if (arg == "S" || arg == "s") {
        r.mode = RunMode::Saver;
    } else if (arg == "P" || arg == "p") {
        r.mode = RunMode::Preview;
        r.window = WindowFromText(second, std::strlen(second));
    } else {
        r.mode = RunMode::Configure;
        // "c:1234": the character after c is skipped whatever it is.
        if (!arg.empty() && (arg[0] == 'c' || arg[0] == 'C') && arg.size() > 2) {
            r.window = WindowFromText(arg.data() + 2, arg.size() - 2);
        }
    }
    return r;
}

}  // namespace quorvex
