// Colour cycle, palette, point colours and the footprint of a point.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace quorvex::testing {
namespace {

using Colour = EngineTest;

TEST_F(Colour, FirstCycleStepAndTheWholePeriod) {
    AdvanceColourCycle(engine);
    const float first[] = {249.42f, 125.33f, 125.25f};
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(engine.TintColour[c], first[c], 0.005f);
    for (int k = 1; k < 30240; ++k) {
        AdvanceColourCycle(engine);
        const float* t = engine.TintColour;
        ASSERT_TRUE(t[0] <= 255.0f && t[1] <= 255.0f && t[2] <= 255.0f) << k;
        ASSERT_LE(t[0] + t[1] + t[2], 500.01f) << k;
    }
    // The counters run 1..1080, 1..1260, 1..1440 and meet again here.
    EXPECT_TRUE(engine.ColourCounters[0] == 1080 && engine.ColourCounters[1] == 1260 &&
                engine.ColourCounters[2] == 1440);
    AdvanceColourCycle(engine);
    EXPECT_EQ(engine.ColourCounters[2], 1);
}

TEST_F(Colour, PaletteEntriesAreTheTintScaledByTheIndex) {
    engine.TintColour[0] = 255.0f, engine.TintColour[1] = 0.0f, engine.TintColour[2] = 100.0f;
    RewritePalette(engine);
    const ColourEntry* t = surface.ColourTable();
    EXPECT_TRUE(t[128].red == 128 && t[128].green == 0 && t[128].blue == 50);
    EXPECT_TRUE(t[255].red == 255 && t[255].blue == 100 && t[255].reserved == 0);
}

TEST_F(Colour, TraceRewritesTheTableEachFrameUnlessGrey) {
    SetUpSurface(engine, 800, 600);
    Step(30);
    const ColourEntry first = surface.ColourTable()[255];
    EXPECT_EQ(first.red, static_cast<uint8_t>(engine.TintColour[0]));
    for (int k = 0; k < 100; ++k) Step(30);
    EXPECT_NE(surface.ColourTable()[255].red, first.red);

    settings.HuesOfGray = true;  // a grey ramp, set once, with the cycle stopped
    engine.ColourCounters[0] = 0;
    SetUpSurface(engine, 800, 600);
    for (int k = 0; k < 20; ++k) Step(30);
    EXPECT_EQ(engine.ColourCounters[0], 0);
    for (int i = 0; i < 256; ++i) {
        const ColourEntry& c = surface.ColourTable()[i];
        ASSERT_TRUE(c.red == i && c.green == i && c.blue == i && c.reserved == 0) << i;
    }
    Wire(800, 600, SurfaceKind::Rgb);  // no table without Trace
    settings.Trace = false;
    SetUpSurface(engine, 800, 600);
    EXPECT_EQ(surface.ColourTable()[200].red, 0);
}

TEST_F(Colour, PointColoursScaleBrightnessWithCornersDarker) {
    settings.HuesOfGray = true;
    settings.PrimitivePoints = false;
    PointColours c = ColoursFor(engine, 200);
    EXPECT_EQ(c.cross, PackColour(200, 200, 200));
    EXPECT_EQ(c.block, PackColour(133, 133, 133));
    settings.PrimitivePoints = true;
    EXPECT_EQ(ColoursFor(engine, 200).block, PackColour(200, 200, 200));

    settings.HuesOfGray = settings.PrimitivePoints = false;
    engine.TintColour[0] = 127.5f, engine.TintColour[1] = 255.0f, engine.TintColour[2] = 1.0f;
    c = ColoursFor(engine, 200);
    EXPECT_EQ(c.cross, PackColour(100, 200, 0));
    EXPECT_EQ(c.block, PackColour(66, 133, 0));
}

TEST_F(Colour, PlotBoundsLeaveThreeRightAndFourBottom) {
    Wire(100, 80, SurfaceKind::Indexed);
    engine.PreviewMode = true;
    const int32_t cases[][3] = {{2, 40, 1}, {1, 40, 0},  {97, 40, 1}, {98, 40, 0}, {50, 2, 1},
                                {50, 1, 0}, {50, 76, 1}, {50, 77, 0}, {-5, 40, 0}, {50, 1000, 0}};
    for (const auto& c : cases) {
        surface.Clear();
        PlotPoint(engine, ScreenPoint{c[0], c[1]}, 99, 0, 0);
        EXPECT_EQ(surface.IndexAt(c[0], c[1]) == 99, c[2] == 1) << c[0] << "," << c[1];
    }
}

TEST_F(Colour, TracePointIsABlockThatKeepsTheBrightest) {
    IndexedPixels px = surface.Pixels();
    PlotPixel(px, 11, 10, 180);
    PlotPoint(engine, ScreenPoint{10, 10}, 100, 0, 0);
    const int expected[][3] = {{11, 10, 180}, {9, 9, 100}, {11, 11, 100}, {12, 10, 0}};
    for (const auto& e : expected) EXPECT_EQ(surface.IndexAt(e[0], e[1]), e[2]) << e[0] << "," << e[1];
    PlotPixel(px, 10, 10, 100);
    EXPECT_EQ(surface.IndexAt(10, 10), 100);
    PlotPixel(px, 800, 0, 255);  // outside: ignored, not written past the row
    EXPECT_EQ(surface.IndexAt(0, 1), 0);
}

TEST_F(Colour, WithoutTraceAPlusOverDarkerCornersOrOnePixelInPreview) {
    Wire(40, 40, SurfaceKind::Rgb);
    settings.Trace = settings.PrimitivePoints = false;
    const PackedColour block = PackColour(10, 20, 30), cross = PackColour(200, 100, 50);
    PlotPoint(engine, ScreenPoint{20, 20}, 0, block, cross);
    EXPECT_TRUE(surface.ColourAt(19, 19) == block && surface.ColourAt(21, 21) == block);
    EXPECT_TRUE(surface.ColourAt(20, 20) == cross && surface.ColourAt(19, 20) == cross &&
                surface.ColourAt(20, 21) == cross);
    EXPECT_EQ(surface.ColourAt(22, 20), 0u);

    surface.Clear();
    engine.PreviewMode = true;
    PlotPoint(engine, ScreenPoint{20, 20}, 0, block, cross);
    EXPECT_EQ(surface.ColourAt(20, 20), block);
    EXPECT_EQ(surface.ColourAt(21, 20), 0u);
}

TEST_F(Colour, AFrameDrawsItsPointsWhereTheyProject) {
    for (Point3& p : engine.CloudA) p = Point3{1.0f, -1.0f, 0.0f};
    BlendClouds(engine);
    SetUpSurface(engine, 800, 600);
    engine.SpinSpeed = engine.CentreVelocity = Vec3f{};
    Step(10);
    EXPECT_TRUE(surface.IndexAt(500, 200) == 144 && surface.IndexAt(501, 201) == 144);
    EXPECT_EQ(surface.IndexAt(502, 200), 0);
}

}  // namespace
}  // namespace quorvex::testing
