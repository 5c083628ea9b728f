// Registry and outputs; see wayland_Client.h.
#include "wayland_Client.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "wayland_LayerShell.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace quorvex::linux_host {

namespace {

WaylandOutput* OutputOf(void* data) { return static_cast<WaylandOutput*>(data); }
WaylandClient* ClientOf(void* data) { return static_cast<WaylandClient*>(data); }

const wl_output_listener outputListener = {
    [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {
        OutputOf(data)->x = x;
        OutputOf(data)->y = y;
    },
    [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
        if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
        OutputOf(data)->width = width;
        OutputOf(data)->height = height;
    },
    [](void* data, wl_output*) {
        OutputOf(data)->ready = true;
        OutputOf(data)->client->outputsChanged = true;
    },
    [](void* data, wl_output*, int32_t factor) { OutputOf(data)->scale = std::max(factor, 1); },
    [](void* data, wl_output*, const char* name) { OutputOf(data)->name = name; },
    [](void*, wl_output*, const char*) {},
};

const xdg_wm_base_listener wmBaseListener = {
    [](void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

const wl_shm_listener shmListener = {
    [](void* data, wl_shm*, uint32_t format) {
        if (format == WL_SHM_FORMAT_XRGB8888) ClientOf(data)->xrgbOffered = true;
    },
};

const wl_seat_listener seatListener = {
    [](void* data, wl_seat*, uint32_t caps) {
        ClientOf(data)->seatCapabilities = caps;
        if (ClientOf(data)->seatChanged) ClientOf(data)->seatChanged(caps);
    },
    [](void*, wl_seat*, const char*) {},
};

template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface* iface, uint32_t offered, uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, iface, std::min(offered, wanted)));
}

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* iface, uint32_t version) {
    WaylandClient& c = *ClientOf(data);
    const auto is = [iface](const wl_interface& i) { return std::strcmp(iface, i.name) == 0; };
    if (is(wl_compositor_interface) && c.compositor == nullptr) {
        // Version 4 for damage in buffer coordinates.
        c.compositor = Bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (is(wl_shm_interface) && c.shm == nullptr) {
        c.shm = Bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
        wl_shm_add_listener(c.shm, &shmListener, &c);
    } else if (is(wl_seat_interface) && c.seat == nullptr) {
        // Up to 5: every event of that version has a handler.
        c.seatVersion = std::min(version, 5u);
        c.seat = Bind<wl_seat>(registry, name, &wl_seat_interface, version, 5);
        wl_seat_add_listener(c.seat, &seatListener, &c);
    } else if (is(xdg_wm_base_interface) && c.wmBase == nullptr) {
        c.wmBase = Bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 2);
        xdg_wm_base_add_listener(c.wmBase, &wmBaseListener, &c);
    } else if (is(zwlr_layer_shell_v1_interface) && c.layerShell == nullptr) {
        c.layerShell = Bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version, 2);
    } else if (is(wp_viewporter_interface) && c.viewporter == nullptr) {
        c.viewporter = Bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    } else if (is(wp_fractional_scale_manager_v1_interface) && c.fractionalScale == nullptr) {
        c.fractionalScale =
            Bind<wp_fractional_scale_manager_v1>(registry, name, &wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (is(zxdg_decoration_manager_v1_interface) && c.decorations == nullptr) {
        c.decorations =
            Bind<zxdg_decoration_manager_v1>(registry, name, &zxdg_decoration_manager_v1_interface, version, 1);
    } else if (is(wl_output_interface)) {
        auto out = std::make_unique<WaylandOutput>();
        out->client = &c;
        out->globalName = name;
        // Version 4 names the output; 2 already sends done and scale.
        out->output = Bind<wl_output>(registry, name, &wl_output_interface, version, 4);
        wl_output_add_listener(out->output, &outputListener, out.get());
        c.outputs.push_back(std::move(out));
    }
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
    WaylandClient& c = *ClientOf(data);
    for (auto& out : c.outputs) {
        if (out->globalName == name) {
            out->removed = true;
            c.outputsChanged = true;
        }
    }
}

const wl_registry_listener registryListener = {OnGlobal, OnGlobalRemove};

void DestroyOutput(WaylandOutput& out) {
    if (wl_output_get_version(out.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(out.output);
    } else {
        wl_output_destroy(out.output);
    }
}

}  // namespace

bool ConnectWayland(WaylandClient& c, DisplayMode mode, std::string& error) {
    const char* env = std::getenv("WAYLAND_DISPLAY");
    const std::string name = env != nullptr && env[0] != '\0' ? env : "wayland-0";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    // Checked here, so that the user sees one line of ours instead of the
    // library's own complaint.
    const bool located = name[0] == '/' || (runtime != nullptr && runtime[0] != '\0');
    if (located) c.display = wl_display_connect(nullptr);
    if (c.display == nullptr) {
        error = "cannot connect to the Wayland compositor " + QuoteArgument(name.c_str()) +
                (located ? " (is WAYLAND_DISPLAY right? --backend x11 uses X)" : ": XDG_RUNTIME_DIR is not set");
        return false;
    }
    c.registry = wl_display_get_registry(c.display);
    wl_registry_add_listener(c.registry, &registryListener, &c);
    // The globals, then the events the bound ones send at once (formats,
    // output modes).
    if (wl_display_roundtrip(c.display) < 0 || wl_display_roundtrip(c.display) < 0) {
        error = "the Wayland compositor closed the connection at start";
        return false;
    }
    const char* missing = nullptr;
    if (c.compositor == nullptr) {
        missing = "wl_compositor";
    } else if (c.shm == nullptr || !c.xrgbOffered) {
        missing = "wl_shm with XRGB8888 pixels";
    } else if (c.wmBase == nullptr && (mode == DisplayMode::Window || c.layerShell == nullptr)) {
        missing = mode == DisplayMode::Window ? "xdg_wm_base (xdg-shell)" : "zwlr_layer_shell_v1 or xdg_wm_base";
    }
    if (missing != nullptr) {
        error = std::string("the Wayland compositor offers no ") + missing + ", which " +
                (mode == DisplayMode::Window ? "a window" : "full screen") + " needs";
        return false;
    }
    c.outputsChanged = true;
    return true;
}

void DropRemovedOutputs(WaylandClient& c) {
    auto gone = std::remove_if(c.outputs.begin(), c.outputs.end(), [](const std::unique_ptr<WaylandOutput>& out) {
        if (out->removed) DestroyOutput(*out);
        return out->removed;
    });
    c.outputs.erase(gone, c.outputs.end());
}

void DisconnectWayland(WaylandClient& c) {
    if (c.display == nullptr) return;
    for (auto& out : c.outputs) DestroyOutput(*out);
    c.outputs.clear();
    if (c.decorations != nullptr) zxdg_decoration_manager_v1_destroy(c.decorations);
    if (c.fractionalScale != nullptr) wp_fractional_scale_manager_v1_destroy(c.fractionalScale);
    if (c.viewporter != nullptr) wp_viewporter_destroy(c.viewporter);
    if (c.layerShell != nullptr) zwlr_layer_shell_v1_destroy(c.layerShell);
    if (c.wmBase != nullptr) xdg_wm_base_destroy(c.wmBase);
    c.seatChanged = nullptr;
    if (c.seat != nullptr) {
        if (c.seatVersion >= WL_SEAT_RELEASE_SINCE_VERSION) {
            wl_seat_release(c.seat);
        } else {
            wl_seat_destroy(c.seat);
        }
    }
    if (c.shm != nullptr) wl_shm_destroy(c.shm);
    if (c.compositor != nullptr) wl_compositor_destroy(c.compositor);
    wl_registry_destroy(c.registry);
    wl_display_disconnect(c.display);
    c.display = nullptr;
}

}  // namespace quorvex::linux_host
