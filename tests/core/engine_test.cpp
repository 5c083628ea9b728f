// The engine step by step, the paint sequence of the hosts, and a soak of every switch combination.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "../alloc_count.h"
#include "XMath.h"
#include "frame.h"
#include "settings.h"
#include "surface_Software.h"

namespace quorvex {
namespace {

// Records the platform half of a paint; ClearSurface really clears.
struct Recorder final : FrameHost {
    TickSource* ticks = nullptr;
    SoftwareSurface* surface = nullptr;
    std::string events, lastFps;
    bool tinted = false;
    Rect presented;
    void Present(const Rect& area) override { events += "P", presented = area; }
    void ResetBackground() override { events += "R"; }
    void ClearSurface(const Rect& area) override { events += "C", surface->FillRect(area, 0); }
    Rect DrawClock(const char*, size_t, const PackedColour* c) override { return events += "K", tinted = c, Rect{}; }
    void DrawFps(const char* text, size_t n) override { events += "F", lastFps.assign(text, n); }
    uint32_t Now() override { return ticks->Now(); }
    void LocalClockText(char* out, size_t, size_t& length) override { out[0] = '1', length = 1; }
};

// An engine on a software surface and a hand-set clock; known clouds show exactly what moved.
class Eng : public ::testing::Test {
protected:
    void SetUp() override {
        Wire(800, 600, SurfaceKind::Indexed);
        for (int i = 0; i < CloudCapacity; ++i) {
            engine.CloudA[i] = Point3{0.001f * float(i), 0.5f, -0.25f};
            engine.CloudB[i] = Point3{-0.5f, 0.002f * float(i), 0.75f};
        }
        BlendClouds(engine);
        host.ticks = &ticks;
        host.surface = &surface;
    }
    void Wire(int32_t w, int32_t h, SurfaceKind kind) {
        surface.Resize(w, h, kind);
        engine.Settings = &settings, engine.Ticks = &ticks, engine.Target = &surface;
        engine.ClientRight = w, engine.ClientBottom = h;
    }
    void Step(uint32_t ms) { ticks.Advance(ms), StepFrame(engine); }
    // A real start: seeded clouds, paint state and surface set-up.
    void Start(uint32_t tick, int32_t w = 64, int32_t h = 48) {
        ticks.Set(tick);
        Wire(w, h, settings.Trace ? SurfaceKind::Indexed : SurfaceKind::Rgb);
        engine.Random.RandomSeed = 42;
        PrepareClouds(engine);
        StartPaintState(paint, tick, tick);
        SetUpSurface(engine, w, h);
    }
    void Paint(uint32_t ms) {
        ticks.Advance(ms);
        host.events.clear();
        PaintFrame(engine, paint, host, " fps");
    }
    static bool Same(const PointCloud& a, const PointCloud& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    SaverSettings settings;
    SimulatedTicks ticks{1000};
    SoftwareSurface surface;
    Engine engine;
    Recorder host;
    PaintState paint;
};

// A new value on every read, to tell the two reads of a step apart.
struct SteppingTicks final : TickSource {
    uint32_t next = 500;
    uint32_t Now() override { return (next += 7) - 7; }
};

TEST_F(Eng, ElapsedTimeWrapsAndIsCappedAt40) {
    const uint32_t cases[][3] = {
        {0xFFFFFFF0u, 4u, 20}, {0x7FFFFFF1u, 0x80000005u, 20}, {1000, 1020, 20}, {1000, 3000, 40}, {1000, 1041, 40}};
    for (const auto& c : cases) {
        engine.LastFrameTick = c[0], engine.HoldTimer = 100.0f;
        ticks.Set(c[1]);
        StepFrame(engine);
        EXPECT_TRUE(engine.HoldTimer == 100.0f - c[2] && engine.LastFrameTick == c[1]) << c[0];
    }
    SteppingTicks stepping;  // the time from the first read, the second read stored
    engine.Ticks = &stepping;
    engine.LastFrameTick = 490, engine.HoldTimer = 100.0f;
    StepFrame(engine);
    EXPECT_TRUE(engine.HoldTimer == 90.0f && engine.LastFrameTick == 507u);
}

TEST_F(Eng, HoldThenMorphOf1500MsEndingExactlyAndRefilling) {
    engine.LastFrameTick = ticks.Now(), engine.HoldTimer = 50.0f;
    const PointCloud before = engine.BlendedCloud;
    Step(30), Step(30);  // the frame that ends a hold does not morph
    EXPECT_TRUE(engine.HoldTimer == -10.0f && engine.MorphProgress == 0.0f && Same(engine.BlendedCloud, before));
    Step(30);
    EXPECT_EQ(engine.MorphProgress, 2.0f);  // 30 ms / 15
    EXPECT_FALSE(Same(engine.BlendedCloud, before));
    for (bool forward : {true, false}) {
        engine.LastFrameTick = ticks.Now(), engine.HoldTimer = -25.0f;
        engine.MorphForward = forward, engine.MorphProgress = forward ? 99.5f : 0.5f;
        PointCloud& hidden = forward ? engine.CloudA : engine.CloudB;
        hidden.fill(Point3{9, 9, 9});  // not a shape
        const PointCloud shown = forward ? engine.CloudB : engine.CloudA;
        Step(40);
        EXPECT_TRUE(engine.MorphProgress == (forward ? 100.0f : 0.0f) && engine.MorphForward == !forward);
        EXPECT_EQ(engine.HoldTimer, engine.HoldTime);  // the -25 is not carried over
        EXPECT_TRUE(Same(engine.BlendedCloud, shown));
        for (const Point3& p : hidden) ASSERT_LE(std::fabs(p.x), 1.34f) << "refilled";
    }
    engine.LastFrameTick = ticks.Now(), engine.HoldTimer = -1.0f;
    engine.MorphForward = true, engine.MorphProgress = 98.0f;
    Step(30);  // reaching exactly 100 ends the morph
    EXPECT_TRUE(engine.MorphProgress == 100.0f && !engine.MorphForward);
    RandomGenerator r{0};  // the generator: seed * 134775813 + 1, read as seed / 2^32
    EXPECT_TRUE(RandomReal(r) == 0x1p-32L && RandomReal(r) == 134775814.0L / 4294967296.0L);
    engine.HoldTime = engine.HoldTimer = 300.0f, engine.LastFrameTick = ticks.Now();
    engine.MorphForward = true, engine.MorphProgress = 0.0f;
    int frames = 0;
    for (; engine.MorphForward && frames < 1000; ++frames) Step(20);
    EXPECT_TRUE(frames == 15 + 75 && engine.MorphProgress == 100.0f) << frames;
}

TEST_F(Eng, SurfaceSetUp) {
    const int32_t cases[][6] = {
        {800, 600, 400, 300, 100, 100}, {152, 112, 76, 56, 19, 18}, {1280, 1024, 640, 512, 160, 170}};
    for (const auto& c : cases) {
        SetUpSurface(engine, c[0], c[1]);
        EXPECT_TRUE(engine.ProjectionCentre[0] == c[2] && engine.ProjectionCentre[1] == c[3] &&
                    engine.ProjectionScale[0] == c[4] && engine.ProjectionScale[1] == c[5])
            << c[0];
    }
    ticks.Set(123456);
    SetUpSurface(engine, 800, 600);
    EXPECT_TRUE(engine.HoldTimer == 6000.0f && engine.SpinSpeed.x == 0.17f && engine.LastFrameTick == 123456u);
    SetUpSurface(engine, 0, 0);  // an empty client area changes nothing
    EXPECT_EQ(engine.ProjectionCentre[0], 400);
    // Without Trace the tempo is 1.33 times faster, once, however often resized.
    settings.Trace = false;
    Engine plain;
    plain.Settings = &settings, plain.Ticks = &ticks;
    for (int i = 0; i < 5; ++i) {
        ticks.Set(5000 + 100 * i);
        plain.HoldTimer = 17.0f;
        SetUpSurface(plain, 1024 + i, 768);
    }
    EXPECT_FLOAT_EQ(plain.HoldTime, 4511.2783f);
    EXPECT_NEAR(plain.SpinSpeed.x, 0.2261f, 1e-6f);
    EXPECT_NEAR(plain.CentreVelocity.x, 0.000665f, 1e-9f);
    EXPECT_TRUE(plain.HoldTimer == plain.HoldTime && plain.LastFrameTick == 5400u);
    EXPECT_TRUE(plain.ProjectionCentre[0] == 514 && plain.ProjectionScale[0] == 128.0f);
}

TEST_F(Eng, SpinTurnsXThenYAndShedsWholeTurnsPast16384) {
    for (int k = 0; k < 1000; ++k) AdvanceSpin(engine, 40.0f);
    EXPECT_NEAR(engine.SpinAngle.x, M_PI * 40.0 * 0.17, 1e-3);
    EXPECT_NEAR(engine.SpinAngle.y, M_PI * 40.0 * 0.14, 1e-3);
    engine.SpinSpeed.z = 1.0f;  // about z the angle runs the other way
    AdvanceSpin(engine, 1000.0f);
    EXPECT_FLOAT_EQ(engine.SpinAngle.z, -float(M_PI));
    engine.SpinAngle = Vec3f{16383.9f, -16383.9f, 0.0f}, engine.SpinSpeed = Vec3f{0.5f, -0.5f, 0.0f};
    AdvanceSpin(engine, 40.0f);
    EXPECT_GT(engine.SpinAngle.x, 16383.9f) << "kept below the limit";
    for (int k = 0; k < 100; ++k) AdvanceSpin(engine, 40.0f);
    const Extended turned = 101 * 40 * 0.5L * Pi / 1000;
    for (int axis = 0; axis < 2; ++axis) {
        const float now = axis == 0 ? engine.SpinAngle.x : engine.SpinAngle.y;
        const Extended expected = axis == 0 ? 16383.9f + turned : -16383.9f - turned;
        EXPECT_LT(std::fabs(now), 2 * Pi) << axis;
        EXPECT_NEAR(Single(Sin(now)), Single(Sin(expected)), 5e-3) << axis;
        EXPECT_NEAR(Single(Cos(now)), Single(Cos(expected)), 5e-3) << axis;
    }
}

TEST_F(Eng, EachEdgeTurnsTheCentreBackWithANewSpin) {
    struct Case {
        Vec3f centre, velocity;
        bool onX, positive;
    } const cases[] = {{{2.74f, 0, 0}, {0.0005f, 0, 0}, true, false},
                       {{-2.74f, 0, 0}, {-0.0005f, 0, 0}, true, true},
                       {{0, 1.79f, 0}, {0, 0.0006f, 0}, false, false},
                       {{0, -1.79f, 0}, {0, -0.0006f, 0}, false, true}};
    for (bool trace : {true, false}) {
        settings.Trace = trace;
        const float low = trace ? 0.12f : 0.3f;
        for (const Case& c : cases) {
            engine.ObjectCentre = c.centre, engine.CentreVelocity = c.velocity;
            engine.SpinSpeed = Vec3f{0.17f, 0.14f, 0.0f};
            engine.Random.RandomSeed = 0;  // the draw is 2^-32: the low end of the range
            const uint32_t seed = engine.Random.RandomSeed;
            MoveCentre(engine, 40.0f);
            const float v = c.onX ? engine.CentreVelocity.x : engine.CentreVelocity.y;
            const float spin = c.onX ? engine.SpinSpeed.y : engine.SpinSpeed.x;
            EXPECT_TRUE((v > 0.0f) == c.positive && (spin > 0.0f) == c.positive);
            EXPECT_EQ(std::fabs(spin), low) << spin;
            EXPECT_EQ(c.onX ? engine.SpinSpeed.x : engine.SpinSpeed.y, c.onX ? 0.17f : 0.14f);
            EXPECT_EQ(engine.Random.RandomSeed, seed * 134775813u + 1u) << "one draw per bounce";
        }
    }
    engine.ObjectCentre = Vec3f{3.0f, 0.0f, 0.0f};  // still beyond: keeps moving inward
    engine.CentreVelocity = Vec3f{0.0005f, 0.0006f, 0.001f};
    for (int k = 0; k < 3; ++k) MoveCentre(engine, 40.0f);
    EXPECT_FLOAT_EQ(engine.ObjectCentre.x, 2.98f);
    engine.ObjectCentre = Vec3f{}, engine.CentreVelocity = Vec3f{0.0005f, 0.0006f, 0.001f};
    for (int k = 0; k < 10000; ++k) MoveCentre(engine, 40.0f);  // without Move3D depth never changes
    EXPECT_TRUE(engine.ObjectCentre.z == 0.0f && engine.CentreVelocity.z == 0.001f);
    EXPECT_TRUE(std::fabs(engine.ObjectCentre.x) <= 2.77f && std::fabs(engine.ObjectCentre.y) <= 1.83f);
    settings.Move3D = true;  // bounds that follow depth, and depth bounces that redraw both spins
    const float moves[][4] = {{2.8f, 0, 0, 1}, {7.49f, 0, -10.0f, -1}, {0, 2.9f, 0, 1}, {0, 6.32f, -10.0f, -1}};
    for (const auto& m : moves) {
        engine.ObjectCentre = Vec3f{m[0], m[1], m[2]}, engine.CentreVelocity = Vec3f{0.0005f, 0.0006f, -0.001f};
        MoveCentre(engine, 40.0f);
        EXPECT_EQ((m[0] != 0 ? engine.CentreVelocity.x : engine.CentreVelocity.y) > 0, m[3] > 0) << m[0] << m[1];
    }
    const float depths[][2] = {{3.9f, 0}, {-9.9f, 0}, {3.99f, 1}, {-9.99f, 1}};  // before and past the depth bounds
    for (const auto& d : depths) {
        const float out = d[0] > 0 ? 0.001f : -0.001f, sign = d[0] > 0 ? -1.0f : 1.0f;
        engine.ObjectCentre = Vec3f{0.0f, 0.0f, d[0]}, engine.CentreVelocity = Vec3f{0.0f, 0.0f, out};
        MoveCentre(engine, 40.0f);
        EXPECT_EQ(engine.CentreVelocity.z, d[1] ? -out : out) << d[0];
        for (float s : {engine.SpinSpeed.x * sign, engine.SpinSpeed.y * sign})
            EXPECT_TRUE(!d[1] || (s >= 0.25f && s <= 0.5834f)) << s;
    }
}

TEST_F(Eng, RotationDepthAndProjection) {
    constexpr float Q = float(M_PI / 2);
    // angles, point, turned point; about x first, then y
    const float turns[][9] = {{0, 0, 0, 0.123456f, -1.3f, 0.7f, 0.123456f, -1.3f, 0.7f}, {Q, 0, 0, 0, 1, 0, 0, 0, 1},
                              {Q, Q, 0, 0, 1, 0, 1, 0, 0}, {0, Q, 0, 1, 0, 0, 0, 0, -1}, {0, 0, Q, 1, 0, 0, 0, 1, 0},
                              {0, 0, Q, 0, 1, 0, -1, 0, 0}};
    for (const auto& t : turns) {
        const Point3 r = RotatePoint(MakeRotation(Vec3f{t[0], t[1], t[2]}), Point3{t[3], t[4], t[5]});
        EXPECT_TRUE(std::fabs(r.x - t[6]) < 1e-6 && std::fabs(r.y - t[7]) < 1e-6 && std::fabs(r.z - t[8]) < 1e-6)
            << r.x << "," << r.y << "," << r.z;
    }
    const float depth[][2] = {{1, 208}, {0, 144}, {-1.732f, 33}, {std::nextafter(1.732f, 2.0f), 255}, {2.5f, 255},
                              {-2.23f, 1}, {-2.24f, 0}, {-50, 0}};
    for (const auto& d : depth) EXPECT_EQ(DepthBrightness(Point3{3, -2, d[0]}), d[1]) << d[0];

    SetUpSurface(engine, 800, 600);
    ScreenPoint s;
    // centre z, point x, point z -> screen x, y
    const float cases[][5] = {{0, 1, 0, 500, 200}, {0, 1, 5, 600, 100}, {5, 1, 0, 600, 100}};
    for (const auto& c : cases) {
        engine.ObjectCentre.z = c[0];
        ASSERT_TRUE(ProjectPoint(engine, Point3{c[1], -1, c[2]}, s));
        EXPECT_TRUE(s.x == c[3] && s.y == c[4]) << c[0] << ": " << s.x << "," << s.y;
    }
    engine.ObjectCentre.z = 4.0f;
    EXPECT_FALSE(ProjectPoint(engine, Point3{0.5f, 0.5f, 6.0f}, s));  // depth divisor 0
    EXPECT_FALSE(ProjectPoint(engine, Point3{1, 1, std::nextafter(6.0f, 0.0f)}, s) && s.x < 800);
    engine.ProjectionScale[0] = engine.ProjectionScale[1] = 1.0f;
    engine.ProjectionCentre[0] = engine.ProjectionCentre[1] = 0;
    engine.ObjectCentre.z = 0;
    ASSERT_TRUE(ProjectPoint(engine, Point3{2.5f, 3.5f, 0}, s));  // ties to even
    EXPECT_TRUE(s.x == 2 && s.y == 4);
    ASSERT_TRUE(ProjectPoint(engine, Point3{-2.5f, 2.5000002f, 0}, s));
    EXPECT_TRUE(s.x == -2 && s.y == 3);
}

TEST_F(Eng, ColourCyclePaletteAndPointColours) {
    AdvanceColourCycle(engine);
    const float first[] = {249.42f, 125.33f, 125.25f};
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(engine.TintColour[c], first[c], 0.005f);
    float top = 0;  // a channel over 255 is held at 255
    for (int k = 1; k < 30240; ++k) {
        AdvanceColourCycle(engine);
        const float* t = engine.TintColour;
        ASSERT_TRUE(t[0] <= 255 && t[1] <= 255 && t[2] <= 255 && t[0] + t[1] + t[2] <= 500.01f) << k;
        top = std::max({top, t[0], t[1], t[2]});
    }
    EXPECT_EQ(top, 255.0f);
    const int32_t* n = engine.ColourCounters;  // 1..1080, 1..1260, 1..1440 meet again here
    EXPECT_TRUE(n[0] == 1080 && n[1] == 1260 && n[2] == 1440);
    AdvanceColourCycle(engine);
    EXPECT_EQ(n[2], 1);

    engine.TintColour[0] = 255.0f, engine.TintColour[1] = 0.0f, engine.TintColour[2] = 100.0f;
    RewritePalette(engine);
    const ColourEntry* t = surface.ColourTable();
    EXPECT_TRUE(t[128].red == 128 && t[128].green == 0 && t[128].blue == 50);
    EXPECT_TRUE(t[255].blue == 100 && t[255].reserved == 0);

    settings.HuesOfGray = true, settings.PrimitivePoints = false;
    EXPECT_TRUE(ColoursFor(engine, 200).cross == PackColour(200, 200, 200) &&
                ColoursFor(engine, 200).block == PackColour(133, 133, 133));
    settings.PrimitivePoints = true;
    EXPECT_EQ(ColoursFor(engine, 200).block, PackColour(200, 200, 200));
    settings.HuesOfGray = settings.PrimitivePoints = false;
    engine.TintColour[0] = 127.5f, engine.TintColour[1] = 255.0f, engine.TintColour[2] = 1.0f;
    EXPECT_EQ(ColoursFor(engine, 200).cross, PackColour(100, 200, 0));
    EXPECT_EQ(ColoursFor(engine, 200).block, PackColour(66, 133, 0));

    // With Trace the table follows the tint each frame unless grey, a ramp set once.
    SetUpSurface(engine, 800, 600);
    Step(30);
    const uint8_t red = surface.ColourTable()[255].red;
    EXPECT_EQ(red, uint8_t(engine.TintColour[0]));
    for (int k = 0; k < 100; ++k) Step(30);
    EXPECT_NE(surface.ColourTable()[255].red, red);
    settings.HuesOfGray = true;
    engine.ColourCounters[0] = 0;
    SetUpSurface(engine, 800, 600);
    for (int k = 0; k < 20; ++k) Step(30);
    EXPECT_EQ(engine.ColourCounters[0], 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(t[i].red == i && t[i].green == i && t[i].blue == i && t[i].reserved == 0) << i;
}

TEST_F(Eng, Plotting) {
    Wire(100, 80, SurfaceKind::Indexed);
    engine.PreviewMode = true;  // bounds leave 3 right and 4 bottom
    const int32_t cases[][3] = {{2, 40, 1}, {1, 40, 0}, {97, 40, 1}, {98, 40, 0}, {50, 2, 1},
                                {50, 1, 0}, {50, 76, 1}, {50, 77, 0}, {-5, 40, 0}, {50, 1000, 0}};
    for (const auto& c : cases) {
        surface.Clear();
        PlotPoint(engine, ScreenPoint{c[0], c[1]}, 99, 0, 0);
        EXPECT_EQ(surface.IndexAt(c[0], c[1]) == 99, c[2] == 1) << c[0] << "," << c[1];
    }
    surface.Clear();  // with Trace a 3x3 block that keeps the brightest
    engine.PreviewMode = false;
    IndexedPixels px = surface.Pixels();
    PlotPixel(px, 11, 10, 180);
    PlotPoint(engine, ScreenPoint{10, 10}, 100, 0, 0);
    const int expected[][3] = {{11, 10, 180}, {9, 9, 100}, {11, 11, 100}, {12, 10, 0}, {10, 12, 0}};
    for (const auto& e : expected) EXPECT_EQ(surface.IndexAt(e[0], e[1]), e[2]) << e[0] << "," << e[1];
    PlotPixel(px, 100, 0, 255);  // outside: not written past the row
    EXPECT_EQ(surface.IndexAt(0, 1), 0);

    Wire(40, 40, SurfaceKind::Rgb);  // without Trace a plus over darker corners, one pixel in preview
    settings.Trace = settings.PrimitivePoints = false;
    const PackedColour block = PackColour(10, 20, 30), cross = PackColour(200, 100, 50);
    PlotPoint(engine, ScreenPoint{20, 20}, 0, block, cross);
    const PackedColour plus[][3] = {{19, 19, block}, {21, 21, block}, {20, 20, cross}, {19, 20, cross}, {20, 21, cross},
                                    {22, 20, 0}};
    for (const auto& p : plus) EXPECT_EQ(surface.ColourAt(p[0], p[1]), p[2]) << p[0] << "," << p[1];
    surface.Clear();
    engine.PreviewMode = true;
    PlotPoint(engine, ScreenPoint{20, 20}, 0, block, cross);
    EXPECT_TRUE(surface.ColourAt(20, 20) == block && surface.ColourAt(21, 20) == 0u);

    settings.Trace = true;  // a frame plots each point where it projects, as bright as its depth
    Wire(800, 600, SurfaceKind::Indexed);
    engine.PreviewMode = false;
    engine.CloudA.fill(Point3{1.0f, -1.0f, 0.0f});
    BlendClouds(engine);
    SetUpSurface(engine, 800, 600);
    engine.SpinSpeed = engine.CentreVelocity = Vec3f{};
    Step(10);
    EXPECT_TRUE(surface.IndexAt(500, 200) == 144 && surface.IndexAt(501, 201) == 144 && surface.IndexAt(502, 200) == 0);
}

TEST_F(Eng, PaintSequenceFpsAndClock) {
    settings.Trace = false, settings.ShowFPS = true;
    Start(5000);
    Paint(10);
    EXPECT_EQ(host.events, "PRCF");  // the previous frame shown before the next is prepared
    int lit = 0;
    for (int i = 0; i < 64 * 48; ++i) lit += surface.ColourAt(i % 64, i / 64) != 0;
    EXPECT_GT(lit, 0);
    settings.Trace = true;
    settings.TraceModeInd = -4;
    Paint(10);
    EXPECT_TRUE(host.events == "PRF" && paint.FrameCount == 2 && settings.TraceModeInd == -1);
    Start(1000);
    Paint(0);
    EXPECT_EQ(host.lastFps, "  ");  // no time passed: only the two blanks
    Paint(16), Paint(0), Paint(0);
    EXPECT_EQ(host.lastFps, "250 fps  ");  // 4 frames in 16 ms

    settings.ShowClock = true;  // with Trace once per tick-count second, white
    Start(10500);               // ClockTick 10000
    const uint32_t steps[][2] = {{100, 0}, {400, 1}, {999, 0}, {1, 1}};
    for (const auto& s : steps) {
        Paint(s[0]);
        EXPECT_EQ(std::count(host.events.begin(), host.events.end(), 'K'), long(s[1])) << ticks.Now();
    }
    EXPECT_TRUE(!host.tinted && paint.ClockTick == 12000);
    Start(0xFFFFFC00u);
    Paint(0x500);  // across the wrap: 0x100 ms later in real time
    EXPECT_EQ(host.events, "PRKF");
    settings.Trace = false;  // without Trace every frame, in the tint, never in preview
    Start(10500);
    Paint(10);
    EXPECT_TRUE(host.events == "PRCKF" && host.tinted);
    engine.PreviewMode = true;
    Paint(2000);
    EXPECT_EQ(host.events, "PRCF");
}

// A window given only each frame's changed area, holding anything at first, shows what a full copy shows.
TEST_F(Eng, PresentingTheChangedAreaShowsTheWholeFrame) {
    for (int mode = 0; mode < 4; ++mode) {
        settings.Trace = mode < 3, settings.TraceModeInd = mode % 3, settings.TraceLength = mode, Start(1000, 160, 120);
        std::vector<PackedColour> screen(160 * 120, 0x123456), whole(screen.size());
        for (int f = 0; f < 300; ++f) {
            for (int32_t i = 0; i < 160 * 120; ++i) whole[i] = surface.ColourAt(i % 160, i / 160);
            Paint(30);  // shows the frame drawn before it
            for (int32_t i = 0, x = 0, y = 0, l = host.presented.left, r = host.presented.right; i < 160 * 120;
                 x = ++i % 160, y = i / 160)
                if (x >= l && x < r && y >= host.presented.top && y < host.presented.bottom) screen[i] = whole[i];
            ASSERT_EQ(screen, whole) << "mode " << mode << " frame " << f;
        }
    }
}

// Every switch combination, dialog and hostile trace values, frames of 0..100 ms, the tick counter
// about to wrap: sane state after every frame and no heap allocation at all.
TEST_F(Eng, SoakEveryCombinationWithoutAllocating) {
    const int32_t modes[] = {0, 1, 2, -1, INT32_MIN}, lengths[] = {0, 3, 4, -1, INT32_MAX, INT32_MIN};
    SoftwareSurface indexed(80, 60, SurfaceKind::Indexed, 84), rgb(80, 60, SurfaceKind::Rgb);
    std::mt19937 rng(20240611);
    Start(0xFFFFFFFFu - 20000u, 80, 60);
    alloc_count::Start();
    { int* volatile kept = new int(7); delete kept; }  // volatile: the pair may not be optimised away
    ASSERT_EQ(alloc_count::Stop(), 1u) << "the counter must see allocations";
    host.events.reserve(64);
    alloc_count::Start();
    int ends = 0;
    for (int combo = 0; combo < 256 * 5 * 6; ++combo) {
        for (int bit = 0; bit < 8; ++bit) SetSettingValue(settings, bit, (combo >> bit) & 1);
        settings.TraceModeInd = modes[combo / 256 % 5], settings.TraceLength = lengths[combo / 1280];
        engine.Target = host.surface = settings.Trace ? &indexed : &rgb;
        if (combo % 256 == 0) ticks.Set(0xFFFFFFFFu - rng() % 100 * 600u);
        for (int f = 0; f < 4; ++f) {
            const bool forward = engine.MorphForward;
            host.events.clear();
            ticks.Advance(rng() % 101);
            PaintFrame(engine, paint, host, " fps");
            ends += engine.MorphForward != forward;
            const Vec3f c = engine.ObjectCentre;
            bool ok = engine.MorphProgress >= 0 && engine.MorphProgress <= 100 && engine.LastFrameTick == ticks.Now() &&
                      settings.TraceModeInd > -3 && settings.TraceModeInd < 3 && std::fabs(c.x) < 7.6f &&
                      std::fabs(c.y) < 6.4f && c.z < 4.1f && c.z > -10.1f && engine.SpinAngle.z == 0.0f &&
                      std::fabs(engine.SpinSpeed.x) <= 0.6f && std::fabs(engine.SpinAngle.x) < 16385.0f &&
                      std::fabs(engine.SpinAngle.y) < 16385.0f;  // far below 2^30, where Sin leaves its reduction
            for (const Point3& p : engine.BlendedCloud) ok = ok && std::isfinite(p.x + p.y + p.z);
            ASSERT_TRUE(ok) << "combination " << combo << " frame " << f;
        }
    }
    EXPECT_EQ(alloc_count::Stop(), 0u);
    EXPECT_GE(ends, 8) << "the morph must keep reaching its ends";
}

}  // namespace
}  // namespace quorvex
