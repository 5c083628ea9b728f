// The areas full screen animates, from the monitors the server lists.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "x11_Monitors.h"

namespace quorvex::linux_host {
namespace {

struct Case {
    const char* what;
    std::vector<Rect> found;
    int primary;
    std::vector<Rect> expected;
};

std::vector<std::array<int32_t, 4>> Corners(const std::vector<Rect>& areas) {
    std::vector<std::array<int32_t, 4>> out;
    for (const Rect& r : areas) out.push_back({r.left, r.top, r.right, r.bottom});
    return out;
}

TEST(ArrangeMonitors, PrimaryFirstClippedWithoutRepeats) {
    const Rect a{0, 0, 800, 600}, b{800, 0, 1440, 480}, c{1440, 0, 1600, 700};
    const Rect out1{-100, -50, 700, 600}, out2{1500, 600, 1800, 900};
    const Case cases[] = {
        {"none listed: the whole screen", {}, 0, {{0, 0, 1600, 700}}},
        {"in their order", {a, b, c}, 0, {a, b, c}},
        {"the primary moves first", {a, b, c}, 2, {c, a, b}},
        {"a middle primary", {a, b, c}, 1, {b, a, c}},
        {"no primary known: the first", {b, a}, -1, {b, a}},
        {"clones once", {a, a, b}, 0, {a, b}},
        {"clipped to the screen", {out1, out2}, 0, {{0, 0, 700, 600}, {1500, 600, 1600, 700}}},
        {"outside the screen: dropped", {{1600, 0, 1900, 700}, a}, 0, {a}},
    };
    for (const Case& t : cases) {
        EXPECT_EQ(Corners(ArrangeMonitors(t.found, t.primary, 1600, 700)), Corners(t.expected)) << t.what;
    }
}

}  // namespace
}  // namespace quorvex::linux_host
