// Decimal texts, load and save over a registry that answers like the real one, run modes, frame texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>

#include "app.h"
#include "frame.h"
#include "settings.h"

namespace quorvex {
namespace {

struct FakeRegistry final : SettingsRegistry {
    bool keyExists = true, canCreate = true;
    int closes = 0;
    std::map<std::string, std::string> values;
    std::vector<std::string> writes;
    std::vector<uint32_t> offered;  // the room offered to each read
    bool OpenKey() override { return keyExists; }
    bool CreateKey() override { return keyExists = canCreate; }
    long QueryValue(const char* name, uint8_t* data, uint32_t* length) override {
        offered.push_back(*length);
        auto it = values.find(name);
        if (it == values.end()) return QueryNotFound;
        *length = uint32_t(it->second.size());
        if (it->second.size() > offered.back()) return QueryMoreData;
        std::copy(it->second.begin(), it->second.end(), data);
        return QuerySuccess;
    }
    void SetValue(const char* name, const char* text, uint32_t length) override {
        values[name].assign(text, length);
        writes.push_back(name);
    }
    void CloseKey() override { ++closes; }
};

// The text the store writes: per digit d of |value|, 48 + d, or 48 - d when negative (no sign).
std::string Expected(int32_t value) {
    std::string digits = std::to_string(value < 0 ? -int64_t(value) : int64_t(value));
    for (char& c : digits) c = value < 0 ? char(96 - c) : c;
    return digits;
}

TEST(Decimal, TextAndIntegerConversions) {
    EXPECT_TRUE(IntToDecimal(0) == "0" && IntToDecimal(1234) == "1234" && IntToDecimal(-1) == "/" && IntToDecimal(-12) == "/.");
    // Every byte counts its code minus 48, wrapping like a 32-bit register.
    const std::pair<std::string, int32_t> texts[] = {{"", 0},      {"1a", 59}, {" 5", -155},
                                                     {"-1", -29}, {"4294967296", 0}, {"\xff", 207}};
    for (const auto& [text, value] : texts) EXPECT_EQ(DecimalToInt(text), value) << text;
    EXPECT_EQ(DecimalToInt(std::string(40, '9')), -1);  // 10^40 - 1, modulo 2^32
    // Every integer next to a change of digit count, and a strided sample of
    // all 2^32 (QUORVEX_DECIMAL_SWEEP=full: every one), writes the expected
    // text, nothing past it, and reads back.
    std::vector<int64_t> values = {INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1};
    for (int64_t p = 1; p <= 1000000000; p *= 10) values.insert(values.end(), {p - 1, p, p + 1, 1 - p, -p, -p - 1});
    const char* sweep = std::getenv("QUORVEX_DECIMAL_SWEEP");
    const uint64_t stride = sweep && std::strcmp(sweep, "full") == 0 ? 1 : 65537;
    for (uint64_t u = 0; u <= UINT32_MAX; u += stride) values.push_back(int32_t(uint32_t(u)));
    for (int64_t v64 : values) {
        const int32_t v = int32_t(v64);
        char text[16];
        std::memset(text, 0x7E, sizeof text);
        const size_t n = IntToDecimal(v, text);
        ASSERT_TRUE(std::string(text, n) == Expected(v) && text[n] == 0x7E && DecimalToInt(text, n) == v) << v;
    }
}

TEST(Settings, NamesIndexesAndDefaults) {
    const char* names[] = {"ShowFPS", "UnSortPoints", "MouseSens", "Move3D", "PrimitivePoints",
                           "HuesOfGray", "Trace", "ShowClock", "TraceModeInd", "TraceLength"};
    const int32_t defaults[] = {0, 0, 1, 0, 1, 0, 1, 0, 2, 1};
    FakeRegistry reg;
    reg.keyExists = false;
    const SaverSettings d = LoadSettings(reg);  // no key: the defaults, nothing closed
    EXPECT_EQ(reg.closes, 0);
    for (int i = 0; i < SettingCount; ++i) {
        EXPECT_STREQ(SettingNames[i], names[i]);
        EXPECT_EQ(SettingIndex(names[i]), i);
        EXPECT_EQ(GetSettingValue(d, i), defaults[i]) << names[i];
        SaverSettings s;
        SetSettingValue(s, i, i < 8 ? 5 : -7);  // each field on its own
        for (int j = 0; j < SettingCount; ++j) {
            EXPECT_EQ(GetSettingValue(s, j), j != i ? defaults[j] : i < 8 ? 1 : -7) << names[i] << " " << names[j];
        }
    }
    EXPECT_TRUE(SettingIndex("tracelength") == -1 && SettingIndex(nullptr) == -1 && std::string(SettingsKeyPath) == "Software\\Quorvex");
}

TEST(Settings, EachValueIsLoadedOnItsOwn) {
    FakeRegistry reg;
    reg.values = {{"ShowFPS", std::string(300, '1')},  // does not fit: default
                  {"UnSortPoints", "1"}, {"MouseSens", "77"},
                  {"Move3D", "0"},  // shorter than the one before, no terminator
                  {"ShowClock", "7"}, {"Trace", "0"},
                  {"TraceModeInd", std::string(127, '0') + "1"},  // exactly fills the buffer
                  {"TraceLength", std::string("3\0", 2)}};
    const SaverSettings s = LoadSettings(reg);
    EXPECT_TRUE(!s.ShowFPS && s.UnSortPoints && s.MouseSens && !s.Move3D && s.ShowClock && !s.Trace && s.PrimitivePoints);
    EXPECT_TRUE(s.TraceModeInd == 1 && s.TraceLength == 3 && reg.closes == 1);
    ASSERT_EQ(reg.offered.size(), 10u);
    for (uint32_t room : reg.offered) EXPECT_EQ(room, SettingBufferSize);
    reg.values = {{"TraceLength", std::string(129, '0')}};  // one byte too long: the default
    EXPECT_EQ(LoadSettings(reg).TraceLength, 1);
}

TEST(Settings, SavedInFieldOrderAndLoadedBack) {
    SaverSettings s;
    s.ShowFPS = s.Move3D = s.HuesOfGray = true;
    s.MouseSens = s.Trace = false;
    s.TraceModeInd = -1, s.TraceLength = 3;
    FakeRegistry reg;
    reg.keyExists = false;  // created
    SaveSettings(reg, s);
    ASSERT_EQ(reg.writes.size(), 10u);
    for (int i = 0; i < SettingCount; ++i) {
        EXPECT_EQ(reg.writes[i], SettingNames[i]);
        EXPECT_EQ(reg.values[SettingNames[i]], Expected(GetSettingValue(s, i)));
    }
    EXPECT_EQ(reg.closes, 1);
    const SaverSettings back = LoadSettings(reg);
    for (int i = 0; i < SettingCount; ++i) EXPECT_EQ(GetSettingValue(back, i), GetSettingValue(s, i)) << i;
    FakeRegistry locked;
    locked.keyExists = locked.canCreate = false;
    SaveSettings(locked, s);
    EXPECT_TRUE(locked.values.empty() && locked.closes == 0);
}

TEST(RunMode, EachCommandLineGivesItsModeAndWindow) {
    // Any leading character before an exact letter; anything else opens the
    // dialog. Handles are not validated: every character counts its code - 48.
    const std::string longArg = "/c:" + std::string(32 * 1024, '9');
    struct Case {
        std::vector<const char*> args;
        RunMode mode;
        uint32_t window;
    } const cases[] = {
        {{"/s"}, RunMode::Saver, 0}, {{"-S"}, RunMode::Saver, 0}, {{"s"}, RunMode::Saver, 0}, {{"xs"}, RunMode::Saver, 0},
        {{"/s", "\xFF\xFE"}, RunMode::Saver, 0}, {{"/p", "1234"}, RunMode::Preview, 1234}, {{"P"}, RunMode::Preview, 0},
        {{"/c:1234"}, RunMode::Configure, 1234}, {{"/C:1234"}, RunMode::Configure, 1234}, {{"/c"}, RunMode::Configure, 0},
        {{}, RunMode::Configure, 0}, {{"/c:xyz"}, RunMode::Configure, (72 * 10 + 73) * 10 + 74},
        {{"/a", "1234"}, RunMode::ChangePassword, 1234}, {{"A"}, RunMode::ChangePassword, 0},
        {{"-a"}, RunMode::ChangePassword, 0}, {{"/s5"}, RunMode::Configure, 0}, {{"/scr"}, RunMode::Configure, 0},
        {{"/x:12"}, RunMode::Configure, 0}, {{"/"}, RunMode::Configure, 0}, {{""}, RunMode::Configure, 0},
        {{"/ss"}, RunMode::Configure, 0}, {{"/pp"}, RunMode::Configure, 0}, {{"/\xD0\xB0"}, RunMode::Configure, 0},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = c.args;
        argv.insert(argv.begin(), "Quorvex.scr");
        const RunRequest r = DecideRunMode(int(argv.size()), argv.data());
        EXPECT_TRUE(r.mode == c.mode && r.window == c.window) << (c.args.empty() ? "(none)" : c.args[0]) << ": " << r.window;
        EXPECT_EQ(r.commandArg, c.args.empty() ? "" : std::string(c.args[0]).substr(std::strlen(c.args[0]) >= 2));
    }
    const char* const longLine[] = {"Quorvex.scr", longArg.c_str()};
    EXPECT_EQ(DecideRunMode(2, longLine).mode, RunMode::Configure);
}

TEST(FrameText, FpsClockAndPacing) {
    char buf[64];
    const auto fps = [&](int32_t frames, uint32_t ms, const char* suffix = " fps") {
        return std::string(buf, FpsText(frames, ms, suffix, buf, sizeof buf));
    };
    // The run average, halves rounded to even; nothing before time has passed.
    EXPECT_TRUE(fps(570, 10000) == "57 fps" && fps(1, 16) == "62 fps" && fps(3, 16) == "188 fps" && fps(0, 500) == "0 fps");
    EXPECT_TRUE(fps(1, 0).empty() && fps(2147483647, 1) == "2147483647 fps");
    EXPECT_EQ(fps(57, 1000, " \xEA\xE0\xE4\xF0/\xF1"), "57 \xEA\xE0\xE4\xF0/\xF1");
    const auto clock = [&](TimeOfDay t, const TimeFormat& f) { return std::string(buf, ClockText(t, f, buf, sizeof buf)); };
    TimeFormat f;
    EXPECT_EQ(clock({7, 5, 9}, f), "07:05:09");
    f.leadingZero = false;
    EXPECT_EQ(clock({7, 5, 9}, f), "7:05:09");
    f.twelveHour = true;
    EXPECT_TRUE(clock({0, 0, 0}, f) == "12:00:00 AM" && clock({12, 30, 1}, f) == "12:30:01 PM" && clock({23, 59, 59}, f) == "11:59:59 PM");
    f.designatorFirst = true, f.separator = '.';
    EXPECT_EQ(clock({13, 4, 5}, f), "PM 1.04.05");
    // The rest of the period after a turn, at least 3 ms.
    EXPECT_TRUE(RepaintPeriod(true) == 30u && RepaintPeriod(false) == 10u);
    const uint32_t waits[][3] = {{30, 0, 30}, {30, 12, 18}, {30, 27, 3}, {30, 28, 3}, {30, 30, 3}, {10, 500, 3}, {10, 6, 4}};
    for (const auto& w : waits) EXPECT_EQ(RepaintWait(w[0], w[1]), w[2]) << w[0] << " " << w[1];
}

}  // namespace
}  // namespace quorvex
