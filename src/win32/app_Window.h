// The saver window: class registration and window procedure.
#pragma once

#include <windows.h>

namespace quorvex::win32 {

// Registers the "Quorvex Screen Saver" class; false when the system refuses.
bool RegisterSaverClass();
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The primary window's WM_DESTROY: stops the thread, frees every surface,
// destroys the other screens' windows, ends the message loop.
void TearDownSaver();
// The monitors' rectangles, the primary first, at most `capacity`; the
// whole screen as one when none can be listed. Returns how many.
int EnumerateMonitors(RECT* rects, int capacity);

}  // namespace quorvex::win32
