// The display-state notifications, looked up at run time: user32 of XP has
// no RegisterPowerSettingNotification, and an import of it would keep the
// saver from loading there.
#include "app_Power.h"

#include <cstring>

namespace quorvex::win32 {

namespace {

// GUID_CONSOLE_DISPLAY_STATE; its data is a DWORD: 0 off, 1 on, 2 dimmed.
constexpr GUID ConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr WPARAM PowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE

// POWERBROADCAST_SETTING, which older headers lack.
struct PowerSetting {
    GUID setting;
    DWORD length;
    UCHAR data[1];
};

using RegisterFn = HANDLE(WINAPI*)(HANDLE, const GUID*, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HANDLE);

HANDLE Registration = nullptr;

void* User32(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : nullptr;
}

}  // namespace

void WatchDisplayState(HWND window) {
    auto registerFn = reinterpret_cast<RegisterFn>(User32("RegisterPowerSettingNotification"));
    // DEVICE_NOTIFY_WINDOW_HANDLE: the messages go to the window.
    if (registerFn != nullptr && Registration == nullptr) Registration = registerFn(window, &ConsoleDisplayState, 0);
}

void StopWatchingDisplayState() {
    auto unregisterFn = reinterpret_cast<UnregisterFn>(User32("UnregisterPowerSettingNotification"));
    if (unregisterFn != nullptr && Registration != nullptr) unregisterFn(Registration);
    Registration = nullptr;
}

bool DisplayStateChange(WPARAM wParam, LPARAM lParam, bool& off) {
    const auto* p = reinterpret_cast<const PowerSetting*>(lParam);
    if (wParam != PowerSettingChange || p == nullptr ||
        std::memcmp(&p->setting, &ConsoleDisplayState, sizeof(GUID)) != 0 || p->length < sizeof(DWORD))
        return false;
    DWORD state = 0;
    std::memcpy(&state, p->data, sizeof state);
    off = state == 0;
    return true;
}

}  // namespace quorvex::win32
