// The saver window: class registration and window procedure.
#pragma once

#include <windows.h>

namespace quorvex::win32 {

// Registers the "Quorvex Screen Saver" class; false when the system refuses.
bool RegisterSaverClass();
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_DESTROY: stops the thread, frees the surface, ends the message loop.
void TearDownSaver();

}  // namespace quorvex::win32
