// The saver window's procedure: animation set-up at creation, the surface on
// resize, painting, and every user action turned into a close request.
#include "app_Window.h"

#include "app_Power.h"
#include "app_State.h"
#include "app_Surface.h"
#include "frame_Present.h"
#include "settings_Win32.h"

namespace quorvex::win32 {

namespace {

// Every close request goes to the primary window: its close path asks for
// the password once and its teardown ends every screen.
void RequestClose() {
    // Once the primary window is gone there is nothing left to close.
    if (const HWND primary = PrimaryWindow()) PostMessageA(primary, WM_CLOSE, 0, 0);
}

void OnCreate(SaverScreen& screen) {
    const DWORD fpsTick = GetTickCount();
    const DWORD clockTick = GetTickCount();
    StartPaintState(screen.Paint, fpsTick, clockTick);
    PrepareClouds(screen.Animation);
}

// Saver mode with MouseSens: a move of more than one pixel closes. The first
// message after start (or after a password prompt) only records where the
// pointer is. Positions are kept in virtual-screen terms (the monitor's
// origin added), so a move from one monitor's window to another's counts.
void OnMouseMove(const SaverScreen& screen, LPARAM lParam) {
    HostState& host = Host();
    // Only the window under the pointer: raising every one on each move
    // would reorder the topmost band all the time.
    SetWindowPos(screen.Window.load(std::memory_order_relaxed), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    host.MouseMoveCount += 1;
    const int32_t x = static_cast<int32_t>(static_cast<uint16_t>(lParam & 0xFFFF)) + screen.Bounds.left;
    const int32_t y = static_cast<int32_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFF)) + screen.Bounds.top;
    const int32_t dx = x - host.LastMousePos.x;
    const int32_t dy = y - host.LastMousePos.y;
    if (host.MouseMoveCount > 0 && dx * dx + dy * dy > 1) RequestClose();
    host.LastMousePos = POINT{x, y};
    ShowCursor(FALSE);
}

bool UserInputCloses() { return !Host().PreviewMode.load(std::memory_order_relaxed); }

// The monitors no longer match the screens (one added, removed or moved):
// the windows would leave part of the desktop uncovered.
bool MonitorsChanged() {
    HostState& host = Host();
    RECT now[MaxScreens];
    const int count = EnumerateMonitors(now, MaxScreens);
    if (count != host.ScreenCount.load(std::memory_order_relaxed)) return true;
    for (int i = 0; i < count; ++i) {
        if (!EqualRect(&now[i], &host.Screens[i].Bounds)) return true;
    }
    return false;
}

struct MonitorList {
    RECT* rects;
    int capacity;
    int count;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& list = *reinterpret_cast<MonitorList*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (list.count >= list.capacity || !GetMonitorInfoA(monitor, &info)) return TRUE;
    // The primary monitor goes first: it gets the clock and the FPS text.
    if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
        for (int i = list.count; i > 0; --i) list.rects[i] = list.rects[i - 1];
        list.rects[0] = info.rcMonitor;
    } else {
        list.rects[list.count] = info.rcMonitor;
    }
    ++list.count;
    return TRUE;
}

}  // namespace

int EnumerateMonitors(RECT* rects, int capacity) {
    MonitorList list{rects, capacity, 0};
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list));
    if (list.count > 0) return list.count;
    rects[0] = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return 1;
}

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
    StopWatchingDisplayState();
    host.StopThread.store(true, std::memory_order_relaxed);
    SetPaintingAll(false);
    for (int i = 0; i < host.ScreenCount.load(std::memory_order_relaxed); ++i) {
        SaverScreen& screen = host.Screens[i];
        const HWND window = screen.Window.load(std::memory_order_relaxed);
        FreeFrameSurface(screen, window);
        if (i > 0 && window != nullptr) DestroyWindow(window);
    }
    PostQuitMessage(0);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostState& host = Host();
    if (message == WM_CREATE) {
        // CreateWindowExA has not returned yet: the surface code needs the
        // handle during the WM_SIZE that follows.
        auto& screen = *static_cast<SaverScreen*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        screen.Window.store(window, std::memory_order_relaxed);
        OnCreate(screen);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    SaverScreen* const screen = ScreenOf(window);
    if (screen == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    const bool primary = IsPrimary(*screen);
    switch (message) {
        case WM_DESTROY:
            // The primary's teardown ends every screen; another screen's
            // window only goes within it.
            if (primary) TearDownSaver();
            break;
        case WM_SIZE:
            CreateFrameSurface(*screen, window);
            break;
        case WM_SETFOCUS:
            // The focus may come back to a saver window while the password
            // prompt is still up (a prompt not modal to it, a click): the
            // picture stays still until the prompt has gone.
            if (screen->SurfaceReady && !PasswordPromptOpen()) screen->PaintEnabled = true;
            break;
        case WM_KILLFOCUS:
            // The focus moving on to another of the saver's own windows is
            // no reason to stop.
            if (ScreenOf(reinterpret_cast<HWND>(wParam)) == nullptr) RequestClose();
            break;
        case WM_CLOSE:
            if (!primary) {
                RequestClose();
                return 0;
            }
            // A refused password keeps the saver running.
            if (!VerifySaverPassword()) return 0;
            break;
        case WM_PAINT:
            PaintSaverFrame(*screen);
            break;
        case WM_POWERBROADCAST: {
            bool off = false;
            if (!DisplayStateChange(wParam, lParam, off)) break;
            host.DisplayOff.store(off, std::memory_order_relaxed);
            for (int i = 0; i < host.ScreenCount.load(std::memory_order_relaxed); ++i) {
                // The frame already prepared goes to the screen before the
                // pause, so the screen keeps the last picture stepped. What a
                // display shows when it wakes is not ours to rely on: the
                // first frame after goes whole.
                if (off) {
                    PaintSaverFrame(host.Screens[i]);
                } else {
                    host.Screens[i].Animation.Changed.whole = true;
                }
            }
            return TRUE;
        }
        case WM_DISPLAYCHANGE:
            if (UserInputCloses() && MonitorsChanged()) RequestClose();
            break;
        case WM_NCDESTROY:
            screen->PaintEnabled = false;
            screen->Window.store(nullptr, std::memory_order_relaxed);
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (UserInputCloses()) RequestClose();
            break;
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE) return 0;
            if (wParam == SC_CLOSE || wParam == SC_KEYMENU) RequestClose();
            break;
        case WM_MOUSEMOVE:
            if (UserInputCloses() && host.Settings.MouseSens) OnMouseMove(*screen, lParam);
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace quorvex::win32
