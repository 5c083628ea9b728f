// Repaint pacing and the two overlay texts.
#include <gtest/gtest.h>

#include <string>

#include "frame.h"

namespace quorvex {
namespace {

std::string Fps(int32_t frames, uint32_t elapsed, const char* suffix = " fps") {
    char buf[64];
    size_t n = FpsText(frames, elapsed, suffix, buf, sizeof buf);
    return std::string(buf, n);
}

TEST(FpsText, AveragesOverTheRunAndRoundsHalvesToEven) {
    EXPECT_EQ(Fps(570, 10000), "57 fps");
    EXPECT_EQ(Fps(1, 16), "62 fps");   // 62.5
    EXPECT_EQ(Fps(3, 16), "188 fps");  // 187.5
    EXPECT_EQ(Fps(0, 500), "0 fps");
    EXPECT_EQ(Fps(57, 1000, " \xEA\xE0\xE4\xF0/\xF1"), "57 \xEA\xE0\xE4\xF0/\xF1");
}

TEST(FpsText, EmptyWhenNoTimeHasPassed) {
    EXPECT_EQ(Fps(1, 0), "");
}

TEST(FpsText, HugeRatesStayDefined) {
    EXPECT_EQ(Fps(2147483647, 1), "2147483647 fps");
}

TEST(RepaintPacing, WaitsOutThePeriodButAtLeastThreeMilliseconds) {
    EXPECT_EQ(RepaintPeriod(true), 30u);
    EXPECT_EQ(RepaintPeriod(false), 10u);
    EXPECT_EQ(RepaintWait(30, 0), 30u);
    EXPECT_EQ(RepaintWait(30, 12), 18u);
    EXPECT_EQ(RepaintWait(30, 28), 3u);
    EXPECT_EQ(RepaintWait(30, 30), 3u);
    EXPECT_EQ(RepaintWait(10, 500), 3u);
}

std::string Clock(TimeOfDay t, TimeFormat f) {
    char buf[64];
    size_t n = ClockText(t, f, buf, sizeof buf);
    return std::string(buf, n);
}

TEST(ClockText, FollowsTheLocaleFormat) {
    TimeFormat h24;
    EXPECT_EQ(Clock({7, 5, 9}, h24), "07:05:09");
    h24.leadingZero = false;
    EXPECT_EQ(Clock({7, 5, 9}, h24), "7:05:09");
    TimeFormat us;
    us.twelveHour = true;
    us.leadingZero = false;
    EXPECT_EQ(Clock({0, 0, 0}, us), "12:00:00 AM");
    EXPECT_EQ(Clock({12, 30, 1}, us), "12:30:01 PM");
    EXPECT_EQ(Clock({23, 59, 59}, us), "11:59:59 PM");
    TimeFormat first = us;
    first.designatorFirst = true;
    first.separator = '.';
    EXPECT_EQ(Clock({13, 4, 5}, first), "PM 1.04.05");
}

}  // namespace
}  // namespace quorvex
