// Settings-side services of the Windows host: the registry store, the
// configuration dialog and the screen-saver password hooks.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings.h"

namespace quorvex::win32 {

// HKEY_CURRENT_USER\Software\Quorvex through advapi32.
class RegistrySettings final : public SettingsRegistry {
public:
    bool OpenKey() override;
    bool CreateKey() override;
    long QueryValue(const char* name, uint8_t* data, uint32_t* length) override;
    void SetValue(const char* name, const char* text, uint32_t length) override;
    void CloseKey() override;

private:
    HKEY key_ = nullptr;
};

// Configure mode: registers the trackbar class, shows the dialog named by
// UiStrings 5 with the given owner; OK saves the settings.
void RunConfigDialog(HWND owner);
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Password-change mode: PwdChangePasswordA("SCRSAVE", parent, 0, 0).
void ChangeSaverPassword(uint32_t parent);
// Before the full-screen saver closes: true when it may close.
bool VerifySaverPassword();
// True while the system's password prompt is up: painting stays off.
bool PasswordPromptOpen();

}  // namespace quorvex::win32
