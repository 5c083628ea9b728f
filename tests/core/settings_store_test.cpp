// The decimal text form and the load and save of the ten options over an
// in-memory registry that answers like the real one.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

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
        const uint32_t room = *length;
        *length = static_cast<uint32_t>(it->second.size());
        if (it->second.size() > room) return QueryMoreData;
        std::copy(it->second.begin(), it->second.end(), data);
        return QuerySuccess;
    }
    void SetValue(const char* name, const char* text, uint32_t length) override {
        values[name].assign(text, length);
        writes.push_back(name);
    }
    void CloseKey() override { ++closes; }
};

TEST(Decimal, TextAndIntegerConversions) {
    EXPECT_TRUE(IntToDecimal(0) == "0" && IntToDecimal(1234) == "1234");
    EXPECT_EQ(IntToDecimal(-1), "/");  // no sign: negative remainders land below '0'
    EXPECT_EQ(IntToDecimal(-12), "/.");
    // Every byte counts its code minus 48; 4294967296 wraps like a 32-bit register.
    const std::pair<const char*, int32_t> texts[] = {{"", 0}, {"1a", 59}, {" 5", -155}, {"-1", -29}, {"4294967296", 0}};
    for (const auto& [text, value] : texts) EXPECT_EQ(DecimalToInt(text), value) << text;
    EXPECT_EQ(DecimalToInt("\xff", 1), 207);  // bytes are unsigned
    for (int32_t v : {9, 10, 65535, INT32_MAX, -9, -10, -100, INT32_MIN}) EXPECT_EQ(DecimalToInt(IntToDecimal(v)), v);
}

TEST(Decimal, FieldsByNameAndIndex) {
    EXPECT_TRUE(SettingIndex("ShowFPS") == 0 && SettingIndex("TraceLength") == 9);
    EXPECT_TRUE(SettingIndex("tracelength") == -1 && SettingIndex(nullptr) == -1);
    SaverSettings s;
    for (int i = 0; i < SettingCount; ++i) SetSettingValue(s, i, i < 8 ? 5 : -7);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(GetSettingValue(s, i), 1) << SettingNames[i];
    EXPECT_TRUE(s.TraceModeInd == -7 && GetSettingValue(s, 9) == -7);
}

TEST(LoadSettings, DefaultsWithoutKeyOrValue) {
    FakeRegistry reg;
    reg.keyExists = false;
    const SaverSettings s = LoadSettings(reg);
    EXPECT_TRUE(!s.ShowFPS && !s.UnSortPoints && s.MouseSens && !s.Move3D && s.PrimitivePoints && !s.HuesOfGray &&
                s.Trace && !s.ShowClock);
    EXPECT_TRUE(s.TraceModeInd == 2 && s.TraceLength == 1 && reg.closes == 0);

    reg.keyExists = true;
    reg.values = {{"Move3D", "1"}, {"ShowClock", "7"}, {"Trace", "0"}, {"TraceLength", "3"}};
    const SaverSettings t = LoadSettings(reg);
    EXPECT_TRUE(t.Move3D && t.ShowClock && !t.Trace && t.MouseSens);
    EXPECT_TRUE(t.TraceLength == 3 && t.TraceModeInd == 2 && reg.closes == 1);
}

TEST(LoadSettings, EachValueIsReadOnItsOwn) {
    FakeRegistry reg;
    reg.values = {{"ShowFPS", std::string(300, '1')},  // does not fit: default
                  {"UnSortPoints", "1"},
                  {"MouseSens", "77"},
                  {"Move3D", "0"},  // shorter than the one before, no terminator
                  {"TraceModeInd", "12"},
                  {"TraceLength", std::string("3\0", 2)}};
    const SaverSettings s = LoadSettings(reg);
    EXPECT_TRUE(!s.ShowFPS && s.UnSortPoints && s.TraceModeInd == 12 && s.TraceLength == 3);
    EXPECT_FALSE(s.Move3D);  // not "07" left over from "77"
    ASSERT_EQ(reg.offered.size(), 10u);
    for (uint32_t room : reg.offered) EXPECT_EQ(room, SettingBufferSize);

    reg.values = {{"TraceModeInd", std::string(127, '0') + "1"}, {"TraceLength", std::string(129, '0')}};
    const SaverSettings t = LoadSettings(reg);
    EXPECT_EQ(t.TraceModeInd, 1);  // exactly fills the buffer
    EXPECT_EQ(t.TraceLength, 1);   // one byte too long: the default
}

TEST(SaveSettings, OneByteValuesInFieldOrderThatLoadBack) {
    SaverSettings s;
    s.ShowFPS = s.Move3D = s.HuesOfGray = true;
    s.MouseSens = s.Trace = false;
    s.TraceModeInd = -1;
    s.TraceLength = 3;
    FakeRegistry reg;
    reg.keyExists = false;
    SaveSettings(reg, s);
    ASSERT_EQ(reg.writes.size(), 10u);
    for (int i = 0; i < SettingCount; ++i) {
        EXPECT_EQ(reg.writes[i], SettingNames[i]);
        EXPECT_EQ(reg.values[SettingNames[i]].size(), 1u);
    }
    EXPECT_TRUE(reg.values["TraceModeInd"] == "/" && reg.closes == 1);
    const SaverSettings back = LoadSettings(reg);
    for (int i = 0; i < SettingCount; ++i) EXPECT_EQ(GetSettingValue(back, i), GetSettingValue(s, i)) << i;

    FakeRegistry locked;
    locked.keyExists = locked.canCreate = false;
    SaveSettings(locked, s);
    EXPECT_TRUE(locked.values.empty() && locked.closes == 0);
}

}  // namespace
}  // namespace quorvex
