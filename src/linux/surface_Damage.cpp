// See surface_Damage.h.
#include "surface_Damage.h"

#include <algorithm>

namespace quorvex::linux_host {

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

void Damage::Add(int which, const Rect& r, int32_t width, int32_t height) {
    const Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
    if (IsEmpty(c)) return;
    Rect& box = boxes[which];
    if (IsEmpty(box)) {
        box = c;
        return;
    }
    box.left = std::min(box.left, c.left);
    box.top = std::min(box.top, c.top);
    box.right = std::max(box.right, c.right);
    box.bottom = std::max(box.bottom, c.bottom);
}

void Damage::Clear() {
    for (Rect& box : boxes) box = Rect{};
}

bool Damage::Empty() const {
    for (const Rect& box : boxes) {
        if (!IsEmpty(box)) return false;
    }
    return true;
}

int FrameChanges(const SoftwareSurface& surface, bool whole, const Damage& shown, const Damage& drawn,
                 Rect (&parts)[MaxFrameChanges]) {
    if (whole || surface.Kind() == SurfaceKind::Indexed) {
        parts[0] = Rect{0, 0, surface.Width(), surface.Height()};
        return 1;
    }
    int n = 0;
    for (const Damage* d : {&shown, &drawn}) {
        for (const Rect& r : d->boxes) {
            if (!IsEmpty(r)) parts[n++] = r;
        }
    }
    return n;
}

void DamageTrackingTarget::FillRect(const Rect& r, PackedColour colour) {
    surface_.FillRect(r, colour);
    drawn_.Add(Damage::Points, r, surface_.Width(), surface_.Height());
}

}  // namespace quorvex::linux_host
