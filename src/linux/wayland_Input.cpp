// See wayland_Input.h.
#include "wayland_Input.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

namespace quorvex::linux_host {

// The X button numbers the rules are written in (1 left, 2 middle, 3
// right); other buttons get numbers past the wheel's, which end nothing.
uint32_t XButtonOf(uint32_t evdevButton) {
    switch (evdevButton) {
        case BTN_LEFT:
            return 1;
        case BTN_MIDDLE:
            return 2;
        case BTN_RIGHT:
            return 3;
        default:
            return 8;
    }
}

struct InputEvents {
    static WaylandInput& I(void* data) { return *static_cast<WaylandInput*>(data); }

    static void Moved(WaylandInput& in, wl_fixed_t x, wl_fixed_t y) {
        InputEvent e;
        e.kind = InputKind::Motion;
        e.x = wl_fixed_to_int(x);
        e.y = wl_fixed_to_int(y);
        in.Send(e, in.pointerSurface_);
    }

    static constexpr wl_pointer_listener pointer = {
        // Coming over a surface is no motion of the user's: a surface
        // appearing under a still pointer must not count as a move.
        [](void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t, wl_fixed_t) {
            WaylandInput& in = I(data);
            in.pointerSurface_ = surface;
            if (in.hideCursor_) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
        },
        [](void* data, wl_pointer*, uint32_t, wl_surface*) { I(data).pointerSurface_ = nullptr; },
        [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) { Moved(I(data), x, y); },
        [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
            if (state != WL_POINTER_BUTTON_STATE_PRESSED) return;
            InputEvent e;
            e.kind = InputKind::Button;
            e.button = XButtonOf(button);
            I(data).Send(e, I(data).pointerSurface_);
        },
        // The wheel ends nothing.
        [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
        [](void*, wl_pointer*) {},
        [](void*, wl_pointer*, uint32_t) {},
        [](void*, wl_pointer*, uint32_t, uint32_t) {},
        [](void*, wl_pointer*, uint32_t, int32_t) {},
        [](void*, wl_pointer*, uint32_t, int32_t) {},
    };
    static constexpr wl_keyboard_listener keyboard = {
        [](void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) { I(data).Keymap(fd, size, format); },
        [](void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) { I(data).keyboardSurface_ = surface; },
        [](void* data, wl_keyboard*, uint32_t, wl_surface*) { I(data).keyboardSurface_ = nullptr; },
        [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
            if (state != WL_KEYBOARD_KEY_STATE_PRESSED) return;
            WaylandInput& in = I(data);
            InputEvent e;
            e.kind = InputKind::Key;
            // xkbcommon's keysyms are X's; evdev codes are 8 below X key codes.
            e.key = in.state_ != nullptr ? xkb_state_key_get_one_sym(in.state_, key + 8) : 0;
            in.Send(e, in.keyboardSurface_);
        },
        [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
            if (I(data).state_ != nullptr)
                xkb_state_update_mask(I(data).state_, depressed, latched, locked, 0, 0, group);
        },
        [](void*, wl_keyboard*, int32_t, int32_t) {},
    };
    static constexpr wl_touch_listener touch = {
        [](void* data, wl_touch*, uint32_t, uint32_t, wl_surface* surface, int32_t, wl_fixed_t, wl_fixed_t) {
            InputEvent e;
            e.kind = InputKind::Touch;
            I(data).Send(e, surface);
        },
        [](void*, wl_touch*, uint32_t, uint32_t, int32_t) {},
        [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {},
        [](void*, wl_touch*) {},
        [](void*, wl_touch*) {},
        [](void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {},
        [](void*, wl_touch*, int32_t, wl_fixed_t) {},
    };
};

WaylandInput::WaylandInput(WaylandClient& client, bool hideCursor, Handler onInput)
    : client_(client), seat_(client.seat), hideCursor_(hideCursor), onInput_(std::move(onInput)) {
    xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (seat_ == nullptr) return;
    client_.seatChanged = [this](uint32_t caps) { Capabilities(caps); };
    Capabilities(client_.seatCapabilities);
}

WaylandInput::~WaylandInput() {
    client_.seatChanged = nullptr;
    if (seat_ != nullptr) Capabilities(0);
    if (state_ != nullptr) xkb_state_unref(state_);
    if (keymap_ != nullptr) xkb_keymap_unref(keymap_);
    if (xkb_ != nullptr) xkb_context_unref(xkb_);
}

void WaylandInput::Capabilities(uint32_t caps) {
    // Each device is taken when the seat gains it and let go when it loses it.
    auto follow = [&](auto*& device, uint32_t cap, auto get, auto release, auto destroy, const void* listener) {
        const bool want = (caps & cap) != 0;
        if (want && device == nullptr) {
            device = get(seat_);
            wl_proxy_add_listener(reinterpret_cast<wl_proxy*>(device),
                                  reinterpret_cast<void (**)(void)>(const_cast<void*>(listener)), this);
        } else if (!want && device != nullptr) {
            if (wl_seat_get_version(seat_) >= 3) {
                release(device);
            } else {
                destroy(device);
            }
            device = nullptr;
        }
    };
    follow(pointer_, WL_SEAT_CAPABILITY_POINTER, wl_seat_get_pointer, wl_pointer_release, wl_pointer_destroy,
           &InputEvents::pointer);
    follow(keyboard_, WL_SEAT_CAPABILITY_KEYBOARD, wl_seat_get_keyboard, wl_keyboard_release, wl_keyboard_destroy,
           &InputEvents::keyboard);
    follow(touch_, WL_SEAT_CAPABILITY_TOUCH, wl_seat_get_touch, wl_touch_release, wl_touch_destroy,
           &InputEvents::touch);
    if (pointer_ == nullptr) pointerSurface_ = nullptr;
    if (keyboard_ == nullptr) keyboardSurface_ = nullptr;
}

void WaylandInput::Keymap(int fd, uint32_t size, uint32_t format) {
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && xkb_ != nullptr && size > 0) {
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            xkb_keymap* keymap = xkb_keymap_new_from_buffer(xkb_, static_cast<const char*>(text), size - 1,
                                                            XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
            munmap(text, size);
            if (keymap != nullptr) {
                if (state_ != nullptr) xkb_state_unref(state_);
                if (keymap_ != nullptr) xkb_keymap_unref(keymap_);
                keymap_ = keymap;
                state_ = xkb_state_new(keymap);
            }
        }
    }
    close(fd);
}

}  // namespace quorvex::linux_host
