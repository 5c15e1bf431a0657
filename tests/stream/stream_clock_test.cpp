#include "stream/stream_clock.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(StreamClock, RebaseMakesTheFirstPackTheStartTime) {
    StreamClock c;
    c.reset();
    c.setStartTime({0, 10, 0, 0});
    c.updateScr(90000, false);
    EXPECT_EQ(c.offset(), (TimeCode{0, 9, 59, 0}));
    EXPECT_EQ(c.programTime(180000), (TimeCode{0, 10, 1, 0}));
    EXPECT_FALSE(c.rebasePending());
    EXPECT_EQ(c.lastTimeCode(), (TimeCode{0, 10, 0, 0}));
    // Reset starts the time line again from 0.
    c.reset();
    EXPECT_EQ(c.lastTimeCode(), TimeCode{});
    EXPECT_TRUE(c.rebasePending());
}

TEST(StreamClock, RebaseNeverGivesANegativeOffset) {
    StreamClock c;
    c.setStartTime({0, 0, 1, 0});
    c.updateScr(900000, false);  // 10 s, later than the start time
    EXPECT_EQ(c.offset(), TimeCode{});
}

TEST(StreamClock, ZeroScrIsARestartThatCarriesTheTimeLineOn) {
    StreamClock c;
    c.reset();
    c.updateScr(100000, false);
    c.updateScr(103600, false);
    EXPECT_EQ(c.lastStep(), 3600);
    c.updateScr(0, false);
    EXPECT_EQ(c.offset(), timeCodeFromMs((103600 + 3600) / 90));  // 1191 ms
    EXPECT_EQ(timeCodeToMs(c.offset()), 1191);
    c.updateScr(3600, false);
    EXPECT_EQ(timeCodeToMs(c.programTime(3600)), 1191 + 40);
}

TEST(StreamClock, BackwardsScrOnlyRestartsWhenAvoidTimeRestartIsOn) {
    StreamClock off;
    off.reset();
    off.updateScr(500000, false);
    off.updateScr(1000, false);
    EXPECT_EQ(off.offset(), TimeCode{});
    EXPECT_EQ(timeCodeToMs(off.programTime(1000)), 11);  // times jump back

    StreamClock on;
    on.reset();
    on.updateScr(496400, true);
    on.updateScr(500000, true);  // step 3600
    on.updateScr(1000, true);
    EXPECT_EQ(timeCodeToMs(on.offset()), (500000 + 3600) / 90);
}

TEST(StreamClock, LastStepIsTruncatedTo16Bits) {
    StreamClock c;
    c.reset();
    c.updateScr(10, false);
    c.updateScr(70010, false);
    EXPECT_EQ(c.lastStep(), 4464);
}

TEST(StreamClock, HighScrValuesStayDefined) {
    // SCRs past 2^31 ticks read as negative; arithmetic wraps, no UB.
    StreamClock c;
    c.reset();
    c.updateScr(0x7FFFFFF0u, true);
    c.updateScr(0x80000010u, true);  // backwards as signed: a restart
    EXPECT_EQ(c.currentScr(), static_cast<int32_t>(0x80000010u));
    // The carried time would be negative: it adds nothing.
    EXPECT_EQ(c.offset(), TimeCode{});
    c.updateScr(0xFFFFFFFFu, true);
    EXPECT_EQ(c.lastStep(), static_cast<uint16_t>(0xFFFFFFFFu - 0x80000010u));
}

}  // namespace
}  // namespace orvane
