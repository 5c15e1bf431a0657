// orvane-cli bmp on the sample discs: one BMP per subtitle, and timing
// entries whose rectangles put each BMP's text exactly where the disc's
// source picture had it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "stream/time_code.h"
#include "subtitles/text_file.h"
#include "support/bmp_reader.h"
#include "support/cli_runner.h"
#include "support/ground_truth.h"
#include "support/learners.h"
#include "support/png_image.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

const std::string kData = ORVANE_TEST_DATA;

struct TimingEntry {
    int number = 0;
    TimeCode start, stop;
    int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    std::string text;
};

// Blocks of an own-format file with picture coordinates.
std::vector<TimingEntry> readTimingEntries(const std::string& path) {
    const std::vector<std::string> lines = readTextLines(path);
    std::vector<TimingEntry> out;
    for (size_t at = 0; at + 4 <= lines.size(); at += 4) {
        TimingEntry e;
        e.number = std::atoi(lines[at].c_str());
        char start[16], stop[16];
        const int n = std::sscanf(lines[at + 1].c_str(), "%12s --> %12s  X1:%d X2:%d Y1:%d Y2:%d",
                                  start, stop, &e.x1, &e.x2, &e.y1, &e.y2);
        EXPECT_EQ(n, 6) << lines[at + 1];
        e.start = parseTimeCode(start);
        e.stop = parseTimeCode(stop);
        e.text = lines[at + 2];
        EXPECT_EQ(lines[at + 3], "");
        out.push_back(e);
    }
    return out;
}

TEST(BmpDisc, OneBmpPerSubtitleWithEntriesThatPlaceItsTextExactly) {
    const Colour kDefaultPalette[4] = {0x000000, 0xFFFFFF, 0x0000FF, 0x808080};  // 0xRRGGBB
    for (const std::string disc : {"pal", "ntsc"}) {
        SCOPED_TRACE(disc);
        test::TempDir dir;
        const std::string folder = kData + "/" + disc + "/VIDEO_TS";
        const test::CliRun r =
            test::runCliCaptured({"bmp", "--stream", "1", "--out", dir.file("s1_"), "--timing",
                                  "--text", dir.file("s1.ovt"), folder});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto truth = test::loadGroundTruth(kData + "/" + disc + "/truth_s1.tsv");
        const size_t count = truth.subtitles.size();
        EXPECT_NE(r.err.find(std::to_string(count) + " BMP files written"), std::string::npos)
            << r.err;

        const std::vector<TimingEntry> entries = readTimingEntries(dir.file("s1.ovt"));
        ASSERT_EQ(entries.size(), count);
        const int64_t origin = test::firstVobuStartMs(folder + "/VTS_01_1.VOB");
        // One mapping from the disc's colour numbers to palette indices for
        // the whole job: the roles are fixed at the first picture.
        std::map<int, int> indexOfNumber;
        for (size_t i = 0; i < count; ++i) {
            const test::TruthSubtitle& t = truth.subtitles[i];
            const TimingEntry& e = entries[i];
            char name[32];
            std::snprintf(name, sizeof name, "s1_%06zu.bmp", i + 1);
            SCOPED_TRACE(name);
            EXPECT_EQ(e.number, static_cast<int>(i) + 1);
            EXPECT_EQ(e.text, name);
            EXPECT_LE(std::abs(timeCodeToMs(e.start) - origin - t.startMs),
                      test::kStartToleranceMs);
            EXPECT_LE(std::abs(timeCodeToMs(e.stop) - origin - t.stopMs), test::kStopToleranceMs);

            const test::BmpProbe bmp = test::probeBmp(dir.file(name));
            ASSERT_TRUE(bmp.ok) << bmp.error;
            EXPECT_EQ(bmp.bits, 4);
            for (size_t k = 0; k < 4; ++k) EXPECT_EQ(bmp.palette[k], kDefaultPalette[k]);
            // The rectangle is the picture's size on the 720 x 576 screen;
            // the canvas keeps the default minimum height and multiples.
            ASSERT_EQ(bmp.width, e.x2 - e.x1 + 1);
            ASSERT_EQ(bmp.height, e.y2 - e.y1 + 1);
            EXPECT_EQ(bmp.width % 8, 0);
            EXPECT_GE(bmp.height, 50);
            EXPECT_EQ(bmp.height % 2, 0);
            EXPECT_GE(e.x1, 0);
            EXPECT_GE(e.y1, 0);
            EXPECT_LE(e.x2, 719);
            EXPECT_LE(e.y2, 575);

            // Every BMP pixel matches the source picture at its screen place.
            const test::RgbaImage png = test::loadPng(kData + "/" + t.png);
            auto numberAt = [&](int x, int y) -> int {
                if (x < 0 || y < 0 || x >= png.width || y >= png.height) return 0;
                const uint32_t rgba = png.at(x, y);
                if ((rgba & 0xFF) == 0) return 0;
                for (int n = 1; n < 4; ++n)
                    if (truth.rgbaOfNumber[static_cast<size_t>(n)] == rgba) return n;
                return -1;
            };
            int textPixels = 0, mismatches = 0;
            for (int y = 0; y < bmp.height; ++y)
                for (int x = 0; x < bmp.width; ++x) {
                    const int n = numberAt(e.x1 + x, e.y1 + y);
                    const int index = bmp.rows[y][x];
                    if (n != 0) ++textPixels;
                    const auto it = indexOfNumber.emplace(n, index).first;
                    if (it->second != index) ++mismatches;
                }
            EXPECT_EQ(mismatches, 0);
            // Nothing of the text lies outside the rectangle.
            int pngText = 0;
            for (int y = 0; y < png.height; ++y)
                for (int x = 0; x < png.width; ++x) pngText += numberAt(x, y) != 0;
            EXPECT_EQ(textPixels, pngText);
        }
        // Background is index 0 and the three text colours have their own.
        EXPECT_EQ(indexOfNumber.at(0), 0);
        ASSERT_EQ(indexOfNumber.size(), 4u);
        std::set<int> distinct;
        for (const auto& [n, index] : indexOfNumber) distinct.insert(index);
        EXPECT_EQ(distinct.size(), 4u);
        EXPECT_FALSE(
            std::filesystem::exists(dir.file("s1_" + std::string(count < 9 ? "00000" : "0000") +
                                             std::to_string(count + 1) + ".bmp")));
    }
}

}  // namespace
}  // namespace orvane
