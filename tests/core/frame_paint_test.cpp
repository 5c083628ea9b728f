// The paint sequence shared by the hosts, driven through a recording host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frame.h"

namespace quorvex {
namespace {

struct Clock final : TickSource {
    uint32_t now = 0;
    uint32_t Now() override { return now; }
};

// An 8-bit target that records nothing but its pixels.
struct PixelTarget final : DrawTarget {
    static constexpr int W = 64, H = 48;
    uint8_t bits[W * H] = {};
    int fills = 0;
    IndexedPixels Pixels() override { return IndexedPixels{bits, W, H, W}; }
    void SetColourTable(const ColourEntry (&)[256]) override {}
    void FillRect(const Rect&, PackedColour) override { ++fills; }
};

struct Recorder final : FrameHost {
    Clock* clock = nullptr;
    std::vector<std::string> events;
    std::string lastFps;
    std::string lastClock;
    bool lastClockTinted = false;
    void Present() override { events.push_back("present"); }
    void ResetBackground() override { events.push_back("reset"); }
    void ClearSurface() override { events.push_back("clear"); }
    void DrawClock(const char* text, size_t n, const PackedColour* colour) override {
        events.push_back("clock");
        lastClock.assign(text, n);
        lastClockTinted = colour != nullptr;
    }
    void DrawFps(const char* text, size_t n) override {
        events.push_back("fps");
        lastFps.assign(text, n);
    }
    uint32_t Now() override { return clock->now; }
    void LocalClockText(char* out, size_t, size_t& length) override {
        out[0] = '1';
        out[1] = '2';
        length = 2;
    }
};

struct PaintFixture : ::testing::Test {
    SaverSettings settings;
    Clock clock;
    PixelTarget target;
    Engine engine;
    Recorder host;
    PaintState state;

    void Start(uint32_t tick) {
        clock.now = tick;
        host.clock = &clock;
        engine.Settings = &settings;
        engine.Ticks = &clock;
        engine.Target = &target;
        engine.ClientRight = PixelTarget::W;
        engine.ClientBottom = PixelTarget::H;
        engine.Random.RandomSeed = 42;
        PrepareClouds(engine);
        StartPaintState(state, tick, tick);
        SetUpSurface(engine, PixelTarget::W, PixelTarget::H);
    }
    void Paint(uint32_t advance) {
        clock.now += advance;
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
    EXPECT_GT(target.fills, 0) << "the points are drawn as fills without Trace";
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

TEST_F(PaintFixture, ClockWithTraceIsDrawnOncePerTickSecond) {
    settings.ShowClock = true;
    Start(10500);  // ClockTick 10000
    Paint(100);    // 10600: not yet a new second
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "clock"), 0);
    Paint(400);  // 11000
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "clock"), 1);
    EXPECT_FALSE(host.lastClockTinted) << "white with Trace";
    EXPECT_EQ(state.ClockTick, 11000);
    Paint(999);  // 11999
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "clock"), 0);
    Paint(1);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "clock"), 1);
}

TEST_F(PaintFixture, ClockWithoutTraceIsDrawnEveryFrameInTheTint) {
    settings.ShowClock = true;
    settings.Trace = false;
    Start(10500);
    Paint(10);
    Paint(10);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "clock"), 1);
    EXPECT_TRUE(host.lastClockTinted);
}

TEST_F(PaintFixture, PreviewHasNoClockButKeepsTheFps) {
    settings.ShowClock = true;
    settings.ShowFPS = true;
    settings.Trace = false;
    engine.PreviewMode = true;
    Start(0);
    Paint(2000);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "clock"), 0);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "fps"), 1);
}

TEST_F(PaintFixture, ClockSurvivesTheTickWrap) {
    settings.ShowClock = true;
    Start(0xFFFFFC00u);  // ClockTick is the second before the wrap
    Paint(0x500);        // the counter wrapped: 0x100 ms later in real time
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "clock"), 1);
}

}  // namespace
}  // namespace quorvex
