#include "stream/cell_clock.h"

#include <gtest/gtest.h>

#include "support/pack_builder.h"

namespace orvane {
namespace {

using test::makeNavPack;

TEST(CellClock, DetectsTheFrameRateOncePerJob) {
    CellClock c;
    c.reset();
    auto ntsc = makeNavPack(0, 0, 0, 0x01, 0xC0 | 0x05);
    auto u = c.onNavPack(ntsc.data());
    EXPECT_TRUE(u.rateDetected);
    EXPECT_EQ(c.rateLabel(), "NTSC 30 Fps");
    EXPECT_EQ(c.current(), (NavTime{0, 0, 1, 5}));
    // A PAL-flagged pack later in the job does not switch the rate.
    auto pal = makeNavPack(0, 0, 0, 0x02, 0x40 | 0x05);
    EXPECT_FALSE(c.onNavPack(pal.data()).rateDetected);
    EXPECT_EQ(c.rateLabel(), "NTSC 30 Fps");
    c.rearmFrameRate();
    EXPECT_TRUE(c.onNavPack(pal.data()).rateDetected);
    EXPECT_EQ(c.rateLabel(), "PAL 25 Fps");
}

TEST(CellClock, ANewCellStartsFromTheTotalPlusTheFrameStep) {
    CellClock c;
    c.reset();
    auto a = makeNavPack(0, 0, 0, 0x59, 0x40 | 0x12);
    auto b = makeNavPack(0, 0, 0, 0x59, 0x40 | 0x24);
    auto next = makeNavPack(0, 0, 0, 0x00, 0x40 | 0x03);
    c.onNavPack(a.data());
    c.onNavPack(b.data());
    EXPECT_EQ(c.frameStep(), 12);
    EXPECT_EQ(c.total(), (NavTime{0, 0, 59, 24}));
    const auto u = c.onNavPack(next.data());
    EXPECT_TRUE(u.newCell);
    EXPECT_EQ(c.cellCounter(), 2);
    // base = 0:0:59/24 + 12 frames = 0:1:0/11; total = base + 0:0:0/3.
    EXPECT_EQ(c.base(), (NavTime{0, 1, 0, 11}));
    EXPECT_EQ(c.total(), (NavTime{0, 1, 0, 14}));
    EXPECT_EQ(formatTimeCode(c.totalTimeCode()), "00:01:00,560");
}

TEST(CellClock, ResetClearsEverything) {
    CellClock c;
    auto a = makeNavPack(0, 0x01, 0, 0x10, 0x40);
    c.onNavPack(a.data());
    c.reset();
    EXPECT_EQ(c.total(), NavTime{});
    EXPECT_EQ(c.cellCounter(), 1);
    EXPECT_FALSE(c.rate().detected());
}

}  // namespace
}  // namespace orvane
