// Shared value types of the saver: points, clouds, screen positions and the
// ten user options. Everything here is plain data with a fixed layout.
#pragma once

#include <array>
#include <cstdint>

namespace quorvex {

// Model-space point. Single floats in storage; arithmetic on them is done in
// long double and rounded back with static_cast<float> where a value is kept.
struct Point3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline constexpr int CloudCapacity = 240;

// Exactly 240 points, no count: point i of one cloud morphs into point i of
// the next, so the order is part of the shape.
using PointCloud = std::array<Point3, CloudCapacity>;

// 0..20, one per built-in shape (see ShapeName in CShapeUn.h).
using ShapeId = int32_t;
inline constexpr int ShapeCount = 21;

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The ten persisted options, named and ordered like their registry values.
struct SaverSettings {
    bool ShowFPS = false;
    bool UnSortPoints = false;
    bool MouseSens = true;
    bool Move3D = false;
    bool PrimitivePoints = true;
    bool HuesOfGray = false;
    bool Trace = true;
    bool ShowClock = false;
    int32_t TraceModeInd = 2;
    int32_t TraceLength = 1;
};

}  // namespace quorvex
