// The FPS text of the Wayland back end: there is no server font to draw
// with, so a small built-in face puts the digits and " fps" white on black
// into the buffer about to be shown, like the X11 image string.
#pragma once

#include <cstddef>
#include <cstdint>

#include "RDrawUn.h"

namespace quorvex::linux_host {

// Draws `text` with its top-left corner at (x, y) into 32-bit pixels (rows
// of `stride` pixels, width x height), each font pixel `unit` pixels wide
// and high. Returns the box it painted, clipped to the pixels.
Rect DrawFpsText(uint32_t* pixels, int32_t stride, int32_t width, int32_t height, int32_t x, int32_t y, int32_t unit,
                 const char* text, size_t length);

}  // namespace quorvex::linux_host
