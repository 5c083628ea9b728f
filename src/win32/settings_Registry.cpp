// The settings store's registry calls: HKEY_CURRENT_USER\Software\Quorvex.
#include <windows.h>

#include "settings_Win32.h"

namespace quorvex::win32 {

bool RegistrySettings::OpenKey() {
    key_ = nullptr;
    return RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_ALL_ACCESS, &key_) == ERROR_SUCCESS;
}

bool RegistrySettings::CreateKey() {
    key_ = nullptr;
    return RegCreateKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &key_) == ERROR_SUCCESS;
}

long RegistrySettings::QueryValue(const char* name, uint8_t* data, uint32_t* length) {
    DWORD type = REG_NONE;
    DWORD room = *length;
    const LONG result = RegQueryValueExA(key_, name, nullptr, &type, data, &room);
    *length = room;
    if (result != ERROR_SUCCESS) return result;
    // Only decimal text counts. A number stored as REG_DWORD or binary data
    // would otherwise read as odd characters and silently flip an option,
    // and an empty text would read as 0: both keep the default instead.
    if (type != REG_SZ || room == 0 || data[0] == 0) return QueryNotFound;
    return QuerySuccess;
}

void RegistrySettings::SetValue(const char* name, const char* text, uint32_t length) {
    RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), length);
}

void RegistrySettings::CloseKey() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
}

}  // namespace quorvex::win32
