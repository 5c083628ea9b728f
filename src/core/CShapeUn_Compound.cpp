// Shapes composed by hand: spiked and compound solids and the die. Unlike
// the regular solids, some of them space their edges unevenly on purpose.
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

// Cube corners at 0.577 lie almost on the unit sphere, like the apexes.
void PyramidCube(CloudBuilder& b) {
    static constexpr float c = 0.577f;
    static constexpr Point3 vertices[] = {{c, c, c},   {-c, c, c},  {c, -c, c},   {-c, -c, c}, {c, c, -c},
                                          {-c, c, -c}, {c, -c, -c}, {-c, -c, -c}, {0, 0, 1},   {0, 0, -1},
                                          {0, 1, 0},   {0, -1, 0},  {1, 0, 0},    {-1, 0, 0}};
    static constexpr Edge cubeEdges[] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                         {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    AppendVertices(b, vertices);
    AppendEdges(b, cubeEdges, 6);
    for (int32_t s = 0; s < 4; ++s) {
        const int32_t c4 = (s + 4) % 6;
        AppendEdge(b, s, 8, 6);
        AppendEdge(b, 2 * s + 1, 13, 6);
        AppendEdge(b, 2 * s, 12, 6);
        AppendEdge(b, s + 4, 9, 6);
        AppendEdge(b, c4, 10, 6);
        AppendEdge(b, c4 + 2, 11, 6);
    }
    AppendFiller(b, 10);
}

void SpikedTetrahedron(CloudBuilder& b) {
    static constexpr float s = 0.25f;
    static constexpr float t = 0.9f;
    static constexpr Point3 vertices[] = {{s, s, s},    {s, -s, -s}, {-s, s, -s}, {-s, -s, s},
                                          {-t, -t, -t}, {-t, t, t},  {t, -t, t},  {t, t, -t}};
    static constexpr Edge body[] = {{0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    static constexpr Edge spikes[] = {{4, 1}, {4, 2}, {4, 3}, {5, 0}, {5, 2}, {5, 3},
                                      {6, 0}, {6, 1}, {6, 3}, {7, 0}, {7, 1}, {7, 2}};
    AppendVertices(b, vertices);
    // This one edge is sparser than the rest; the filler count below relies
    // on it.
    AppendEdge(b, 0, 1, 4);
    AppendEdges(b, body, 8);
    AppendEdges(b, spikes, 14);
    AppendFiller(b, 20);
}

void SpikedCube(CloudBuilder& b) {
    static constexpr float s = 0.2f;
    static constexpr float t = 1.2f;
    static constexpr Point3 vertices[] = {{s, s, s},   {s, s, -s},   {s, -s, -s}, {s, -s, s}, {-s, s, s},
                                          {-s, s, -s}, {-s, -s, -s}, {-s, -s, s}, {t, 0, 0},  {-t, 0, 0},
                                          {0, t, 0},   {0, -t, 0},   {0, 0, t},   {0, 0, -t}};
    static constexpr Edge body[] = {{0, 1}, {0, 3}, {0, 4}, {2, 1}, {2, 3}, {2, 6},
                                    {5, 1}, {5, 4}, {5, 6}, {7, 3}, {7, 4}, {7, 6}};
    static constexpr Edge spikes[] = {{8, 0},  {8, 1},  {8, 2},  {8, 3},  {9, 4},  {9, 5},  {9, 6},  {9, 7},
                                      {10, 0}, {10, 1}, {10, 4}, {10, 5}, {11, 2}, {11, 3}, {11, 6}, {11, 7},
                                      {12, 0}, {12, 3}, {12, 4}, {12, 7}, {13, 1}, {13, 2}, {13, 5}, {13, 6}};
    AppendVertices(b, vertices);
    AppendEdges(b, body, 4);
    AppendEdges(b, spikes, 7);
    AppendFiller(b, 10);
}

// Three 2 x 0.8 x 0.4 boxes, long on x, z and y; each is two rectangles of
// four vertices joined by four short edges.
void ThreeSlabs(CloudBuilder& b) {
    static constexpr float l = 0.4f;
    static constexpr float w = 0.2f;
    static constexpr Point3 vertices[] = {
        {1, l, w}, {-1, l, w}, {-1, -l, w}, {1, -l, w}, {1, l, -w}, {-1, l, -w}, {-1, -l, -w}, {1, -l, -w},
        {l, w, 1}, {l, w, -1}, {-l, w, -1}, {-l, w, 1}, {l, -w, 1}, {l, -w, -1}, {-l, -w, -1}, {-l, -w, 1},
        {w, 1, l}, {w, -1, l}, {w, -1, -l}, {w, 1, -l}, {-w, 1, l}, {-w, -1, l}, {-w, -1, -l}, {-w, 1, -l}};
    AppendVertices(b, vertices);
    for (int32_t r = 0; r < 6; ++r) {
        const int32_t v = 4 * r;
        AppendEdge(b, v, v + 1, 10);
        AppendEdge(b, v + 1, v + 2, 5);
        AppendEdge(b, v + 2, v + 3, 10);
        AppendEdge(b, v + 3, v, 5);
    }
    static constexpr Edge shortEdges[] = {{0, 4},   {1, 5},   {2, 6},   {3, 7},   {8, 12},  {9, 13},
                                          {10, 14}, {11, 15}, {16, 20}, {17, 21}, {18, 22}, {19, 23}};
    AppendEdges(b, shortEdges, 3);
}

namespace {

// One circle of `steps` points on each of the six planes at +-offset,
// sampled together so the six circles grow point by point.
void AppendFaceCircles(CloudBuilder& b, int32_t steps, Extended radius, float offset) {
    for (int32_t i = 0; i < steps; ++i) {
        const float a = Single(((static_cast<Extended>(i) / static_cast<Extended>(steps)) * 2.0L) * Pi);
        const float c = Single(Cos(a) * radius);
        const float s = Single(Sin(a) * radius);
        AppendPoint(b, MakePoint(offset, c, s));
        AppendPoint(b, MakePoint(-offset, c, s));
        AppendPoint(b, MakePoint(c, offset, s));
        AppendPoint(b, MakePoint(c, -offset, s));
        AppendPoint(b, MakePoint(c, s, offset));
        AppendPoint(b, MakePoint(c, s, -offset));
    }
}

}  // namespace

void Die(CloudBuilder& b) {
    AppendFaceCircles(b, 18, 0.75L, 1.0f);
    AppendFaceCircles(b, 16, 0.875L, 0.875f);
    static constexpr float k = 0.725f;
    static constexpr Point3 corners[] = {{k, k, k},   {-k, k, k},  {k, -k, k},  {k, k, -k},
                                         {-k, -k, k}, {k, -k, -k}, {-k, k, -k}, {-k, -k, -k}};
    AppendVertices(b, corners);
    // Opposite faces add up to 5, 8 and 8.
    static constexpr float q = 0.25f;
    static constexpr Point3 pips[] = {
        {0, 0, 1},                                                                                           // one
        {q, 1, q},     {-q, 1, -q},                                                                          // two
        {-1, -q, q},   {-1, 0, 0},        {-1, q, -q},                                                       // three
        {q, q, -1},    {-q, q, -1},       {q, -q, -1},    {-q, -q, -1},                                      // four
        {1, q, q},     {1, -q, q},        {1, q, -q},     {1, -q, -q},   {1, 0, 0},                          // five
        {0, -1, 0.4f}, {-0.2f, -1, 0.2f}, {-0.4f, -1, 0}, {0.4f, -1, 0}, {0.2f, -1, -0.2f}, {0, -1, -0.4f},  // six
    };
    AppendVertices(b, pips);
    AppendFiller(b, 7);
}

}  // namespace quorvex
