// Test host for the preview mode: plays the display-properties window. It
// makes a top-level window with a child box (152 x 112 unless told
// otherwise), starts the saver with "/p <box handle>", and reports on stdout,
// one "key value" line each, what it finds: the saver's window inside the
// box, its size and styles, whether keys and clicks leave it running, and
// whether it ends when the box is destroyed.
//
// Usage: preview_host.exe <saver> [width height] [--hold-ms N]
//   --hold-ms N: keep the preview running N ms before the input checks.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver_util.h"

using namespace quorvex::drivers;

namespace {

constexpr char SaverName[] = "Quorvex Screen Saver";

std::string Number(long long n) { return std::to_string(n); }

std::string Hex(unsigned long n) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", n);
    return text;
}

std::string ExitCodeText(HANDLE process) {
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return Number(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview_host <saver> [width height] [--hold-ms N]\n");
        return 2;
    }
    const char* saver = argv[1];
    int width = 152;
    int height = 112;
    DWORD holdMs = 0;
    int positional = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hold-ms") == 0 && i + 1 < argc) {
            holdMs = static_cast<DWORD>(std::atoi(argv[++i]));
        } else if (positional == 0) {
            width = std::atoi(argv[i]);
            ++positional;
        } else {
            height = std::atoi(argv[i]);
            ++positional;
        }
    }

    const PreviewBox window = MakePreviewBox("QuorvexPreviewHost", "Quorvex Preview Host", width, height);
    HWND top = window.top;
    HWND box = window.box;
    RECT boxClient{};
    GetClientRect(box, &boxClient);
    Report("box_hwnd", Number(reinterpret_cast<uintptr_t>(box)));
    Report("box_client", Number(boxClient.right) + "x" + Number(boxClient.bottom));

    std::string command = std::string("\"") + saver + "\" /p " + Number(reinterpret_cast<uintptr_t>(box));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Report("started", "no");
        return 1;
    }
    Report("started", "yes");

    HWND child = nullptr;
    PumpUntil(20000, [&] {
        child = FindWindowExA(box, nullptr, SaverName, SaverName);
        return child != nullptr || Ended(pi.hProcess);
    });
    Report("saver_window", child != nullptr ? "found" : "missing");
    if (child == nullptr) {
        Report("saver_exit", Ended(pi.hProcess) ? ExitCodeText(pi.hProcess) : "running");
        TerminateProcess(pi.hProcess, 1);
        return 1;
    }

    // The window is found while it is still being created; WS_VISIBLE comes
    // with its creation's end.
    PumpUntil(5000, [&] { return (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0 || Ended(pi.hProcess); });
    RECT client{};
    GetClientRect(child, &client);
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&rect), 2);
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    Report("saver_client", Number(client.right - client.left) + "x" + Number(client.bottom - client.top));
    Report("saver_position", Number(rect.left) + "," + Number(rect.top));
    Report("saver_style", Hex(static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE))));
    Report("saver_exstyle", Hex(static_cast<unsigned long>(GetWindowLongA(child, GWL_EXSTYLE))));
    Report("saver_parent_is_box", GetParent(child) == box ? "yes" : "no");
    Report("saver_process", owner == pi.dwProcessId ? "saver" : "other");

    // Let it animate for a while: a crash in the paint path ends it here.
    PumpUntil(holdMs, [&] { return Ended(pi.hProcess); });
    Report("alive_after_hold", Ended(pi.hProcess) ? "no" : "yes");

    // Keys, clicks and moves go to a preview unnoticed.
    PostMessageA(child, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageA(child, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(child, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    PostMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
    PostMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(100, 90));
    // The messages are handled in order; a sent message after them returns
    // once they have all been seen.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(child, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    const bool endedByInput = PumpUntil(1000, [&] { return Ended(pi.hProcess); });
    Report("alive_after_input", endedByInput ? "no" : "yes");
    Report("saver_window_after_input", IsWindow(child) ? "yes" : "no");

    // The display-properties window closes the preview by destroying the box.
    DestroyWindow(box);
    const bool ended = PumpUntil(10000, [&] { return Ended(pi.hProcess); });
    Report("exit_after_destroy", ended ? ExitCodeText(pi.hProcess) : "timeout");
    if (!ended) TerminateProcess(pi.hProcess, 1);
    DestroyWindow(top);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}
