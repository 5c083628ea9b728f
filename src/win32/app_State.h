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

// The engine draws through this: the surface's DIB section pixels and colour
// table with Trace, opaque fills on its MemoryDC without (app_Surface.cpp).
class FrameSurfaceTarget final : public DrawTarget {
public:
    explicit FrameSurfaceTarget(FrameSurface& surface) : surface_(surface) {}
    IndexedPixels Pixels() override;
    void SetColourTable(const ColourEntry (&table)[256]) override;
    void FillRect(const Rect& r, PackedColour colour) override;

private:
    FrameSurface& surface_;
};

// One saver window with its own animation: one per monitor in Saver mode,
// the only one in Preview. Screen 0 is the primary monitor's: it carries the
// clock and the FPS text, and its window is the one the password check, the
// single-instance test and the close path go through (PrimaryWindow).
struct SaverScreen {
    std::atomic<HWND> Window{nullptr};
    // The monitor's rectangle in virtual-screen coordinates (Saver mode).
    RECT Bounds{0, 0, 0, 0};
    Engine Animation;
    PaintState Paint;
    FrameSurface Surface;
    FrameSurfaceTarget Target{Surface};
    // Window-thread only, per screen: one screen's 0 x 0 resize must not stop
    // the others. SurfaceReady: a surface exists (WM_SETFOCUS may switch
    // painting back on); PaintEnabled: the paint handler may draw.
    bool SurfaceReady = false;
    bool PaintEnabled = false;
};

// Monitors beyond this many stay uncovered.
inline constexpr int MaxScreens = 16;

struct HostState {
    HINSTANCE Instance = nullptr;
    std::atomic<int> ScreenCount{1};
    std::atomic<bool> PreviewMode{false};
    std::atomic<bool> StopThread{false};
    // Trace as the animation thread sees it (picks its period).
    std::atomic<bool> ThreadTrace{true};
    // The display is off: no frame is stepped or painted until it is back.
    std::atomic<bool> DisplayOff{false};
    int32_t MouseMoveCount = -1;
    POINT LastMousePos{0, 0};
    SaverSettings Settings;
    UiStrings Strings;

    // Window-thread only.
    SaverScreen Screens[MaxScreens];
    ClockFormat Clock;
};

HostState& Host();
inline SaverScreen& PrimaryScreen() { return Host().Screens[0]; }
inline HWND PrimaryWindow() { return PrimaryScreen().Window.load(std::memory_order_relaxed); }
// The screen whose window this is; null for a window not (yet) ours.
SaverScreen* ScreenOf(HWND window);
bool IsPrimary(const SaverScreen& screen);
// Painting of every screen off (password prompt, teardown) or back on.
void SetPaintingAll(bool enabled);

// Points every screen's engine at the host's settings, clock and its own
// surface; called once before the windows exist.
void BindEngine();

}  // namespace quorvex::win32
