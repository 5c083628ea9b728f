// The settings file: where it is, how its lines are read (through the core
// store), what a bad line costs, the precedence of defaults, file and
// command line, and the atomic write.
#include "settings_File.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "options.h"

namespace quorvex::linux_host {
namespace {

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/quorvex-settings-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
    }
    return names;
}

bool SameSettings(const SaverSettings& a, const SaverSettings& b) {
    for (int k = 0; k < SettingCount; ++k) {
        if (GetSettingValue(a, k) != GetSettingValue(b, k)) return false;
    }
    return true;
}

TEST(SettingsFilePath, XdgConfigHomeFirstThenHomeAndOnlyAbsolutePaths) {
    EXPECT_EQ(SettingsFilePath("/x/cfg", "/home/u"), "/x/cfg/quorvex/settings");
    EXPECT_EQ(SettingsFilePath(nullptr, "/home/u"), "/home/u/.config/quorvex/settings");
    EXPECT_EQ(SettingsFilePath("", "/home/u"), "/home/u/.config/quorvex/settings");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    EXPECT_EQ(SettingsFilePath("cfg", "/home/u"), "/home/u/.config/quorvex/settings");
    EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
    EXPECT_EQ(SettingsFilePath("rel", "also-rel"), "");
}

TEST(StoredDecimalText, AcceptsExactlyWhatTheStoreWrites) {
    for (int32_t v : {0, 1, 2, 3, 9, 10, 1234, 2147483647, -1, -12, -2147483647 - 1}) {
        const std::string text = IntToDecimal(v);
        EXPECT_TRUE(IsStoredDecimalText(text)) << v;
    }
    for (const char* bad : {"", "-1", "07", "1a", " 5", "+1", "00", "2147483648", "abc", "1.0", "0x1"}) {
        EXPECT_FALSE(IsStoredDecimalText(bad)) << bad;
    }
}

TEST(SettingsText, ParsesGoodLinesAndWarnsOncePerBadLine) {
    std::vector<std::string> warnings;
    const std::string text =
        "# comment\n"
        "\n"
        "Trace=0\n"
        "  ShowFPS = 1 \r\n"
        "TraceModeInd=/\n"
        "NoEquals\n"
        "Colour=3\n"
        "TraceLength=-1\n"
        "ShowClock=yes\n"
        "TraceLength=3\n";
    StoredValues v = ParseSettingsText(text, warnings);
    EXPECT_EQ(v[SettingIndex("Trace")], "0");
    EXPECT_EQ(v[SettingIndex("ShowFPS")], "1");
    EXPECT_EQ(v[SettingIndex("TraceModeInd")], "/");
    EXPECT_EQ(v[SettingIndex("TraceLength")], "3");  // the later good line wins
    EXPECT_FALSE(v[SettingIndex("ShowClock")].has_value());
    EXPECT_FALSE(v[SettingIndex("MouseSens")].has_value());
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_NE(warnings[0].find("line 6"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("Colour"), std::string::npos) << warnings[1];
    EXPECT_NE(warnings[2].find("'-1'"), std::string::npos) << warnings[2];
    EXPECT_NE(warnings[3].find("ShowClock"), std::string::npos) << warnings[3];
    for (const std::string& w : warnings) EXPECT_EQ(w.find('\n'), std::string::npos);
}

TEST(SettingsText, ABadLineAfterAGoodOneFallsBackToTheDefault) {
    std::vector<std::string> warnings;
    StoredValues v = ParseSettingsText("TraceLength=2\nTraceLength=x\n", warnings);
    EXPECT_FALSE(v[SettingIndex("TraceLength")].has_value());
    EXPECT_EQ(warnings.size(), 1u);
}

TEST(SettingsText, GarbageIsBoundedInWarningsAndNeverCrashes) {
    std::string junk;
    for (int i = 0; i < 500; ++i) junk += std::string("\x01\xff=\0zz", 6) + "\n";
    std::vector<std::string> warnings;
    StoredValues v = ParseSettingsText(junk, warnings);
    for (const auto& value : v) EXPECT_FALSE(value.has_value());
    EXPECT_LE(warnings.size(), 11u);
    for (const std::string& w : warnings) {
        for (char c : w) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20) << w;
    }
}

TEST(SettingsFile, MissingFileGivesTheDefaultsSilently) {
    TempDir dir;
    std::vector<std::string> warnings;
    SaverSettings s = LoadSettingsFile(dir.Path() + "/quorvex/settings", warnings);
    EXPECT_TRUE(SameSettings(s, SaverSettings{}));
    EXPECT_TRUE(warnings.empty());
}

TEST(SettingsFile, UnreadableFileWarnsOnceAndGivesTheDefaults) {
    TempDir dir;
    // A directory where the file should be cannot be read as one (and works
    // even for root, whom permission bits do not stop).
    const std::string path = dir.Path() + "/settings";
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    std::vector<std::string> warnings;
    SaverSettings s = LoadSettingsFile(path, warnings);
    EXPECT_TRUE(SameSettings(s, SaverSettings{}));
    EXPECT_EQ(warnings.size(), 1u);
}

TEST(SettingsFile, BadLinesKeepTheirDefaultAndGoodLinesStillCount) {
    TempDir dir;
    const std::string path = dir.Path() + "/settings";
    WriteFile(path, "Trace=0\nTraceModeInd=fire\nHuesOfGray=7\nMove3D=1x\n");
    std::vector<std::string> warnings;
    SaverSettings s = LoadSettingsFile(path, warnings);
    EXPECT_FALSE(s.Trace);
    EXPECT_EQ(s.TraceModeInd, 2);  // bad: the default
    EXPECT_TRUE(s.HuesOfGray);     // any non-zero number is on, as in the registry
    EXPECT_FALSE(s.Move3D);        // bad: the default
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find(path), std::string::npos) << warnings[0];
}

TEST(SettingsFile, CommandLineBeatsFileBeatsDefaults) {
    TempDir dir;
    const std::string path = dir.Path() + "/settings";
    WriteFile(path, "Trace=0\nShowFPS=1\nTraceLength=3\n");
    std::vector<std::string> warnings;
    SaverSettings s = LoadSettingsFile(path, warnings);
    const char* argv[] = {"quorvex", "--trace", "--trace-length", "0"};
    ParsedOptions p = ParseFrontEndOptions(4, argv);
    ASSERT_TRUE(p.ok);
    ApplyOverrides(p.options, s);
    EXPECT_TRUE(s.Trace);          // command line over file
    EXPECT_EQ(s.TraceLength, 0);   // command line over file
    EXPECT_TRUE(s.ShowFPS);        // file over default
    EXPECT_TRUE(s.MouseSens);      // default
    EXPECT_EQ(s.TraceModeInd, 2);  // default
}

TEST(SettingsFile, SaveWritesTenLinesThatLoadBackUnchanged) {
    TempDir dir;
    const std::string path = dir.Path() + "/deeper/quorvex/settings";
    SaverSettings s;
    s.ShowFPS = true;
    s.MouseSens = false;
    s.Trace = false;
    s.TraceModeInd = -1;
    s.TraceLength = 3;
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(path, s, error)) << error;
    const std::string text = ReadFile(path);
    EXPECT_EQ(text,
              "ShowFPS=1\nUnSortPoints=0\nMouseSens=0\nMove3D=0\nPrimitivePoints=1\nHuesOfGray=0\nTrace=0\n"
              "ShowClock=0\nTraceModeInd=/\nTraceLength=3\n");
    std::vector<std::string> warnings;
    EXPECT_TRUE(SameSettings(LoadSettingsFile(path, warnings), s));
    EXPECT_TRUE(warnings.empty());
    // Only the file itself is left in the directory: no temporary.
    EXPECT_EQ(Entries(dir.Path() + "/deeper/quorvex"), std::vector<std::string>{"settings"});
}

TEST(SettingsFile, AFailedSaveReportsAndLeavesTheOldFileAlone) {
    TempDir dir;
    // A file where the directory should be: the write cannot happen.
    const std::string blocker = dir.Path() + "/quorvex";
    WriteFile(blocker, "not a directory");
    std::string error;
    EXPECT_FALSE(SaveSettingsFile(blocker + "/settings", SaverSettings{}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(ReadFile(blocker), "not a directory");

    // The target is a directory: rename fails, the temporary is removed.
    const std::string target = dir.Path() + "/settings";
    ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
    EXPECT_FALSE(SaveSettingsFile(target, SaverSettings{}, error));
    std::vector<std::string> left = Entries(dir.Path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"quorvex", "settings"}));
}

TEST(SettingsFile, SaveReplacesAnExistingFileWhole) {
    TempDir dir;
    const std::string path = dir.Path() + "/settings";
    WriteFile(path, std::string(4000, '#') + "\nTrace=0\n");
    SaverSettings s;
    s.ShowClock = true;
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(path, s, error)) << error;
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.find('#'), std::string::npos);
    EXPECT_NE(text.find("ShowClock=1\n"), std::string::npos);
    EXPECT_NE(text.find("Trace=1\n"), std::string::npos);
}

TEST(StoredValuesRegistry, AnswersLikeTheRegistryForTheStore) {
    StoredValues values;
    values[SettingIndex("Trace")] = "0";
    StoredValuesRegistry reg(values);
    uint8_t data[8] = {};
    uint32_t length = sizeof data;
    EXPECT_EQ(reg.QueryValue("Trace", data, &length), QuerySuccess);
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(data[0], '0');
    length = sizeof data;
    EXPECT_EQ(reg.QueryValue("ShowFPS", data, &length), QueryNotFound);
    values[SettingIndex("Trace")] = "1234";
    length = 2;
    EXPECT_EQ(reg.QueryValue("Trace", data, &length), QueryMoreData);
    EXPECT_EQ(length, 4u);
}

}  // namespace
}  // namespace quorvex::linux_host
