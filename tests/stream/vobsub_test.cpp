#include "stream/vobsub.h"

#include <gtest/gtest.h>

#include "stream/spu_assembler.h"
#include "stream/stream_reader.h"

namespace orvane {
namespace {

using vobsub::Index;

// The .sub as the reader and assembler collect it: units, their first
// sector and start time.
struct Collector : PackEvents {
    SpuAssembler assembler;
    StreamClock clock;
    struct Unit {
        std::vector<uint8_t> bytes;
        int64_t sector;
        TimeCode start;
    };
    std::vector<Unit> units;
    int badHeaders = 0;

    void onProgress(int64_t, bool) override {}
    bool onBadPackHeader(int64_t) override { return ++badHeaders, true; }
    void onScr(uint32_t scr) override { clock.updateScr(scr, false); }
    void onNavPack(const uint8_t*) override {}
    void onSubPicturePacket(const SubPicturePacket& p, int64_t sector) override {
        if (assembler.addPacket(p, sector, clock).complete) {
            const auto u = assembler.unit();
            units.push_back(
                {{u.begin(), u.end()}, assembler.unitStartSector(), assembler.unitStartTime()});
            assembler.clear();
        }
    }
    bool onPausePoint() override { return false; }

    void read(const std::vector<uint8_t>& file, uint8_t stream) {
        ReadResult r;
        for (size_t s = 0; s * 2048 < file.size(); ++s)
            StreamReader::handleSector(file.data() + s * 2048, static_cast<int64_t>(s), stream,
                                       *this, r);
    }
};

std::vector<uint8_t> unitOfSize(size_t n, uint8_t seed) {
    std::vector<uint8_t> u(n);
    for (size_t i = 0; i < n; ++i) u[i] = static_cast<uint8_t>(seed + i * 7);
    u[0] = static_cast<uint8_t>(n >> 8);
    u[1] = static_cast<uint8_t>(n);
    return u;
}

TEST(VobSubData, UnitsOfEverySizeReadBackFromTheirPacksAndPositions) {
    // One pack holds 2019 bytes after the PTS: sizes around it leave gaps
    // of 0..6 bytes (stuffing below 6, a padding packet from 6), then two
    // and three packs.
    const size_t sizes[] = {2, 700, 2013, 2014, 2015, 2018, 2019, 2020, 4043, 4044, 6000};
    vobsub::SubFileWriter writer;
    std::vector<uint64_t> positions;
    std::vector<std::vector<uint8_t>> units;
    uint32_t pts = 90000;
    for (size_t n : sizes) {
        units.push_back(unitOfSize(n, static_cast<uint8_t>(n)));
        positions.push_back(writer.addUnit(units.back(), 0x21, pts));
        pts += 45000;
    }
    ASSERT_EQ(writer.bytes().size() % 2048, 0u);
    Collector c;
    c.read(writer.bytes(), 0x21);
    EXPECT_EQ(c.badHeaders, 0);
    ASSERT_EQ(c.units.size(), units.size());
    for (size_t k = 0; k < units.size(); ++k) {
        SCOPED_TRACE(sizes[k]);
        EXPECT_EQ(c.units[k].bytes, units[k]);
        EXPECT_EQ(static_cast<uint64_t>(c.units[k].sector) * 2048, positions[k]);
        EXPECT_EQ(timeCodeToMs(c.units[k].start), 1000 + 500 * static_cast<int64_t>(k));
    }
    // The reader of another stream sees none of them.
    Collector other;
    other.read(writer.bytes(), 0x20);
    EXPECT_TRUE(other.units.empty());
}

TEST(VobSubIndex, WrittenIndexReadsBack) {
    Index index;
    index.width = 720;
    index.height = 480;
    for (size_t i = 0; i < index.palette.size(); ++i)
        index.palette[i] = 0x102030u * static_cast<uint32_t>(i);
    index.streams.push_back({"de", 0, {{1540, 0}, {3600000 + 61001, 0x1800}}});
    index.streams.push_back({"", 3, {{5, 0x2000}}});
    const std::string text = vobsub::indexText(index);
    EXPECT_EQ(text.substr(0, text.find('\r')), vobsub::kIndexHeader);
    EXPECT_NE(text.find("\r\ntimestamp: 01:01:01:001, filepos: 000001800\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nid: --, index: 3\r\n"), std::string::npos);
    Index back;
    std::string error;
    ASSERT_TRUE(vobsub::parseIndex(text, back, error)) << error;
    EXPECT_EQ(back.width, 720);
    EXPECT_EQ(back.height, 480);
    EXPECT_EQ(back.palette, index.palette);
    ASSERT_EQ(back.streams.size(), 2u);
    EXPECT_EQ(back.streams[0].language, "de");
    ASSERT_EQ(back.streams[0].entries.size(), 2u);
    EXPECT_EQ(back.streams[0].entries[1].ms, 3661001);
    EXPECT_EQ(back.streams[0].entries[1].filePos, 0x1800u);
    ASSERT_NE(back.stream(3), nullptr);
    EXPECT_EQ(back.stream(3)->entries.size(), 1u);
    EXPECT_EQ(back.stream(1), nullptr);
}

TEST(VobSubIndex, MalformedLinesAreSkippedAndNonIndexesRefused) {
    Index index;
    std::string error;
    const std::string good =
        "\xEF\xBB\xBF# VobSub index file, v7 (do not modify this line!)\n"
        "size: 99999x0\n"                                // out of range: kept 720x576
        "palette: ffffff, zz, 00ff00\n"                  // the bad entry stays 0
        "timestamp: 00:00:01:000, filepos: 000000000\n"  // before any id: no stream
        "id: en, index: 40\n"                            // no such sub-stream
        "timestamp: 00:00:02:000, filepos: 000000800\n"
        "id: fr, index: 1\n"
        "timestamp: 00:00:03:000, filepos: 000001000\n"
        "timestamp: -00:00:01:000, filepos: 000001800\n"
        "timestamp: 00:61:00:000, filepos: 000002000\n"
        "timestamp: 00:00:04:000, filepos: xyz\n"
        "delay: 100\n";
    ASSERT_TRUE(vobsub::parseIndex(good, index, error)) << error;
    EXPECT_EQ(index.width, 720);
    EXPECT_EQ(index.height, 576);
    EXPECT_EQ(index.palette[0], 0xFFFFFFu);
    EXPECT_EQ(index.palette[1], 0u);
    EXPECT_EQ(index.palette[2], 0x00FF00u);
    ASSERT_EQ(index.streams.size(), 1u);
    EXPECT_EQ(index.streams[0].index, 1);
    ASSERT_EQ(index.streams[0].entries.size(), 1u);
    EXPECT_EQ(index.streams[0].entries[0].ms, 3000);

    EXPECT_FALSE(vobsub::parseIndex("", index, error));
    EXPECT_FALSE(vobsub::parseIndex("1\n00:00:01,000 --> 00:00:02,000\nHello\n", index, error));
    EXPECT_NE(error.find("not a VobSub index"), std::string::npos);
    EXPECT_FALSE(vobsub::parseIndex("# VobSub index file, v7\nsize: 720x576\n", index, error));
    EXPECT_NE(error.find("no subtitle stream"), std::string::npos);
}

TEST(VobSubIndex, TimeOffsetAndDelaysShiftTheTimestampsAfterThem) {
    Index index;
    std::string error;
    ASSERT_TRUE(
        vobsub::parseIndex("# VobSub index file, v7\n"
                           "time offset: -500\n"
                           "id: en, index: 0\n"
                           "timestamp: 00:00:01:000, filepos: 000000000\n"
                           "delay: 00:00:02:000\n"
                           "timestamp: 00:00:03:000, filepos: 000000800\n"
                           "delay: -00:00:01:000\n"
                           "timestamp: 00:00:04:000, filepos: 000001000\n"
                           "id: fr, index: 1\n"
                           "timestamp: 00:00:00:200, filepos: 000001800\n",
                           index, error))
        << error;
    ASSERT_EQ(index.streams.size(), 2u);
    ASSERT_EQ(index.streams[0].entries.size(), 3u);
    EXPECT_EQ(index.streams[0].entries[0].ms, 500);
    EXPECT_EQ(index.streams[0].entries[1].ms, 4500);
    EXPECT_EQ(index.streams[0].entries[2].ms, 4500);
    // A new stream starts without the other's delays; no time goes below zero.
    ASSERT_EQ(index.streams[1].entries.size(), 1u);
    EXPECT_EQ(index.streams[1].entries[0].ms, 0);

    // Times and shifts too large to add up are not taken, and the delays
    // add up only to the largest shift.
    Index large;
    ASSERT_TRUE(
        vobsub::parseIndex("# VobSub index file, v7\n"
                           "time offset: 99999999999999999:00:00:000\n"
                           "time offset: 9223372036854775807\n"
                           "id: en, index: 0\n"
                           "delay: 99999:00:00:000\n"
                           "delay: 99999:00:00:000\n"
                           "timestamp: 99999999999999999:00:00:000, filepos: 0\n"
                           "timestamp: 00:00:01:000, filepos: 800\n",
                           large, error))
        << error;
    ASSERT_EQ(large.streams.size(), 1u);
    ASSERT_EQ(large.streams[0].entries.size(), 1u);
    EXPECT_EQ(large.streams[0].entries[0].ms, 100'000LL * 3'600'000 + 1000);
}

}  // namespace
}  // namespace orvane
