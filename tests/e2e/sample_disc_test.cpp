// Reads the sample discs made with ffmpeg, spumux and dvdauthor and
// compares what Orvane finds with the ground truth kept beside them.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "app/session.h"
#include "cli/cli_main.h"
#include "common/byte_cursor.h"
#include "stream/time_code.h"
#include "support/cli_runner.h"
#include "support/fake_ui.h"
#include "support/file_bytes.h"
#include "support/ground_truth.h"
#include "support/learners.h"
#include "support/png_image.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

const std::string kData = ORVANE_TEST_DATA;

struct Disc {
    const char* name;
    int streams;
};

const Disc kDiscs[] = {{"pal", 2}, {"ntsc", 2}};

std::string discFolder(const Disc& d) {
    return kData + "/" + d.name + "/VIDEO_TS";
}
std::string vobOf(const Disc& d) {
    return discFolder(d) + "/VTS_01_1.VOB";
}
test::GroundTruth truthOf(const Disc& d, int stream) {
    return test::loadGroundTruth(kData + "/" + d.name + "/truth_s" + std::to_string(stream) +
                                 ".tsv");
}

// Runs orvane-cli in-process with captured output.
using test::CliRun;

CliRun runCli(const std::vector<std::string>& args, const std::string& input = "") {
    return test::runCliCaptured(args, input);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> v;
    size_t at = 0;
    while (at < text.size()) {
        const size_t nl = text.find('\n', at);
        v.push_back(text.substr(at, nl == std::string::npos ? std::string::npos : nl - at));
        if (nl == std::string::npos) break;
        at = nl + 1;
    }
    return v;
}

struct ScanLine {
    int number;
    TimeCode start, stop;
    int x1, y1, x2, y2;
    int sequences;
    int size;
};

ScanLine parseScanLine(const std::string& l) {
    ScanLine s{};
    char start[32], stop[32];
    const int n =
        std::sscanf(l.c_str(), "%d %31s %31s area=%d,%d,%d,%d sequences=%d size=%d", &s.number,
                    start, stop, &s.x1, &s.y1, &s.x2, &s.y2, &s.sequences, &s.size);
    EXPECT_EQ(n, 9) << "unexpected scan line: " << l;
    s.start = parseTimeCode(start);
    s.stop = parseTimeCode(stop);
    return s;
}

TEST(SampleDiscs, StreamsListsTheLanguagesOfTheTitleSet) {
    const CliRun pal = runCli({"streams", kData + "/pal/VIDEO_TS/VTS_01_0.IFO"});
    ASSERT_EQ(pal.status, 0) << pal.err;
    const auto l = lines(pal.out);
    ASSERT_EQ(l.size(), 32u);
    EXPECT_EQ(l[0], "1  - English");
    EXPECT_EQ(l[1], "2  - French");
    EXPECT_EQ(l[2], "3  - ");
    EXPECT_EQ(l[31], "32 - ");
    const CliRun ntsc = runCli({"streams", kData + "/ntsc/VIDEO_TS"});
    ASSERT_EQ(ntsc.status, 0) << ntsc.err;
    EXPECT_EQ(lines(ntsc.out)[0], "1  - German");
    EXPECT_EQ(lines(ntsc.out)[1], "2  - Spanish");
}

TEST(SampleDiscs, ScanListsExactlyTheGroundTruthOfEachStream) {
    for (const Disc& disc : kDiscs) {
        const int64_t origin = test::firstVobuStartMs(vobOf(disc));
        EXPECT_GT(origin, 0);
        for (int stream = 1; stream <= disc.streams; ++stream) {
            SCOPED_TRACE(std::string(disc.name) + " stream " + std::to_string(stream));
            const auto truth = truthOf(disc, stream);
            const CliRun r = runCli({"scan", "--stream", std::to_string(stream), discFolder(disc)});
            ASSERT_EQ(r.status, 0) << r.err;
            const auto out = lines(r.out);
            ASSERT_EQ(out.size(), truth.subtitles.size());
            for (size_t i = 0; i < out.size(); ++i) {
                const ScanLine s = parseScanLine(out[i]);
                const auto& t = truth.subtitles[i];
                SCOPED_TRACE(out[i]);
                EXPECT_EQ(s.number, static_cast<int>(i) + 1);
                EXPECT_EQ(out[i].substr(0, 7),
                          (i < 9 ? "00000" : "0000") + std::to_string(i + 1) + " ");
                EXPECT_LE(std::abs(timeCodeToMs(s.start) - origin - t.startMs),
                          test::kStartToleranceMs);
                EXPECT_LE(std::abs(timeCodeToMs(s.stop) - origin - t.stopMs),
                          test::kStopToleranceMs);
                EXPECT_EQ(s.x1, t.x1);
                EXPECT_EQ(s.y1, t.y1);
                EXPECT_EQ(s.x2, t.x2);
                EXPECT_EQ(s.y2, t.y2);
                EXPECT_EQ(s.sequences, 2);
            }
        }
    }
}

// Captures every decoded picture of a job.
struct PictureCapture : test::FakeUi {
    struct Shot {
        DisplayArea area;
        Image24 bitmap;
        std::vector<uint8_t> bytes;
    };
    std::vector<Shot> shots;
    void unitCompleted(const UnitReport& r) override {
        ASSERT_NE(r.picture, nullptr);
        shots.push_back({r.picture->area, r.picture->bitmap, {r.bytes.begin(), r.bytes.end()}});
    }
};

std::vector<PictureCapture::Shot> decodeStream(const Disc& disc, int stream) {
    PictureCapture ui;
    Session session(ui);
    JobRequest req;
    req.files = {vobOf(disc)};
    req.streamIndex = stream - 1;
    req.action = ActionMode::OnlyShow;
    EXPECT_EQ(session.startJob(req), StartResult::Started);
    session.progressionNonStop = true;
    session.runToEnd();
    EXPECT_TRUE(ui.questions.empty());
    return std::move(ui.shots);
}

TEST(SampleDiscs, EveryDecodedPictureMatchesItsSourcePixelForPixel) {
    const PreviewColours colours;
    for (const Disc& disc : kDiscs) {
        for (int stream = 1; stream <= disc.streams; ++stream) {
            SCOPED_TRACE(std::string(disc.name) + " stream " + std::to_string(stream));
            const auto truth = truthOf(disc, stream);
            const auto shots = decodeStream(disc, stream);
            ASSERT_EQ(shots.size(), truth.subtitles.size());
            for (size_t i = 0; i < shots.size(); ++i) {
                const auto& t = truth.subtitles[i];
                const auto& shot = shots[i];
                SCOPED_TRACE(t.png);
                const test::RgbaImage png = test::loadPng(kData + "/" + t.png);
                ASSERT_EQ(shot.area, (DisplayArea{t.x1, t.y1, t.x2, t.y2}));
                ASSERT_EQ(shot.bitmap.width(), t.x2 - t.x1 + 1);
                ASSERT_EQ(shot.bitmap.height(), t.y2 - t.y1 + 1);
                auto numberOf = [&](uint32_t rgba) -> int {
                    if ((rgba & 0xFF) == 0) return 0;  // transparent: background
                    for (int n = 1; n < 4; ++n) {
                        if (truth.rgbaOfNumber[static_cast<size_t>(n)] == rgba) return n;
                    }
                    return -1;
                };
                int mismatches = 0;
                std::array<int, 4> counts{};
                for (int y = 0; y < png.height; ++y) {
                    for (int x = 0; x < png.width; ++x) {
                        const int n = numberOf(png.at(x, y));
                        ASSERT_GE(n, 0) << "PNG colour not in the truth at " << x << "," << y;
                        const bool inside = x >= t.x1 && x <= t.x2 && y >= t.y1 && y <= t.y2;
                        if (!inside) {
                            if (n != 0) ++mismatches;
                            continue;
                        }
                        ++counts[static_cast<size_t>(n)];
                        if (shot.bitmap.pixel(x - t.x1, y - t.y1) !=
                            colours[static_cast<size_t>(n)])
                            ++mismatches;
                    }
                }
                EXPECT_EQ(mismatches, 0);
                // Every class occurs, so the comparison covers all four.
                for (int n = 0; n < 4; ++n)
                    EXPECT_GT(counts[static_cast<size_t>(n)], 0) << "class " << n;
            }
        }
    }
}

TEST(SampleDiscs, SupFilesHoldExactlyTheCollectedUnits) {
    test::TempDir dir;
    const Disc& disc = kDiscs[0];
    const CliRun r = runCli({"sup", "--stream", "2", "--out", dir.file("fr_"), discFolder(disc)});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto shots = decodeStream(disc, 2);
    ASSERT_EQ(shots.size(), truthOf(disc, 2).subtitles.size());
    for (size_t i = 0; i < shots.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "fr_%06zu.sup", i + 1);
        ASSERT_TRUE(std::filesystem::exists(dir.file(name))) << name;
        const std::vector<uint8_t> bytes = test::readByteVector(dir.file(name));
        EXPECT_EQ(bytes, shots[i].bytes) << name;
        // Starts with the unit's own size field.
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(size_t{loadU16be(bytes.data())}, bytes.size());
    }
    EXPECT_FALSE(std::filesystem::exists(
        dir.file("fr_" + std::string("0000") + std::to_string(shots.size() + 1) + ".sup")));
}

TEST(SampleDiscs, AStartTimeShiftsEveryUnitByTheSameAmount) {
    const Disc& disc = kDiscs[0];
    const CliRun plain = runCli({"scan", vobOf(disc)});
    const CliRun shifted = runCli({"scan", "--start-time", "01:00:00,000", vobOf(disc)});
    ASSERT_EQ(plain.status, 0);
    ASSERT_EQ(shifted.status, 0);
    const auto a = lines(plain.out), b = lines(shifted.out);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        // The first SCR of the disc is 0: the offset is the start time.
        EXPECT_EQ(timeCodeToMs(parseScanLine(b[i]).start) - timeCodeToMs(parseScanLine(a[i]).start),
                  3600000);
    }
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

// Damaged copies of a sample disc: random bytes overwritten all over the
// file, whole sectors of noise, a file cut in the middle of a sector.
// Reading must end, and every unit must decode within the screen.
TEST(SampleDiscs, DamagedCopiesAreReadToTheEnd) {
    const std::string original = test::readBytes(vobOf(kDiscs[0]));
    ASSERT_GT(original.size(), 100000u);
    test::TempDir dir;
    std::mt19937 rng(2024);
    for (int round = 0; round < 12; ++round) {
        std::string damaged = original;
        const int flips = round % 3 == 0 ? 50 : 2000;
        for (int i = 0; i < flips; ++i) damaged[rng() % damaged.size()] = static_cast<char>(rng());
        if (round % 4 == 1) {  // sectors of noise
            for (int k = 0; k < 20; ++k) {
                const size_t at = (rng() % (damaged.size() / 2048)) * 2048;
                for (size_t j = 0; j < 2048; ++j) damaged[at + j] = static_cast<char>(rng());
            }
        }
        if (round % 4 == 2) damaged.resize(damaged.size() - 1000 - rng() % 100000);
        const std::string path = dir.file("damaged.vob");
        test::writeBytes(path, damaged);

        struct Checker : test::FakeUi {
            int units = 0;
            void unitCompleted(const UnitReport& r) override {
                ++units;
                ASSERT_NE(r.picture, nullptr);
                EXPECT_LE(r.picture->width, 720);
                EXPECT_LE(r.picture->height, 576);
                EXPECT_LE(r.bytes.size(), 65536u);
            }
        } ui;
        ui.defaultAnswer = Answer::YesToAll;
        Session session(ui);
        JobRequest req;
        req.files = {path};
        req.streamIndex = static_cast<int>(rng() % 2);
        req.action = ActionMode::OnlyShow;
        ASSERT_EQ(session.startJob(req), StartResult::Started);
        session.progressionNonStop = true;
        session.runToEnd();
        EXPECT_TRUE(session.jobOver());
        EXPECT_FALSE(session.job().running);
        EXPECT_GT(ui.units, 0);
    }
}

}  // namespace
}  // namespace orvane
