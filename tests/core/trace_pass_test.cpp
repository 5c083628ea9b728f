// The trace passes on small pictures whose results only the in-place,
// top-down, left-to-right order produces; the choice of pass; and trace
// lengths outside the slider's range.
#include <gtest/gtest.h>

#include "frame.h"
#include "trace_picture.h"

namespace quorvex {
namespace {

struct Picture : test::Picture {
    Picture(int32_t w, int32_t h, uint8_t fill = 0) : test::Picture(w, h, w + 3, fill) {}
};

TEST(TracePasses, SimpleDimsEveryPixelByTheStepOfItsLength) {
    Picture p(3, 1);
    p.at(0, 0) = 20;
    p.at(1, 0) = 17;
    p.at(2, 0) = 255;
    SimplePass(p.px(), 1);
    EXPECT_TRUE(p.at(0, 0) == 2 && p.at(1, 0) == 0);
    EXPECT_EQ(p.at(2, 0), 237);  // edges too, even on a one-row picture
    EXPECT_EQ(p.Lit(), 2);
    const int steps[4] = {24, 18, 12, 6};
    for (int L = 0; L < 4; ++L) {
        Picture q(1, 1, 100);
        SimplePass(q.px(), L);
        EXPECT_EQ(q.at(0, 0), 100 - steps[L]) << L;
    }
}

TEST(TracePasses, ASinglePixelSpreadsByDiffusionAndRisesByFire) {
    Picture d(11, 11), f(11, 11);
    d.at(5, 5) = f.at(5, 5) = 200;
    DiffusionPass(d.px(), 1);
    // above, left, itself, right, below, above-right, below-left, below-right
    const int spread[][3] = {{5, 4, 48}, {4, 5, 48}, {5, 5, 22}, {6, 5, 6},
                             {5, 6, 6},  {6, 4, 10}, {4, 6, 10}, {6, 6, 1}};
    for (const auto& s : spread) EXPECT_EQ(d.at(s[0], s[1]), s[2]) << s[0] << "," << s[1];
    EXPECT_EQ(d.Lit(), 8);
    FirePass(f.px(), 1);  // as if from an unchanged copy
    EXPECT_TRUE(f.at(4, 4) == 48 && f.at(5, 4) == 48 && f.at(6, 4) == 48 && f.at(5, 3) == 48);
    EXPECT_EQ(f.Lit(), 4);
    Picture q(5, 5);
    q.at(1, 2) = q.at(2, 2) = q.at(3, 2) = 100;
    FirePass(q.px(), 1);
    EXPECT_EQ(q.at(2, 1), 73);  // 300 / 4 - 2
}

TEST(TracePasses, BordersAreLeftAsTheyAre) {
    Picture d(6, 5, 90), f(6, 5, 90);
    DiffusionPass(d.px(), 0);
    FirePass(f.px(), 0);
    for (int32_t y = 0; y < 5; ++y) {
        EXPECT_TRUE(d.at(0, y) == 90 && d.at(5, y) == 90 && f.at(0, y) == 90 && f.at(5, y) == 90) << y;
    }
    for (int32_t x = 0; x < 6; ++x) {
        EXPECT_TRUE(d.at(x, 0) == 90 && d.at(x, 4) == 90 && f.at(x, 3) == 90 && f.at(x, 4) == 90) << x;
    }
    EXPECT_TRUE(d.at(1, 1) == 87 && f.at(1, 2) == 87 && f.at(1, 0) == 87);
    for (int32_t h = 1; h <= 2; ++h) {  // fewer than 3 rows: nothing to do
        Picture p(6, h, 40);
        DiffusionPass(p.px(), 0);
        FirePass(p.px(), 0);
        EXPECT_EQ(p.at(2, h - 1), 40);
        EXPECT_EQ(p.Lit(), 6 * h);
    }
    uint8_t one = 50;
    SimplePass(IndexedPixels{&one, 1, 1, 0}, 1);  // a stride below the width is not a picture
    DiffusionPass(IndexedPixels{nullptr, 10, 10, 10}, 1);
    EXPECT_EQ(one, 50);
}

TEST(TracePasses, LengthsOutsideTheSliderCountAsTheNearestEnd) {
    EXPECT_TRUE(EffectiveTraceLength(9) == 3 && EffectiveTraceLength(-5) == 0);
    Picture p(1, 1, 250);
    SimplePass(p.px(), 9);
    EXPECT_EQ(p.at(0, 0), 244);  // not 250 + 30, which would wrap to 24
    SimplePass(p.px(), -5);
    EXPECT_EQ(p.at(0, 0), 220);
    for (int mode = 0; mode < 2; ++mode) {  // a bright field never passes 255
        Picture q(6, 6, 255);
        mode == 0 ? DiffusionPass(q.px(), 9) : FirePass(q.px(), 9);
        EXPECT_EQ(q.at(2, 2), 255) << mode;
        FirePass(q.px(), -5);
        EXPECT_EQ(q.at(2, 2), 252) << mode;
    }
}

TEST(TracePasses, TheModeSelectsThePassAndNegativeRemaindersSelectFire) {
    const int modes[][2] = {{0, 0}, {1, 1}, {2, 2}, {-1, 2}, {-2, 2}, {4, 1}, {INT32_MIN, 2}};
    for (const auto& m : modes) EXPECT_EQ(static_cast<int>(EffectFor(m[0])), m[1]) << m[0];
    SaverSettings s;
    s.TraceModeInd = -4 % 3;  // -1: the remainder keeps the sign
    Picture p(11, 11);
    p.at(5, 5) = 200;
    TracePass(s, p.px());
    EXPECT_EQ(p.at(5, 3), 48);  // risen two rows: Fire
    s.TraceModeInd = 0;
    Picture q(1, 1, 30);
    TracePass(s, q.px());
    EXPECT_EQ(q.at(0, 0), 12);
}

}  // namespace
}  // namespace quorvex
