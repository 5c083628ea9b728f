// See monitors_Layout.h.
#include "monitors_Layout.h"

#include <algorithm>

namespace quorvex::linux_host {

namespace {

bool Inside(const Rect& a, const Rect& b) {
    return a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
}

bool SameRect(const Rect& a, const Rect& b) { return Inside(a, b) && Inside(b, a); }

}  // namespace

std::vector<Rect> ArrangeMonitors(const std::vector<Rect>& found, int primary, const Rect& window) {
    const int32_t width = window.right - window.left;
    const int32_t height = window.bottom - window.top;
    const int count = static_cast<int>(found.size());
    if (primary < 0 || primary >= count) primary = 0;
    std::vector<Rect> clipped;
    for (int k = 0; k < count; ++k) {
        // The primary first, the others in their order.
        const int i = k == 0 ? primary : (k <= primary ? k - 1 : k);
        const Rect& m = found[static_cast<size_t>(i)];
        const Rect r{std::max(m.left - window.left, 0), std::max(m.top - window.top, 0),
                     std::min(m.right - window.left, width), std::min(m.bottom - window.top, height)};
        if (r.left < r.right && r.top < r.bottom) clipped.push_back(r);
    }
    std::vector<Rect> areas;
    for (const Rect& r : clipped) {
        // The outermost area holding this one stands for it, in its place;
        // one pass finds it, since lying inside is transitive.
        Rect outer = r;
        for (const Rect& o : clipped) {
            if (Inside(outer, o)) outer = o;
        }
        if (std::none_of(areas.begin(), areas.end(), [&](const Rect& a) { return SameRect(a, outer); }))
            areas.push_back(outer);
    }
    if (areas.empty()) areas.push_back(Rect{0, 0, width, height});
    return areas;
}

}  // namespace quorvex::linux_host
