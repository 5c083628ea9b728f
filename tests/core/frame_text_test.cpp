// Repaint pacing and the two overlay texts.
#include <gtest/gtest.h>

#include <string>

#include "frame.h"

namespace quorvex {
namespace {

std::string Fps(int32_t frames, uint32_t elapsed, const char* suffix = " fps") {
    char buf[64];
    return std::string(buf, FpsText(frames, elapsed, suffix, buf, sizeof buf));
}

std::string Clock(TimeOfDay t, TimeFormat f) {
    char buf[64];
    return std::string(buf, ClockText(t, f, buf, sizeof buf));
}

TEST(FpsText, AveragesOverTheRunAndRoundsHalvesToEven) {
    EXPECT_EQ(Fps(570, 10000), "57 fps");
    EXPECT_EQ(Fps(1, 16), "62 fps");   // 62.5
    EXPECT_EQ(Fps(3, 16), "188 fps");  // 187.5
    EXPECT_EQ(Fps(0, 500), "0 fps");
    EXPECT_EQ(Fps(57, 1000, " \xEA\xE0\xE4\xF0/\xF1"), "57 \xEA\xE0\xE4\xF0/\xF1");
    EXPECT_EQ(Fps(1, 0), "") << "no time has passed";
    EXPECT_EQ(Fps(2147483647, 1), "2147483647 fps");
}

TEST(RepaintPacing, WaitsOutThePeriodButAtLeastThreeMilliseconds) {
    EXPECT_TRUE(RepaintPeriod(true) == 30u && RepaintPeriod(false) == 10u);
    const uint32_t cases[][3] = {{30, 0, 30}, {30, 12, 18}, {30, 28, 3}, {30, 30, 3}, {10, 500, 3}};
    for (const auto& c : cases) EXPECT_EQ(RepaintWait(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(ClockText, FollowsTheLocaleFormat) {
    TimeFormat h24;
    EXPECT_EQ(Clock({7, 5, 9}, h24), "07:05:09");
    h24.leadingZero = false;
    EXPECT_EQ(Clock({7, 5, 9}, h24), "7:05:09");
    TimeFormat us = h24;
    us.twelveHour = true;
    EXPECT_EQ(Clock({0, 0, 0}, us), "12:00:00 AM");
    EXPECT_EQ(Clock({12, 30, 1}, us), "12:30:01 PM");
    EXPECT_EQ(Clock({23, 59, 59}, us), "11:59:59 PM");
    us.designatorFirst = true;
    us.separator = '.';
    EXPECT_EQ(Clock({13, 4, 5}, us), "PM 1.04.05");
}

}  // namespace
}  // namespace quorvex
