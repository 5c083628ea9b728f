// Small pieces every Windows test driver needs: result lines for the test
// script, and a message pump that waits for a condition with a deadline.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace quorvex::drivers {

// One "key value" line on stdout, flushed at once: the script may be
// polling for it while the driver waits.
inline void Report(const char* key, const std::string& value) {
    std::printf("%s %s\n", key, value.c_str());
    std::fflush(stdout);
}

inline bool Ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// Runs this thread's messages until `done` holds or `ms` have passed: an
// owner or a parent must answer the messages another process sends it.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// A stand-in for the display-properties dialog: a top-level window with a
// child box of width x height at (30, 30), the window a preview is given.
struct PreviewBox {
    HWND top = nullptr;
    HWND box = nullptr;
};
inline PreviewBox MakePreviewBox(const char* className, const char* title, int width, int height) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    PreviewBox b;
    b.top = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, width + 120, height + 120,
                            nullptr, nullptr, instance, nullptr);
    b.box = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30, width, height, b.top,
                            nullptr, instance, nullptr);
    return b;
}

}  // namespace quorvex::drivers
