// The paint sequence shared by the hosts, driven through a recording host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "frame.h"

namespace quorvex {
namespace {

struct Recorder final : FrameHost {
    TickSource* ticks = nullptr;
    std::vector<std::string> events;
    std::string lastFps;
    bool lastClockTinted = false;
    void Present() override { events.push_back("present"); }
    void ResetBackground() override { events.push_back("reset"); }
    void ClearSurface() override { events.push_back("clear"); }
    void DrawClock(const char*, size_t, const PackedColour* colour) override {
        events.push_back("clock");
        lastClockTinted = colour != nullptr;
    }
    void DrawFps(const char* text, size_t n) override {
        events.push_back("fps");
        lastFps.assign(text, n);
    }
    uint32_t Now() override { return ticks->Now(); }
    void LocalClockText(char* out, size_t, size_t& length) override { out[0] = '1', length = 1; }
    long Clocks() const { return std::count(events.begin(), events.end(), "clock"); }
};

struct PaintFixture : testing::EngineTest {
    Recorder host;
    PaintState state;

    void Start(uint32_t tick) {
        ticks.Set(tick);
        host.ticks = &ticks;
        Wire(64, 48, settings.Trace ? SurfaceKind::Indexed : SurfaceKind::Rgb);
        engine.Random.RandomSeed = 42;
        PrepareClouds(engine);
        StartPaintState(state, tick, tick);
        SetUpSurface(engine, 64, 48);
    }
    void Paint(uint32_t advance) {
        ticks.Advance(advance);
        host.events.clear();
        PaintFrame(engine, state, host, " fps");
    }
};

TEST_F(PaintFixture, PresentsThePreviousFrameBeforePreparingTheNext) {
    settings.Trace = false;
    settings.ShowFPS = true;
    Start(5000);
    Paint(10);
    EXPECT_EQ(host.events, (std::vector<std::string>{"present", "reset", "clear", "fps"}));
    int lit = 0;
    for (int i = 0; i < 64 * 48; ++i) lit += surface.ColourAt(i % 64, i / 64) != 0;
    EXPECT_GT(lit, 0) << "the points are drawn without Trace";
    settings.Trace = true;
    Paint(10);
    EXPECT_EQ(host.events, (std::vector<std::string>{"present", "reset", "fps"}));
    EXPECT_EQ(state.FrameCount, 2);
}

TEST_F(PaintFixture, FpsTextIsTheRunAverageFollowedByTwoBlanks) {
    settings.ShowFPS = true;
    Start(1000);
    Paint(0);  // same millisecond as the start: only the two blanks
    EXPECT_EQ(host.lastFps, "  ");
    Paint(16);
    Paint(0);
    Paint(0);
    EXPECT_EQ(host.lastFps, "250 fps  ");  // 4 frames in 16 ms
}

TEST_F(PaintFixture, TraceModeIsReducedBeforeThePass) {
    settings.TraceModeInd = 5;
    Start(0);
    Paint(30);
    EXPECT_EQ(settings.TraceModeInd, 2);
    settings.TraceModeInd = -4;
    Paint(30);
    EXPECT_EQ(settings.TraceModeInd, -1);
}

TEST_F(PaintFixture, ClockWithTraceIsDrawnOncePerTickSecondAndSurvivesTheWrap) {
    settings.ShowClock = true;
    Start(10500);                                                        // ClockTick 10000
    const uint32_t steps[][2] = {{100, 0}, {400, 1}, {999, 0}, {1, 1}};  // 10600, 11000, 11999, 12000
    for (const auto& step : steps) {
        Paint(step[0]);
        EXPECT_EQ(host.Clocks(), static_cast<long>(step[1])) << ticks.Now();
    }
    EXPECT_FALSE(host.lastClockTinted) << "white with Trace";
    EXPECT_EQ(state.ClockTick, 12000);
    Start(0xFFFFFC00u);  // ClockTick is the second before the wrap
    Paint(0x500);        // the counter wrapped: 0x100 ms later in real time
    EXPECT_EQ(host.Clocks(), 1);
}

TEST_F(PaintFixture, ClockWithoutTraceIsDrawnEveryFrameInTheTintButNotInPreview) {
    settings.ShowClock = settings.ShowFPS = true;
    settings.Trace = false;
    Start(10500);
    Paint(10);
    Paint(10);
    EXPECT_EQ(host.Clocks(), 1);
    EXPECT_TRUE(host.lastClockTinted);
    engine.PreviewMode = true;
    Start(0);
    Paint(2000);
    EXPECT_EQ(host.Clocks(), 0);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "fps"), 1);
}

}  // namespace
}  // namespace quorvex
