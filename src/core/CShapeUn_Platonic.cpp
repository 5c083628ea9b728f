// The five regular polyhedra as wire frames: vertices first, then the
// interior points of every edge, then copies of point 0 up to 240.
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

// The zig-zag ring of ten round the z axis and the two poles. The ring angle
// is stored as a single before the half step is added, which is what moves
// vertex 5 a hair off the y-z plane.
void IcosahedronVertices(Point3 (&v)[12]) {
    for (int32_t m = 0; m < 5; ++m) {
        const float theta = Single((static_cast<Extended>(m) / 5.0L) * 2.0L * Pi);
        const Extended odd = static_cast<Extended>(theta) + Pi / 5.0L;
        v[2 * m] = MakePoint(Single(Sin(theta)), Single(Cos(theta)), 0.5f);
        v[2 * m + 1] = MakePoint(Single(Sin(odd)), Single(Cos(odd)), -0.5f);
    }
    const float pole = Single(Sqrt(5.0L) / 2.0L);
    v[10] = MakePoint(0.0f, 0.0f, pole);
    v[11] = MakePoint(0.0f, 0.0f, -pole);
}

}  // namespace

void Tetrahedron(CloudBuilder& b) {
    static constexpr Point3 vertices[] = {{1, 1, 1}, {-1, -1, 1}, {1, -1, -1}, {-1, 1, -1}};
    static constexpr Edge edges[] = {{0, 1}, {1, 2}, {2, 3}, {0, 2}, {0, 3}, {1, 3}};
    AppendVertices(b, vertices);
    AppendEdges(b, edges, 39);
    AppendFiller(b, 2);
}

void Cube(CloudBuilder& b) {
    static constexpr Point3 vertices[] = {{1, 1, 1},   {-1, 1, 1},  {1, -1, 1},  {1, 1, -1},
                                          {-1, -1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, -1}};
    static constexpr Edge edges[] = {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {1, 6}, {2, 4},
                                     {2, 5}, {3, 5}, {3, 6}, {4, 7}, {5, 7}, {6, 7}};
    AppendVertices(b, vertices);
    AppendEdges(b, edges, 19);
    AppendFiller(b, 4);
}

void Octahedron(CloudBuilder& b) {
    static constexpr Point3 vertices[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
    static constexpr Edge edges[] = {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}, {2, 3},
                                     {3, 4}, {4, 1}, {5, 1}, {5, 2}, {5, 3}, {5, 4}};
    AppendVertices(b, vertices);
    AppendEdges(b, edges, 19);
    AppendFiller(b, 6);
}

void Icosahedron(CloudBuilder& b) {
    Point3 vertices[12];
    IcosahedronVertices(vertices);
    AppendVertices(b, vertices);
    for (int32_t k = 0; k < 10; ++k) {
        AppendEdge(b, k, (k + 1) % 10, 7);
        AppendEdge(b, k, (k + 2) % 10, 7);
        AppendEdge(b, k, k % 2 == 0 ? 10 : 11, 7);
    }
    AppendFiller(b, 18);
}

// The dual of the icosahedron: its vertices are the centroids of the
// icosahedron's faces, each taken from a fixed apex so the rounding is fixed.
void Dodecahedron(CloudBuilder& b) {
    Point3 ico[12];
    IcosahedronVertices(ico);
    for (int32_t k = 0; k < 10; ++k) AppendCentroid(b, ico[k], ico[(k + 1) % 10], ico[(k + 2) % 10]);
    for (int32_t j = 0; j < 5; ++j) {
        AppendCentroid(b, ico[10], ico[2 * j], ico[(2 * j + 2) % 10]);
        AppendCentroid(b, ico[11], ico[2 * j + 1], ico[(2 * j + 3) % 10]);
    }
    for (int32_t k = 0; k < 10; ++k) AppendEdge(b, k, (k + 1) % 10, 7);
    for (int32_t j = 0; j < 5; ++j) {
        AppendEdge(b, 10 + 2 * j, 10 + (2 * j + 2) % 10, 7);
        AppendEdge(b, 11 + 2 * j, 11 + (2 * j + 2) % 10, 7);
    }
    for (int32_t k = 0; k < 10; ++k) AppendEdge(b, k, 10 + k, 7);
    AppendFiller(b, 10);
}

}  // namespace quorvex
