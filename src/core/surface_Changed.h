// Where a surface's picture can hold anything but black, and which part of
// it a host has to copy to the screen. Outside `content` every pixel is 0
// (black under every colour table); the trace passes keep it that way, so a
// frame is drawn, traced and presented in proportion to what it shows.
//
// For a host: each paint asks TakePresentArea for the rectangle to copy (a
// Wayland host hands the same rectangle to the compositor as buffer damage).
// The screen then shows exactly the surface. Whatever the system asks to
// repaint (an expose, a WM_PAINT update region) the host copies as well, in
// full.
#pragma once

#include <cstdint>

namespace quorvex {

// Left, top, right, bottom; right and bottom exclusive. Empty when
// left >= right or top >= bottom.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

bool IsEmpty(const Rect& r);
// The smallest rectangle holding both; an empty one adds nothing.
Rect Union(const Rect& a, const Rect& b);
// r within a width x height surface.
Rect Clip(const Rect& r, int32_t width, int32_t height);

struct ChangedArea {
    // Can hold non-black pixels now.
    Rect content;
    // What content was at the last present: the screen is black outside it.
    Rect shown;
    // The screen does not hold the last presented frame (a new surface):
    // the next present copies everything.
    bool whole = true;
};

// Grows the content by r, clipped to the surface.
void MarkDrawn(ChangedArea& c, const Rect& r, int32_t width, int32_t height);

// What the present about to happen must copy for the screen to show the
// surface exactly: content and shown together, or the whole surface after
// `whole`. Marks the content as shown.
Rect TakePresentArea(ChangedArea& c, int32_t width, int32_t height);

}  // namespace quorvex
