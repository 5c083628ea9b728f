// One surface of the Wayland back end with its animation: the window, a
// layer-shell surface over one output, or a toplevel made full screen on
// one output where there is no layer shell. It draws in the output's
// physical pixels and is painted only when its frame callback has come
// back, so an output that is off or hidden costs nothing.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "panel_Host.h"
#include "wayland_Buffers.h"
#include "wayland_Client.h"

struct xdg_surface;
struct xdg_toplevel;
struct zwlr_layer_surface_v1;
struct zxdg_toplevel_decoration_v1;
struct wp_viewport;
struct wp_fractional_scale_v1;

namespace quorvex::linux_host {

enum class PanelRole { Window, Layer, FullscreenToplevel };

// The surface, made before the host that draws on it.
struct PanelPixels {
    SoftwareSurface surface;
};

class WaylandPanel final : private PanelPixels, public PanelHost {
public:
    // `output` is null for the window; `width` x `height` is the window's
    // size before the compositor says another.
    WaylandPanel(WaylandClient& client, WaylandOutput* output, PanelRole role, int32_t width, int32_t height,
                 ClockFace& face, const ClockStyle& style);
    ~WaylandPanel() override;
    WaylandPanel(const WaylandPanel&) = delete;
    WaylandPanel& operator=(const WaylandPanel&) = delete;

    void Present(const Rect& area) override;
    void DrawFps(const char* text, size_t length) override;

    DrawTarget& Target() { return PanelPixels::surface; }
    WaylandOutput* Output() const { return output_; }
    wl_surface* Surface() const { return surface_; }
    // The compositor closed the surface (its output went away) or asked the
    // window to close.
    bool Closed() const { return closed_; }
    // The output's mode or scale changed: size the picture again.
    void OutputChanged() { dirty_ = true; }
    // Applies a new size or scale; false with a one-line error when the
    // buffers for it cannot be had.
    bool Update(std::string& error);
    // Configured, its last frame shown, a buffer free.
    bool Ready() const;
    // One paint of the animation, then the commit that shows it.
    void Paint(const char* fpsSuffix);
    // Surface coordinates to the compositor's layout (the pointer rules
    // compare positions across outputs).
    int32_t LayoutX() const { return output_ != nullptr ? output_->x : 0; }
    int32_t LayoutY() const { return output_ != nullptr ? output_->y : 0; }
    int32_t PixelWidth() const { return buffers_.Width(); }
    int32_t PixelHeight() const { return buffers_.Height(); }

    Animation animation;
    uint64_t dueMs = 0;
    uint32_t frames = 0;

private:
    // How many physical pixels the surface has per logical one, in 120ths.
    int32_t Scale120() const;
    void Commit();

    WaylandClient& client_;
    WaylandOutput* output_;
    PanelRole role_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    zxdg_toplevel_decoration_v1* decoration_ = nullptr;
    wp_viewport* viewport_ = nullptr;
    wp_fractional_scale_v1* fractional_ = nullptr;
    wl_callback* frame_ = nullptr;
    ShmBuffers buffers_;
    // Logical size: the configured one, and the one asked for the window.
    int32_t logicalWidth_ = 0;
    int32_t logicalHeight_ = 0;
    int32_t pendingWidth_ = 0;
    int32_t pendingHeight_ = 0;
    int32_t preferred120_ = 0;  // fractional-scale-v1's, 0 until it speaks
    int32_t appliedScale120_ = 0;
    std::vector<WaylandOutput*> entered_;  // the window's outputs, for its scale
    bool configured_ = false;
    bool dirty_ = false;
    bool closed_ = false;
    // The buffer of the present in progress and the parts it changes: the
    // surface's, the last FPS text's and the new one's.
    int slot_ = -1;
    int damageCount_ = 0;
    Rect damage_[3];
    Rect lastFps_{};

    friend struct PanelEvents;
};

}  // namespace quorvex::linux_host
