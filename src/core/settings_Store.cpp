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

int32_t GetSettingValue(const SaverSettings& s, int index) {
    switch (index) {
        case 0:
            return s.ShowFPS ? 1 : 0;
        case 1:
            return s.UnSortPoints ? 1 : 0;
        case 2:
            return s.MouseSens ? 1 : 0;
        case 3:
            return s.Move3D ? 1 : 0;
        case 4:
            return s.PrimitivePoints ? 1 : 0;
        case 5:
            return s.HuesOfGray ? 1 : 0;
        case 6:
            return s.Trace ? 1 : 0;
        case 7:
            return s.ShowClock ? 1 : 0;
        case 8:
            return s.TraceModeInd;
        case 9:
            return s.TraceLength;
        default:
            return 0;
    }
}

void SetSettingValue(SaverSettings& s, int index, int32_t value) {
    const bool on = value != 0;
    switch (index) {
        case 0:
            s.ShowFPS = on;
            break;
        case 1:
            s.UnSortPoints = on;
            break;
        case 2:
            s.MouseSens = on;
            break;
        case 3:
            s.Move3D = on;
            break;
        case 4:
            s.PrimitivePoints = on;
            break;
        case 5:
            s.HuesOfGray = on;
            break;
        case 6:
            s.Trace = on;
            break;
        case 7:
            s.ShowClock = on;
            break;
        case 8:
            s.TraceModeInd = value;
            break;
        case 9:
            s.TraceLength = value;
            break;
        default:
            break;
    }
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
