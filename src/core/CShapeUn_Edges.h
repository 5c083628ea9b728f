// Helpers shared by the edge-built generators: vertices first, then the
// interior points of each edge taken from the stored vertices, then copies
// of point 0 up to the full cloud.
#pragma once

#include <cstdint>

#include "CShapeUn.h"

namespace quorvex::shape_edges {

struct Edge {
    int32_t from;
    int32_t to;
};

template <int32_t VertexCount>
void AppendVertices(CloudBuilder& b, const Point3 (&vertices)[VertexCount]) {
    for (const Point3& v : vertices) AppendPoint(b, v);
}

// The end points are read back from the cloud, so an edge always joins the
// floats that were actually stored as its vertices.
inline void AppendEdge(CloudBuilder& b, int32_t from, int32_t to, int32_t pointsPerEdge) {
    AppendSegmentPoints(b, b.cloud[from], b.cloud[to], pointsPerEdge);
}

template <int32_t EdgeCount>
void AppendEdges(CloudBuilder& b, const Edge (&edges)[EdgeCount], int32_t pointsPerEdge) {
    for (const Edge& e : edges) AppendEdge(b, e.from, e.to, pointsPerEdge);
}

inline void AppendFiller(CloudBuilder& b, int32_t copies) {
    for (int32_t i = 0; i < copies; ++i) AppendCopyOfFirst(b);
}

}  // namespace quorvex::shape_edges
