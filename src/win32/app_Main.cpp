// Entry of Quorvex.scr: seeds the generator, loads the interface strings and
// the settings, then runs the mode the command line names until its end.
// Every mode ends the process with exit code 0.
#include <windows.h>

#include <cstdlib>

#include "app.h"
#include "app_Power.h"
#include "app_State.h"
#include "app_Window.h"
#include "frame_Present.h"
#include "frame_Thread.h"
#include "settings.h"
#include "settings_Win32.h"

namespace quorvex::win32 {

namespace {

uint32_t StartSeed() {
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter)) return static_cast<uint32_t>(counter.LowPart);
    return GetTickCount();
}

void LoadUiStrings() {
    UiStrings& strings = Host().Strings;
    for (int id = 1; id <= 8; ++id) {
        char buffer[128] = {};
        LoadStringA(Host().Instance, static_cast<UINT>(id), buffer, sizeof buffer);
        lstrcpynA(strings.text[id], buffer, sizeof strings.text[id]);
    }
}

void ShowStartFailure(int stringId) { MessageBoxA(nullptr, Host().Strings[stringId], SaverName, MB_OK | MB_ICONHAND); }

void RunMessageLoop() {
    MSG msg;
    // GetMessageA reports an error as -1; only a real message goes on.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void SetSaverRunning(UINT running) {
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running, &previous, 0);
}

// Saver mode: one hidden window per monitor, each given its monitor's
// rectangle (a maximised popup is not sized without a window manager); the
// WM_SIZE that brings builds its surface. Only then are they shown and
// painted, the primary first and active, so every screen is ready before the
// first paint of any.
bool CreateSaverWindows(HostState& host) {
    RECT monitors[MaxScreens];
    const int count = EnumerateMonitors(monitors, MaxScreens);
    host.ScreenCount.store(count, std::memory_order_relaxed);
    for (int i = 0; i < count; ++i) {
        SaverScreen& screen = host.Screens[i];
        screen.Bounds = monitors[i];
        HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, SaverName, SaverName, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      host.Instance, &screen);
        if (window == nullptr) return false;
        SetWindowPos(window, HWND_TOPMOST, screen.Bounds.left, screen.Bounds.top,
                     screen.Bounds.right - screen.Bounds.left, screen.Bounds.bottom - screen.Bounds.top,
                     SWP_NOACTIVATE);
    }
    ShowCursor(FALSE);
    for (int i = 0; i < count; ++i) {
        ShowWindow(host.Screens[i].Window.load(std::memory_order_relaxed), i == 0 ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    }
    for (int i = 0; i < count; ++i) UpdateWindow(host.Screens[i].Window.load(std::memory_order_relaxed));
    WatchDisplayState(PrimaryWindow());
    return true;
}

void RunWindowMode(const RunRequest& request) {
    HostState& host = Host();
    const bool preview = request.mode == RunMode::Preview;
    // One saver or preview at a time.
    if (FindWindowA(SaverName, SaverName) != nullptr) return;
    if (!RegisterSaverClass()) {
        ShowStartFailure(2);
        return;
    }

    HWND parent = nullptr;
    RECT previewRect{0, 0, 0, 0};
    HWND previousActive = nullptr;
    if (preview) {
        parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.window));
        GetWindowRect(parent, &previewRect);
        host.PreviewMode.store(true, std::memory_order_relaxed);
    } else {
        previousActive = GetActiveWindow();
        // The taskbar is never reactivated.
        if (previousActive == FindWindowA("Shell_TrayWnd", nullptr)) previousActive = nullptr;
    }
    BindEngine();

    if (preview) {
        HWND window = CreateWindowExA(0, SaverName, SaverName, WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0,
                                      previewRect.right - previewRect.left, previewRect.bottom - previewRect.top,
                                      parent, nullptr, host.Instance, &PrimaryScreen());
        if (window == nullptr) {
            ShowStartFailure(3);
            return;
        }
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    } else if (!CreateSaverWindows(host)) {
        ShowStartFailure(3);
        return;
    }

    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, AnimationThreadProc, nullptr, 0, &threadId);

    if (!preview) SetSaverRunning(1);
    RunMessageLoop();
    SetSaverRunning(0);
    SetActiveWindow(previousActive);
    // The thread leaves its loop within one repaint period once StopThread is
    // set. Ending the process while the thread is inside a system call makes
    // the system kill it there; on a busy machine under Wine an exit that
    // slow has been seen to end the saver by SIGKILL instead of exit code 0.
    host.StopThread.store(true, std::memory_order_relaxed);
    if (thread != nullptr) {
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
}

int Run() {
    HostState& host = Host();
    host.Instance = GetModuleHandleA(nullptr);
    // Each screen draws its own sequence: seeds a fixed odd step apart.
    const uint32_t seed = StartSeed();
    for (uint32_t i = 0; i < MaxScreens; ++i) host.Screens[i].Animation.Random.RandomSeed = seed + i * 0x9E3779B9u;
    LoadUiStrings();
    LoadClockFormat();
    const RunRequest request = DecideRunMode(__argc, __argv);
    RegistrySettings registry;
    host.Settings = LoadSettings(registry);

    switch (request.mode) {
        case RunMode::ChangePassword:
            ChangeSaverPassword(request.window);
            SetActiveWindow(nullptr);
            break;
        case RunMode::Configure:
            RunConfigDialog(reinterpret_cast<HWND>(static_cast<uintptr_t>(request.window)));
            SetActiveWindow(nullptr);
            break;
        case RunMode::Saver:
        case RunMode::Preview:
            RunWindowMode(request);
            break;
    }
    return 0;
}

}  // namespace

}  // namespace quorvex::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    quorvex::win32::Run();
    ExitProcess(0);
}
