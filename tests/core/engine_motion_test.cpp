// Spin, centre motion with its bounces, rotation, depth brightness and the
// perspective projection.
#include <gtest/gtest.h>

#include <cmath>

#include "XMath.h"
#include "engine_fixture.h"
#include "shapes_test_util.h"

namespace quorvex::testing {
namespace {

constexpr float Quarter = static_cast<float>(M_PI / 2);

using Motion = EngineTest;

TEST_F(Motion, SpinAnglesGrowWithSpeedAndZStaysExactlyZero) {
    for (int k = 0; k < 1000; ++k) AdvanceSpin(engine, 40.0f);
    EXPECT_NEAR(engine.SpinAngle.x, M_PI * 40.0 * 0.17, 1e-3);
    EXPECT_NEAR(engine.SpinAngle.y, M_PI * 40.0 * 0.14, 1e-3);
    EXPECT_EQ(engine.SpinAngle.z, 0.0f);
    engine.SpinSpeed.z = 1.0f;  // about z the angle runs the other way
    AdvanceSpin(engine, 1000.0f);
    EXPECT_FLOAT_EQ(engine.SpinAngle.z, -static_cast<float>(M_PI));
}

TEST_F(Motion, HoursOfTurningKeepTheSpinSmooth) {
    // Below 16384 rad the angle is kept as it grows; past it whole turns come
    // off, so the float keeps steps far finer than one frame's turn.
    engine.SpinAngle = Vec3f{16383.9f, -16383.9f, 0.0f};
    engine.SpinSpeed = Vec3f{0.5f, -0.5f, 0.0f};
    AdvanceSpin(engine, 40.0f);
    EXPECT_GT(engine.SpinAngle.x, 16383.9f) << "not yet past the limit";
    const float before[2] = {16383.9f, -16383.9f};
    for (int k = 0; k < 100; ++k) AdvanceSpin(engine, 40.0f);
    const long double turned = 101 * 40 * 0.5L * Pi / 1000;
    for (int axis = 0; axis < 2; ++axis) {
        const float now = axis == 0 ? engine.SpinAngle.x : engine.SpinAngle.y;
        const long double expected = before[axis] + (axis == 0 ? turned : -turned);
        EXPECT_LT(std::fabs(now), 2 * Pi) << axis;
        // The same direction as the unreduced angle would give, to within the
        // coarse float steps taken before the limit.
        EXPECT_NEAR(static_cast<double>(Sin(now)), static_cast<double>(Sin(expected)), 5e-3) << axis;
        EXPECT_NEAR(static_cast<double>(Cos(now)), static_cast<double>(Cos(expected)), 5e-3) << axis;
    }
    EXPECT_EQ(engine.SpinAngle.z, 0.0f);
}

TEST_F(Motion, EachEdgeTurnsBackWithASpinOfTheNewSignAndRange) {
    struct Case {
        Vec3f centre, velocity;
        bool onX, positive;
    };
    const Case cases[] = {{{2.74f, 0, 0}, {0.0005f, 0, 0}, true, false},
                          {{-2.74f, 0, 0}, {-0.0005f, 0, 0}, true, true},
                          {{0, 1.79f, 0}, {0, 0.0006f, 0}, false, false},
                          {{0, -1.79f, 0}, {0, -0.0006f, 0}, false, true}};
    for (bool trace : {true, false}) {
        settings.Trace = trace;
        const float low = trace ? 0.12f : 0.3f, high = trace ? 0.22f : 0.443f;
        for (const Case& c : cases) {
            engine.ObjectCentre = c.centre;
            engine.CentreVelocity = c.velocity;
            engine.SpinSpeed = Vec3f{0.17f, 0.14f, 0.0f};
            const uint32_t seed = engine.Random.RandomSeed;
            MoveCentre(engine, 40.0f);
            const float v = c.onX ? engine.CentreVelocity.x : engine.CentreVelocity.y;
            const float spin = c.onX ? engine.SpinSpeed.y : engine.SpinSpeed.x;
            const float other = c.onX ? engine.SpinSpeed.x : engine.SpinSpeed.y;
            EXPECT_EQ(v > 0.0f, c.positive);
            EXPECT_EQ(spin > 0.0f, c.positive);
            EXPECT_GE(std::fabs(spin), low);
            EXPECT_LE(std::fabs(spin), high);
            EXPECT_EQ(other, c.onX ? 0.17f : 0.14f);
            EXPECT_EQ(engine.Random.RandomSeed, seed * 134775813u + 1u) << "one draw per bounce";
        }
    }
}

TEST_F(Motion, ACentreStillBeyondTheBoundKeepsMovingInward) {
    engine.ObjectCentre = Vec3f{3.0f, 0.0f, 0.0f};
    float previousSpin = 0.0f;
    for (int k = 0; k < 3; ++k) {
        MoveCentre(engine, 40.0f);
        EXPECT_LT(engine.CentreVelocity.x, 0.0f);
        EXPECT_NE(engine.SpinSpeed.y, previousSpin);  // redrawn on every frame
        previousSpin = engine.SpinSpeed.y;
    }
    EXPECT_FLOAT_EQ(engine.ObjectCentre.x, 2.98f);
}

TEST_F(Motion, WithoutMove3DDepthNeverChanges) {
    for (int k = 0; k < 10000; ++k) MoveCentre(engine, 40.0f);
    EXPECT_EQ(engine.ObjectCentre.z, 0.0f);
    EXPECT_EQ(engine.CentreVelocity.z, 0.001f);
    EXPECT_LE(std::fabs(engine.ObjectCentre.x), 2.77f);
    EXPECT_LE(std::fabs(engine.ObjectCentre.y), 1.83f);
}

TEST_F(Motion, WithMove3DTheBoundsFollowDepthAndDepthBouncesRedrawBothSpins) {
    settings.Move3D = true;
    engine.ObjectCentre = Vec3f{2.8f, 0.0f, 0.0f};  // the bound at depth 0 is 3.5
    MoveCentre(engine, 40.0f);
    EXPECT_GT(engine.CentreVelocity.x, 0.0f);
    engine.ObjectCentre = Vec3f{7.49f, 0.0f, -10.0f};  // 7.5 at depth -10
    MoveCentre(engine, 40.0f);
    EXPECT_LT(engine.CentreVelocity.x, 0.0f);

    for (float z : {3.99f, -9.99f}) {
        engine.ObjectCentre = Vec3f{0.0f, 0.0f, z};
        engine.CentreVelocity = Vec3f{0.0f, 0.0f, z > 0 ? 0.001f : -0.001f};
        MoveCentre(engine, 40.0f);
        const float sign = z > 0 ? -1.0f : 1.0f;
        EXPECT_EQ(engine.CentreVelocity.z, sign * 0.001f);
        for (float s : {engine.SpinSpeed.x, engine.SpinSpeed.y}) {
            EXPECT_GE(s * sign, 0.25f);
            EXPECT_LE(s * sign, 0.5834f);
        }
    }
}

TEST(Rotation, AxesTurnInTheOrderXThenYThenZ) {
    const Point3 p{0.123456f, -1.3f, 0.7f};
    const Point3 same = RotatePoint(MakeRotation(Vec3f{}), p);
    EXPECT_TRUE(same.x == p.x && same.y == p.y && same.z == p.z);

    const Point3 toViewer = RotatePoint(MakeRotation(Vec3f{Quarter, 0, 0}), Point3{0, 1, 0});
    test::ExpectNear(toViewer, 0, 0, 1, 1e-6);
    EXPECT_EQ(DepthBrightness(toViewer), 208);
    // x first gives (0,0,1), which y then turns to (1,0,0).
    test::ExpectNear(RotatePoint(MakeRotation(Vec3f{Quarter, Quarter, 0}), Point3{0, 1, 0}), 1, 0, 0, 1e-6);
    test::ExpectNear(RotatePoint(MakeRotation(Vec3f{0, Quarter, 0}), Point3{1, 0, 0}), 0, 0, -1, 1e-6);
    test::ExpectNear(RotatePoint(MakeRotation(Vec3f{0, 0, Quarter}), Point3{1, 0, 0}), 0, 1, 0, 1e-6);
    test::ExpectNear(RotatePoint(MakeRotation(Vec3f{0, 0, Quarter}), Point3{0, 1, 0}), -1, 0, 0, 1e-6);
    const Rotation r = MakeRotation(Vec3f{1.0f, 0.0f, 2.0f});
    EXPECT_FALSE(r.active[1]);
    EXPECT_EQ(r.s[0], static_cast<float>(std::sin(1.0L)));
}

TEST(Rotation, BrightnessFollowsDepthAndIsClamped) {
    const float cases[][2] = {{0.0f, 144}, {-1.732f, 33}, {std::nextafter(1.732f, 2.0f), 255}, {2.5f, 255}, {-2.23f, 1},
                              {-2.24f, 0}, {-50.0f, 0}};
    for (const auto& c : cases) EXPECT_EQ(DepthBrightness(Point3{3.0f, -2.0f, c[0]}), c[1]) << c[0];
}

using Projection = EngineTest;

TEST_F(Projection, ExamplesOnAn800By600Surface) {
    SetUpSurface(engine, 800, 600);
    ScreenPoint s;
    const float cases[][5] = {{0, 1, -1, 500, 200}, {0, 1, -1, 600, 100}, {5, 1, -1, 600, 100}};
    for (int i = 0; i < 3; ++i) {
        engine.ObjectCentre.z = cases[i][0];  // the centre enters before the division
        ASSERT_TRUE(ProjectPoint(engine, Point3{cases[i][1], cases[i][2], i == 1 ? 5.0f : 0.0f}, s));
        EXPECT_TRUE(s.x == cases[i][3] && s.y == cases[i][4]) << i << ": " << s.x << "," << s.y;
    }
    engine.ObjectCentre.z = 4.0f;
    EXPECT_FALSE(ProjectPoint(engine, Point3{0.5f, 0.5f, 6.0f}, s));  // depth divisor 0
    // Just short of the eye the point flies off without overflowing.
    EXPECT_FALSE(ProjectPoint(engine, Point3{1.0f, 1.0f, std::nextafter(6.0f, 0.0f)}, s) && s.x < 800);
}

TEST_F(Projection, TiesRoundToEven) {
    engine.ProjectionScale[0] = engine.ProjectionScale[1] = 1.0f;
    engine.ProjectionCentre[0] = engine.ProjectionCentre[1] = 0;
    ScreenPoint s;
    ASSERT_TRUE(ProjectPoint(engine, Point3{2.5f, 3.5f, 0.0f}, s));
    EXPECT_TRUE(s.x == 2 && s.y == 4) << s.x << "," << s.y;
    ASSERT_TRUE(ProjectPoint(engine, Point3{-2.5f, 2.5000002f, 0.0f}, s));
    EXPECT_TRUE(s.x == -2 && s.y == 3) << s.x << "," << s.y;
}

}  // namespace
}  // namespace quorvex::testing
