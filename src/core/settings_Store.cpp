// The ten options in their stored text form and the load and save over the
// registry interface. The decimal conversions are the program's own: no
// sign, no validation, so a negative value round-trips through odd text.
#include <cstring>

#include "settings.h"

namespace quorvex {

const char* const SettingNames[SettingCount] = {"ShowFPS",         "UnSortPoints", "MouseSens", "Move3D",
                                                "PrimitivePoints", "HuesOfGray",   "Trace",     "ShowClock",
                                                "TraceModeInd",    "TraceLength"};

size_t IntToDecimal(int32_t value, char* out) {
    // Digits are produced from the last; a negative value yields remainders
    // -9..-1, which land on the characters below '0' ("/" for -1).
    char reversed[12];
    size_t n = 0;
    do {
        const int32_t remainder = value % 10;
        value /= 10;
        reversed[n++] = static_cast<char>(48 + remainder);
    } while (value != 0);
    for (size_t i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
    return n;
}

std::string IntToDecimal(int32_t value) {
    char text[12];
    const size_t n = IntToDecimal(value, text);
    return std::string(text, n);
}

int32_t DecimalToInt(const char* text, size_t length) {
    // Unsigned arithmetic wraps like the 32-bit registers it mirrors.
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        value = value * 10u + (static_cast<uint32_t>(c) - 48u);
    }
    return static_cast<int32_t>(value);
}

namespace {

// The eight switches in field order; the two numbers follow them.
constexpr bool SaverSettings::*Switches[] = {
    &SaverSettings::ShowFPS,         &SaverSettings::UnSortPoints, &SaverSettings::MouseSens, &SaverSettings::Move3D,
    &SaverSettings::PrimitivePoints, &SaverSettings::HuesOfGray,   &SaverSettings::Trace,     &SaverSettings::ShowClock,
};
constexpr int SwitchCount = 8;

}  // namespace

int32_t GetSettingValue(const SaverSettings& s, int index) {
    if (index >= 0 && index < SwitchCount) return s.*Switches[index] ? 1 : 0;
    if (index == 8) return s.TraceModeInd;
    if (index == 9) return s.TraceLength;
    return 0;
}

void SetSettingValue(SaverSettings& s, int index, int32_t value) {
    if (index >= 0 && index < SwitchCount) s.*Switches[index] = value != 0;
    if (index == 8) s.TraceModeInd = value;
    if (index == 9) s.TraceLength = value;
}

int SettingIndex(const char* name) {
    if (name == nullptr) return -1;
    for (int i = 0; i < SettingCount; ++i) {
        if (std::strcmp(name, SettingNames[i]) == 0) return i;
    }
    return -1;
}

SaverSettings LoadSettings(SettingsRegistry& reg) {
    SaverSettings s;  // the defaults
    if (!reg.OpenKey()) return s;
    for (int i = 0; i < SettingCount; ++i) {
        // A fresh buffer and the full room for every value: what one value
        // left behind (its length, its bytes) never shapes the next read.
        uint8_t data[SettingBufferSize] = {};
        uint32_t length = SettingBufferSize;
        if (reg.QueryValue(SettingNames[i], data, &length) != QuerySuccess) continue;
        size_t end = length < SettingBufferSize ? length : SettingBufferSize;
        const void* zero = std::memchr(data, 0, end);
        if (zero != nullptr) end = static_cast<size_t>(static_cast<const uint8_t*>(zero) - data);
        SetSettingValue(s, i, DecimalToInt(reinterpret_cast<const char*>(data), end));
    }
    reg.CloseKey();
    return s;
}

void SaveSettings(SettingsRegistry& reg, const SaverSettings& s) {
    if (!reg.OpenKey() && !reg.CreateKey()) return;
    for (int i = 0; i < SettingCount; ++i) {
        char text[12];
        const size_t n = IntToDecimal(GetSettingValue(s, i), text);
        // The stored length counts the characters only, no terminating zero.
        reg.SetValue(SettingNames[i], text, static_cast<uint32_t>(n));
    }
    reg.CloseKey();
}

}  // namespace quorvex
