// An engine wired to a software surface and a hand-set clock, for the
// engine tests. Clouds are filled with simple known points by default so
// that a test can see exactly what moved.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "RDrawUn.h"
#include "surface_Software.h"

namespace quorvex::testing {

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        Wire(800, 600, SurfaceKind::Indexed);
        for (int i = 0; i < CloudCapacity; ++i) {
            engine.CloudA[i] = Point3{0.001f * static_cast<float>(i), 0.5f, -0.25f};
            engine.CloudB[i] = Point3{-0.5f, 0.002f * static_cast<float>(i), 0.75f};
        }
        BlendClouds(engine);
    }

    void Wire(int32_t width, int32_t height, SurfaceKind kind) {
        surface.Resize(width, height, kind);
        engine.Settings = &settings;
        engine.Ticks = &ticks;
        engine.Target = &surface;
        engine.ClientRight = width;
        engine.ClientBottom = height;
    }

    // One frame `ms` after the previous one.
    void Step(uint32_t ms) {
        ticks.Advance(ms);
        StepFrame(engine);
    }

    static bool SameCloud(const PointCloud& a, const PointCloud& b) {
        return std::memcmp(a.data(), b.data(), sizeof(Point3) * CloudCapacity) == 0;
    }

    SaverSettings settings;
    SimulatedTicks ticks{1000};
    SoftwareSurface surface;
    Engine engine;
};

}  // namespace quorvex::testing
