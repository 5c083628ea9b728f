// The settings store: decimal text form and load/save of the ten options
// over a small registry interface, so the Windows registry, a test's memory
// and the Linux settings file share one reading of the stored text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "UTypes.h"

namespace quorvex {

// No sign, no validation: every character contributes its code minus 48.
std::string IntToDecimal(int32_t value);
// Writes into out (at least 12 bytes), returns the length; no terminator.
size_t IntToDecimal(int32_t value, char* out);
int32_t DecimalToInt(const char* text, size_t length);
inline int32_t DecimalToInt(const std::string& text) { return DecimalToInt(text.data(), text.size()); }

inline constexpr const char* SettingsKeyPath = "Software\\Quorvex";
inline constexpr int SettingCount = 10;
inline constexpr size_t SettingBufferSize = 128;

// Registry value names in field order.
extern const char* const SettingNames[SettingCount];

// Field access by index in field order (0..9).
int32_t GetSettingValue(const SaverSettings& s, int index);
void SetSettingValue(SaverSettings& s, int index, int32_t value);  // booleans: value != 0
int SettingIndex(const char* name);                                 // -1 when unknown

// Result codes of QueryValue, as the registry reports them.
inline constexpr long QuerySuccess = 0;
inline constexpr long QueryNotFound = 2;
inline constexpr long QueryMoreData = 234;

// The registry calls the store makes, on one key (HKCU\Software\Quorvex).
class SettingsRegistry {
public:
    virtual ~SettingsRegistry() = default;
    virtual bool OpenKey() = 0;    // RegOpenKeyExA, KEY_ALL_ACCESS
    virtual bool CreateKey() = 0;  // RegCreateKeyA
    // RegQueryValueExA: on entry *length is the room in data; on return it
    // holds the value's data length, also when it did not fit.
    virtual long QueryValue(const char* name, uint8_t* data, uint32_t* length) = 0;
    virtual void SetValue(const char* name, const char* text, uint32_t length) = 0;  // REG_SZ
    virtual void CloseKey() = 0;
};

// Every value is read on its own: a zeroed 128-byte buffer offered whole, the
// text ending at the first zero byte or the data's end. A value that is
// missing or does not fit keeps its default.
SaverSettings LoadSettings(SettingsRegistry& reg);
void SaveSettings(SettingsRegistry& reg, const SaverSettings& s);

}  // namespace quorvex
