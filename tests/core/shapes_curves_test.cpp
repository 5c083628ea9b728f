// The shapes sampled from formulas: documented points, where a stored single
// shows in the result, and the surfaces the samples must lie on.
#include <gtest/gtest.h>

#include <cmath>

#include "CShapeUn.h"
#include "shapes_test_util.h"

namespace quorvex {
namespace {

using test::Built;
using test::ExpectNear;

TEST(Curves, Loops) {
    const PointCloud triple = Built(0);
    ExpectNear(triple[0], 0, 1, 0);
    ExpectNear(triple[1], 1, 0, 0);
    ExpectNear(triple[2], 0, 0, 1);
    ExpectNear(triple[3], 0.0784591, 0.9969173, 0.1564345);
    for (int i = 0; i < 240; i += 3) ExpectNear(triple[i + 2], triple[i].z, triple[i].x, triple[i].y, 0);

    const PointCloud twin = Built(1);
    ExpectNear(twin[0], 0, 1, 0);
    ExpectNear(twin[1], 1, 0, 0, 1e-15);  // t + pi/2 kept extended; a single would leave -4.4e-8
    ExpectNear(twin[30], 0, 1, 1);        // s rounds to exactly 1 at i = 15 and 75
    ExpectNear(twin[31], 0, -1, 1);
    for (int i : {30, 31, 150}) ExpectNear(twin[i], 0, twin[i].y, 1, 0);
}

TEST(Curves, SpheresTakeTheRingRadiusFromTheStoredSine) {
    ExpectNear(Built(8)[0], 0, 0.0784594, -0.9969173);  // cos(phi) would give 0.0784591
    EXPECT_NEAR(Built(8)[12].z, -0.9723699, test::SevenDigits);
    ExpectNear(Built(9)[0], 0, 0.1305265, -0.9914448);
    EXPECT_NEAR(Built(9)[20].z, -0.9238795, test::SevenDigits);
    const PointCloud triple = Built(10);
    ExpectNear(triple[0], 0, 0.1564343, -0.9876884);
    ExpectNear(triple[1], 0, -0.9876884, 0.1564343);
    ExpectNear(triple[2], -0.9876884, 0, 0.1564343);
    for (ShapeId id : {8, 9, 10}) {
        const PointCloud c = Built(id);
        for (const Point3& p : c) EXPECT_NEAR(test::Distance(p, Point3{}), 1.0, 2e-7) << ShapeName(id);
    }
}

TEST(Curves, TorusAndCoil) {
    const PointCloud torus = Built(15), coil = Built(16);
    ExpectNear(torus[0], 1.33f, 0, 0, 0);
    ExpectNear(torus[3], 1, 0, 0.33);
    ExpectNear(torus[12], 1.2649052, 0.4109926, 0);
    ExpectNear(coil[0], 1.33f, 0, 0, 0);
    ExpectNear(coil[15], 1.2287598, 0.5089690, 0.0000001);  // one turn round the tube
    for (const PointCloud* c : {&torus, &coil}) {
        for (const Point3& p : *c) {
            const double ring = std::hypot(double(p.x), double(p.y)) - 1.0;
            EXPECT_NEAR(ring * ring + double(p.z) * p.z, 0.33 * 0.33, 1e-6);
        }
    }
}

}  // namespace
}  // namespace quorvex
