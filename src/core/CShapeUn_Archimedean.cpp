// The (near-)Archimedean solids as wire frames. The first three come from
// constant tables; the football is grown step by step from three pentagons,
// and its vertex order and small irregularities come from that chain.
#include "CShapeUn.h"
#include "CShapeUn_Edges.h"
#include "XMath.h"

namespace quorvex {

namespace {

using shape_edges::AppendEdge;
using shape_edges::AppendEdges;
using shape_edges::AppendFiller;
using shape_edges::AppendVertices;
using shape_edges::Edge;

}  // namespace

void Cuboctahedron(CloudBuilder& b) {
    static constexpr Point3 vertices[] = {{0, 1, 1},  {1, 0, 1},  {1, 1, 0},  {0, -1, 1},  {1, 0, -1},  {-1, 1, 0},
                                          {0, 1, -1}, {-1, 0, 1}, {1, -1, 0}, {0, -1, -1}, {-1, 0, -1}, {-1, -1, 0}};
    static constexpr Edge edges[] = {{0, 1}, {0, 2},  {0, 5},  {0, 7},  {1, 2}, {1, 3},  {1, 8},  {2, 4},
                                     {2, 6}, {3, 7},  {3, 8},  {3, 11}, {4, 6}, {4, 8},  {4, 9},  {5, 6},
                                     {5, 7}, {5, 10}, {6, 10}, {7, 11}, {8, 9}, {9, 10}, {9, 11}, {10, 11}};
    AppendVertices(b, vertices);
    AppendEdges(b, edges, 9);
    AppendFiller(b, 12);
}

// Cut at 0.33 rather than a third, so the corner triangles are not quite
// regular; the point counts per edge make up the 240 without filler.
void TruncatedTetrahedron(CloudBuilder& b) {
    static constexpr float t = 0.33f;
    static constexpr Point3 vertices[] = {{t, t, 1},   {1, t, t},   {t, 1, t},   {1, -t, -t}, {t, -1, -t}, {t, -t, -1},
                                          {-t, -1, t}, {-1, -t, t}, {-t, -t, 1}, {-1, t, -t}, {-t, 1, -t}, {-t, t, -1}};
    static constexpr Edge corners[] = {{0, 1}, {1, 2}, {0, 2}, {3, 4},  {4, 5},   {3, 5},
                                       {6, 7}, {7, 8}, {6, 8}, {9, 10}, {10, 11}, {9, 11}};
    static constexpr Edge remaining[] = {{0, 8}, {1, 3}, {2, 10}, {4, 6}, {7, 9}, {5, 11}};
    AppendVertices(b, vertices);
    AppendEdges(b, corners, 10);
    AppendEdges(b, remaining, 18);
}

void TruncatedCube(CloudBuilder& b) {
    static constexpr float t = 0.4f;
    static constexpr Point3 vertices[] = {
        {1, t, 1},   {t, 1, 1},  {-t, 1, 1},  {-1, t, 1},   {-1, -t, 1},  {-t, -1, 1}, {t, -1, 1},  {1, -t, 1},
        {1, 1, t},   {1, 1, -t}, {t, 1, -1},  {-t, 1, -1},  {-1, 1, -t},  {-1, 1, t},  {1, -1, t},  {1, -1, -t},
        {1, -t, -1}, {1, t, -1}, {-1, t, -1}, {-1, -t, -1}, {-t, -1, -1}, {t, -1, -1}, {-1, -1, t}, {-1, -1, -t}};
    static constexpr Edge corners[] = {{0, 1},   {1, 8},   {8, 0},   {2, 3},   {3, 13},  {13, 2},  {4, 5},   {5, 22},
                                       {22, 4},  {6, 7},   {7, 14},  {14, 6},  {11, 12}, {12, 18}, {18, 11}, {19, 23},
                                       {23, 20}, {20, 19}, {15, 16}, {16, 21}, {21, 15}, {9, 17},  {17, 10}, {10, 9}};
    // What is left of the cube's edges, each between two octagons.
    static constexpr Edge between[] = {{1, 2},   {5, 6},   {20, 21}, {10, 11}, {3, 4},   {7, 0},
                                       {16, 17}, {18, 19}, {12, 13}, {22, 23}, {14, 15}, {8, 9}};
    AppendVertices(b, vertices);
    AppendEdges(b, corners, 6);
    AppendEdges(b, between, 6);
}

namespace {

// a + (b - a) * t per coordinate, rounded to single.
Point3 Lerp(Point3 a, Point3 c, Extended t) {
    auto one = [t](float from, float to) {
        const Extended f = from;
        return Single(f + (static_cast<Extended>(to) - f) * t);
    };
    return MakePoint(one(a.x, c.x), one(a.y, c.y), one(a.z, c.z));
}

// l1 - (l1 - l0) * t: the same point as Lerp(l0, l1, 1 - t) in exact
// arithmetic, but rounded from the other end.
Point3 LerpBack(Point3 l0, Point3 l1, Extended t) {
    auto one = [t](float from, float to) {
        const Extended e = to;
        return Single(e - (e - static_cast<Extended>(from)) * t);
    };
    return MakePoint(one(l0.x, l1.x), one(l0.y, l1.y), one(l0.z, l1.z));
}

constexpr Extended R0 = ExtendedConstant(0xb.ba5713280deebe9p-5L, 0.3664965986394558L);
constexpr Extended R1 = ExtendedConstant(0xb.bd453a3f350df3p-4L, 0.7337085986394558L);
constexpr Extended R2 = ExtendedConstant(0x8.ceaf7575319209cp-3L, 1.1009205986394557L);
constexpr Extended Tilt = ExtendedConstant(0xa.5c28f5c28f5c28fp-2L, 2.59L);
constexpr Extended ShortDrop = ExtendedConstant(0xd.cac083126e978d5p-5L, 0.431L);
constexpr Extended LongDrop = ExtendedConstant(0xd.cac083126e978d5p-4L, 0.862L);
constexpr Extended PentagonCut = ExtendedConstant(0xc.390ccfe4ece6f6fp-5L, 0.38196411709159583L);
constexpr Extended LowerCut = ExtendedConstant(0xa.a7ef9db22d0e56p-5L, 0.333L);

Extended PentagonAngle(int32_t i) { return ((static_cast<Extended>(i) / 5.0L) * 2.0L) * Pi; }

// Square of the golden ratio.
Extended GoldenSquare() { return Cos(Pi / 5.0L) * 2.0L + 1.0L; }

// The golden ratio.
Extended Golden() { return Sin(Pi / 10.0L) * 2.0L + 1.0L; }

void AppendFootballVertices(CloudBuilder& b) {
    PointCloud& p = b.cloud;
    // Upper pentagon, then the ring just below it.
    for (int32_t i = 0; i < 5; ++i) {
        const Extended theta = PentagonAngle(i);
        AppendPoint(b, MakePoint(Single(Cos(theta) * R0), Single(Sin(theta) * R0), 1.0f));
    }
    const float ringZ = Single(1.0L - Sin(Tilt) * ShortDrop);
    for (int32_t i = 0; i < 5; ++i) {
        const Extended theta = PentagonAngle(i);
        AppendPoint(b, MakePoint(Single(Cos(theta) * R1), Single(Sin(theta) * R1), ringZ));
    }
    // The trisection points of a wider pentagon that is itself never shown.
    Point3 wide[5];
    const float wideZ = Single(1.0L - Sin(Tilt) * LongDrop);
    for (int32_t i = 0; i < 5; ++i) {
        const Extended theta = PentagonAngle(i);
        wide[i] = MakePoint(Single(Cos(theta) * R2), Single(Sin(theta) * R2), wideZ);
    }
    for (int32_t k = 0; k < 5; ++k) AppendSegmentPoints(b, wide[k], wide[(k + 1) % 5], 2);

    const Extended g = GoldenSquare();
    for (int32_t k = 0; k < 5; ++k) {
        const Point3 base = p[5 + k];
        const Point3 l0 = Lerp(base, p[10 + (2 * k + 9) % 10], g);
        const Point3 l1 = Lerp(base, p[10 + 2 * k], g);
        AppendPoint(b, Lerp(l0, l1, PentagonCut));
        AppendPoint(b, LerpBack(l0, l1, PentagonCut));
    }

    Point3 reflected[10];
    for (int32_t m = 0; m < 10; ++m) reflected[m] = Lerp(p[10 + m], p[20 + (m + 1) % 10], 2.0L);
    for (int32_t j = 0; j < 5; ++j) AppendSegmentPoints(b, reflected[2 * j], reflected[2 * j + 1], 2);

    for (int32_t m = 0; m < 10; ++m) reflected[m] = Lerp(p[20 + m], p[30 + (m + 9) % 10], 2.0L);
    for (int32_t j = 0; j < 5; ++j) AppendSegmentPoints(b, reflected[2 * j], reflected[2 * j + 1], 2);

    const Extended h = Golden();
    for (int32_t j = 0; j < 5; ++j) {
        const Point3 u0 = Lerp(p[30 + 2 * j], p[41 + 2 * j], h);
        const Point3 u1 = Lerp(p[31 + 2 * j], p[40 + (2 * j + 2) % 10], h);
        AppendSegmentPoints(b, u0, u1, 1);
    }

    // Lower pentagon: cut at 0.333, so it comes out slightly irregular.
    static constexpr int32_t partner[10] = {54, 50, 50, 51, 51, 52, 52, 53, 53, 54};
    for (int32_t m = 0; m < 10; ++m) reflected[m] = Lerp(p[40 + m], p[partner[m]], 2.0L);
    for (int32_t j = 0; j < 5; ++j) AppendPoint(b, Lerp(reflected[2 * j], reflected[2 * j + 1], LowerCut));
}

}  // namespace

void TruncatedIcosahedron(CloudBuilder& b) {
    AppendFootballVertices(b);
    for (int32_t j = 0; j < 5; ++j) {
        AppendEdge(b, j, (j + 1) % 5, 2);
        AppendEdge(b, j, 5 + j, 2);
        AppendEdge(b, 5 + j, 10 + 2 * j, 2);
        AppendEdge(b, 5 + j, j == 0 ? 19 : 9 + 2 * j, 2);
        AppendEdge(b, 10 + 2 * j, 11 + 2 * j, 2);
        AppendEdge(b, 10 + j, 21 + j, 2);
        AppendEdge(b, 15 + j, 20 + (j + 6) % 10, 2);
        AppendEdge(b, 20 + 2 * j, 21 + 2 * j, 2);
        AppendEdge(b, 20 + j, 30 + (j + 9) % 10, 2);
        AppendEdge(b, 25 + j, 34 + j, 2);
        AppendEdge(b, 30 + 2 * j, 31 + 2 * j, 2);
        AppendEdge(b, 30 + j, 41 + j, 2);
        AppendEdge(b, 35 + j, 40 + (j + 6) % 10, 2);
        AppendEdge(b, 40 + 2 * j, 41 + 2 * j, 2);
        AppendEdge(b, 40 + j, 50 + ((j + 9) % 10) / 2, 2);
        AppendEdge(b, 45 + j, 52 + j / 2, 2);
        AppendEdge(b, 50 + j, 55 + (j + 1) % 5, 2);
        AppendEdge(b, 55 + j, 55 + (j + 1) % 5, 2);
    }
}

}  // namespace quorvex
