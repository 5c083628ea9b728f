// Host state shared by the window procedure, the surface, the paint path,
// the animation thread and the password hook. The flags the animation
// thread reads are atomics (relaxed): a stale read only delays a change by
// one turn of the thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "RDrawUn.h"
#include "UTypes.h"
#include "frame.h"

namespace quorvex::win32 {

// The saver's one name: window class, window title, what the single-instance
// test looks for and the caption of the start-up messages.
inline constexpr const char* SaverName = "Quorvex Screen Saver";

// The eight user-interface strings, entry n holding string id n (1..8).
struct UiStrings {
    char text[9][128] = {};
    const char* operator[](int id) const { return text[id]; }
};

// The off-screen surface. Bits has Stride bytes per row (an 8-bit DIB pads
// rows to a multiple of 4); only Width x Height is shown.
struct FrameSurface {
    HDC WindowDC = nullptr;
    HDC MemoryDC = nullptr;
    HBITMAP Bitmap = nullptr;
    HFONT ClockFont = nullptr;
    // What MemoryDC held before Bitmap and ClockFont were selected: put back
    // before deletion, since a selected object is not freed.
    HGDIOBJ InitialBitmap = nullptr;
    HGDIOBJ InitialFont = nullptr;
    RECT ClientRect{0, 0, 0, 0};
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t* Bits = nullptr;
    int32_t Stride = 0;
};

// The locale's long time format, read once at start.
struct ClockFormat {
    TimeFormat format;
    char am[16] = "AM";
    char pm[16] = "PM";
};

struct HostState {
    HINSTANCE Instance = nullptr;
    std::atomic<HWND> SaverWindow{nullptr};
    std::atomic<bool> PreviewMode{false};
    std::atomic<bool> PaintEnabled{false};
    std::atomic<bool> SurfaceReady{false};
    std::atomic<bool> StopThread{false};
    // Trace as the animation thread sees it (picks its period).
    std::atomic<bool> ThreadTrace{true};
    int32_t MouseMoveCount = -1;
    POINT LastMousePos{0, 0};
    SaverSettings Settings;
    UiStrings Strings;

    // Window-thread only.
    Engine Animation;
    PaintState Paint;
    FrameSurface Surface;
    ClockFormat Clock;
};

HostState& Host();

// Points the engine at the host's settings, clock and surface; called once
// before the window exists.
void BindEngine();

}  // namespace quorvex::win32
