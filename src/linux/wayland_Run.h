// The front end's run on a Wayland compositor.
#pragma once

#include "options.h"
#include "settings.h"

namespace quorvex::linux_host {

// A window or full screen (one surface per output); returns the exit status:
// 2 when there is no compositor or it lacks what the mode needs, 1 when it
// goes away mid-run (as a lost X connection), 0 otherwise.
int RunWayland(const FrontEndOptions& options, SaverSettings& settings, int wakeRead);

}  // namespace quorvex::linux_host
