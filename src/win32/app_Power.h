// Whether the console display is on: the saver stops drawing while it is off.
#pragma once

#include <windows.h>

namespace quorvex::win32 {

// Asks for the display-state notifications (Vista and later) for `window`;
// where the system lacks them (XP) the saver never pauses.
void WatchDisplayState(HWND window);
void StopWatchingDisplayState();

// A WM_POWERBROADCAST: true when it reports the display's state, with `off`
// set (dimmed counts as on).
bool DisplayStateChange(WPARAM wParam, LPARAM lParam, bool& off);

}  // namespace quorvex::win32
