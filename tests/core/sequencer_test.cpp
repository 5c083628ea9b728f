// The choice of the next shape: cycles of 21, no repeats in a row, the
// slightly uneven odds of the draw, and what it leaves in the cloud.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "CShapeUn.h"
#include "shapes_test_util.h"

namespace quorvex {
namespace {

constexpr uint32_t AllShapes = (1u << 21) - 1;

TEST(NextShape, FirstChoiceIsNeverShapeZeroAndFollowsTheOddsOfTheDraw) {
    // A draw 0..99 reduced mod 21: ids 1..15 come from 5 values, 16..20 from
    // 4, and 0 is barred on the first call, so first choices show 5 : 4.
    long low = 0, high = 0;
    PointCloud cloud{};
    for (uint32_t seed = 0; seed < 60000; ++seed) {
        ShapeSequencer seq;
        RandomGenerator rng{seed};
        const ShapeId id = NextShape(seq, rng, cloud, false);
        ASSERT_NE(id, 0) << "seed " << seed;
        (id <= 15 ? low : high) += 1;
    }
    const double ratio = (low / 15.0) / (high / 5.0);
    EXPECT_GT(ratio, 1.15);
    EXPECT_LT(ratio, 1.35);
}

TEST(NextShape, EveryCycleCoversAllShapesWithoutRepeatsInARow) {
    int afterReset[21] = {};
    for (uint32_t seed = 0; seed < 60; ++seed) {
        ShapeSequencer seq;
        RandomGenerator rng{seed * 747796405u + 1u};
        PointCloud cloud{};
        ShapeId last = -1;
        for (int cycle = 0; cycle < 40; ++cycle) {
            uint32_t seen = 0;
            for (int call = 0; call < 21; ++call) {
                const ShapeId id = NextShape(seq, rng, cloud, false);
                ASSERT_TRUE(id >= 0 && id < 21);
                ASSERT_NE(id, last) << "cycle " << cycle << " call " << call;
                ASSERT_EQ(seen & (1u << id), 0u) << "cycle " << cycle << " repeats " << id;
                seen |= 1u << id;
                ASSERT_EQ(seq.UsedShapes, seen);  // call 22 starts from an empty set
                EXPECT_EQ(seq.ShapeTable[seq.LastShapeIndex], id);
                if (call == 0 && cycle > 0) ++afterReset[id];
                last = id;
            }
            EXPECT_EQ(seen, AllShapes);
        }
    }
    // The first choice of a new cycle may be any shape but the last one.
    EXPECT_TRUE(std::all_of(afterReset, afterReset + 21, [](int n) { return n > 0; }));
}

TEST(NextShape, FillsTheWholeCloudInAppendOrderUnlessShuffled) {
    RandomGenerator plain{123u};
    RandomGenerator shuffled = plain;
    ShapeSequencer seqPlain, seqShuffled;
    PointCloud plainCloud{}, shuffledCloud{};
    plainCloud.fill(MakePoint(7, 7, 7));  // all of it must be overwritten
    const ShapeId id = NextShape(seqPlain, plain, plainCloud, false);
    ASSERT_EQ(NextShape(seqShuffled, shuffled, shuffledCloud, true), id);
    const PointCloud built = test::Built(id);
    EXPECT_EQ(std::memcmp(plainCloud.data(), built.data(), sizeof(PointCloud)), 0);

    // The shuffle adds its 2048 draws and keeps the points, in another order.
    for (int i = 0; i < 2048; ++i) RandomStep(plain);
    EXPECT_EQ(shuffled.RandomSeed, plain.RandomSeed);
    EXPECT_TRUE(std::is_permutation(built.begin(), built.end(), shuffledCloud.begin(), test::Same));
    EXPECT_NE(std::memcmp(built.data(), shuffledCloud.data(), sizeof(PointCloud)), 0);
}

}  // namespace
}  // namespace quorvex
