// VobSub pairs written from the sample discs, read back by Orvane and by
// ffprobe; forced subtitles on a disc that mixes them with others.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "support/bmp_reader.h"
#include "support/cli_runner.h"
#include "support/file_bytes.h"
#include "support/ground_truth.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

const std::string kData = ORVANE_TEST_DATA;
const std::string kShipped = ORVANE_SHIPPED_MATRICES;

struct Stream {
    std::string disc;
    int number;
    std::string matrix;
    double frameMs;
};

const Stream kStreams[] = {
    {"pal", 1, "dejavu-sans-bold-30.sum", 40.0},
    {"pal", 2, "liberation-sans-bold-32.sum", 40.0},
    {"ntsc", 1, "dejavu-serif-bold-28.sum", 1001.0 / 30.0},
    {"ntsc", 2, "liberation-serif-bold-32.sum", 1001.0 / 30.0},
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// Milliseconds of the start time in a scan line ("000001 00:00:01,540 ...").
double scanStartMs(const std::string& line) {
    int h = 0, m = 0, s = 0, ms = 0;
    EXPECT_EQ(std::sscanf(line.c_str(), "%*d %d:%d:%d,%d", &h, &m, &s, &ms), 4) << line;
    return ((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms;
}

// The entries of OCR output: their time lines.
size_t entries(const std::string& text) {
    size_t n = 0;
    for (const std::string& l : lines(text)) n += l.find(" --> ") != std::string::npos;
    return n;
}

std::string disc(const Stream& s) {
    return kData + "/" + s.disc + "/VIDEO_TS";
}

test::CliRun cli(const std::vector<std::string>& args) {
    test::CliRun r = test::runCliCaptured(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r;
}

// Writes the pair of a stream and returns the path of its index.
std::string writePair(const Stream& s, const test::TempDir& dir, const std::string& base,
                      std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"vobsub", "--stream", std::to_string(s.number), "--out",
                                  dir.file(base)};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(disc(s));
    cli(args);
    return dir.file(base + ".idx");
}

TEST(VobSubDisc, PairReadsBackToTheSameUnitsTimesAndText) {
    for (const Stream& s : kStreams) {
        SCOPED_TRACE(s.disc + " stream " + std::to_string(s.number));
        test::TempDir dir;
        const std::string idx = writePair(s, dir, "pair");
        // The index names its one stream with the disc's language.
        EXPECT_EQ(lines(cli({"streams", idx}).out).size(), 32u);

        // Every unit byte for byte, through SUP files of both.
        const std::string n = std::to_string(s.number);
        cli({"sup", "--stream", n, "--out", dir.file("vob"), disc(s)});
        cli({"sup", "--stream", "1", "--out", dir.file("idx"), idx});
        const size_t units =
            test::loadGroundTruth(kData + "/" + s.disc + "/truth_s" + n + ".tsv").subtitles.size();
        for (size_t k = 1; k <= units + 1; ++k) {
            char num[16];
            std::snprintf(num, sizeof num, "%06zu.sup", k);
            const std::string a = test::readBytes(dir.file("vob") + num),
                              b = test::readBytes(dir.file("idx") + num);
            EXPECT_EQ(a, b) << num;
            EXPECT_EQ(a.empty(), k > units) << num;
        }
        // The same times, areas and sizes, and the same text.
        EXPECT_EQ(cli({"scan", "--stream", n, disc(s)}).out,
                  cli({"scan", "--stream", "1", idx}).out);
        const std::vector<std::string> ocr{"ocr",       "--matrix", kShipped + "/" + s.matrix,
                                           "--unknown", "mark",     "--stream"};
        auto withInput = [&](std::string stream, std::string input) {
            std::vector<std::string> a = ocr;
            a.push_back(stream);
            a.push_back(input);
            return a;
        };
        const std::string fromVob = cli(withInput(n, disc(s))).out;
        EXPECT_EQ(entries(fromVob), units) << fromVob;
        EXPECT_EQ(fromVob, cli(withInput("1", idx)).out);
    }
}

// ffprobe reads what players read: every subtitle, at its time.
TEST(VobSubDisc, FfprobeCountsEverySubtitleWithinAFrame) {
    for (const Stream& s : kStreams) {
        SCOPED_TRACE(s.disc + " stream " + std::to_string(s.number));
        test::TempDir dir;
        const std::string idx = writePair(s, dir, "pair");
        const std::vector<std::string> scan =
            lines(cli({"scan", "--stream", std::to_string(s.number), disc(s)}).out);
        const std::string cmd = "ffprobe -v warning -show_entries packet=pts_time -of csv=p=0 '" +
                                idx + "' 2>'" + dir.file("warnings") + "'";
        std::FILE* p = ::popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        for (int c; (c = std::fgetc(p)) != EOF;) out += static_cast<char>(c);
        ASSERT_EQ(::pclose(p), 0) << "ffprobe failed (scripts/install-deps.sh installs it)";
        EXPECT_EQ(test::readBytes(dir.file("warnings")), "");
        const std::vector<std::string> times = lines(out);
        ASSERT_EQ(times.size(), scan.size()) << out;
        for (size_t k = 0; k < times.size(); ++k)
            EXPECT_NEAR(std::stod(times[k]) * 1000.0, scanStartMs(scan[k]), s.frameMs) << scan[k];
    }
}

// A disc whose stream marks some subtitles forced (spumux force="yes").
TEST(ForcedDisc, ScanMarksAndForcedOnlyKeepsExactlyTheForcedUnits) {
    const test::GroundTruth truth = test::loadGroundTruth(kData + "/forced/truth_s1.tsv");
    const std::string vob = kData + "/forced/VIDEO_TS";
    const std::vector<std::string> all = lines(cli({"scan", vob}).out);
    ASSERT_EQ(all.size(), truth.subtitles.size());
    std::vector<std::string> forcedAreas;
    for (size_t k = 0; k < all.size(); ++k) {
        const test::TruthSubtitle& t = truth.subtitles[k];
        const std::string suffix = " forced";
        const bool marked =
            all[k].size() > suffix.size() &&
            all[k].compare(all[k].size() - suffix.size(), suffix.size(), suffix) == 0;
        EXPECT_EQ(marked, t.forced) << all[k];
        const std::string area = "area=" + std::to_string(t.x1) + "," + std::to_string(t.y1) + "," +
                                 std::to_string(t.x2) + "," + std::to_string(t.y2);
        EXPECT_NE(all[k].find(area), std::string::npos) << all[k];
        if (t.forced) forcedAreas.push_back(area);
    }
    ASSERT_FALSE(forcedAreas.empty());
    ASSERT_LT(forcedAreas.size(), all.size());

    const std::vector<std::string> forced = lines(cli({"scan", "--forced-only", vob}).out);
    ASSERT_EQ(forced.size(), forcedAreas.size());
    for (size_t k = 0; k < forced.size(); ++k) {
        EXPECT_NE(forced[k].find(forcedAreas[k]), std::string::npos) << forced[k];
        EXPECT_EQ(forced[k].substr(0, 7), "00000" + std::to_string(k + 1) + " ");
    }

    // The other actions keep the same units: the pair holds only them,
    // and the OCR reads only their lines.
    test::TempDir dir;
    const std::string idx = writePair({"forced", 1, "", 40.0}, dir, "forced", {"--forced-only"});
    EXPECT_EQ(cli({"scan", idx}).out, cli({"scan", "--forced-only", vob}).out);
    const std::string text = cli({"ocr", "--forced-only", "--matrix",
                                  kShipped + "/dejavu-sans-bold-30.sum", "--unknown", "mark", vob})
                                 .out;
    EXPECT_EQ(entries(text), forcedAreas.size()) << text;
    for (const std::string& f : forced)
        EXPECT_NE(text.find(f.substr(7, 12) + " --> "), std::string::npos) << text;
}

// With --disc-colours the BMP files are written in the colours the disc
// gives each subtitle: those of the pictures fed to spumux, back through the
// IFO's YCrCb table; the transparent background keeps its black.
TEST(DiscColours, BmpExportWritesThePicturesOwnColours) {
    auto near = [](uint32_t a, uint32_t b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                         static_cast<int>((b >> shift) & 0xFF)) > 3)
                return false;
        return true;
    };
    for (const Stream& s : {kStreams[1], kStreams[2]}) {
        SCOPED_TRACE(s.disc + " stream " + std::to_string(s.number));
        const test::GroundTruth truth = test::loadGroundTruth(kData + "/" + s.disc + "/truth_s" +
                                                              std::to_string(s.number) + ".tsv");
        std::vector<uint32_t> colours;  // 0xRRGGBB of numbers 0..3
        for (uint32_t rgba : truth.rgbaOfNumber) colours.push_back(rgba >> 8);
        for (const bool disc : {false, true}) {
            test::TempDir dir;
            std::vector<std::string> args{"bmp", "--stream", std::to_string(s.number), "--out",
                                          dir.file("b")};
            if (disc) args.push_back("--disc-colours");
            args.push_back(kData + "/" + s.disc + "/VIDEO_TS");
            cli(args);
            const test::BmpProbe bmp = test::probeBmp(dir.file("b000001.bmp"));
            ASSERT_TRUE(bmp.ok) << bmp.error;
            EXPECT_EQ(bmp.palette.at(static_cast<size_t>(bmp.rows.at(0).at(0))), 0u);  // background
            bool allTheDiscs = true, fillSeen = false;
            for (const auto& row : bmp.rows)
                for (int i : row) {
                    const uint32_t c = bmp.palette.at(static_cast<size_t>(i));
                    bool known = false;
                    for (uint32_t t : colours) known = known || near(c, t);
                    allTheDiscs = allTheDiscs && known;
                    fillSeen = fillSeen || near(c, colours[3]);
                }
            EXPECT_EQ(allTheDiscs && fillSeen, disc);
        }
    }
}

}  // namespace
}  // namespace orvane
