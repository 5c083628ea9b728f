// The 21 shapes: building operations, documented points, wire-frame edges, choice of the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "CShapeUn.h"

namespace quorvex {
namespace {

// Half a unit in the seventh decimal, plus a hair for the float itself.
constexpr double SevenDigits = 5.1e-8;

PointCloud Built(ShapeId id) {
    PointCloud cloud{};
    EXPECT_EQ(BuildShape(id, cloud), 240) << id;
    return cloud;
}

void ExpectNear(const Point3& p, double x, double y, double z, double tolerance = SevenDigits) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
    EXPECT_NEAR(p.z, z, tolerance);
}

bool Same(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

double Distance(const Point3& a, const Point3& b) {
    return std::hypot(double(a.x) - b.x, double(a.y) - b.y, double(a.z) - b.z);
}

struct EdgeGroup { int edges, pointsPerEdge; };  // at least 2 points per edge
struct Edge { int from, to; };

// Extends each run of interior points one step beyond both ends, where the
// vertices must be; the points after the last run must be copies of point 0.
std::vector<Edge> RecoverEdges(const PointCloud& c, int vertexCount, const std::vector<EdgeGroup>& groups) {
    auto vertexAt = [&](const Point3& inner, const Point3& next) {
        const Point3 out{2 * inner.x - next.x, 2 * inner.y - next.y, 2 * inner.z - next.z};
        for (int v = 0; v < vertexCount; ++v) {
            if (Distance(c[v], out) < 1e-4) return v;
        }
        ADD_FAILURE() << "no vertex at the end of the run";
        return 0;
    };
    std::vector<Edge> edges;
    int i = vertexCount;
    for (const EdgeGroup& g : groups) {
        for (int e = 0; e < g.edges; ++e, i += g.pointsPerEdge) {
            const int last = i + g.pointsPerEdge - 1;
            edges.push_back({vertexAt(c[i], c[i + 1]), vertexAt(c[last], c[last - 1])});
        }
    }
    for (; i < CloudCapacity; ++i) EXPECT_TRUE(Same(c[i], c[0])) << "filler point " << i;
    return edges;
}

// Documented points: shape, index, x, y, z (to seven digits).
const double Documented[][5] = {
    {0, 0, 0, 1, 0}, {0, 1, 1, 0, 0}, {0, 2, 0, 0, 1}, {0, 3, 0.0784591, 0.9969173, 0.1564345}, {1, 0, 0, 1, 0},
    {1, 30, 0, 1, 1}, {1, 31, 0, -1, 1},  // s rounds to exactly 1 at i = 15 and 75
    {8, 0, 0, 0.0784594, -0.9969173},  // cos(phi) would give 0.0784591
    {9, 0, 0, 0.1305265, -0.9914448}, {10, 0, 0, 0.1564343, -0.9876884}, {10, 1, 0, -0.9876884, 0.1564343},
    {10, 2, -0.9876884, 0, 0.1564343}, {15, 3, 1, 0, 0.33}, {15, 12, 1.2649052, 0.4109926, 0},
    {16, 15, 1.2287598, 0.5089690, 0.0000001},  // one turn round the tube
    {5, 4, 0.95, 0.95, 1}, {5, 42, -0.95, -0.95, 1}, {2, 8, 0.9, 1, 1}, {2, 26, -0.9, 1, 1}, {2, 27, 1, 0.9, 1},
    {6, 6, 0.05, 0, 0.95}, {20, 12, 0.1, 0.9, 1}, {12, 12, 0.3909091, 0.33, 0.9390909},
    {13, 24, 0.9142857, 0.4857143, 1}, {4, 14, 0.4121429, 0.577, 0.577}, {18, 8, 0.25, 0.15, 0.15},
    {18, 11, 0.25, -0.15, -0.15}, {19, 14, 0.2, 0.2, 0.12}, {14, 24, 0.8181818, 0.4, 0.2},
    {7, 1, 0.5877852, 0.8090170, -0.5}, {7, 10, 0, 0, 1.118034}, {7, 11, 0, 0, -1.118034}, {7, 222, 0, 1, 0.5},
    {11, 0, 0.5129473, 0.7060114, 0.1666667}, {11, 10, 0.3170188, 0.4363390, 0.7060114}, {17, 0, 0.3664966, 0, 1},
    {17, 10, 0.8473481, 0.3490126, 0.5482738}, {17, 30, 0.9613453, 0.4316519, -0.1826345},
    {17, 55, 0.2974142, -0.2164015, -0.9998149}, {17, 58, -0.3678107, 0.0002568, -0.9998149},  // the 0.333 cut shows
    {3, 6, 1, 0.7047695, 0.2565151}, {3, 11, 0.7047695, 0.2565151, -1}, {3, 108, 0.875, 0.875, 0}, {3, 212, 0, 0, 1},
    {3, 205, -0.725, 0.725, 0.725}, {3, 215, -1, -0.25, 0.25}, {3, 227, 0, -1, 0.4}, {3, 239, 1, 0.75, 0},
    {8, 12, 0, 0.2334454, -0.9723699}, {9, 20, 0, 0.3826835, -0.9238795}, {15, 0, 1.33, 0, 0}, {16, 0, 1.33, 0, 0},
};

TEST(AllShapes, DocumentedPoints) {
    for (const auto& d : Documented) {
        SCOPED_TRACE(::testing::Message() << ShapeName(int(d[0])) << " point " << d[1]);
        ExpectNear(Built(int(d[0]))[int(d[1])], d[2], d[3], d[4]);
    }
}

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
        const PointCloud second = Built(id);
        EXPECT_EQ(std::memcmp(first.data(), second.data(), sizeof(PointCloud)), 0);
    }
    EXPECT_STREQ(ShapeName(17), "TruncatedIcosahedron");
    PointCloud cloud{};  // an unknown id leaves a cleared cloud
    cloud.fill(MakePoint(5, 5, 5));
    EXPECT_TRUE(BuildShape(21, cloud) == 0 && BuildShape(-1, cloud) == 0);
    EXPECT_TRUE(GeneratorFor(21) == nullptr && ShapeName(-1) == nullptr);
    for (const Point3& p : cloud) ExpectNear(p, 0, 0, 0, 0);
}

TEST(Curves, Loops) {
    const PointCloud triple = Built(0);
    for (int i = 0; i < 240; i += 3) ExpectNear(triple[i + 2], triple[i].z, triple[i].x, triple[i].y, 0);

    const PointCloud twin = Built(1);
    ExpectNear(twin[1], 1, 0, 0, 1e-15);  // t + pi/2 kept extended; a single would leave -4.4e-8
    for (int i : {30, 31, 150}) ExpectNear(twin[i], 0, twin[i].y, 1, 0);
}

struct WireFrame {
    ShapeId id;
    int vertices;
    std::vector<EdgeGroup> groups;
    int degree;                   // at every vertex, or 0 when they differ
    std::vector<double> lengths;  // every edge has one of these; empty: all alike
    const char* order;            // the first edges as from>to, or none
};

std::vector<WireFrame> WireFrames() {
    std::vector<EdgeGroup> slabs;
    for (int r = 0; r < 6; ++r) slabs.insert(slabs.end(), {{1, 10}, {1, 5}, {1, 10}, {1, 5}});
    slabs.push_back({12, 3});
    const double r2 = std::sqrt(2.0);
    // clang-format off
    return {
        {5, 4, {{6, 39}}, 3, {2 * r2}, "0>1 1>2 2>3 0>2 0>3 1>3"},
        {2, 8, {{12, 19}}, 3, {2}, "0>1 0>2 0>3 1>4 1>6 2>4 2>5 3>5 3>6 4>7 5>7 6>7"},
        {6, 6, {{12, 19}}, 4, {r2}, "0>1 0>2 0>3 0>4 1>2 2>3 3>4 4>1 5>1 5>2 5>3 5>4"},
        {7, 12, {{30, 7}}, 5, {}, ""},
        {11, 20, {{30, 7}}, 3, {}, ""},
        {20, 12, {{24, 9}}, 4, {r2},
         "0>1 0>2 0>5 0>7 1>2 1>3 1>8 2>4 2>6 3>7 3>8 3>11 4>6 4>8 4>9 5>6 5>7 5>10 6>10 7>11 8>9 9>10 9>11 10>11"},
        {12, 12, {{12, 10}, {6, 18}}, 3, {0.67 * r2, 0.66 * r2},
         "0>1 1>2 0>2 3>4 4>5 3>5 6>7 7>8 6>8 9>10 10>11 9>11 0>8 1>3 2>10 4>6 7>9 5>11"},
        {13, 24, {{36, 6}}, 3, {0.6 * r2, 0.8},
         "0>1 1>8 8>0 2>3 3>13 13>2 4>5 5>22 22>4 6>7 7>14 14>6 11>12 12>18 18>11 19>23 23>20 20>19 15>16 "
         "16>21 21>15 9>17 17>10 10>9 1>2 5>6 20>21 10>11 3>4 7>0 16>17 18>19 12>13 22>23 14>15 8>9"},
        {17, 60, {{90, 2}}, 3, {0.4315},  // the first two rounds of the edge table
         "0>1 0>5 5>10 5>19 10>11 10>21 15>26 20>21 20>39 25>34 30>31 30>41 35>46 40>41 40>54 45>52 50>56 55>56 "
         "1>2 1>6 6>12 6>11 12>13 11>22 16>27 22>23 21>30 26>35 32>33 31>42 36>47 42>43 41>50 46>52 51>57 56>57"},
        {4, 14, {{36, 6}}, 0, {1.154, std::sqrt(2 * 0.577 * 0.577 + 0.423 * 0.423)},
         "0>1 1>3 3>2 2>0 4>5 5>7 7>6 6>4 0>4 1>5 2>6 3>7 0>8 1>13 0>12 4>9 4>10 6>11 1>8 3>13 2>12 5>9 5>10 "
         "7>11 2>8 5>13 4>12 6>9 0>10 2>11 3>8 7>13 6>12 7>9 1>10 3>11"},
        {18, 8, {{1, 4}, {5, 8}, {12, 14}}, 0, {0.5 * r2, std::sqrt(1.15 * 1.15 + 2 * 0.65 * 0.65)},
         "0>1 0>2 0>3 1>2 1>3 2>3 4>1 4>2 4>3 5>0 5>2 5>3 6>0 6>1 6>3 7>0 7>1 7>2"},
        {19, 14, {{12, 4}, {24, 7}}, 0, {0.4, std::sqrt(1.0 + 2 * 0.2 * 0.2)},
         "0>1 0>3 0>4 2>1 2>3 2>6 5>1 5>4 5>6 7>3 7>4 7>6 8>0 8>1 8>2 8>3 9>4 9>5 9>6 9>7 10>0 10>1 10>4 10>5 "
         "11>2 11>3 11>6 11>7 12>0 12>3 12>4 12>7 13>1 13>2 13>5 13>6"},
        {14, 24, slabs, 3, {2, 0.8, 0.4},
         "0>1 1>2 2>3 3>0 4>5 5>6 6>7 7>4 8>9 9>10 10>11 11>8 12>13 13>14 14>15 15>12 16>17 17>18 18>19 19>16 "
         "20>21 21>22 22>23 23>20 0>4 1>5 2>6 3>7 8>12 9>13 10>14 11>15 16>20 17>21 18>22 19>23"},
    };
    // clang-format on
}

TEST(WireFrames, EdgesJoinTheRightVerticesWithTheRightCounts) {
    for (const WireFrame& w : WireFrames()) {
        SCOPED_TRACE(ShapeName(w.id));
        const PointCloud c = Built(w.id);
        const auto edges = RecoverEdges(c, w.vertices, w.groups);
        std::vector<int> degree(w.vertices, 0);
        for (const auto& e : edges) {
            ++degree[e.from];
            ++degree[e.to];
            const double length = Distance(c[e.from], c[e.to]);
            bool known = w.lengths.empty() && std::fabs(length - Distance(c[edges[0].from], c[edges[0].to])) < 1e-5;
            for (double l : w.lengths) known = known || std::fabs(length - l) < 2e-3;
            EXPECT_TRUE(known) << e.from << ">" << e.to << " is " << length << " long";
        }
        for (int v = 0; v < w.vertices && w.degree != 0; ++v) EXPECT_EQ(degree[v], w.degree) << "vertex " << v;
        std::string order;  // "from>to from>to ...": all edges, or the first ones
        for (const Edge& e : edges) order += std::to_string(e.from) + ">" + std::to_string(e.to) + " ";
        const std::string want = *w.order ? w.order + std::string(" ") : "";
        EXPECT_EQ(order.substr(0, want.size()), want);
    }
}

TEST(WireFrames, IcosahedronAndItsDual) {
    const PointCloud ico = Built(7), dodeca = Built(11);
    // The face centroids of the icosahedron just built, each from its fixed
    // apex; the apex choice shows in the last bit.
    PointCloud faces{};
    CloudBuilder f{faces};
    for (int k = 0; k < 10; ++k) AppendCentroid(f, ico[k], ico[(k + 1) % 10], ico[(k + 2) % 10]);
    for (int j = 0; j < 5; ++j) {
        AppendCentroid(f, ico[10], ico[2 * j], ico[(2 * j + 2) % 10]);
        AppendCentroid(f, ico[11], ico[2 * j + 1], ico[(2 * j + 3) % 10]);
    }
    for (int v = 0; v < 20; ++v) EXPECT_TRUE(Same(dodeca[v], faces[v])) << v;
}

TEST(NextShape, FirstChoiceIsNeverShapeZeroAndFollowsTheOddsOfTheDraw) {
    // A draw 0..99 reduced mod 21: ids 1..15 come from 5 values, 16..20 from
    // 4, and 0 is barred on the first call, so first choices show 5 : 4.
    double low = 0, high = 0;
    PointCloud cloud{};
    for (uint32_t seed = 0; seed < 60000; ++seed) {
        ShapeSequencer seq;
        RandomGenerator rng{seed};
        const ShapeId id = NextShape(seq, rng, cloud, false);
        ASSERT_NE(id, 0) << "seed " << seed;
        (id <= 15 ? low : high) += 1;
    }
    EXPECT_NEAR((low / 15.0) / (high / 5.0), 1.25, 0.1);
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
            EXPECT_EQ(seen, (1u << 21) - 1);
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
    const PointCloud built = Built(id);
    EXPECT_EQ(std::memcmp(plainCloud.data(), built.data(), sizeof(PointCloud)), 0);

    // The shuffle adds its 2048 draws and keeps the points, in another order.
    for (int i = 0; i < 2048; ++i) RandomStep(plain);
    EXPECT_EQ(shuffled.RandomSeed, plain.RandomSeed);
    EXPECT_TRUE(std::is_permutation(built.begin(), built.end(), shuffledCloud.begin(), Same));
    EXPECT_NE(std::memcmp(built.data(), shuffledCloud.data(), sizeof(PointCloud)), 0);
}

}  // namespace
}  // namespace quorvex
