// Test-only host that asks a running preview to close the way the system
// asks any window: it plays the display-properties window (a top-level
// window with a 152 x 112 box), starts the saver with "/p <box>", then posts
// WM_CLOSE to the saver's window inside the box. A preview must close at
// once, without consulting the screen-saver password. Lines on stdout:
//   saver_window found|missing
//   exit_after_close <code>|timeout
//
// Usage: preview_driver.exe <saver>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "driver_util.h"

using namespace quorvex::drivers;

namespace {

constexpr char SaverName[] = "Quorvex Screen Saver";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview_driver <saver>\n");
        return 2;
    }
    const PreviewBox window = MakePreviewBox("QuorvexPreviewCloser", "Quorvex Preview Closer", 152, 112);
    HWND top = window.top;
    HWND box = window.box;

    std::string command = std::string("\"") + argv[1] + "\" /p " + std::to_string(reinterpret_cast<uintptr_t>(box));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Report("saver_window", "missing");
        return 1;
    }
    HWND saver = nullptr;
    PumpUntil(20000, [&] {
        saver = FindWindowExA(box, nullptr, SaverName, SaverName);
        return (saver != nullptr && (GetWindowLongA(saver, GWL_STYLE) & WS_VISIBLE) != 0) || Ended(pi.hProcess);
    });
    Report("saver_window", saver != nullptr ? "found" : "missing");
    int result = 1;
    if (saver != nullptr) {
        PostMessageA(saver, WM_CLOSE, 0, 0);
        if (PumpUntil(10000, [&] { return Ended(pi.hProcess); })) {
            DWORD code = 0;
            GetExitCodeProcess(pi.hProcess, &code);
            Report("exit_after_close", std::to_string(code));
            result = 0;
        } else {
            Report("exit_after_close", "timeout");
        }
    }
    DestroyWindow(box);
    if (!PumpUntil(10000, [&] { return Ended(pi.hProcess); })) TerminateProcess(pi.hProcess, 1);
    DestroyWindow(top);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}
