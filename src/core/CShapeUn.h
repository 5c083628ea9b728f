// The shape library: building operations, the 21 generators, the point
// shuffle and the sequencer that picks the next shape.
#pragma once

#include <cstdint>

#include "Random.h"
#include "UTypes.h"

namespace quorvex {

// A generator fills one cloud through this builder. AppendCursor counts every
// append since the reset, the dropped ones past the capacity included.
struct CloudBuilder {
    PointCloud& cloud;
    int32_t AppendCursor = 0;
};

inline Point3 MakePoint(float x, float y, float z) { return Point3{x, y, z}; }

void AppendPoint(CloudBuilder& b, Point3 point);
void AppendCopyOfFirst(CloudBuilder& b);
void AppendSegmentPoints(CloudBuilder& b, Point3 a, Point3 c, int32_t n);
void AppendCentroid(CloudBuilder& b, Point3 p, Point3 q, Point3 r);

// 1024 exchanges of two points drawn with RandomInt(240).
void ShuffleCloud(PointCloud& cloud, RandomGenerator& rng);

// The 21 generators, in ShapeId order.
void TripleLoop(CloudBuilder& b);            // 0
void TwinLoops(CloudBuilder& b);             // 1
void Cube(CloudBuilder& b);                  // 2
void Die(CloudBuilder& b);                   // 3
void PyramidCube(CloudBuilder& b);           // 4
void Tetrahedron(CloudBuilder& b);           // 5
void Octahedron(CloudBuilder& b);            // 6
void Icosahedron(CloudBuilder& b);           // 7
void Sphere20Rings(CloudBuilder& b);         // 8
void Sphere12Rings(CloudBuilder& b);         // 9
void TripleSphere(CloudBuilder& b);          // 10
void Dodecahedron(CloudBuilder& b);          // 11
void TruncatedTetrahedron(CloudBuilder& b);  // 12
void TruncatedCube(CloudBuilder& b);         // 13
void ThreeSlabs(CloudBuilder& b);            // 14
void Torus(CloudBuilder& b);                 // 15
void TorusCoil(CloudBuilder& b);             // 16
void TruncatedIcosahedron(CloudBuilder& b);  // 17
void SpikedTetrahedron(CloudBuilder& b);     // 18
void SpikedCube(CloudBuilder& b);            // 19
void Cuboctahedron(CloudBuilder& b);         // 20

using ShapeGenerator = void (*)(CloudBuilder&);
ShapeGenerator GeneratorFor(ShapeId id);
const char* ShapeName(ShapeId id);

// Resets the cloud and runs one generator on it; returns the final cursor.
int32_t BuildShape(ShapeId id, PointCloud& cloud);

// Sequencer state: never the same shape twice in a row, each shape once per
// cycle of 21 choices.
struct ShapeSequencer {
    uint8_t ShapeTable[ShapeCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    uint32_t UsedShapes = 0;
    int32_t LastShapeIndex = 0;
};

// Chooses the next shape, fills the cloud with it and, with unsortPoints,
// shuffles it. Returns the chosen id.
ShapeId NextShape(ShapeSequencer& seq, RandomGenerator& rng, PointCloud& cloud, bool unsortPoints);

}  // namespace quorvex
