// The building operations every generator is written with, the point
// shuffle, and the table that maps a ShapeId to its generator.
#include <climits>

#include "CShapeUn.h"
#include "XMath.h"

namespace quorvex {

void AppendPoint(CloudBuilder& b, Point3 point) {
    // The argument may alias a point of the cloud being filled; it was taken
    // by value, so the copy is already made.
    if (b.AppendCursor >= 0 && b.AppendCursor < CloudCapacity) b.cloud[b.AppendCursor] = point;
    // The cursor keeps counting past the capacity, but it must not wrap into
    // the valid range (and signed overflow is undefined).
    if (b.AppendCursor < INT32_MAX) ++b.AppendCursor;
}

void AppendCopyOfFirst(CloudBuilder& b) { AppendPoint(b, b.cloud[0]); }

namespace {

// The k-th of n interior points from a toward c; multiplying by k before the
// division keeps the step count out of the rounding.
float SegmentCoordinate(float a, float c, int32_t k, int32_t n) {
    Extended from = a;
    Extended to = c;
    return Single(from + ((to - from) * static_cast<Extended>(k)) / (static_cast<Extended>(n) + 1.0L));
}

float CentroidCoordinate(float p, float q, float r) {
    float m = Single((static_cast<Extended>(q) + static_cast<Extended>(r)) / 2.0L);
    Extended apex = p;
    return Single(apex + ((static_cast<Extended>(m) - apex) * 2.0L) / 3.0L);
}

}  // namespace

void AppendSegmentPoints(CloudBuilder& b, Point3 a, Point3 c, int32_t n) {
    for (int32_t k = 1; k <= n; ++k) {
        AppendPoint(b, MakePoint(SegmentCoordinate(a.x, c.x, k, n), SegmentCoordinate(a.y, c.y, k, n),
                                 SegmentCoordinate(a.z, c.z, k, n)));
    }
}

void AppendCentroid(CloudBuilder& b, Point3 p, Point3 q, Point3 r) {
    AppendPoint(b, MakePoint(CentroidCoordinate(p.x, q.x, r.x), CentroidCoordinate(p.y, q.y, r.y),
                             CentroidCoordinate(p.z, q.z, r.z)));
}

void ShuffleCloud(PointCloud& cloud, RandomGenerator& rng) {
    for (int i = 0; i < 1024; ++i) {
        uint32_t a = RandomInt(rng, CloudCapacity);
        uint32_t b = RandomInt(rng, CloudCapacity);
        Point3 held = cloud[a];
        cloud[a] = cloud[b];
        cloud[b] = held;
    }
}

namespace {

struct ShapeEntry {
    ShapeGenerator generator;
    const char* name;
};

constexpr ShapeEntry ShapeTableById[ShapeCount] = {
    {TripleLoop, "TripleLoop"},
    {TwinLoops, "TwinLoops"},
    {Cube, "Cube"},
    {Die, "Die"},
    {PyramidCube, "PyramidCube"},
    {Tetrahedron, "Tetrahedron"},
    {Octahedron, "Octahedron"},
    {Icosahedron, "Icosahedron"},
    {Sphere20Rings, "Sphere20Rings"},
    {Sphere12Rings, "Sphere12Rings"},
    {TripleSphere, "TripleSphere"},
    {Dodecahedron, "Dodecahedron"},
    {TruncatedTetrahedron, "TruncatedTetrahedron"},
    {TruncatedCube, "TruncatedCube"},
    {ThreeSlabs, "ThreeSlabs"},
    {Torus, "Torus"},
    {TorusCoil, "TorusCoil"},
    {TruncatedIcosahedron, "TruncatedIcosahedron"},
    {SpikedTetrahedron, "SpikedTetrahedron"},
    {SpikedCube, "SpikedCube"},
    {Cuboctahedron, "Cuboctahedron"},
};

bool IsShapeId(ShapeId id) { return id >= 0 && id < ShapeCount; }

}  // namespace

ShapeGenerator GeneratorFor(ShapeId id) { return IsShapeId(id) ? ShapeTableById[id].generator : nullptr; }

const char* ShapeName(ShapeId id) { return IsShapeId(id) ? ShapeTableById[id].name : nullptr; }

int32_t BuildShape(ShapeId id, PointCloud& cloud) {
    cloud.fill(Point3{});
    CloudBuilder b{cloud};
    if (ShapeGenerator generator = GeneratorFor(id)) generator(b);
    return b.AppendCursor;
}

}  // namespace quorvex
