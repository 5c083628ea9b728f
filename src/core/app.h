// Run-mode dispatch from the command line, computed before any platform call
// so it can be tested and fuzzed on its own.
#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

enum class RunMode { Saver, Preview, Configure, ChangePassword };

struct RunRequest {
    RunMode mode = RunMode::Configure;
    // Preview: the host window; Configure: the dialog's owner;
    // ChangePassword: the password dialog's parent. 0 when none.
    uint32_t window = 0;
    std::string commandArg;  // the first argument as the dispatch saw it
};

// argv[0] is the program; argv[1] the mode argument, argv[2] the second one.
RunRequest DecideRunMode(int argc, const char* const* argv);

}  // namespace quorvex
