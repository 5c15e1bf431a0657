#include "stream/spu_assembler.h"

#include <gtest/gtest.h>

#include "support/pack_builder.h"

namespace orvane {
namespace {

using test::Sector;

SubPicturePacket parse(const Sector& s) {
    SubPicturePacket p;
    EXPECT_TRUE(StreamReader::parsePrivatePacket(s.data(), p));
    return p;
}

std::vector<uint8_t> unitBytes(size_t size) {
    std::vector<uint8_t> u(size);
    for (size_t i = 0; i < size; ++i) u[i] = static_cast<uint8_t>(i * 7);
    u[0] = static_cast<uint8_t>(size >> 8);
    u[1] = static_cast<uint8_t>(size);
    return u;
}

TEST(SpuAssembler, PaddingCompletesAUnitWhateverItsAnnouncedSize) {
    StreamClock clock;
    clock.reset();
    clock.updateScr(1000, false);
    SpuAssembler a;
    auto u = unitBytes(100);
    u[0] = 0x7F;  // announces far more than one packet holds
    const Sector s = test::makeSpuPack(1000, u, {0x20, 180000, true});
    const auto step = a.addPacket(parse(s), 17, clock);
    EXPECT_TRUE(step.began);
    EXPECT_TRUE(step.complete);
    EXPECT_EQ(a.collectedLength(), 100u);
    EXPECT_EQ(a.unitStartSector(), 17);
    EXPECT_EQ(a.unitStartTime(), (TimeCode{0, 0, 2, 0}));
}

TEST(SpuAssembler, UnitInThreePacketsCompletesAtExactlyItsSize) {
    StreamClock clock;
    clock.reset();
    SpuAssembler a;
    const auto u = unitBytes(5000);
    uint32_t scr = 0;
    auto sectors = test::packetizeUnit(u, 0x20, 900, scr, 2000);
    ASSERT_EQ(sectors.size(), 3u);
    // No padding after the last one: only the size decides.
    sectors[2] = test::makeSpuPack(0, std::span<const uint8_t>(u).subspan(4000),
                                   {0x20, std::nullopt, false});
    EXPECT_TRUE(a.addPacket(parse(sectors[0]), 5, clock).began);
    EXPECT_FALSE(a.addPacket(parse(sectors[1]), 6, clock).complete);
    const auto last = a.addPacket(parse(sectors[2]), 9, clock);
    EXPECT_FALSE(last.began);
    EXPECT_TRUE(last.complete);
    EXPECT_EQ(a.unitStartSector(), 5);
    ASSERT_EQ(a.unit().size(), u.size());
    EXPECT_TRUE(std::equal(u.begin(), u.end(), a.unit().begin()));
    a.clear();
    EXPECT_FALSE(a.collecting());
}

TEST(SpuAssembler, PacketsRunningPastTheAnnouncedSizeStillComplete) {
    StreamClock clock;
    SpuAssembler a;
    std::vector<uint8_t> chunk(2000, 0xAB);
    chunk[0] = 0x13;
    chunk[1] = 0x88;  // 5000
    SpuAssembler::Step step;
    int packets = 0;
    do {
        const Sector s = test::makeSpuPack(0, chunk, {0x20, std::nullopt, false});
        step = a.addPacket(parse(s), packets++, clock);
    } while (!step.complete && packets < 10);
    EXPECT_EQ(packets, 3);
    EXPECT_EQ(a.collectedLength(), 6000u);
}

TEST(SpuAssembler, AUnitOverflowingTheBufferIsClippedAndCompleted) {
    StreamClock clock;
    SpuAssembler a;
    std::vector<uint8_t> chunk(2019, 0xCD);
    chunk[0] = 0xFF;
    chunk[1] = 0xFF;  // 65535
    // 32 packets give 64608 bytes; the 33rd would reach 66627.
    SpuAssembler::Step step;
    for (int i = 0; i < 33; ++i) {
        const Sector s = test::makeSpuPack(0, chunk, {0x20, std::nullopt, false});
        step = a.addPacket(parse(s), i, clock);
        if (i < 32) {
            ASSERT_FALSE(step.complete);
        }
    }
    EXPECT_TRUE(step.complete);
    EXPECT_EQ(a.collectedLength(), SpuAssembler::kBufferSize);
}

TEST(SpuAssembler, AnEmptyFirstPacketBeginsNothing) {
    StreamClock clock;
    SpuAssembler a;
    const Sector s = test::makeSpuPack(0, {}, {0x20, 0, true});
    const auto step = a.addPacket(parse(s), 0, clock);
    EXPECT_FALSE(step.complete);
    EXPECT_FALSE(a.collecting());
}

}  // namespace
}  // namespace orvane
