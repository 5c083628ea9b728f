// See surface_Changed.h.
#include "surface_Changed.h"

#include <algorithm>

namespace quorvex {

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

Rect Union(const Rect& a, const Rect& b) {
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

Rect Clip(const Rect& r, int32_t width, int32_t height) {
    const Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
    return IsEmpty(c) ? Rect{} : c;
}

void MarkDrawn(ChangedArea& c, const Rect& r, int32_t width, int32_t height) {
    c.content = Union(c.content, Clip(r, width, height));
}

Rect TakePresentArea(ChangedArea& c, int32_t width, int32_t height) {
    const Rect all{0, 0, width, height};
    const Rect area = c.whole ? all : Clip(Union(c.content, c.shown), width, height);
    c.shown = c.content;
    c.whole = false;
    return area;
}

}  // namespace quorvex
