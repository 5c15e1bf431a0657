#include "stream/stream_reader.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "common/io_error.h"
#include "support/pack_builder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::Sector;

struct Recorder : PackEvents {
    struct Packet {
        int64_t sector;
        uint16_t l;
        uint8_t h;
        std::vector<uint8_t> payload;
        bool padding;
    };
    std::vector<std::pair<int64_t, bool>> progress;
    std::vector<int64_t> badSectors;
    std::deque<bool> badAnswers;
    std::vector<uint32_t> scrs;
    int navPacks = 0;
    std::vector<Packet> packets;
    int pausePoints = 0;
    int leaveAtPausePoint = -1;  // 1-based pause point at which to leave

    void onProgress(int64_t s, bool e) override { progress.emplace_back(s, e); }
    bool onBadPackHeader(int64_t s) override {
        badSectors.push_back(s);
        if (badAnswers.empty()) return true;
        bool a = badAnswers.front();
        badAnswers.pop_front();
        return a;
    }
    void onScr(uint32_t scr) override { scrs.push_back(scr); }
    void onNavPack(const uint8_t*) override { ++navPacks; }
    void onSubPicturePacket(const SubPicturePacket& p, int64_t s) override {
        packets.push_back({s,
                           p.pesLength,
                           p.headerLength,
                           {p.payload.begin(), p.payload.end()},
                           p.paddingFollows});
    }
    bool onPausePoint() override { return ++pausePoints == leaveAtPausePoint; }
};

TEST(StreamReader, ClockFieldsDecodeFromTheirBitPositions) {
    for (uint32_t scr : {0u, 1u, 90000u, 0x12345678u, 0xFFFFFFFFu, 0x80000001u}) {
        Sector s{};
        test::writePackHeader(s, scr);
        EXPECT_EQ(StreamReader::readScr(s.data()), scr);
        test::writePts(&s[23], scr);
        EXPECT_EQ(StreamReader::readPts(s.data()), scr);
    }
}

TEST(StreamReader, ClassifiesPacksAndSelectsOnlyTheChosenStream) {
    test::TempDir dir;
    const uint8_t payload[] = {0x00, 0x08, 0x00, 0x04, 1, 2, 3, 4};
    std::vector<Sector> s;
    s.push_back(test::makeNavPack(100, 0, 0, 0, 0x40));
    s.push_back(test::makeSpuPack(200, payload, {0x21, 1234, true}));  // other stream
    s.push_back(test::makeSpuPack(300, payload, {0x20, 1234, true}));
    s.push_back(test::makeFillerPack(400));
    test::writeSectors(dir.file("a.vob"), s);

    StreamReader reader;
    Recorder rec;
    const ReadResult r = reader.readFile(dir.file("a.vob"), 0, 0x20, rec);
    EXPECT_EQ(r.end, ReadEnd::EndOfFile);
    EXPECT_EQ(r.nextSector, 4);
    EXPECT_EQ(rec.scrs, (std::vector<uint32_t>{100, 200, 300, 400}));  // every sector
    EXPECT_EQ(rec.navPacks, 1);
    ASSERT_EQ(rec.packets.size(), 1u);
    EXPECT_EQ(rec.packets[0].sector, 2);
    EXPECT_EQ(rec.packets[0].payload, std::vector<uint8_t>(std::begin(payload), std::end(payload)));
    EXPECT_TRUE(rec.packets[0].padding);
    EXPECT_EQ(rec.pausePoints, 2);  // the other stream and the filler
    EXPECT_EQ(rec.progress, (std::vector<std::pair<int64_t, bool>>{{0, true}}));
}

TEST(StreamReader, IgnoresATrailingPartialSectorAndResumesAtTheGivenSector) {
    test::TempDir dir;
    std::vector<Sector> s;
    for (uint32_t i = 0; i < 5; ++i) s.push_back(test::makeFillerPack(1000 + i));
    test::writeSectors(dir.file("a.vob"), s, 100);
    StreamReader reader;
    Recorder all;
    EXPECT_EQ(reader.readFile(dir.file("a.vob"), 0, 0x20, all).nextSector, 5);
    EXPECT_EQ(all.scrs.size(), 5u);

    Recorder resumed;
    const ReadResult r = reader.readFile(dir.file("a.vob"), 3, 0x20, resumed);
    EXPECT_EQ(resumed.scrs, (std::vector<uint32_t>{1003, 1004}));
    EXPECT_EQ(r.nextSector, 5);

    Recorder past;
    EXPECT_EQ(reader.readFile(dir.file("a.vob"), 9, 0x20, past).end, ReadEnd::EndOfFile);
    EXPECT_TRUE(past.scrs.empty());
}

TEST(StreamReader, BadPackHeaderIsAskedAndAnsweredPerSector) {
    test::TempDir dir;
    std::vector<Sector> s;
    s.push_back(test::makeFillerPack(10));
    Sector bad = test::makeSpuPack(20, std::vector<uint8_t>{0, 6, 0, 4, 9, 9}, {0x20, 5, true});
    bad[3] = 0xBB;  // not a pack start code
    s.push_back(bad);
    s.push_back(test::makeFillerPack(30));
    s.push_back(bad);
    test::writeSectors(dir.file("a.vob"), s);

    StreamReader reader;
    Recorder yes;
    yes.badAnswers = {true, false};
    const ReadResult r = reader.readFile(dir.file("a.vob"), 0, 0x20, yes);
    EXPECT_EQ(yes.badSectors, (std::vector<int64_t>{1, 3}));
    // Answered yes: the sector still updates the clock and is examined.
    EXPECT_EQ(yes.scrs, (std::vector<uint32_t>{10, 20, 30}));
    ASSERT_EQ(yes.packets.size(), 1u);
    EXPECT_EQ(yes.packets[0].sector, 1);
    // Answered no: reading stops right there.
    EXPECT_EQ(r.end, ReadEnd::Declined);
    EXPECT_EQ(r.nextSector, 4);
}

TEST(StreamReader, PauseLeavesAfterThePacketJustRead) {
    test::TempDir dir;
    std::vector<Sector> s;
    for (uint32_t i = 0; i < 6; ++i) s.push_back(test::makeFillerPack(i));
    test::writeSectors(dir.file("a.vob"), s);
    StreamReader reader;
    Recorder rec;
    rec.leaveAtPausePoint = 3;
    const ReadResult r = reader.readFile(dir.file("a.vob"), 0, 0x20, rec);
    EXPECT_EQ(r.end, ReadEnd::Paused);
    EXPECT_EQ(r.nextSector, 3);
}

TEST(StreamReader, PacketLengthsAreCheckedAgainstTheSector) {
    // A PES length running past the sector is clipped to it.
    Sector longPacket = test::makeSpuPack(0, std::vector<uint8_t>(100, 7), {0x20, 1, false});
    longPacket[18] = 0x0F;
    longPacket[19] = 0xFF;  // L = 4095
    SubPicturePacket p;
    ASSERT_TRUE(StreamReader::parsePrivatePacket(longPacket.data(), p));
    EXPECT_EQ(p.payload.size(), 2048u - 24 - 5);
    EXPECT_FALSE(p.paddingFollows);
    EXPECT_EQ(p.payload.data() + p.payload.size(), longPacket.data() + 2048);

    // A length that leaves no payload (L < H + 4) is dropped.
    Sector shortPacket = longPacket;
    shortPacket[18] = 0;
    shortPacket[19] = 8;  // H = 5
    EXPECT_FALSE(StreamReader::parsePrivatePacket(shortPacket.data(), p));

    // A packet ending at 2044 (20 + L > 2042): no padding test.
    Sector edge = test::makeSpuPack(0, std::vector<uint8_t>(2044 - 29, 1), {0x20, 1, false});
    ASSERT_TRUE(StreamReader::parsePrivatePacket(edge.data(), p));
    EXPECT_EQ(20u + p.pesLength, 2044u);
    edge[2044] = 0;
    edge[2045] = 0;
    edge[2046] = 1;
    edge[2047] = 0xBE;
    ASSERT_TRUE(StreamReader::parsePrivatePacket(edge.data(), p));
    EXPECT_FALSE(p.paddingFollows);

    // Ending at exactly 2042 the padding test is made.
    Sector justFits = test::makeSpuPack(0, std::vector<uint8_t>(2042 - 29, 1), {0x20, 1, true});
    ASSERT_TRUE(StreamReader::parsePrivatePacket(justFits.data(), p));
    EXPECT_TRUE(p.paddingFollows);
}

TEST(StreamReader, ProgressComesEveryMiBAndTheEstimateEvery20MiB) {
    test::TempDir dir;
    // A sparse file of 41 MiB of zero sectors: every sector is bad, and
    // answered yes it is read as a pack.
    const std::string path = dir.file("big.vob");
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fseek(f, 41L * 1024 * 1024 - 1, SEEK_SET);
        std::fputc(0, f);
        std::fclose(f);
    }
    StreamReader reader;
    struct Quiet : Recorder {
        bool onBadPackHeader(int64_t) override { return true; }
    } rec;
    reader.readFile(path, 0, 0x20, rec);
    ASSERT_EQ(rec.progress.size(), 41u);
    for (size_t i = 0; i < rec.progress.size(); ++i) {
        EXPECT_EQ(rec.progress[i].first, static_cast<int64_t>(i) * 512);
        EXPECT_EQ(rec.progress[i].second, i % 20 == 0);
    }
}

// With the blocks read ahead in a second thread or not, every sector comes
// once and in order across many blocks, and leaving in the middle (a pause,
// or a handler that throws) stops the reading cleanly, ready to resume.
TEST(StreamReader, ReadingKeepsTheOrderAndStopsWhereTheCallerLeaves) {
    test::TempDir dir;
    const std::string path = dir.file("long.vob");
    const int64_t sectors = 9 * 512 + 7;
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fseek(f, static_cast<long>(sectors) * 2048 - 1, SEEK_SET);
        std::fputc(0, f);
        std::fclose(f);
    }
    struct Counting : Recorder {
        int64_t leaveAt = -1;
        bool throwAtLeave = false;
        bool onBadPackHeader(int64_t s) override {
            if (s == leaveAt && throwAtLeave) throw std::runtime_error("handler failed");
            badSectors.push_back(s);
            return s != leaveAt;
        }
    };
    for (const bool readAhead : {true, false}) {
        SCOPED_TRACE(readAhead ? "read ahead" : "one thread");
        StreamReader reader;
        reader.setReadAhead(readAhead);
        Counting first;
        first.leaveAt = 3 * 512 + 100;
        const ReadResult r = reader.readFile(path, 0, 0x20, first);
        EXPECT_EQ(r.end, ReadEnd::Declined);
        EXPECT_EQ(r.nextSector, first.leaveAt + 1);

        Counting failing;
        failing.leaveAt = r.nextSector + 2 * 512 + 1;
        failing.throwAtLeave = true;
        EXPECT_THROW(reader.readFile(path, r.nextSector, 0x20, failing), std::runtime_error);

        Counting rest;
        EXPECT_EQ(reader.readFile(path, r.nextSector, 0x20, rest).end, ReadEnd::EndOfFile);
        std::vector<int64_t> all = first.badSectors;
        all.insert(all.end(), rest.badSectors.begin(), rest.badSectors.end());
        ASSERT_EQ(static_cast<int64_t>(all.size()), sectors);
        for (int64_t i = 0; i < sectors; ++i) ASSERT_EQ(all[static_cast<size_t>(i)], i);
    }
}

// A file cut short while it is read ends, in order, at its last whole
// sector, whichever reading thread meets the end first.
TEST(StreamReader, AFileCutShortWhileReadEndsAtItsLastWholeSector) {
    for (const bool readAhead : {true, false}) {
        SCOPED_TRACE(readAhead ? "read ahead" : "one thread");
        test::TempDir dir;
        const std::string path = dir.file("shrinking.vob");
        const int64_t cutAt = 3000;  // sectors left, past what is read ahead at sector 10
        {
            FILE* f = std::fopen(path.c_str(), "wb");
            ASSERT_NE(f, nullptr);
            std::fseek(f, 9L * 1024 * 1024 - 1, SEEK_SET);
            std::fputc(0, f);
            std::fclose(f);
        }
        struct Cutting : Recorder {
            std::string path;
            bool onBadPackHeader(int64_t s) override {
                if (s == 10) std::filesystem::resize_file(path, cutAt * 2048 + 100);
                badSectors.push_back(s);
                return true;
            }
        } rec;
        rec.path = path;
        StreamReader reader;
        reader.setReadAhead(readAhead);
        const ReadResult r = reader.readFile(path, 0, 0x20, rec);
        EXPECT_EQ(r.end, ReadEnd::EndOfFile);
        EXPECT_EQ(r.nextSector, cutAt);
        ASSERT_EQ(static_cast<int64_t>(rec.badSectors.size()), cutAt);
        for (int64_t i = 0; i < cutAt; ++i) ASSERT_EQ(rec.badSectors[static_cast<size_t>(i)], i);
    }
}

TEST(StreamReader, MissingFileThrowsWithItsPath) {
    StreamReader reader;
    Recorder rec;
    try {
        reader.readFile("/nonexistent/orvane/x.vob", 0, 0x20, rec);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), "/nonexistent/orvane/x.vob");
        EXPECT_FALSE(e.systemMessage().empty());
    }
}

TEST(StreamReader, RandomSectorsNeverReadOutsideTheSector) {
    // Under the sanitizers this shows every offset is checked; the outcome
    // is that every sector is handled once and reading ends.
    std::mt19937 rng(1234);
    Sector s;
    for (int round = 0; round < 20000; ++round) {
        for (auto& b : s) b = static_cast<uint8_t>(rng());
        if (round % 2) {  // half of them look like private stream 1 of stream 0x20
            s[0] = 0;
            s[1] = 0;
            s[2] = 1;
            s[3] = 0xBA;
            s[14] = 0;
            s[15] = 0;
            s[16] = 1;
            s[17] = 0xBD;
            s[23 + s[22]] = 0x20;
        }
        Recorder rec;
        ReadResult r;
        const bool goOn = StreamReader::handleSector(s.data(), round, 0x20, rec, r);
        EXPECT_TRUE(goOn);
        EXPECT_EQ(rec.scrs.size(), 1u);
        for (const auto& p : rec.packets) {
            EXPECT_LE(24u + p.h + p.payload.size(), 2048u);
            EXPECT_GE(p.l, p.h + 4u);
        }
    }
}

}  // namespace
}  // namespace orvane
