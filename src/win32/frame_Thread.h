// The animation thread that paces the repaints.
#pragma once

#include <windows.h>

namespace quorvex::win32 {

// Asks for a repaint of every screen's window every 10 ms (30 ms with Trace) until
// StopThread is set; never draws.
DWORD WINAPI AnimationThreadProc(LPVOID parameter);

}  // namespace quorvex::win32
