// The seat of the Wayland back end: keys (named through xkbcommon), the
// pointer's buttons and motion, and touches, turned into the front end's
// input events. Which of them ends the run is input_Rules.h's business.
#pragma once

#include <wayland-client.h>

#include <functional>

#include "input_Rules.h"
#include "wayland_Client.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace quorvex::linux_host {

class WaylandInput {
public:
    // x and y of a motion are in the surface's coordinates, for `onInput`
    // to place in the layout. `hideCursor`: no pointer image over our surfaces.
    using Handler = std::function<void(const InputEvent&, wl_surface*)>;
    WaylandInput(WaylandClient& client, bool hideCursor, Handler onInput);
    ~WaylandInput();
    WaylandInput(const WaylandInput&) = delete;
    WaylandInput& operator=(const WaylandInput&) = delete;

private:
    void Capabilities(uint32_t caps);
    void Keymap(int fd, uint32_t size, uint32_t format);
    void Send(const InputEvent& e, wl_surface* surface) { onInput_(e, surface); }

    WaylandClient& client_;
    wl_seat* seat_;
    bool hideCursor_;
    Handler onInput_;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    wl_touch* touch_ = nullptr;
    wl_surface* pointerSurface_ = nullptr;
    wl_surface* keyboardSurface_ = nullptr;
    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;

    friend struct InputEvents;
};

}  // namespace quorvex::linux_host
