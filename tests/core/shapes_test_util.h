// Shape test helpers: a fresh build, point comparisons, wire-frame edges recovered from their points.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CShapeUn.h"

namespace quorvex::test {

// Half a unit in the seventh decimal, plus a hair for the float itself.
inline constexpr double SevenDigits = 5.1e-8;

inline PointCloud Built(ShapeId id) {
    PointCloud cloud{};
    EXPECT_EQ(BuildShape(id, cloud), 240) << id;
    return cloud;
}

inline void ExpectNear(const Point3& p, double x, double y, double z, double tolerance = SevenDigits) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
    EXPECT_NEAR(p.z, z, tolerance);
}

inline bool Same(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

inline double Distance(const Point3& a, const Point3& b) {
    return std::hypot(double(a.x) - b.x, double(a.y) - b.y, double(a.z) - b.z);
}

struct EdgeGroup {
    int edges;
    int pointsPerEdge;  // at least 2
};

struct Edge {
    int from;
    int to;
};

// Extends each run of interior points one step beyond both ends, where the
// vertices must be; the points after the last run must be copies of point 0.
inline std::vector<Edge> RecoverEdges(const PointCloud& c, int vertexCount, const std::vector<EdgeGroup>& groups) {
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

// "from>to from>to ..." for the first `count` edges.
inline std::string EdgeOrder(const std::vector<Edge>& edges, size_t count) {
    std::string text;
    for (size_t e = 0; e < count && e < edges.size(); ++e) {
        text.append(e > 0 ? " " : "").append(std::to_string(edges[e].from));
        text.append(">").append(std::to_string(edges[e].to));
    }
    return text;
}

}  // namespace quorvex::test
