// Which input ends the saver in each mode.
#include "input_Rules.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace quorvex::linux_host {
namespace {

InputEvent Move(int32_t x, int32_t y) {
    InputEvent e;
    e.kind = InputKind::Motion;
    e.x = x;
    e.y = y;
    return e;
}
InputEvent Key(uint32_t keysym) {
    InputEvent e;
    e.kind = InputKind::Key;
    e.key = keysym;
    return e;
}
InputEvent Button(uint32_t b) {
    InputEvent e;
    e.kind = InputKind::Button;
    e.button = b;
    return e;
}
InputEvent Focus(bool gained) {
    InputEvent e;
    e.kind = gained ? InputKind::FocusGained : InputKind::FocusLost;
    return e;
}

constexpr DisplayMode Full = DisplayMode::Fullscreen;

TEST(FullscreenInput, FirstMoveOnlyRecordsThenOnePixelAlongAnAxisIsTolerated) {
    InputState s;
    EXPECT_FALSE(InputEndsRun(Full, true, s, Move(500, 400)));  // wherever it is, the first only records
    EXPECT_FALSE(InputEndsRun(Full, true, s, Move(501, 400)));
    EXPECT_FALSE(InputEndsRun(Full, true, s, Move(501, 399)));
    EXPECT_FALSE(InputEndsRun(Full, true, s, Move(501, 399)));  // no movement at all
    EXPECT_TRUE(InputEndsRun(Full, true, s, Move(502, 400)));   // diagonal step: 1 + 1 > 1
}

TEST(FullscreenInput, TwoPixelsAlongAnAxisEnd) {
    InputState s;
    EXPECT_FALSE(InputEndsRun(Full, true, s, Move(10, 10)));
    EXPECT_TRUE(InputEndsRun(Full, true, s, Move(10, 12)));
}

TEST(FullscreenInput, TheLastPositionIsRecordedEvenWhenTheMoveEnds) {
    InputState s;
    PointerMoveEnds(s, 0, 0);
    EXPECT_TRUE(PointerMoveEnds(s, 100, 100));
    EXPECT_EQ(s.LastX, 100);
    EXPECT_EQ(s.LastY, 100);
    EXPECT_FALSE(PointerMoveEnds(s, 101, 100));
}

TEST(FullscreenInput, AHugeJumpCannotWrapAroundIntoASmallDistance) {
    // In 32 bits, 65535² + 65535² wraps to a negative number and would let
    // the jump pass as "no movement".
    InputState s;
    PointerMoveEnds(s, 0, 0);
    EXPECT_TRUE(PointerMoveEnds(s, 65535, 65535));
    InputState t;
    PointerMoveEnds(t, -32768, -32768);
    EXPECT_TRUE(PointerMoveEnds(t, 32767, 32767));
}

TEST(FullscreenInput, WithoutMouseSensMovementNeverEndsButKeysAndButtonsDo) {
    InputState s;
    EXPECT_FALSE(InputEndsRun(Full, false, s, Move(0, 0)));
    EXPECT_FALSE(InputEndsRun(Full, false, s, Move(900, 700)));
    EXPECT_FALSE(InputEndsRun(Full, false, s, Move(0, 0)));
    EXPECT_EQ(s.MouseMoveCount, -1);  // not even counted
    EXPECT_TRUE(InputEndsRun(Full, false, s, Key(XK_a)));
    EXPECT_TRUE(InputEndsRun(Full, false, s, Button(1)));
}

TEST(FullscreenInput, AnyKeyAndTheLeftOrRightButtonEnd) {
    InputState s;
    for (uint32_t k : {static_cast<uint32_t>(XK_a), static_cast<uint32_t>(XK_space), static_cast<uint32_t>(XK_Alt_L),
                       static_cast<uint32_t>(XK_Shift_L), 0u}) {
        EXPECT_TRUE(InputEndsRun(Full, true, s, Key(k))) << k;
    }
    EXPECT_TRUE(InputEndsRun(Full, true, s, Button(1)));
    EXPECT_TRUE(InputEndsRun(Full, true, s, Button(3)));
    // Middle button and wheel: not handled by the Windows saver either.
    for (uint32_t b : {2u, 4u, 5u, 6u, 7u}) EXPECT_FALSE(InputEndsRun(Full, true, s, Button(b))) << b;
}

TEST(FullscreenInput, LosingTheFocusEndsOnlyAfterHavingHadIt) {
    InputState s;
    EXPECT_FALSE(InputEndsRun(Full, true, s, Focus(false)));
    EXPECT_FALSE(InputEndsRun(Full, true, s, Focus(true)));
    EXPECT_TRUE(InputEndsRun(Full, true, s, Focus(false)));
}

TEST(WindowInput, OnlyQAndEscapeEnd) {
    InputState s;
    EXPECT_TRUE(InputEndsRun(DisplayMode::Window, true, s, Key(XK_q)));
    EXPECT_TRUE(InputEndsRun(DisplayMode::Window, true, s, Key(XK_Q)));
    EXPECT_TRUE(InputEndsRun(DisplayMode::Window, true, s, Key(XK_Escape)));
    EXPECT_FALSE(InputEndsRun(DisplayMode::Window, true, s, Key(XK_a)));
    EXPECT_FALSE(InputEndsRun(DisplayMode::Window, true, s, Button(1)));
    EXPECT_FALSE(InputEndsRun(DisplayMode::Window, true, s, Move(0, 0)));
    EXPECT_FALSE(InputEndsRun(DisplayMode::Window, true, s, Move(300, 300)));
    EXPECT_FALSE(InputEndsRun(DisplayMode::Window, true, s, Focus(true)));
    EXPECT_FALSE(InputEndsRun(DisplayMode::Window, true, s, Focus(false)));
}

TEST(EmbeddedInput, RootAndWindowIdIgnoreEverything) {
    for (DisplayMode m : {DisplayMode::Root, DisplayMode::WindowId}) {
        InputState s;
        EXPECT_FALSE(InputEndsRun(m, true, s, Key(XK_q)));
        EXPECT_FALSE(InputEndsRun(m, true, s, Key(XK_Escape)));
        EXPECT_FALSE(InputEndsRun(m, true, s, Button(1)));
        EXPECT_FALSE(InputEndsRun(m, true, s, Move(0, 0)));
        EXPECT_FALSE(InputEndsRun(m, true, s, Move(500, 500)));
        EXPECT_FALSE(InputEndsRun(m, true, s, Focus(true)));
        EXPECT_FALSE(InputEndsRun(m, true, s, Focus(false)));
    }
}

}  // namespace
}  // namespace quorvex::linux_host
