// The command-line table of the entry: which run mode and which window each
// command line asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app.h"

namespace quorvex {
namespace {

RunRequest Decide(std::vector<const char*> args) {
    args.insert(args.begin(), "Quorvex.scr");
    return DecideRunMode(static_cast<int>(args.size()), args.data());
}

void ExpectRequest(std::vector<const char*> args, RunMode mode, uint32_t window) {
    const RunRequest r = Decide(args);
    EXPECT_TRUE(r.mode == mode && r.window == window) << (args.empty() ? "(none)" : args[0]) << ": " << r.window;
}

TEST(RunMode, EachCommandLineGivesItsModeAndWindow) {
    // Any leading character before an exact letter; anything else opens the dialog.
    for (const char* arg : {"/s", "-S", "s", "xs"}) ExpectRequest({arg}, RunMode::Saver, 0);
    for (const char* arg : {"/s5", "/scr", "/x:12", "/", "", "/ss", "/pp", "/\xD0\xB0"}) {
        ExpectRequest({arg}, RunMode::Configure, 0);
    }
    ExpectRequest({"/s", "\xFF\xFE"}, RunMode::Saver, 0);
    ExpectRequest({"/p", "1234"}, RunMode::Preview, 1234);
    ExpectRequest({"/p"}, RunMode::Preview, 0);
    ExpectRequest({"/c:1234"}, RunMode::Configure, 1234);
    ExpectRequest({"/C:1234"}, RunMode::Configure, 1234);
    ExpectRequest({"/c"}, RunMode::Configure, 0);
    ExpectRequest({}, RunMode::Configure, 0);
    // Handles are not validated: every character counts its code minus 48.
    ExpectRequest({"/c:xyz"}, RunMode::Configure, ((72 * 10) + 73) * 10 + 74);
    const std::string longArg = "/c:" + std::string(32 * 1024, '9');
    EXPECT_EQ(Decide({longArg.c_str()}).mode, RunMode::Configure);
    ExpectRequest({"/a", "1234"}, RunMode::ChangePassword, 1234);
    ExpectRequest({"A"}, RunMode::ChangePassword, 0);
    ExpectRequest({"-a"}, RunMode::ChangePassword, 0);
    EXPECT_EQ(Decide({}).commandArg, "");
    EXPECT_EQ(Decide({"/"}).commandArg, "/");
}

}  // namespace
}  // namespace quorvex
