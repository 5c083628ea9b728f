// The host's module-level state, alive for the whole process.
#include "app_State.h"

#include "frame_Present.h"

namespace quorvex::win32 {

HostState& Host() {
    // Made at run time: a constant-initialised static would put every
    // screen's engine defaults into the file's data, about 150 KB of it.
    static HostState* const state = new HostState;
    return *state;
}

SaverScreen* ScreenOf(HWND window) {
    HostState& host = Host();
    const int count = host.ScreenCount.load(std::memory_order_relaxed);
    for (int i = 0; i < count; ++i) {
        if (window != nullptr && host.Screens[i].Window.load(std::memory_order_relaxed) == window) {
            return &host.Screens[i];
        }
    }
    return nullptr;
}

bool IsPrimary(const SaverScreen& screen) { return &screen == &PrimaryScreen(); }

void SetPaintingAll(bool enabled) {
    HostState& host = Host();
    for (int i = 0; i < host.ScreenCount.load(std::memory_order_relaxed); ++i) host.Screens[i].PaintEnabled = enabled;
}

void BindEngine() {
    HostState& host = Host();
    for (SaverScreen& screen : host.Screens) {
        Engine& e = screen.Animation;
        e.Settings = &host.Settings;
        e.PreviewMode = host.PreviewMode.load(std::memory_order_relaxed);
        e.Ticks = &SystemTicks();
        e.Target = &screen.Target;
    }
    host.ThreadTrace.store(host.Settings.Trace, std::memory_order_relaxed);
}

}  // namespace quorvex::win32
