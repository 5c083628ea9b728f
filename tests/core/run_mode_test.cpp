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

TEST(RunMode, SaverAcceptsAnyLeadingCharacter) {
    for (const char* arg : {"/s", "-S", "s", "xs", "/S"}) {
        RunRequest r = Decide({arg});
        EXPECT_EQ(r.mode, RunMode::Saver) << arg;
        EXPECT_EQ(r.window, 0u) << arg;
    }
}

TEST(RunMode, PreviewTakesTheHostFromTheSecondArgument) {
    RunRequest r = Decide({"/p", "1234"});
    EXPECT_EQ(r.mode, RunMode::Preview);
    EXPECT_EQ(r.window, 1234u);
    r = Decide({"/p"});
    EXPECT_EQ(r.mode, RunMode::Preview);
    EXPECT_EQ(r.window, 0u);
}

TEST(RunMode, ConfigureOwnerSkipsTheCharacterAfterC) {
    EXPECT_EQ(Decide({"/c:1234"}).window, 1234u);
    EXPECT_EQ(Decide({"/C:1234"}).window, 1234u);
    EXPECT_EQ(Decide({"/c:1234"}).mode, RunMode::Configure);
    EXPECT_EQ(Decide({"/c"}).window, 0u);
    EXPECT_EQ(Decide({"/c"}).mode, RunMode::Configure);
    // Handles are not validated: every character counts its code minus 48.
    EXPECT_EQ(Decide({"/c:xyz"}).window, static_cast<uint32_t>(((72 * 10) + 73) * 10 + 74));
    EXPECT_EQ(Decide({"/c:xyz"}).mode, RunMode::Configure);
}

TEST(RunMode, NoArgumentOpensTheDialogWithoutOwner) {
    RunRequest r = Decide({});
    EXPECT_EQ(r.mode, RunMode::Configure);
    EXPECT_EQ(r.window, 0u);
    EXPECT_EQ(r.commandArg, "");
}

TEST(RunMode, InexactLettersOpenTheDialog) {
    for (const char* arg : {"/s5", "/scr", "/x:12", "/", "", "/ss", "/pp"}) {
        RunRequest r = Decide({arg});
        EXPECT_EQ(r.mode, RunMode::Configure) << arg;
        EXPECT_EQ(r.window, 0u) << arg;
    }
    EXPECT_EQ(Decide({"/"}).commandArg, "/");
}

TEST(RunMode, PasswordChangeTakesTheParentFromTheSecondArgument) {
    RunRequest r = Decide({"/a", "1234"});
    EXPECT_EQ(r.mode, RunMode::ChangePassword);
    EXPECT_EQ(r.window, 1234u);
    EXPECT_EQ(Decide({"A"}).mode, RunMode::ChangePassword);
    EXPECT_EQ(Decide({"-a"}).window, 0u);
}

TEST(RunMode, LongAndNonAsciiArgumentsAreHandled) {
    std::string longArg(32 * 1024, '9');
    longArg[0] = '/';
    longArg[1] = 'c';
    longArg[2] = ':';
    RunRequest r = Decide({longArg.c_str()});
    EXPECT_EQ(r.mode, RunMode::Configure);
    EXPECT_EQ(Decide({"/\xD0\xB0"}).mode, RunMode::Configure);
    EXPECT_EQ(Decide({"/s", "\xFF\xFE"}).mode, RunMode::Saver);
}

}  // namespace
}  // namespace quorvex
