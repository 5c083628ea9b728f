// The frame step: elapsed time with its cap and wrap-around, the hold and
// morph phases with their refills, and the values a new surface hands over.
#include <gtest/gtest.h>

#include <cmath>

#include "XMath.h"
#include "engine_fixture.h"

namespace quorvex::testing {
namespace {

// A new value on every read, to tell the two reads of a step apart.
struct SteppingTicks final : TickSource {
    uint32_t next = 500;
    uint32_t Now() override { return (next += 7) - 7; }
};

using ElapsedTime = EngineTest;

TEST_F(ElapsedTime, WrapAndLargeTicksGiveTheTrueStepAndALateFrameOnly40) {
    const uint32_t cases[][3] = {
        {0xFFFFFFF0u, 0x00000004u, 20}, {0x7FFFFFF1u, 0x7FFFFFF1u + 20u, 20}, {1000u, 1020u, 20}, {1000u, 3000u, 40}};
    for (const auto& c : cases) {
        engine.LastFrameTick = c[0];
        engine.HoldTimer = 100.0f;
        ticks.Set(c[1]);
        StepFrame(engine);
        EXPECT_EQ(engine.HoldTimer, 100.0f - c[2]) << c[0];
        EXPECT_EQ(engine.LastFrameTick, c[1]);
    }
    engine.HoldTimer = 0.0f;
    ticks.Advance(60000);
    StepFrame(engine);
    EXPECT_EQ(engine.MorphProgress, Single(40.0L / 15.0L));
}

TEST_F(ElapsedTime, TheSecondTickReadIsStored) {
    SteppingTicks stepping;
    engine.Ticks = &stepping;
    engine.LastFrameTick = 490;
    engine.HoldTimer = 100.0f;
    StepFrame(engine);
    EXPECT_EQ(engine.HoldTimer, 90.0f);     // from the first read, 500
    EXPECT_EQ(engine.LastFrameTick, 507u);  // the second read
}

using MorphPhases = EngineTest;

TEST_F(MorphPhases, TheFrameThatEndsAHoldDoesNotMorph) {
    engine.LastFrameTick = ticks.Now();
    engine.HoldTimer = 50.0f;
    const PointCloud before = engine.BlendedCloud;
    Step(30);
    Step(30);
    EXPECT_TRUE(engine.HoldTimer == -10.0f && engine.MorphProgress == 0.0f);
    EXPECT_TRUE(SameCloud(engine.BlendedCloud, before));
    Step(30);
    EXPECT_EQ(engine.MorphProgress, 2.0f);
    EXPECT_FALSE(SameCloud(engine.BlendedCloud, before));
}

TEST_F(MorphPhases, OvershootEndsExactlyAtTheEndAndRefillsTheHiddenCloud) {
    for (bool forward : {true, false}) {
        engine.LastFrameTick = ticks.Now();
        engine.HoldTimer = -25.0f;
        engine.MorphForward = forward;
        engine.MorphProgress = forward ? 99.5f : 0.5f;
        PointCloud& hidden = forward ? engine.CloudA : engine.CloudB;
        for (Point3& p : hidden) p = Point3{9.0f, 9.0f, 9.0f};  // not a shape
        const PointCloud shown = forward ? engine.CloudB : engine.CloudA;
        Step(40);
        EXPECT_EQ(engine.MorphProgress, forward ? 100.0f : 0.0f);
        EXPECT_EQ(engine.MorphForward, !forward);
        EXPECT_EQ(engine.HoldTimer, engine.HoldTime);  // the -25 is not carried over
        EXPECT_TRUE(SameCloud(engine.BlendedCloud, shown));
        for (const Point3& p : hidden) ASSERT_LE(std::fabs(p.x), 1.34f) << "refilled";
    }
}

TEST_F(MorphPhases, ACycleIsTheHoldThenFifteenHundredMilliseconds) {
    engine.HoldTime = engine.HoldTimer = 300.0f;
    engine.LastFrameTick = ticks.Now();
    int frames = 0;
    for (; engine.MorphForward && frames < 1000; ++frames) Step(20);
    EXPECT_EQ(frames, 15 + 75);
    EXPECT_EQ(engine.MorphProgress, 100.0f);
}

using SurfaceSetUp = EngineTest;

TEST_F(SurfaceSetUp, ProjectionFromTheSize) {
    const int32_t cases[][6] = {
        {800, 600, 400, 300, 100, 100}, {152, 112, 76, 56, 19, 18}, {1280, 1024, 640, 512, 160, 170}};
    for (const auto& c : cases) {
        SetUpSurface(engine, c[0], c[1]);
        EXPECT_TRUE(engine.ProjectionCentre[0] == c[2] && engine.ProjectionCentre[1] == c[3] &&
                    engine.ProjectionScale[0] == c[4] && engine.ProjectionScale[1] == c[5])
            << c[0] << "x" << c[1];
    }
}

TEST_F(SurfaceSetUp, TempoAndFirstHoldWithAndWithoutTrace) {
    ticks.Set(123456);
    SetUpSurface(engine, 800, 600);
    EXPECT_TRUE(engine.HoldTimer == 6000.0f && engine.SpinSpeed.x == 0.17f && engine.LastFrameTick == 123456u);

    Engine plain;
    plain.Settings = &settings;
    plain.Ticks = &ticks;
    settings.Trace = false;
    SetUpSurface(plain, 800, 600);
    EXPECT_FLOAT_EQ(plain.HoldTime, 4511.2783f);
    EXPECT_EQ(plain.HoldTimer, plain.HoldTime);
    EXPECT_NEAR(plain.SpinSpeed.x, 0.2261f, 1e-6f);
}

TEST_F(SurfaceSetUp, AResizeRedoesTheSetUpButNotTheTempo) {
    settings.Trace = false;
    Wire(800, 600, SurfaceKind::Rgb);
    SetUpSurface(engine, 800, 600);
    const float velocity = engine.CentreVelocity.x;
    const float hold = engine.HoldTime;
    engine.SpinSpeed.y = -0.35f;
    engine.HoldTimer = 17.0f;
    for (int i = 0; i < 5; ++i) {
        ticks.Set(5000 + 100 * i);
        Wire(1024 + i, 768, SurfaceKind::Rgb);
        SetUpSurface(engine, 1024 + i, 768);
    }
    EXPECT_TRUE(engine.CentreVelocity.x == velocity && engine.SpinSpeed.y == -0.35f && engine.HoldTime == hold);
    EXPECT_EQ(engine.HoldTimer, hold) << "a new surface starts a new hold";
    EXPECT_TRUE(engine.ProjectionCentre[0] == 514 && engine.ProjectionScale[0] == 128.0f &&
                engine.LastFrameTick == 5400u);
}

TEST_F(SurfaceSetUp, EmptyClientAreaChangesNothing) {
    SetUpSurface(engine, 0, 0);
    EXPECT_EQ(engine.ProjectionCentre[0], 400);
    EXPECT_EQ(engine.HoldTimer, 0.0f);
}

}  // namespace
}  // namespace quorvex::testing
