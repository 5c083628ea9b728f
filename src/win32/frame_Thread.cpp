// The animation thread only paces the repaints: every drawing happens on
// the window's thread in the paint handler.
#include "frame_Thread.h"

#include <windows.h>

#include "app_State.h"
#include "frame.h"

namespace quorvex::win32 {

DWORD WINAPI AnimationThreadProc(LPVOID) {
    HostState& host = Host();
    do {
        const DWORD t0 = GetTickCount();
        // One thread paces every screen, so all monitors step together. The
        // paint it asks for invalidates nothing: the update region a paint
        // finds is then only what the system wants repainted.
        const int count =
            host.DisplayOff.load(std::memory_order_relaxed) ? 0 : host.ScreenCount.load(std::memory_order_relaxed);
        for (int i = 0; i < count; ++i) {
            // The teardown may have cleared this screen's window during the
            // turn: a null handle would repaint every window on the desktop.
            if (const HWND window = host.Screens[i].Window.load(std::memory_order_relaxed)) {
                RedrawWindow(window, nullptr, nullptr, RDW_INTERNALPAINT);
            }
        }
        const uint32_t period = RepaintPeriod(host.ThreadTrace.load(std::memory_order_relaxed));
        Sleep(RepaintWait(period, GetTickCount() - t0));
    } while (!host.StopThread.load(std::memory_order_relaxed));
    return 0;
}

}  // namespace quorvex::win32
