// The edge-built shapes: vertex order, edge direction, point counts per edge,
// edge lengths, filler, and the documented points.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CShapeUn.h"
#include "shapes_test_util.h"

namespace quorvex {
namespace {

using test::Built;
using test::Distance;
using test::ExpectNear;

struct WireFrame {
    ShapeId id;
    int vertices;
    std::vector<test::EdgeGroup> groups;
    int degree;                   // at every vertex, or 0 when they differ
    std::vector<double> lengths;  // every edge has one of these; empty: all alike
    const char* order;            // the edges as from>to, or null
};

std::vector<WireFrame> WireFrames() {
    std::vector<test::EdgeGroup> slabs;
    for (int r = 0; r < 6; ++r) slabs.insert(slabs.end(), {{1, 10}, {1, 5}, {1, 10}, {1, 5}});
    slabs.push_back({12, 3});
    const double r2 = std::sqrt(2.0);
    // clang-format off
    return {
        {5, 4, {{6, 39}}, 3, {2 * r2}, "0>1 1>2 2>3 0>2 0>3 1>3"},
        {2, 8, {{12, 19}}, 3, {2}, "0>1 0>2 0>3 1>4 1>6 2>4 2>5 3>5 3>6 4>7 5>7 6>7"},
        {6, 6, {{12, 19}}, 4, {r2}, "0>1 0>2 0>3 0>4 1>2 2>3 3>4 4>1 5>1 5>2 5>3 5>4"},
        {7, 12, {{30, 7}}, 5, {}, nullptr},
        {11, 20, {{30, 7}}, 3, {}, nullptr},
        {20, 12, {{24, 9}}, 4, {r2},
         "0>1 0>2 0>5 0>7 1>2 1>3 1>8 2>4 2>6 3>7 3>8 3>11 4>6 4>8 4>9 5>6 5>7 5>10 6>10 7>11 8>9 9>10 9>11 10>11"},
        {12, 12, {{12, 10}, {6, 18}}, 3, {0.67 * r2, 0.66 * r2},
         "0>1 1>2 0>2 3>4 4>5 3>5 6>7 7>8 6>8 9>10 10>11 9>11 0>8 1>3 2>10 4>6 7>9 5>11"},
        {13, 24, {{36, 6}}, 3, {0.6 * r2, 0.8},
         "0>1 1>8 8>0 2>3 3>13 13>2 4>5 5>22 22>4 6>7 7>14 14>6 11>12 12>18 18>11 19>23 23>20 20>19 15>16 "
         "16>21 21>15 9>17 17>10 10>9 1>2 5>6 20>21 10>11 3>4 7>0 16>17 18>19 12>13 22>23 14>15 8>9"},
        {17, 60, {{90, 2}}, 3, {0.4315}, nullptr},
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
        const auto edges = test::RecoverEdges(c, w.vertices, w.groups);
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
        if (w.order != nullptr) {
            EXPECT_EQ(test::EdgeOrder(edges, edges.size()), w.order);
        }
    }
}

TEST(WireFrames, DocumentedPoints) {
    const PointCloud tet = Built(5), cube = Built(2), octa = Built(6), cubocta = Built(20);
    ExpectNear(tet[4], 0.95, 0.95, 1);
    ExpectNear(tet[42], -0.95, -0.95, 1);
    ExpectNear(cube[8], 0.9, 1, 1);
    ExpectNear(cube[26], -0.9, 1, 1);
    ExpectNear(cube[27], 1, 0.9, 1);
    ExpectNear(octa[6], 0.05, 0, 0.95);
    ExpectNear(cubocta[12], 0.1, 0.9, 1);
    ExpectNear(Built(12)[12], 0.3909091, 0.33, 0.9390909);
    ExpectNear(Built(13)[24], 0.9142857, 0.4857143, 1);
    ExpectNear(Built(4)[14], 0.4121429, 0.577, 0.577);
    ExpectNear(Built(18)[8], 0.25, 0.15, 0.15);
    ExpectNear(Built(18)[11], 0.25, -0.15, -0.15);
    ExpectNear(Built(19)[14], 0.2, 0.2, 0.12);
    ExpectNear(Built(14)[24], 0.8181818, 0.4, 0.2);
}

TEST(WireFrames, IcosahedronAndItsDual) {
    const PointCloud ico = Built(7);
    ExpectNear(ico[1], 0.5877852, 0.8090170, -0.5);
    // The ring angle is stored as a single before pi/5 is added.
    EXPECT_NEAR(ico[5].x, -0.0000001, test::SevenDigits);
    EXPECT_NE(ico[5].x, 0.0f);
    ExpectNear(ico[10], 0, 0, 1.118034);
    ExpectNear(ico[11], 0, 0, -1.118034);
    ExpectNear(ico[222], 0, 1, 0.5, 0);

    const PointCloud dodeca = Built(11);
    ExpectNear(dodeca[0], 0.5129473, 0.7060114, 0.1666667);
    ExpectNear(dodeca[10], 0.3170188, 0.4363390, 0.7060114);
    // The face centroids of the icosahedron just built, each from its fixed
    // apex; the apex choice shows in the last bit.
    PointCloud faces{};
    CloudBuilder f{faces};
    for (int k = 0; k < 10; ++k) AppendCentroid(f, ico[k], ico[(k + 1) % 10], ico[(k + 2) % 10]);
    for (int j = 0; j < 5; ++j) {
        AppendCentroid(f, ico[10], ico[2 * j], ico[(2 * j + 2) % 10]);
        AppendCentroid(f, ico[11], ico[2 * j + 1], ico[(2 * j + 3) % 10]);
    }
    for (int v = 0; v < 20; ++v) EXPECT_TRUE(test::Same(dodeca[v], faces[v])) << v;
}

TEST(WireFrames, TruncatedIcosahedron) {
    const PointCloud p = Built(17);
    ExpectNear(p[0], 0.3664966, 0, 1);
    ExpectNear(p[5], 0.7337086, 0, 0.7741369);
    ExpectNear(p[10], 0.8473481, 0.3490126, 0.5482738);
    ExpectNear(p[20], 1.0312207, -0.2157051, 0.1828196);
    ExpectNear(p[30], 0.9613453, 0.4316519, -0.1826345);
    ExpectNear(p[40], 0.8914698, -0.2158662, -0.5480887);
    ExpectNear(p[50], 0.5944420, 0.4318875, -0.7739518);
    ExpectNear(p[55], 0.2974142, -0.2164015, -0.9998149);
    ExpectNear(p[58], -0.3678107, 0.0002568, -0.9998149);  // the 0.333 cut shows
    for (int v = 0; v < 60; ++v) EXPECT_NEAR(Distance(p[v], Point3{}), 1.0675, 0.0025) << v;
    const auto edges = test::RecoverEdges(p, 60, {{90, 2}});
    // The first two rounds of the edge table written out, and the last edge.
    EXPECT_EQ(test::EdgeOrder(edges, 36),
              "0>1 0>5 5>10 5>19 10>11 10>21 15>26 20>21 20>39 25>34 30>31 30>41 35>46 40>41 40>54 45>52 50>56 55>56 "
              "1>2 1>6 6>12 6>11 12>13 11>22 16>27 22>23 21>30 26>35 32>33 31>42 36>47 42>43 41>50 46>52 51>57 56>57");
    EXPECT_EQ(test::EdgeOrder({edges[89]}, 1), "59>55");
}

TEST(WireFrames, Die) {
    const PointCloud die = Built(3);
    ExpectNear(die[6], 1, 0.7047695, 0.2565151);
    ExpectNear(die[11], die[6].y, die[6].z, -1, 0);  // one (c, s) on all six faces
    ExpectNear(die[108], 0.875, 0.875, 0, 0);
    ExpectNear(die[205], -0.725f, 0.725f, 0.725f, 0);
    ExpectNear(die[212], 0, 0, 1, 0);
    ExpectNear(die[215], -1, -0.25, 0.25, 0);
    ExpectNear(die[226], 1, 0, 0, 0);
    ExpectNear(die[227], 0, -1, 0.4f, 0);
    for (int i = 233; i < 240; ++i) ExpectNear(die[i], 1, 0.75, 0, 0);
}

}  // namespace
}  // namespace quorvex
