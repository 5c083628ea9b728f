// Which input ends the saver in each mode.
#include "input_Rules.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <vector>

namespace quorvex::linux_host {
namespace {

InputEvent Event(InputKind kind, uint32_t code = 0, int32_t x = 0, int32_t y = 0) {
    InputEvent e;
    e.kind = kind;
    e.key = e.button = code;
    e.x = x;
    e.y = y;
    return e;
}
InputEvent Move(int32_t x, int32_t y) { return Event(InputKind::Motion, 0, x, y); }
InputEvent Key(uint32_t keysym) { return Event(InputKind::Key, keysym); }
InputEvent Button(uint32_t b) { return Event(InputKind::Button, b); }
const InputEvent Gained = Event(InputKind::FocusGained), Lost = Event(InputKind::FocusLost);

// Feeds the events in order to one state; `ends` lists the answer to each.
void ExpectRun(DisplayMode mode, bool mouseSens, const std::vector<std::pair<InputEvent, bool>>& run) {
    InputState s;
    for (size_t i = 0; i < run.size(); ++i)
        EXPECT_EQ(InputEndsRun(mode, mouseSens, s, run[i].first), run[i].second) << i;
}

constexpr DisplayMode Full = DisplayMode::Fullscreen;

TEST(FullscreenInput, FirstMoveOnlyRecordsThenOnePixelAlongAnAxisIsTolerated) {
    ExpectRun(Full, true,
              {{Move(500, 400), false},
               {Move(501, 400), false},
               {Move(501, 399), false},
               {Move(501, 399), false},
               {Move(502, 400), true}});  // diagonal step: 1 + 1 > 1
    ExpectRun(Full, true, {{Move(10, 10), false}, {Move(10, 12), true}});
    InputState s;  // the position is recorded even when the move ends
    PointerMoveEnds(s, 0, 0);
    EXPECT_TRUE(PointerMoveEnds(s, 100, 100));
    EXPECT_FALSE(PointerMoveEnds(s, 101, 100));
    // In 32 bits, 65535² + 65535² wraps negative and would pass as no movement.
    for (int32_t from : {0, -32768}) {
        InputState t;
        PointerMoveEnds(t, from, from);
        EXPECT_TRUE(PointerMoveEnds(t, from + 65535, from + 65535)) << from;
    }
}

TEST(FullscreenInput, KeysLeftAndRightButtonsAndLostFocusEnd) {
    ExpectRun(Full, false, {{Move(0, 0), false}, {Move(900, 700), false}, {Key(XK_a), true}, {Button(1), true}});
    for (uint32_t k : {uint32_t{XK_a}, uint32_t{XK_space}, uint32_t{XK_Alt_L}, uint32_t{XK_Shift_L}, 0u}) {
        ExpectRun(Full, true, {{Key(k), true}});
    }
    // Middle button and wheel: not handled by the Windows saver either.
    ExpectRun(Full, true,
              {{Button(1), true},
               {Button(3), true},
               {Button(2), false},
               {Button(4), false},
               {Button(5), false},
               {Button(6), false},
               {Button(7), false}});
    ExpectRun(Full, true, {{Lost, false}, {Gained, false}, {Lost, true}});
}

TEST(OtherModesInput, WindowEndsOnQOrEscapeAndEmbeddedOnNothing) {
    const std::vector<InputEvent> others = {Key(XK_a), Button(1), Move(0, 0), Move(300, 300), Gained, Lost};
    for (DisplayMode m : {DisplayMode::Window, DisplayMode::Root, DisplayMode::WindowId}) {
        const bool window = m == DisplayMode::Window;
        ExpectRun(m, true, {{Key(XK_q), window}, {Key(XK_Q), window}, {Key(XK_Escape), window}});
        for (const InputEvent& e : others) ExpectRun(m, true, {{Move(0, 0), false}, {e, false}});
    }
}

}  // namespace
}  // namespace quorvex::linux_host
