#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cli/cli_main.h"
#include "cli/cli_options.h"
#include "cli/cli_ui.h"
#include "support/cli_runner.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::CliRun;

CliRun run(const std::vector<std::string>& args, const std::string& input = "") {
    return test::runCliCaptured(args, input);
}

size_t lineCount(const std::string& s) {
    return static_cast<size_t>(std::count(s.begin(), s.end(), '\n'));
}

// Two units of stream 1 with a bad sector between them.
std::string makeVobWithBadSector(const test::TempDir& dir) {
    uint32_t scr = 1000;
    std::vector<test::Sector> sectors{test::makeNavPack(scr, 0, 0, 0, 0x40)};
    auto pic = test::IndexedPicture::filled(20, 4, 1);
    for (auto& s : test::packetizeUnit(test::makeUnit(pic, 10, 20, 100), 0x20, 90000, scr))
        sectors.push_back(s);
    test::Sector bad = test::makeFillerPack(scr += 300);
    bad[0] = 0x47;
    sectors.push_back(bad);
    for (auto& s : test::packetizeUnit(test::makeUnit(pic, 10, 20, 100), 0x20, 180000, scr))
        sectors.push_back(s);
    sectors.push_back(test::makeFillerPack(scr += 300));
    const std::string path = dir.file("bad.vob");
    test::writeSectors(path, sectors);
    return path;
}

TEST(Cli, CommandLineMistakesGiveOneLineAndStatus2) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"scan", "--stream", "33", "x.vob"},
                                               {"scan", "--stream", "0", "x.vob"},
                                               {"scan", "--stream", "two", "x.vob"},
                                               {"sup", "--stream", "1", "x.vob"},
                                               {"sup", "--out", "b", "x.vob"},
                                               {"scan", "--start-time", "1:2:3", "x.vob"},
                                               {"scan", "--bad-headers", "maybe", "x.vob"},
                                               {"scan", "--frobnicate", "x.vob"},
                                               {"scan"},
                                               {"dance"},
                                               {}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_EQ(r.err.rfind("orvane-cli: ", 0), 0u) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_NE(run({"scan", "--stream", "33", "x.vob"}).err.find("bad stream number"),
              std::string::npos);
}

TEST(Cli, MissingOrUnreadableInputsGiveOneLineAndStatus1) {
    test::TempDir dir;
    CliRun r = run({"scan", dir.file("missing.vob")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lineCount(r.err), 1u);
    EXPECT_NE(r.err.find("missing.vob"), std::string::npos);
    EXPECT_NE(r.err.find("No such file"), std::string::npos);

    r = run({"scan", dir.path()});  // a folder without title set VOBs
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lineCount(r.err), 1u);

    r = run({"streams", dir.file("VTS_01_0.IFO")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lineCount(r.err), 1u);

    std::ofstream(dir.file("short.ifo")) << "too short";
    r = run({"streams", dir.file("short.ifo")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lineCount(r.err), 1u);
    EXPECT_NE(r.err.find("792"), std::string::npos);

    std::ofstream(dir.file("locked.vob")) << "x";
    std::filesystem::permissions(dir.file("locked.vob"), std::filesystem::perms::none);
    std::FILE* probe = std::fopen(dir.file("locked.vob").c_str(), "rb");
    if (probe) {
        std::fclose(probe);  // running as root: permissions do not stop reading
    } else {
        r = run({"scan", dir.file("locked.vob")});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Permission denied"), std::string::npos);
    }
}

TEST(Cli, BadHeadersAreAnsweredByTheFlag) {
    test::TempDir dir;
    const std::string vob = makeVobWithBadSector(dir);
    CliRun no = run({"scan", "--bad-headers", "no", vob});
    EXPECT_EQ(no.status, 0);
    EXPECT_EQ(lineCount(no.out), 1u);  // reading stopped at the bad sector
    EXPECT_NE(no.err.find("Bad Packet Header at LBA: "), std::string::npos);

    CliRun all = run({"scan", "--bad-headers", "yes-to-all", vob});
    EXPECT_EQ(lineCount(all.out), 2u);

    // Not on a terminal, "ask" cannot ask: it answers no.
    CliRun ask = run({"scan", vob}, "y\n");
    EXPECT_EQ(lineCount(ask.out), 1u);
}

TEST(Cli, AskReadsTheAnswerFromTheTerminal) {
    std::FILE* in = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fputs("a\ny\nn\n", in);
    std::rewind(in);
    cli::CliUi ui(cli::BadHeaderPolicy::Ask, stdout, err, in);
    EXPECT_EQ(ui.messageBox(QuestionId::BadPacketHeader, MessageIcon::Warning, "Q\rR",
                            Buttons::YesNoYesToAll),
              Answer::YesToAll);
    EXPECT_EQ(ui.messageBox(QuestionId::BadPacketHeader, MessageIcon::Warning, "Q",
                            Buttons::YesNoYesToAll),
              Answer::Yes);
    EXPECT_EQ(ui.messageBox(QuestionId::BadPacketHeader, MessageIcon::Warning, "Q",
                            Buttons::YesNoYesToAll),
              Answer::No);
    EXPECT_EQ(ui.messageBox(QuestionId::BadPacketHeader, MessageIcon::Warning, "Q",
                            Buttons::YesNoYesToAll),
              Answer::No);
    std::fclose(in);
    EXPECT_EQ(test::readAndClose(err).substr(0, 4), "Q R ");
}

TEST(Cli, UnitLinesKeepTheirShapeForScripts) {
    SubPicture pic;
    pic.area = {162, 507, 557, 540};
    pic.sequences.resize(2);
    const std::vector<uint8_t> bytes(1756);
    UnitReport r;
    r.unitsInJob = 1;
    r.picture = &pic;
    r.bytes = bytes;
    r.times = {{0, 0, 2, 60}, {0, 0, 4, 540}};
    EXPECT_EQ(cli::CliUi::unitLine(r),
              "000001 00:00:02,060 00:00:04,540 area=162,507,557,540 sequences=2 size=1756");
    r.unitsInJob = 1000000;
    EXPECT_EQ(cli::CliUi::unitLine(r).substr(0, 8), "1000000 ");
}

TEST(Cli, StrictStartTime) {
    EXPECT_EQ(cli::parseStrictTimeCode("01:02:03,004"), (TimeCode{1, 2, 3, 4}));
    EXPECT_EQ(cli::parseStrictTimeCode("100:00:00.500"), (TimeCode{100, 0, 0, 500}));
    EXPECT_FALSE(cli::parseStrictTimeCode("01:60:00,000"));
    EXPECT_FALSE(cli::parseStrictTimeCode("01:02:03"));
    EXPECT_FALSE(cli::parseStrictTimeCode("256:00:00,000"));
}

TEST(Cli, SupWritesNumberedFilesAndReportsWriteFailures) {
    test::TempDir dir;
    const std::string vob = makeVobWithBadSector(dir);
    CliRun ok = run({"sup", "--stream", "1", "--bad-headers", "yes", "--out", dir.file("s"), vob});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("s000001.sup")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("s000002.sup")));
    CliRun fail =
        run({"sup", "--stream", "1", "--bad-headers", "yes", "--out", dir.file("none/s"), vob});
    EXPECT_EQ(fail.status, 1);
    EXPECT_NE(fail.err.find("Can't open file " + dir.file("none/s000001.sup")), std::string::npos);
}

}  // namespace
}  // namespace orvane
