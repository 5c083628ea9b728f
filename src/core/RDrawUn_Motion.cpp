// Turning and drifting of the object, and the perspective that maps a turned
// point to the surface. All arithmetic in extended precision, stored as single.
#include <cmath>

#include "RDrawUn.h"
#include "XMath.h"

namespace quorvex {

namespace {

constexpr Extended TraceSpinBase = ExtendedConstant(0xf.5c28f5c28f5c28fp-7L, 0.12L);
constexpr Extended SpinBase = ExtendedConstant(0x9.99999999999999ap-5L, 0.3L);
constexpr Extended FlatBoundY = ExtendedConstant(0xe.666666666666666p-3L, 1.8L);
constexpr Extended CubeCorner = ExtendedConstant(0xd.db22d0e56041893p-3L, 1.732L);

// New spin rate after a bounce on x or y. The range is narrower with trails,
// which would otherwise smear into a blur.
Extended SpinRedraw(Engine& e) {
    const Extended r = RandomReal(e.Random);
    return e.Settings->Trace ? r / 10.0L + TraceSpinBase : r / 7.0L + SpinBase;
}

Extended DepthSpinRedraw(Engine& e) { return RandomReal(e.Random) / 3.0L + 0.25L; }

float Abs(float v) { return v < 0.0f ? -v : v; }

// A float angle grows coarser as it grows: past 16384 rad (hours of turning)
// its steps reach an eighth of a frame's turn, and after days the object
// would stall. Taking whole turns off there keeps the spin smooth for ever
// and changes nothing in the hours before.
float KeepFine(float angle) {
    constexpr float Limit = 16384.0f;
    if (!(angle > Limit || angle < -Limit)) return angle;
    const Extended turns = NearbyInt(angle / (2.0L * Pi));
    return Single(angle - turns * 2.0L * Pi);
}

}  // namespace

void AdvanceSpin(Engine& e, float elapsed) {
    const Extended t = elapsed;
    e.SpinAngle.x = KeepFine(Single(e.SpinAngle.x + Pi * t * e.SpinSpeed.x / 1000.0L));
    e.SpinAngle.y = KeepFine(Single(e.SpinAngle.y + Pi * t * e.SpinSpeed.y / 1000.0L));
    e.SpinAngle.z = KeepFine(Single(e.SpinAngle.z - Pi * t * e.SpinSpeed.z / 1000.0L));
}

void MoveCentre(Engine& e, float elapsed) {
    const Extended t = elapsed;
    const bool move3d = e.Settings->Move3D;
    // The bounds depend on the depth the centre had before this frame.
    const Extended z = e.ObjectCentre.z;
    Vec3f& c = e.ObjectCentre;
    Vec3f& v = e.CentreVelocity;

    c.x = Single(c.x + v.x * t);
    if (c.x > 3.5L - z / 2.5L || (!move3d && c.x > 2.75L)) {
        v.x = -Abs(v.x);
        e.SpinSpeed.y = Single(-SpinRedraw(e));
    }
    if (c.x < z / 2.5L - 3.5L || (!move3d && c.x < -2.75L)) {
        v.x = Abs(v.x);
        e.SpinSpeed.y = Single(SpinRedraw(e));
    }

    c.y = Single(c.y + v.y * t);
    if (c.y > 3.0L - z / 3.0L || (!move3d && c.y > FlatBoundY)) {
        v.y = -Abs(v.y);
        e.SpinSpeed.x = Single(-SpinRedraw(e));
    }
    if (c.y < z / 3.0L - 3.0L || (!move3d && c.y < -FlatBoundY)) {
        v.y = Abs(v.y);
        e.SpinSpeed.x = Single(SpinRedraw(e));
    }

    if (!move3d) return;
    c.z = Single(c.z + v.z * t);
    if (c.z > 4.0L) {
        v.z = -Abs(v.z);
        e.SpinSpeed.x = Single(-DepthSpinRedraw(e));
        e.SpinSpeed.y = Single(-DepthSpinRedraw(e));
    }
    if (c.z < -10.0L) {
        v.z = Abs(v.z);
        e.SpinSpeed.x = Single(DepthSpinRedraw(e));
        e.SpinSpeed.y = Single(DepthSpinRedraw(e));
    }
}

Rotation MakeRotation(const Vec3f& angles) {
    Rotation r;
    const float a[3] = {angles.x, angles.y, angles.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (a[axis] == 0.0f) continue;
        r.active[axis] = true;
        r.s[axis] = Single(Sin(a[axis]));
        r.c[axis] = Single(Cos(a[axis]));
    }
    return r;
}

Point3 RotatePoint(const Rotation& r, Point3 p) {
    if (r.active[0]) {
        const Extended s = r.s[0], c = r.c[0];
        const Extended y = p.y, z = p.z;
        p.y = Single(y * c - z * s);
        p.z = Single(y * s + z * c);
    }
    if (r.active[1]) {
        const Extended s = r.s[1], c = r.c[1];
        const Extended x = p.x, z = p.z;
        p.x = Single(x * c + z * s);
        p.z = Single(-x * s + z * c);
    }
    if (r.active[2]) {
        const Extended s = r.s[2], c = r.c[2];
        const Extended x = p.x, y = p.y;
        p.x = Single(x * c - y * s);
        p.y = Single(x * s + y * c);
    }
    return p;
}

int32_t DepthBrightness(Point3 turned) {
    // Nearer points (larger z) are brighter; 1.732 is the corner of the cube.
    const float depth = Single(CubeCorner - turned.z);
    const Extended b = 255.0L - static_cast<Extended>(depth) * 64.0L;
    if (b <= 0.0L) return 0;
    if (b >= 255.0L) return 255;
    return Truncate(b);
}

bool ProjectPoint(const Engine& e, Point3 turned, ScreenPoint& out) {
    const Vec3f& c = e.ObjectCentre;
    const float d = Single(1.0L - (static_cast<Extended>(turned.z) + c.z) / 10.0L);
    if (d == 0.0f) return false;
    const Extended sx = (static_cast<Extended>(turned.x) + c.x) / d * e.ProjectionScale[0];
    const Extended sy = (static_cast<Extended>(turned.y) + c.y) / d * e.ProjectionScale[1];
    // A point far outside the int range (only possible with d near 0) cannot
    // be on the surface; keep it off instead of overflowing the conversion.
    constexpr Extended Limit = 1.0e9L;
    if (!(sx > -Limit && sx < Limit && sy > -Limit && sy < Limit)) return false;
    out.x = RoundHalfEven(sx) + e.ProjectionCentre[0];
    out.y = RoundHalfEven(sy) + e.ProjectionCentre[1];
    return true;
}

}  // namespace quorvex
