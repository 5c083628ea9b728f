// See wayland_Panel.h.
#include "wayland_Panel.h"

#include <algorithm>
#include <climits>

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "wayland_Fps.h"
#include "wayland_LayerShell.h"
#include "xdg-decoration-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace quorvex::linux_host {

namespace {

constexpr const char* Title = "Quorvex Screen Saver";
constexpr const char* AppId = "quorvex";
// The FPS text's top-left corner, in logical pixels.
constexpr int32_t FpsX = 10;
constexpr int32_t FpsY = 10;

}  // namespace

struct PanelEvents {
    static WaylandPanel& P(void* data) { return *static_cast<WaylandPanel*>(data); }

    static void Configured(WaylandPanel& p, int32_t width, int32_t height) {
        if (width > 0 && height > 0) {
            p.pendingWidth_ = width;
            p.pendingHeight_ = height;
        }
        p.dirty_ = true;
    }

    static constexpr wl_surface_listener surface = {
        [](void* data, wl_surface*, wl_output* output) {
            WaylandPanel& p = P(data);
            for (auto& out : p.client_.outputs) {
                if (out->output == output) p.entered_.push_back(out.get());
            }
            p.dirty_ = true;
        },
        [](void* data, wl_surface*, wl_output* output) {
            WaylandPanel& p = P(data);
            std::erase_if(p.entered_, [output](WaylandOutput* out) { return out->output == output; });
            p.dirty_ = true;
        },
    };
    static constexpr zwlr_layer_surface_v1_listener layer = {
        [](void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height) {
            zwlr_layer_surface_v1_ack_configure(layer, serial);
            Configured(P(data), static_cast<int32_t>(width), static_cast<int32_t>(height));
        },
        [](void* data, zwlr_layer_surface_v1*) { P(data).closed_ = true; },
    };
    static constexpr xdg_surface_listener xdgSurface = {
        [](void* data, xdg_surface* surface, uint32_t serial) {
            xdg_surface_ack_configure(surface, serial);
            Configured(P(data), 0, 0);
        },
    };
    static constexpr xdg_toplevel_listener toplevel = {
        [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
            // 0 x 0 leaves the size to us: the asked one, or the output's.
            Configured(P(data), width, height);
        },
        [](void* data, xdg_toplevel*) { P(data).closed_ = true; },
        [](void*, xdg_toplevel*, int32_t, int32_t) {},
        [](void*, xdg_toplevel*, wl_array*) {},
    };
    static constexpr wp_fractional_scale_v1_listener fractional = {
        [](void* data, wp_fractional_scale_v1*, uint32_t scale) {
            P(data).preferred120_ = static_cast<int32_t>(scale);
            P(data).dirty_ = true;
        },
    };
    static constexpr wl_callback_listener frame = {
        [](void* data, wl_callback* callback, uint32_t) {
            wl_callback_destroy(callback);
            P(data).frame_ = nullptr;
        },
    };
};

WaylandPanel::WaylandPanel(WaylandClient& client, WaylandOutput* output, PanelRole role, int32_t width, int32_t height,
                           ClockFace& face, const ClockStyle& style)
    : PanelHost(PanelPixels::surface, face, style),
      client_(client),
      output_(output),
      role_(role),
      buffers_(client.shm),
      pendingWidth_(width),
      pendingHeight_(height) {
    surface_ = wl_compositor_create_surface(client.compositor);
    wl_surface_add_listener(surface_, &PanelEvents::surface, this);
    if (client.fractionalScale != nullptr && client.viewporter != nullptr) {
        viewport_ = wp_viewporter_get_viewport(client.viewporter, surface_);
        fractional_ = wp_fractional_scale_manager_v1_get_fractional_scale(client.fractionalScale, surface_);
        wp_fractional_scale_v1_add_listener(fractional_, &PanelEvents::fractional, this);
    }
    if (role == PanelRole::Layer) {
        layer_ = zwlr_layer_shell_v1_get_layer_surface(client.layerShell, surface_, output->output,
                                                       ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, AppId);
        zwlr_layer_surface_v1_add_listener(layer_, &PanelEvents::layer, this);
        zwlr_layer_surface_v1_set_anchor(layer_,
                                         ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                             ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
        zwlr_layer_surface_v1_set_size(layer_, 0, 0);
        zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
        zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 1);
    } else {
        xdgSurface_ = xdg_wm_base_get_xdg_surface(client.wmBase, surface_);
        xdg_surface_add_listener(xdgSurface_, &PanelEvents::xdgSurface, this);
        toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
        xdg_toplevel_add_listener(toplevel_, &PanelEvents::toplevel, this);
        xdg_toplevel_set_title(toplevel_, Title);
        xdg_toplevel_set_app_id(toplevel_, AppId);
        if (role == PanelRole::FullscreenToplevel) {
            xdg_toplevel_set_fullscreen(toplevel_, output->output);
        } else if (client.decorations != nullptr) {
            decoration_ = zxdg_decoration_manager_v1_get_toplevel_decoration(client.decorations, toplevel_);
            zxdg_toplevel_decoration_v1_set_mode(decoration_, ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
        }
    }
    // No buffer yet: the compositor answers with the first configure.
    wl_surface_commit(surface_);
}

WaylandPanel::~WaylandPanel() {
    if (frame_ != nullptr) wl_callback_destroy(frame_);
    if (fractional_ != nullptr) wp_fractional_scale_v1_destroy(fractional_);
    if (viewport_ != nullptr) wp_viewport_destroy(viewport_);
    if (decoration_ != nullptr) zxdg_toplevel_decoration_v1_destroy(decoration_);
    if (layer_ != nullptr) zwlr_layer_surface_v1_destroy(layer_);
    if (toplevel_ != nullptr) xdg_toplevel_destroy(toplevel_);
    if (xdgSurface_ != nullptr) xdg_surface_destroy(xdgSurface_);
    wl_surface_destroy(surface_);
}

int32_t WaylandPanel::Scale120() const {
    if (fractional_ != nullptr && preferred120_ > 0) return preferred120_;
    int32_t scale = output_ != nullptr ? output_->scale : 1;
    for (const WaylandOutput* out : entered_) scale = std::max(scale, out->scale);
    return scale * 120;
}

bool WaylandPanel::Update(std::string& error) {
    if (!dirty_ || closed_) return true;
    dirty_ = false;
    configured_ = true;
    int32_t width = pendingWidth_;
    int32_t height = pendingHeight_;
    if (role_ == PanelRole::FullscreenToplevel && (width <= 0 || height <= 0) && output_->scale > 0) {
        width = output_->width / output_->scale;
        height = output_->height / output_->scale;
    }
    const int32_t scale120 = Scale120();
    // The integer scale goes to the compositor; a fractional one through the
    // viewport, which maps the buffer back onto the logical size.
    const bool integral = scale120 % 120 == 0 && (fractional_ == nullptr || preferred120_ == 0);
    const int32_t pixelWidth = integral ? width * (scale120 / 120) : (width * scale120 + 60) / 120;
    const int32_t pixelHeight = integral ? height * (scale120 / 120) : (height * scale120 + 60) / 120;
    if (width == logicalWidth_ && height == logicalHeight_ && scale120 == appliedScale120_) return true;
    logicalWidth_ = width;
    logicalHeight_ = height;
    appliedScale120_ = scale120;
    if (!buffers_.Resize(pixelWidth, pixelHeight, error)) return false;
    wl_surface_set_buffer_scale(surface_, integral ? scale120 / 120 : 1);
    if (viewport_ != nullptr) {
        if (integral) {
            wp_viewport_set_destination(viewport_, -1, -1);
        } else {
            wp_viewport_set_destination(viewport_, width, height);
        }
    }
    ResizeAnimation(animation, PanelPixels::surface, pixelWidth, pixelHeight);
    return true;
}

bool WaylandPanel::Ready() const {
    return configured_ && !closed_ && frame_ == nullptr && buffers_.Width() > 0 && buffers_.FreeSlot() >= 0;
}

void WaylandPanel::Present(const Rect& area) {
    slot_ = buffers_.FreeSlot();
    buffers_.Write(slot_, PanelPixels::surface, area);
    damageCount_ = 0;
    if (!IsEmpty(area)) damage_[damageCount_++] = area;
    // Where the last FPS text was, the surface shows through again.
    if (!IsEmpty(lastFps_)) damage_[damageCount_++] = lastFps_;
    lastFps_ = Rect{};
}

void WaylandPanel::DrawFps(const char* text, size_t length) {
    if (!Texts() || slot_ < 0) return;
    const int32_t unit = std::max(appliedScale120_ / 120, 1);
    const Rect box = DrawFpsText(buffers_.Row(slot_, 0), buffers_.Width(), buffers_.Width(), buffers_.Height(),
                                 FpsX * unit, FpsY * unit, unit, text, length);
    buffers_.MarkOverdrawn(box);
    lastFps_ = box;
    if (!IsEmpty(box)) damage_[damageCount_++] = box;
}

void WaylandPanel::Paint(const char* fpsSuffix) {
    PaintFrame(animation.engine, animation.paint, *this, fpsSuffix);
    Commit();
    ++frames;
}

void WaylandPanel::Commit() {
    wl_surface_attach(surface_, buffers_.Take(slot_), 0, 0);
    const bool bufferDamage = wl_surface_get_version(surface_) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
    for (int k = 0; k < damageCount_; ++k) {
        const Rect& r = damage_[k];
        if (bufferDamage) {
            wl_surface_damage_buffer(surface_, r.left, r.top, r.right - r.left, r.bottom - r.top);
        } else {
            wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
        }
    }
    frame_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frame_, &PanelEvents::frame, this);
    wl_surface_commit(surface_);
    slot_ = -1;
}

}  // namespace quorvex::linux_host
