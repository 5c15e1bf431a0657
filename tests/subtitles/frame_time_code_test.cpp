#include "subtitles/frame_time_code.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::string frames(uint16_t h, uint16_t m, uint16_t s, uint16_t ms, uint8_t rate, bool drop) {
    const TimeCode tc{static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(s),
                      ms};
    return formatFrameTimeCode(toFrameTimeCode(tc, rate, drop));
}

constexpr uint8_t kPal = 0;
constexpr uint8_t kNtsc = 1;

TEST(FrameTimeCode, PalFramesAreWholeFortyMillisecondSteps) {
    EXPECT_EQ(frames(0, 0, 1, 39, kPal, false), "00:00:01:00");
    EXPECT_EQ(frames(0, 0, 1, 40, kPal, false), "00:00:01:01");
    EXPECT_EQ(frames(0, 0, 1, 999, kPal, false), "00:00:01:24");
    EXPECT_EQ(frames(1, 2, 3, 0, kPal, false), "01:02:03:00");
}

TEST(FrameTimeCode, NtscCountsThirtyFramesFromTheHundredths) {
    EXPECT_EQ(frames(0, 0, 1, 999, kNtsc, false), "00:00:01:29");
    // Hundredths first: 33 ms is 3 hundredths, which is frame 0.9 -> 0.
    EXPECT_EQ(frames(0, 0, 0, 33, kNtsc, false), "00:00:00:00");
    EXPECT_EQ(frames(0, 0, 0, 40, kNtsc, false), "00:00:00:01");
}

TEST(FrameTimeCode, DropFrameSkipsTheFirstTwoLabelsOfMostMinutes) {
    EXPECT_EQ(frames(0, 1, 0, 0, kNtsc, true), "00:01:00:02");
    EXPECT_EQ(frames(0, 1, 0, 40, kNtsc, true), "00:01:00:02");   // label 1 too
    EXPECT_EQ(frames(0, 1, 0, 70, kNtsc, true), "00:01:00:02");   // label 2 stays
    EXPECT_EQ(frames(0, 1, 0, 100, kNtsc, true), "00:01:00:03");  // later labels untouched
    EXPECT_EQ(frames(0, 10, 0, 0, kNtsc, true), "00:10:00:00");   // every tenth minute keeps them
    EXPECT_EQ(frames(0, 0, 0, 0, kNtsc, true), "00:00:00:00");
    EXPECT_EQ(frames(0, 1, 1, 0, kNtsc, true), "00:01:01:00");  // only second 0 of the minute
    EXPECT_EQ(frames(0, 1, 0, 0, kNtsc, false), "00:01:00:00");
}

TEST(FrameTimeCode, PalAndUnknownRatesIgnoreDropFrame) {
    EXPECT_EQ(frames(0, 1, 0, 0, kPal, true), "00:01:00:00");
    EXPECT_FALSE(dropFrameApplies(kPal, true));
    EXPECT_TRUE(dropFrameApplies(kNtsc, true));
    // A rate only an edited configuration can hold counts as PAL.
    EXPECT_EQ(frameRateHundredths(7), 2500);
    EXPECT_EQ(frames(0, 1, 0, 999, 7, true), "00:01:00:24");
}

TEST(FrameTimeCode, HoursBeyondNinetyNineKeepAllDigits) {
    EXPECT_EQ(frames(123, 4, 5, 80, kPal, false), "123:04:05:02");
}

}  // namespace
}  // namespace orvane
