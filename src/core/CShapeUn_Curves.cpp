// Shapes sampled from formulas: closed loops, spheres, a torus and a coil
// round it. Where an angle or factor is stored as a single, the later sines
// and products are taken of that stored value; points near the poles show it.
#include "CShapeUn.h"
#include "XMath.h"

namespace quorvex {

namespace {

Extended Ld(int32_t v) { return static_cast<Extended>(v); }

// The tube of the torus and of the coil round it.
constexpr Extended TubeRadius = ExtendedConstant(0xa.8f5c28f5c28f5c3p-5L, 0.33L);

// Rings of a unit sphere from south to north. The ring radius comes from the
// stored sine, not from the cosine of the latitude.
void AppendLatitudeRings(CloudBuilder& b, int32_t rings, int32_t perRing) {
    const int32_t firstRing = 1 - rings / 2;
    for (int32_t j = firstRing; j < firstRing + rings; ++j) {
        const float phi = Single(((Ld(j) - 0.5L) / Ld(rings)) * Pi);
        const float s = Single(Sin(phi));
        const Extended r = Sqrt(1.0L - static_cast<Extended>(s) * s);
        for (int32_t k = 0; k < perRing; ++k) {
            const float theta = Single(((Ld(k) / Ld(perRing)) * Pi) * 2.0L);
            AppendPoint(b, MakePoint(Single(Sin(theta) * r), Single(Cos(theta) * r), s));
        }
    }
}

}  // namespace

void TripleLoop(CloudBuilder& b) {
    for (int32_t i = 0; i < 80; ++i) {
        const float t = Single((((Ld(i) / 240.0L) * 3.0L) * Pi) * 2.0L);
        const float s = Single(Sin(2.0L * static_cast<Extended>(t)));
        const float sinT = Single(Sin(t));
        const float cosT = Single(Cos(t));
        AppendPoint(b, MakePoint(sinT, cosT, s));
        AppendPoint(b, MakePoint(cosT, s, sinT));
        AppendPoint(b, MakePoint(s, sinT, cosT));
    }
}

void TwinLoops(CloudBuilder& b) {
    for (int32_t i = 0; i < 120; ++i) {
        const float t = Single((((Ld(i) / 240.0L) * 2.0L) * Pi) * 2.0L);
        const float s = Single(Sin(2.0L * static_cast<Extended>(t)));
        // |s| <= 1 as a float too, so neither root is of a negative value.
        const Extended lower = Sqrt(1.0L - static_cast<Extended>(s));
        const Extended upper = Sqrt(1.0L + static_cast<Extended>(s));
        const Extended quarter = static_cast<Extended>(t) + Pi / 2.0L;
        AppendPoint(b, MakePoint(Single(Sin(t) * lower), Single(Cos(t) * upper), s));
        AppendPoint(b, MakePoint(Single(Sin(quarter) * lower), Single(Cos(quarter) * upper), s));
    }
}

void Sphere20Rings(CloudBuilder& b) { AppendLatitudeRings(b, 20, 12); }

void Sphere12Rings(CloudBuilder& b) { AppendLatitudeRings(b, 12, 20); }

// Three spheres with their poles on z, y and x, interleaved point by point.
void TripleSphere(CloudBuilder& b) {
    for (int32_t j = -4; j <= 5; ++j) {
        const float phi = Single(((Ld(j) - 0.5L) / 10.0L) * Pi);
        const float s = Single(Sin(phi));
        const Extended r = Sqrt(1.0L - static_cast<Extended>(s) * s);
        for (int32_t k = 0; k < 8; ++k) {
            const float theta = Single(((Ld(k) / 8.0L) * 2.0L) * Pi);
            const float a = Single(Sin(theta) * r);
            const float c = Single(Cos(theta) * r);
            AppendPoint(b, MakePoint(a, c, s));
            AppendPoint(b, MakePoint(a, s, c));
            AppendPoint(b, MakePoint(s, a, c));
        }
    }
}

// Each tube circle starts on the outer equator and climbs over the top.
void Torus(CloudBuilder& b) {
    for (int32_t j = 0; j < 20; ++j) {
        const float alpha = Single((((Ld(j) / 240.0L) * 12.0L) * 2.0L) * Pi);
        for (int32_t k = 0; k < 12; ++k) {
            const Extended beta = ((Ld(k) / 12.0L) * 2.0L) * Pi;
            const float radius = Single(Cos(beta) * TubeRadius + 1.0L);
            const float h = Single(Sin(beta) * TubeRadius);
            AppendPoint(b, MakePoint(Single(Cos(alpha) * radius), Single(Sin(alpha) * radius), h));
        }
    }
}

// Sixteen turns round the tube during one turn round the z axis.
void TorusCoil(CloudBuilder& b) {
    for (int32_t i = 0; i < 240; ++i) {
        const float alpha = Single(((Ld(i) / 240.0L) * 2.0L) * Pi);
        const float beta = Single(16.0L * static_cast<Extended>(alpha));
        const float h = Single(Sin(beta) * TubeRadius);
        const float radius = Single(Cos(beta) * TubeRadius + 1.0L);
        AppendPoint(b, MakePoint(Single(Cos(alpha) * radius), Single(Sin(alpha) * radius), h));
    }
}

}  // namespace quorvex
