// The connection to the Wayland compositor: the globals the saver binds
// and the outputs in the order the compositor lists them, kept up to date
// while the saver runs (outputs come and go with monitors that sleep).
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "options.h"

struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;
struct zxdg_decoration_manager_v1;

namespace quorvex::linux_host {

struct WaylandClient;

struct WaylandOutput {
    WaylandClient* client = nullptr;
    wl_output* output = nullptr;
    uint32_t globalName = 0;
    // Position in the compositor's layout, the current mode in pixels and
    // the integer scale, as far as the compositor has told them.
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t scale = 1;
    std::string name;
    bool ready = false;    // a done event came: the values above belong together
    bool removed = false;  // its global went away; the panel on it goes too
};

struct WaylandClient {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    uint32_t seatVersion = 0;
    // The seat's devices as last announced, and who follows them: the seat
    // tells them once, possibly before anyone listens.
    uint32_t seatCapabilities = 0;
    std::function<void(uint32_t)> seatChanged;
    xdg_wm_base* wmBase = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalScale = nullptr;
    zxdg_decoration_manager_v1* decorations = nullptr;
    bool xrgbOffered = false;
    std::vector<std::unique_ptr<WaylandOutput>> outputs;
    // Set when an output was announced complete (new or changed) or removed;
    // the runner clears it.
    bool outputsChanged = false;
};

// Connects to WAYLAND_DISPLAY and binds the globals, checking that the
// compositor offers what `mode` needs. On failure returns false with a
// one-line error; the exit status is 2, as for a missing X display.
bool ConnectWayland(WaylandClient& client, DisplayMode mode, std::string& error);
// Forgets the outputs marked removed.
void DropRemovedOutputs(WaylandClient& client);
void DisconnectWayland(WaylandClient& client);

}  // namespace quorvex::linux_host
