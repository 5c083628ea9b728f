// The screen-saver password services of the system, looked up at run time:
// the password-change dialog in MPR.DLL and the password prompt in
// PASSWORD.CPL. The saver keeps no password of its own; a missing module or
// export counts as "no password".
#include <windows.h>

#include <cstdint>

#include "app_State.h"
#include "settings_Win32.h"

namespace quorvex::win32 {
namespace {

using PwdChangePasswordProc = DWORD(WINAPI*)(LPCSTR component, HWND parent, DWORD reserved1, DWORD reserved2);
using VerifyScreenSavePwdProc = BOOL(WINAPI*)(HWND window);

// True while the system's prompt is up. The prompt runs its own message loop
// on the saver's thread, so close requests (the prompt's own focus change
// among them) reach the saver window during it; they must not stack a second
// prompt on the first. Window thread only.
bool promptOpen = false;

// The 16-bit heritage of LoadLibrary: values up to 32 are error codes.
HMODULE LoadService(const char* name) {
    HMODULE module = LoadLibraryA(name);
    if (reinterpret_cast<uintptr_t>(module) <= 32) return nullptr;
    return module;
}

// The per-user switch "ScreenSaveUsePassword" under the open key. Its type is
// not examined: any non-zero byte among the first four means "in use"; a
// value longer than four bytes does not fit and does not count.
bool PasswordInUse(HKEY key) {
    // Zeroed first: a value shorter than four bytes fills only its head.
    uint8_t data[4] = {0, 0, 0, 0};
    DWORD length = sizeof data;
    DWORD type = 0;
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type, data, &length) != ERROR_SUCCESS) {
        return false;
    }
    return (data[0] | data[1] | data[2] | data[3]) != 0;
}

// Close requests still queued when the prompt returns were made while it was
// up (typically by the focus loss the prompt itself caused). Once the user
// has refused, they must not ask again at once: the saver goes back to its
// animation, and only a new key or mouse event asks again.
void DropQueuedCloseRequests(HWND window) {
    MSG message;
    while (PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE | PM_NOYIELD)) {
    }
}

// The prompt, modal to the primary window, disables only that one. The other
// screens' windows would still take mouse moves (hiding the pointer the prompt
// shows), a click (the focus, so typed keys would go to the saver) and, with
// that focus, switch painting back on: they are disabled while it is up.
void EnableOtherScreens(BOOL enable) {
    HostState& host = Host();
    for (int i = 1; i < host.ScreenCount.load(std::memory_order_relaxed); ++i) {
        if (const HWND window = host.Screens[i].Window.load(std::memory_order_relaxed)) EnableWindow(window, enable);
    }
}

bool AskPassword(HMODULE module) {
    HostState& host = Host();
    const auto verify = reinterpret_cast<VerifyScreenSavePwdProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "VerifyScreenSavePwd")));
    const HWND window = PrimaryWindow();
    SetPaintingAll(false);
    EnableOtherScreens(FALSE);
    ShowCursor(TRUE);
    promptOpen = true;
    const bool accepted = verify == nullptr || verify(window) != 0;
    promptOpen = false;
    ShowCursor(FALSE);
    EnableOtherScreens(TRUE);
    SetPaintingAll(true);
    host.MouseMoveCount = 0;
    if (!accepted) DropQueuedCloseRequests(window);
    return accepted;
}

}  // namespace

void ChangeSaverPassword(uint32_t parent) {
    HMODULE module = LoadService("MPR.DLL");
    if (module == nullptr) return;
    const auto change =
        reinterpret_cast<PwdChangePasswordProc>(reinterpret_cast<void*>(GetProcAddress(module, "PwdChangePasswordA")));
    if (change != nullptr) {
        change("SCRSAVE", reinterpret_cast<HWND>(static_cast<uintptr_t>(parent)), 0, 0);
    }
    FreeLibrary(module);
}

bool PasswordPromptOpen() { return promptOpen; }

bool VerifySaverPassword() {
    if (Host().PreviewMode.load(std::memory_order_relaxed)) return true;
    // The prompt that is up decides; this request is dropped.
    if (promptOpen) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return true;
    }
    bool mayClose = true;
    if (PasswordInUse(key)) {
        if (HMODULE module = LoadService("PASSWORD.CPL")) {
            mayClose = AskPassword(module);
            FreeLibrary(module);
        }
    }
    RegCloseKey(key);
    return mayClose;
}

}  // namespace quorvex::win32
