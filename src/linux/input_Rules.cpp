// The rules of input_Rules.h.
#include "input_Rules.h"

#include <X11/keysym.h>

namespace quorvex::linux_host {

bool PointerMoveEnds(InputState& state, int32_t x, int32_t y) {
    state.MouseMoveCount += 1;
    const int64_t dx = static_cast<int64_t>(x) - state.LastX;
    const int64_t dy = static_cast<int64_t>(y) - state.LastY;
    const bool ends = state.MouseMoveCount > 0 && dx * dx + dy * dy > 1;
    state.LastX = x;
    state.LastY = y;
    return ends;
}

bool InputEndsRun(DisplayMode mode, bool mouseSens, InputState& state, const InputEvent& event) {
    switch (mode) {
        case DisplayMode::Root:
        case DisplayMode::WindowId:
            return false;
        case DisplayMode::Window:
            return event.kind == InputKind::Key && (event.key == XK_q || event.key == XK_Q || event.key == XK_Escape);
        case DisplayMode::Fullscreen:
            break;
    }
    switch (event.kind) {
        case InputKind::Key:
        case InputKind::Touch:
            return true;
        case InputKind::Button:
            // The middle button and the wheel do not end the Windows saver either.
            return event.button == 1 || event.button == 3;
        case InputKind::Motion:
            return mouseSens && PointerMoveEnds(state, event.x, event.y);
        case InputKind::FocusGained:
            state.HadFocus = true;
            return false;
        case InputKind::FocusLost:
            return state.HadFocus;
    }
    return false;
}

}  // namespace quorvex::linux_host
