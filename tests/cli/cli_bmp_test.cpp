#include <gtest/gtest.h>

#include <filesystem>

#include "subtitles/text_file.h"
#include "support/bmp_reader.h"
#include "support/cli_runner.h"
#include "support/file_bytes.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::CliRun;
using test::lineCount;

// Two units of stream 1: a 20 x 4 picture of colour 1 with a colour 3 bar,
// at (10, 20) and (600, 530).
std::string makeVob(const test::TempDir& dir) {
    auto pic = test::IndexedPicture::filled(20, 4, 0);
    for (int x = 2; x < 18; ++x) {
        pic.set(x, 1, 1);
        pic.set(x, 2, 3);
    }
    return test::VobBuilder()
        .nav()
        .picture(pic, 90000, 10, 20)
        .picture(pic, 180000, 600, 530)
        .write(dir.file("a.vob"));
}

TEST(CliBmp, CommandLineMistakesGiveOneLineAndStatus2) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"bmp", "--out", "b", "x.vob"},
             {"bmp", "--stream", "1", "x.vob"},
             {"bmp", "--stream", "1", "--out", "b", "--timing", "x.vob"},
             {"bmp", "--stream", "1", "--out", "b", "--text", "t.ovt", "x.vob"},
             {"bmp", "--stream", "1", "--out", "b", "--profile"},
             {"sup", "--stream", "1", "--out", "b", "--profile", "p.ini", "x.vob"},
             {"scan", "--timing", "--text", "t.ovt", "x.vob"},
             {"bmp", "--stream", "1", "--out", "b"}}) {
        const CliRun r = test::runCliCaptured(args);
        EXPECT_EQ(r.status, 2) << args.size() << " " << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliBmp, WritesAdjustedBmpsAndTheirTimingEntries) {
    test::TempDir dir;
    const std::string vob = makeVob(dir);
    // Philips palette (8 bits), no cropping, pictures moved to the bottom.
    test::writeBytes(
        dir.file("p.ini"),
        "[BMP OUT CROPPING]\r\nEnabled=0\r\n[BMP OUT COLOR]\r\nPresetColorPalIndex=2\r\n"
        "[BMP OUT POSITIONING]\r\nEnabled=1\r\nYPosMode=2\r\n");
    const CliRun r =
        test::runCliCaptured({"bmp", "--stream", "1", "--out", dir.file("b_"), "--profile",
                              dir.file("p.ini"), "--timing", "--text", dir.file("t.ovt"), vob});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("2 BMP files written"), std::string::npos) << r.err;
    for (const char* name : {"b_000001.bmp", "b_000002.bmp"}) {
        const test::BmpProbe bmp = test::probeBmp(dir.file(name));
        ASSERT_TRUE(bmp.ok) << name << ": " << bmp.error;
        EXPECT_EQ(bmp.bits, 8);
        EXPECT_EQ(bmp.width, 20);
        EXPECT_EQ(bmp.height, 4);
    }
    const auto lines = readTextLines(dir.file("t.ovt"));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1].substr(29), "  X1:010 X2:029 Y1:572 Y2:575");
    EXPECT_EQ(lines[2], "b_000001.bmp");
    EXPECT_EQ(lines[4], "2");
    EXPECT_EQ(lines[5].substr(29), "  X1:600 X2:619 Y1:572 Y2:575");
    EXPECT_EQ(lines[6], "b_000002.bmp");
}

TEST(CliBmp, FileProblemsGiveStatus1) {
    test::TempDir dir;
    const std::string vob = makeVob(dir);
    // A profile that is not there is not taken as the defaults.
    CliRun r = test::runCliCaptured(
        {"bmp", "--stream", "1", "--out", dir.file("b_"), "--profile", dir.file("none.ini"), vob});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("b_000001.bmp")));
    // BMP files that cannot be written.
    r = test::runCliCaptured({"bmp", "--stream", "1", "--out", dir.file("no/such/b_"), vob});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no/such/b_000001.bmp"), std::string::npos) << r.err;
    // A text file that cannot be written is found before the job writes
    // anything.
    r = test::runCliCaptured({"bmp", "--stream", "1", "--out", dir.file("c_"), "--timing", "--text",
                              dir.file("no/such/t.ovt"), vob});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no/such/t.ovt"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("c_000001.bmp")));
}

TEST(CliSup, TimingEntriesNameTheSupFiles) {
    test::TempDir dir;
    const std::string vob = makeVob(dir);
    const CliRun r = test::runCliCaptured({"sup", "--stream", "1", "--out", dir.file("s_"),
                                           "--timing", "--text", dir.file("t.ovt"), vob});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = readTextLines(dir.file("t.ovt"));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1].substr(29), "  X1:010 X2:029 Y1:020 Y2:023");
    EXPECT_EQ(lines[2], "s_000001.sup");
    EXPECT_EQ(lines[6], "s_000002.sup");
}

}  // namespace
}  // namespace orvane
