// Which input ends the saver, as plain functions over plain state, so the
// rules can be checked without an X server. The full-screen rules are those
// of the Windows saver: any key, the left or right button, a touch, a loss of focus,
// and, with MouseSens, a mouse movement of more than one pixel (the first
// movement only records where the pointer is).
#pragma once

#include <cstdint>

#include "options.h"

namespace quorvex::linux_host {

// Named apart from the X event macros (KeyPress, FocusIn...).
enum class InputKind { Key, Button, Motion, FocusGained, FocusLost, Touch };

// Only what the rules look at. `key` is the keysym of a key press, `button`
// the X button number (1 left, 2 middle, 3 right, 4 to 7 the wheel), x and y
// the pointer position in window coordinates.
struct InputEvent {
    InputKind kind = InputKind::Key;
    uint32_t key = 0;
    uint32_t button = 0;
    int32_t x = 0;
    int32_t y = 0;
};

struct InputState {
    // Starts at -1: the first movement is only recorded.
    int32_t MouseMoveCount = -1;
    int32_t LastX = 0;
    int32_t LastY = 0;
    // A focus loss counts only after the window had the focus once, so the
    // focus changes of mapping and grabbing cannot end the saver at start.
    bool HadFocus = false;
};

// True when the event ends the run in the given mode. Window mode ends on q
// or Escape; root and window-id modes ignore all input.
bool InputEndsRun(DisplayMode mode, bool mouseSens, InputState& state, const InputEvent& event);

// The mouse part of the full-screen rules: counts the movement, compares it
// with the last position and records the new one. The distance is taken in
// 64 bits: a jump across a 16-bit coordinate range must not wrap into a
// small or negative number.
bool PointerMoveEnds(InputState& state, int32_t x, int32_t y);

}  // namespace quorvex::linux_host
