// Host state shared by the window procedure, the surface, the paint path,
// the animation thread and the password hook. The flags the animation
// thread reads are atomics (relaxed): a stale read only delays a change by
// one turn of the thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "UTypes.h"

namespace quorvex::win32 {

// The eight user-interface strings, entry n holding string id n (1..8).
struct UiStrings {
    char text[9][128] = {};
    const char* operator[](int id) const { return text[id]; }
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
};

HostState& Host();

}  // namespace quorvex::win32
