// The GDI half of a paint and the host's clock sources.
#pragma once

#include "frame.h"

namespace quorvex::win32 {

// WM_PAINT with painting on and a surface present: one PaintFrame.
void PaintSaverFrame();

// The engine's clock: GetTickCount.
TickSource& SystemTicks();

// Reads the user's long time format from the locale, once at start.
void LoadClockFormat();

}  // namespace quorvex::win32
