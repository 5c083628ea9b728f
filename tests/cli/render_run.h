// Runs `quorvex render` in-process with the given arguments, capturing what
// it writes to stderr.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands.h"

namespace quorvex::cli {

inline int RunRenderCapturing(std::vector<std::string> args, std::string& stderrText) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    ::testing::internal::CaptureStderr();
    const int status = RunRender(static_cast<int>(argv.size()), argv.data());
    stderrText = ::testing::internal::GetCapturedStderr();
    return status;
}

}  // namespace quorvex::cli
