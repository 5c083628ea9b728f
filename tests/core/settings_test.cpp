// Decimal texts, names and defaults, saving and loading back, the FPS and clock texts and the repaint pacing.
// How each value loads on its own the settings_load fuzzer checks, and the clock's locale forms frontend_test.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "../fake_registry.h"
#include "frame.h"
#include "settings.h"

namespace quorvex {
namespace {

// The text the store writes: per digit d of |value|, 48 + d, or 48 - d when negative (no sign).
std::string Expected(int32_t value) {
    std::string digits = std::to_string(value < 0 ? -int64_t(value) : int64_t(value));
    for (char& c : digits) c = value < 0 ? char(96 - c) : c;
    return digits;
}

TEST(Decimal, TextAndIntegerConversions) {
    EXPECT_TRUE(IntToDecimal(0) == "0" && IntToDecimal(1234) == "1234");
    EXPECT_TRUE(IntToDecimal(-1) == "/" && IntToDecimal(-12) == "/.");
    // Any other text reads as the decimal fuzzer's rule says.
    EXPECT_TRUE(DecimalToInt("1a") == 59 && DecimalToInt(" 5") == -155 && DecimalToInt(std::string(40, '9')) == -1);
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
    }
    EXPECT_TRUE(SettingIndex("tracelength") == -1 && SettingIndex(nullptr) == -1);
    EXPECT_STREQ(SettingsKeyPath, "Software\\Quorvex");
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
    EXPECT_TRUE(reg.closes == 1 && !reg.misused);
    const SaverSettings back = LoadSettings(reg);
    for (int i = 0; i < SettingCount; ++i) EXPECT_EQ(GetSettingValue(back, i), GetSettingValue(s, i)) << i;
    FakeRegistry locked;
    locked.keyExists = locked.canCreate = false;
    SaveSettings(locked, s);
    EXPECT_TRUE(locked.values.empty() && locked.closes == 0);
}

TEST(FrameText, FpsClockAndPacing) {
    char buf[64];
    const auto fps = [&](int32_t frames, uint32_t ms, const char* suffix = " fps") {
        return std::string(buf, FpsText(frames, ms, suffix, buf, sizeof buf));
    };
    // The run average, halves rounded to even; nothing before time has passed.
    EXPECT_TRUE(fps(570, 10000) == "57 fps" && fps(1, 16) == "62 fps" && fps(3, 16) == "188 fps");
    EXPECT_EQ(fps(0, 500), "0 fps");
    EXPECT_TRUE(fps(1, 0).empty() && fps(2147483647, 1) == "2147483647 fps");
    EXPECT_EQ(fps(57, 1000, " \xEA\xE0\xE4\xF0/\xF1"), "57 \xEA\xE0\xE4\xF0/\xF1");
    // The hours of a 12-hour clock run 12, 1, ..., 11.
    TimeFormat f;
    f.twelveHour = true, f.leadingZero = false;
    const auto clock = [&](int h, int m) {
        return std::string(buf, ClockText(TimeOfDay{h, m, 1}, f, buf, sizeof buf));
    };
    EXPECT_TRUE(clock(0, 0) == "12:00:01 AM" && clock(11, 59) == "11:59:01 AM" && clock(12, 30) == "12:30:01 PM");
    EXPECT_EQ(clock(23, 5), "11:05:01 PM");
    // The rest of the period after a turn, at least 3 ms.
    EXPECT_TRUE(RepaintPeriod(true) == 30u && RepaintPeriod(false) == 10u);
    const uint32_t waits[][3] = {
        {30, 0, 30}, {30, 12, 18}, {30, 27, 3}, {30, 28, 3}, {30, 30, 3}, {10, 500, 3}, {10, 6, 4}};
    for (const auto& w : waits) EXPECT_EQ(RepaintWait(w[0], w[1]), w[2]) << w[0] << " " << w[1];
}

}  // namespace
}  // namespace quorvex
