// The host's module-level state, alive for the whole process.
#include "app_State.h"

#include "app_Surface.h"
#include "frame_Present.h"

namespace quorvex::win32 {

HostState& Host() {
    static HostState state;
    return state;
}

void BindEngine() {
    HostState& host = Host();
    Engine& e = host.Animation;
    e.Settings = &host.Settings;
    e.PreviewMode = host.PreviewMode.load(std::memory_order_relaxed);
    e.Ticks = &SystemTicks();
    e.Target = &SurfaceTarget();
    host.ThreadTrace.store(host.Settings.Trace, std::memory_order_relaxed);
}

}  // namespace quorvex::win32
