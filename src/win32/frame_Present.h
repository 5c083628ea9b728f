// The GDI half of a paint and the host's clock sources.
#pragma once

#include "app_State.h"
#include "frame.h"

namespace quorvex::win32 {

// WM_PAINT with painting on and the screen's surface present: one PaintFrame
// of that screen's engine.
void PaintSaverFrame(SaverScreen& screen);

// The engine's clock: GetTickCount.
TickSource& SystemTicks();

// Reads the user's long time format from the locale, once at start.
void LoadClockFormat();

}  // namespace quorvex::win32
