#include "stream/time_code.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(TimeCode, ConvertsMillisecondsBothWays) {
    const TimeCode tc = timeCodeFromMs(3723004);
    EXPECT_EQ(tc, (TimeCode{1, 2, 3, 4}));
    EXPECT_EQ(timeCodeToMs(tc), 3723004);
    EXPECT_EQ(formatTimeCode(tc), "01:02:03,004");
    // Hours are kept in 8 bits.
    EXPECT_EQ(timeCodeFromMs(int64_t{256} * 3600000 + 5).hours, 0);
    EXPECT_EQ(timeCodeFromMs(-5), TimeCode{});
    EXPECT_EQ(ticksToMs(179), 1);
    EXPECT_EQ(ticksToMs(-179), -1);  // truncates toward zero
    EXPECT_EQ(msToTicks(1000), 90000);
}

TEST(TimeCode, TextFormWidensButNeverShortens) {
    EXPECT_EQ(formatTimeCode({}), "00:00:00,000");
    EXPECT_EQ(formatTimeCode({100, 0, 0, 0}), "100:00:00,000");
    EXPECT_EQ(formatTimeCode({7, 100, 255, 65535}), "07:100:255,65535");
    EXPECT_EQ(formatShortTimeCode({1, 2, 3, 999}), "01:02:03");
    EXPECT_EQ(formatShortTimeCode({100, 0, 0, 0}), "100:00:0");
}

TEST(TimeCode, ParseReadsFixedPlacesAndRejectsAnyBadField) {
    EXPECT_EQ(parseTimeCode("01:02:03,004"), (TimeCode{1, 2, 3, 4}));
    EXPECT_EQ(parseTimeCode("aa:02:03,004"), TimeCode{});
    EXPECT_EQ(parseTimeCode("01:02:03,0x4"), TimeCode{});
    EXPECT_EQ(parseTimeCode("01:02:03"), TimeCode{});  // milliseconds missing
    EXPECT_EQ(parseTimeCode(""), TimeCode{});
    // Separators are not checked, ranges are not either.
    EXPECT_EQ(parseTimeCode("01-99x03.004"), (TimeCode{1, 99, 3, 4}));
}

TEST(TimeCode, AdditionCarriesOncePerField) {
    EXPECT_EQ(addTimeCodes({0, 59, 59, 999}, {0, 0, 0, 1}), (TimeCode{1, 0, 0, 0}));
    EXPECT_EQ(addTimeCodes({1, 30, 30, 500}, {2, 40, 40, 600}), (TimeCode{4, 11, 11, 100}));
    EXPECT_EQ(addTimeCodes({255, 0, 0, 0}, {1, 0, 0, 0}).hours, 0);  // 8-bit hours
}

TEST(NavTime, BcdFramesLoseTheRateFlagFirst) {
    const uint8_t pal[4] = {0x01, 0x23, 0x45, 0x40 | 0x24};
    EXPECT_EQ(navTimeFromBcd(pal, FrameRate::pal()), (NavTime{1, 23, 45, 24}));
    const uint8_t ntsc[4] = {0x00, 0x00, 0x10, 0xC0 | 0x29};
    EXPECT_EQ(navTimeFromBcd(ntsc, FrameRate::ntsc()), (NavTime{0, 0, 10, 29}));
}

TEST(NavTime, AdditionAndMillisecondsFollowTheRate) {
    EXPECT_EQ(addNavTimes({0, 0, 10, 20}, {0, 0, 0, 7}, FrameRate::pal()), (NavTime{0, 0, 11, 2}));
    EXPECT_EQ(addNavTimes({0, 59, 59, 29}, {0, 0, 0, 1}, FrameRate::ntsc()), (NavTime{1, 0, 0, 0}));
    EXPECT_EQ(navTimeToTimeCode({0, 0, 1, 24}, FrameRate::pal()).milliseconds, 960);
    EXPECT_EQ(navTimeToTimeCode({0, 0, 1, 29}, FrameRate::ntsc()).milliseconds, 966);
    EXPECT_TRUE((NavTime{0, 0, 0, 3}) < (NavTime{0, 0, 59, 24}));
    EXPECT_TRUE((NavTime{0, 0, 59, 24}) < (NavTime{0, 1, 0, 0}));
}

}  // namespace
}  // namespace orvane
