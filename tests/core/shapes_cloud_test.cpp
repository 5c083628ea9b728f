// The building operations, the point shuffle, and what every one of the 21
// shapes must satisfy.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "CShapeUn.h"
#include "shapes_test_util.h"

namespace quorvex {
namespace {

using test::ExpectNear;

TEST(BuildingOperations, AppendPointKeepsTheFirst240AndCountsEveryAppend) {
    struct Guarded {
        Point3 before[2];
        PointCloud cloud;
        Point3 after[2];
    } g{};
    CloudBuilder b{g.cloud};
    AppendCopyOfFirst(b);  // nothing appended yet: the origin
    for (int i = 1; i < 250; ++i) AppendPoint(b, MakePoint(float(i), float(-i), 0.5f));
    EXPECT_EQ(b.AppendCursor, 250);
    for (int i = 0; i < 240; ++i) ExpectNear(g.cloud[i], i, -i, i == 0 ? 0 : 0.5, 0);
    b.AppendCursor = -2;  // below the cloud: counted, not written
    AppendPoint(b, MakePoint(9, 9, 9));
    EXPECT_EQ(b.AppendCursor, -1);
    for (const Point3& p : {g.before[0], g.before[1], g.after[0], g.after[1]}) ExpectNear(p, 0, 0, 0, 0);
    b.AppendCursor = INT32_MAX;  // stays put rather than wrapping round
    AppendPoint(b, MakePoint(5, 5, 5));
    EXPECT_EQ(b.AppendCursor, INT32_MAX);
}

TEST(BuildingOperations, SegmentPointsAndCentroid) {
    PointCloud c{};
    CloudBuilder b{c};
    AppendSegmentPoints(b, MakePoint(0, 0, 0), MakePoint(1, 1, 1), 0);
    AppendSegmentPoints(b, MakePoint(0, 0, 0), MakePoint(1, 1, 1), -1);
    EXPECT_EQ(b.AppendCursor, 0);
    AppendSegmentPoints(b, MakePoint(0, 0, 0), MakePoint(1, 1, 1), 3);
    AppendSegmentPoints(b, MakePoint(2, -4, 1), MakePoint(4, 0, 1), 1);  // just the midpoint
    AppendSegmentPoints(b, MakePoint(1, 1, 1), MakePoint(0, 0, 0), 3);   // reversed
    AppendCentroid(b, MakePoint(3, 0, 0), MakePoint(0, 3, 0), MakePoint(0, 0, 3));
    ASSERT_EQ(b.AppendCursor, 8);
    const double expected[][4] = {{0, 0.25, 0.25, 0.25}, {2, 0.75, 0.75, 0.75}, {3, 3, -2, 1},
                                  {4, 0.75, 0.75, 0.75}, {6, 0.25, 0.25, 0.25}, {7, 1, 1, 1}};
    for (const auto& e : expected) ExpectNear(c[int(e[0])], e[1], e[2], e[3], 0);

    // Dividing first, or scaling by k / (n + 1), lands one float off here.
    AppendSegmentPoints(b, MakePoint(-0x1.70f02p-4f, -0x1.b5dd2cp-1f, 0), MakePoint(0x1.5680d8p-1f, -0x1.17df8p-4f, 0),
                        23);
    EXPECT_EQ(c[8 + 14].x, 0x1.898a8cp-2f);   // dividing first gives 0x1.898a8ap-2
    EXPECT_EQ(c[8 + 12].y, -0x1.b74658p-2f);  // k / 24 first gives -0x1.b74656p-2
}

TEST(ShuffleCloud, Makes2048DrawsAndLeavesAPermutation) {
    PointCloud cloud{};
    for (int i = 0; i < 240; ++i) cloud[i] = MakePoint(float(i), float(i * 2), float(-i));
    RandomGenerator rng{12345u};
    RandomGenerator expected = rng;
    for (int i = 0; i < 2048; ++i) RandomStep(expected);
    ShuffleCloud(cloud, rng);
    EXPECT_EQ(rng.RandomSeed, expected.RandomSeed);
    int seen[240] = {}, moved = 0;
    for (int i = 0; i < 240; ++i) {
        const int was = static_cast<int>(cloud[i].x);
        ASSERT_TRUE(was >= 0 && was < 240);
        ExpectNear(cloud[i], was, was * 2, -was, 0);
        ++seen[was];
        moved += was != i;
    }
    for (int n : seen) EXPECT_EQ(n, 1);
    EXPECT_GT(moved, 200);  // 1024 exchanges leave few points where they were
}

TEST(BuildShape, UnknownIdLeavesAClearedCloud) {
    PointCloud cloud{};
    cloud.fill(MakePoint(5, 5, 5));
    EXPECT_TRUE(BuildShape(21, cloud) == 0 && BuildShape(-1, cloud) == 0);
    for (const Point3& p : cloud) ExpectNear(p, 0, 0, 0, 0);
    EXPECT_TRUE(GeneratorFor(21) == nullptr && ShapeName(-1) == nullptr);
}

TEST(AllShapes, ExactlyTheirAppendsWithinBoundsAndRepeatable) {
    const double bound = static_cast<double>(1.33f);  // 1.33 rounds up a hair as a float
    for (ShapeId id = 0; id < ShapeCount; ++id) {
        ASSERT_NE(ShapeName(id), nullptr);
        SCOPED_TRACE(ShapeName(id));
        PointCloud first{};
        first.fill(MakePoint(9, 9, 9));  // BuildShape clears whatever was there
        EXPECT_EQ(BuildShape(id, first), 240);
        for (const Point3& p : first) {
            for (float v : {p.x, p.y, p.z}) EXPECT_LE(std::fabs(double(v)), bound);  // NaN fails too
        }
        const PointCloud second = test::Built(id);
        EXPECT_EQ(std::memcmp(first.data(), second.data(), sizeof(PointCloud)), 0);
    }
    EXPECT_STREQ(ShapeName(17), "TruncatedIcosahedron");
}

}  // namespace
}  // namespace quorvex
