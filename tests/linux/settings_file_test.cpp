// The settings file: where it is, how its lines are read, what a bad line
// costs, the precedence of defaults, file and command line, and the atomic
// write.
#include "settings_File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "options.h"

namespace quorvex::linux_host {
namespace {

namespace fs = std::filesystem;

struct SettingsFile : ::testing::Test {
    std::string dir = ::testing::TempDir() + "quorvex-settings-" + std::to_string(getpid());
    std::vector<std::string> warnings;
    void SetUp() override { fs::remove_all(dir), fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path) {
        std::stringstream ss;
        ss << std::ifstream(path, std::ios::binary).rdbuf();
        return ss.str();
    }
    static std::vector<std::string> Entries(const std::string& d) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

bool SameSettings(const SaverSettings& a, const SaverSettings& b) {
    for (int k = 0; k < SettingCount; ++k) {
        if (GetSettingValue(a, k) != GetSettingValue(b, k)) return false;
    }
    return true;
}

TEST(SettingsFilePath, XdgConfigHomeFirstThenHomeAndOnlyAbsolutePaths) {
    EXPECT_EQ(SettingsFilePath("/x/cfg", "/home/u"), "/x/cfg/quorvex/settings");
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "cfg"}) {
        EXPECT_EQ(SettingsFilePath(ignored, "/home/u"), "/home/u/.config/quorvex/settings");
    }
    EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
    EXPECT_EQ(SettingsFilePath("rel", "also-rel"), "");
}

TEST(StoredDecimalText, AcceptsExactlyWhatTheStoreWrites) {
    for (int32_t v : {0, 9, 10, 1234, 2147483647, -1, -12, -2147483647 - 1})
        EXPECT_TRUE(IsStoredDecimalText(IntToDecimal(v)));
    for (const char* bad : {"", "-1", "07", "1a", " 5", "+1", "00", "2147483648", "1.0", "0x1"}) {
        EXPECT_FALSE(IsStoredDecimalText(bad)) << bad;
    }
}

TEST(SettingsText, ParsesGoodLinesAndWarnsOncePerBadLine) {
    std::vector<std::string> warnings;
    StoredValues v = ParseSettingsText(
        "# comment\n\nTrace=0\n  ShowFPS = 1 \r\nTraceModeInd=/\nNoEquals\nColour=3\nTraceLength=-1\nShowClock=yes\n"
        "TraceLength=3\nMove3D=1\nMove3D=x\n",
        warnings);
    EXPECT_EQ(v[SettingIndex("Trace")], "0");
    EXPECT_EQ(v[SettingIndex("ShowFPS")], "1");
    EXPECT_EQ(v[SettingIndex("TraceModeInd")], "/");
    EXPECT_EQ(v[SettingIndex("TraceLength")], "3");  // the later good line wins
    EXPECT_FALSE(v[SettingIndex("ShowClock")].has_value());
    EXPECT_FALSE(v[SettingIndex("Move3D")].has_value());  // a later bad line: back to the default
    ASSERT_EQ(warnings.size(), 5u);
    const char* mentions[] = {"line 6", "Colour", "'-1'", "ShowClock", "Move3D"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(warnings[i].find(mentions[i]), std::string::npos) << warnings[i];
        EXPECT_EQ(warnings[i].find('\n'), std::string::npos);
    }
    std::string junk;
    for (int i = 0; i < 500; ++i) junk += std::string("\x01\xff=\0zz\n", 7);
    warnings.clear();
    for (const auto& value : ParseSettingsText(junk, warnings)) EXPECT_FALSE(value.has_value());
    EXPECT_LE(warnings.size(), 11u);  // bounded, and no control characters echoed
    for (const std::string& w : warnings) {
        EXPECT_TRUE(std::none_of(w.begin(), w.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
    }
}

TEST_F(SettingsFile, MissingOrUnreadableFileGivesTheDefaults) {
    EXPECT_TRUE(SameSettings(LoadSettingsFile(dir + "/quorvex/settings", warnings), SaverSettings{}));
    EXPECT_TRUE(warnings.empty()) << "missing is silent";
    // A directory cannot be read as a file, even by root.
    ASSERT_EQ(mkdir((dir + "/settings").c_str(), 0700), 0);
    EXPECT_TRUE(SameSettings(LoadSettingsFile(dir + "/settings", warnings), SaverSettings{}));
    EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(SettingsFile, BadLinesKeepTheirDefaultAndCommandLineBeatsFile) {
    const std::string path = dir + "/settings";
    Write(path, "Trace=0\nShowFPS=1\nTraceLength=3\nTraceModeInd=fire\nHuesOfGray=7\nMove3D=1x\n");
    SaverSettings s = LoadSettingsFile(path, warnings);
    EXPECT_EQ(s.TraceModeInd, 2);  // bad: the default
    EXPECT_TRUE(s.HuesOfGray);     // any non-zero number is on, as in the registry
    EXPECT_FALSE(s.Move3D);        // bad: the default
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find(path), std::string::npos) << warnings[0];
    const char* argv[] = {"quorvex", "--trace", "--trace-length", "0"};
    ParsedOptions p = ParseFrontEndOptions(4, argv);
    ASSERT_TRUE(p.ok);
    ApplyOverrides(p.options, s);
    EXPECT_TRUE(s.Trace && s.TraceLength == 0);  // command line over file
    EXPECT_TRUE(s.ShowFPS);                      // file over default
    EXPECT_TRUE(s.MouseSens);                    // default
}

TEST_F(SettingsFile, SaveWritesTenLinesWholeThatLoadBackUnchanged) {
    const std::string path = dir + "/deeper/quorvex/settings";
    fs::create_directories(dir + "/deeper/quorvex");
    Write(path, std::string(4000, '#') + "\nTrace=0\n");
    SaverSettings s;
    s.ShowFPS = true;
    s.MouseSens = s.Trace = false;
    s.TraceModeInd = -1;
    s.TraceLength = 3;
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(path, s, error)) << error;
    EXPECT_EQ(Read(path),
              "ShowFPS=1\nUnSortPoints=0\nMouseSens=0\nMove3D=0\nPrimitivePoints=1\nHuesOfGray=0\nTrace=0\n"
              "ShowClock=0\nTraceModeInd=/\nTraceLength=3\n");
    EXPECT_TRUE(SameSettings(LoadSettingsFile(path, warnings), s));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(Entries(dir + "/deeper/quorvex"), std::vector<std::string>{"settings"}) << "no temporary left";
    const std::string fresh = dir + "/new/quorvex/settings";  // directories are made
    ASSERT_TRUE(SaveSettingsFile(fresh, s, error)) << error;
    EXPECT_EQ(Read(fresh), Read(path));
}

TEST_F(SettingsFile, AFailedSaveReportsAndLeavesTheOldFileAlone) {
    const std::string blocker = dir + "/quorvex";  // a file where the directory should be
    Write(blocker, "not a directory");
    std::string error;
    EXPECT_FALSE(SaveSettingsFile(blocker + "/settings", SaverSettings{}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(Read(blocker), "not a directory");
    // The target is a directory: rename fails, the temporary is removed.
    ASSERT_EQ(mkdir((dir + "/settings").c_str(), 0700), 0);
    EXPECT_FALSE(SaveSettingsFile(dir + "/settings", SaverSettings{}, error));
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"quorvex", "settings"}));
}

TEST(StoredValuesRegistry, AnswersLikeTheRegistryForTheStore) {
    StoredValues values;
    values[SettingIndex("Trace")] = "1234";
    StoredValuesRegistry reg(values);
    uint8_t data[8] = {};
    uint32_t length = 2;
    EXPECT_EQ(reg.QueryValue("Trace", data, &length), QueryMoreData);
    EXPECT_EQ(length, 4u);
    length = sizeof data;
    EXPECT_EQ(reg.QueryValue("Trace", data, &length), QuerySuccess);
    EXPECT_TRUE(length == 4 && data[3] == '4');
    EXPECT_EQ(reg.QueryValue("ShowFPS", data, &length), QueryNotFound);
}

}  // namespace
}  // namespace quorvex::linux_host
