// The saver window's procedure: animation set-up at creation, the surface on
// resize, painting, and every user action turned into a close request.
#include "app_Window.h"

#include "app_State.h"
#include "app_Surface.h"
#include "frame_Present.h"
#include "settings_Win32.h"

namespace quorvex::win32 {

namespace {

void RequestClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void KeepTopmost() {
    SetWindowPos(Host().SaverWindow.load(std::memory_order_relaxed), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void OnCreate() {
    HostState& host = Host();
    const DWORD fpsTick = GetTickCount();
    const DWORD clockTick = GetTickCount();
    StartPaintState(host.Paint, fpsTick, clockTick);
    PrepareClouds(host.Animation);
}

// Saver mode with MouseSens: a move of more than one pixel closes. The first
// message after start (or after a password prompt) only records where the
// pointer is.
void OnMouseMove(HWND window, LPARAM lParam) {
    HostState& host = Host();
    KeepTopmost();
    host.MouseMoveCount += 1;
    const int32_t x = static_cast<int32_t>(static_cast<uint16_t>(lParam & 0xFFFF));
    const int32_t y = static_cast<int32_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFF));
    const int32_t dx = x - host.LastMousePos.x;
    const int32_t dy = y - host.LastMousePos.y;
    if (host.MouseMoveCount > 0 && dx * dx + dy * dy > 1) RequestClose(window);
    host.LastMousePos = POINT{x, y};
    ShowCursor(FALSE);
}

bool UserInputCloses() { return !Host().PreviewMode.load(std::memory_order_relaxed); }

}  // namespace

bool RegisterSaverClass() {
    HostState& host = Host();
    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = SaverWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = host.Instance;
    wc.hIcon = LoadIconA(host.Instance, "MAINICON");
    wc.hCursor = nullptr;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = SaverName;
    return RegisterClassA(&wc) != 0;
}

void TearDownSaver() {
    HostState& host = Host();
    host.StopThread.store(true, std::memory_order_relaxed);
    host.PaintEnabled.store(false, std::memory_order_relaxed);
    FreeFrameSurface(host.SaverWindow.load(std::memory_order_relaxed));
    PostQuitMessage(0);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostState& host = Host();
    switch (message) {
        case WM_CREATE:
            // CreateWindowExA has not returned yet: the surface code needs
            // the handle during the WM_SIZE that follows.
            host.SaverWindow.store(window, std::memory_order_relaxed);
            OnCreate();
            break;
        case WM_DESTROY:
            TearDownSaver();
            break;
        case WM_SIZE:
            CreateFrameSurface(window);
            break;
        case WM_SETFOCUS:
            if (host.SurfaceReady.load(std::memory_order_relaxed)) {
                host.PaintEnabled.store(true, std::memory_order_relaxed);
            }
            break;
        case WM_KILLFOCUS:
            RequestClose(window);
            break;
        case WM_CLOSE:
            // A refused password keeps the saver running.
            if (!VerifySaverPassword()) return 0;
            break;
        case WM_PAINT:
            PaintSaverFrame();
            break;
        case WM_NCDESTROY:
            host.PaintEnabled.store(false, std::memory_order_relaxed);
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (UserInputCloses()) RequestClose(window);
            break;
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE) return 0;
            if (wParam == SC_CLOSE || wParam == SC_KEYMENU) RequestClose(window);
            break;
        case WM_MOUSEMOVE:
            if (UserInputCloses() && host.Settings.MouseSens) OnMouseMove(window, lParam);
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace quorvex::win32
