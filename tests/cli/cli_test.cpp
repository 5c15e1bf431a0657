#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/cli_main.h"
#include "cli/cli_options.h"
#include "cli/cli_ui.h"
#include "cli/convert_options.h"
#include "subtitles/subtitle_document.h"
#include "support/cli_runner.h"
#include "support/file_bytes.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::CliRun;
using test::lineCount;

CliRun run(const std::vector<std::string>& args, const std::string& input = "") {
    return test::runCliCaptured(args, input);
}

// Two units of stream 1 with a bad sector between them.
std::string makeVobWithBadSector(const test::TempDir& dir) {
    const auto pic = test::IndexedPicture::filled(20, 4, 1);
    test::VobBuilder v;
    v.nav().picture(pic, 90000, 10, 20).sectors.back()[0] = 0x47;  // the filler after it
    return v.picture(pic, 180000, 10, 20).write(dir.file("bad.vob"));
}

TEST(Cli, CommandLineMistakesGiveOneLineAndStatus2) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"scan", "--stream", "33", "x.vob"},
                                               {"scan", "--stream", "0", "x.vob"},
                                               {"scan", "--stream", "two", "x.vob"},
                                               {"sup", "--stream", "1", "x.vob"},
                                               {"sup", "--out", "b", "x.vob"},
                                               {"vobsub", "--stream", "1", "x.vob"},
                                               {"vobsub", "--out", "b", "x.vob"},
                                               {"scan", "--start-time", "1:2:3", "x.vob"},
                                               {"scan", "--bad-headers", "maybe", "x.vob"},
                                               {"scan", "--title", "100", "x.vob"},
                                               {"ocr", "--language", "xx", "x.vob"},
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

    test::writeBytes(dir.file("short.ifo"), "too short");
    r = run({"streams", dir.file("short.ifo")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lineCount(r.err), 1u);
    EXPECT_NE(r.err.find("792"), std::string::npos);

    test::writeBytes(dir.file("locked.vob"), "x");
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

// A program reading orvane-cli's output through a pipe sees each subtitle
// as soon as it is read, not when the buffer fills.
TEST(Cli, ASubtitleReachesAPipeAtOnce) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::fcntl(fds[0], F_SETFL, O_NONBLOCK), 0);
    std::FILE* out = ::fdopen(fds[1], "w");
    cli::CliUi ui(cli::BadHeaderPolicy::No, out, stderr, stdin);
    ui.setPrintSubtitles(true);
    SubtitleDocument doc;
    doc.appendEntry({"first"}, false, {1, 2, 3, 4}, {0, 0, 2, 0}, {0, 0, 1, 0});
    ui.subtitleAdded(doc, 1);
    char buf[256];
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    EXPECT_NE(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0).find("first"),
              std::string::npos);
    std::fclose(out);
    ::close(fds[0]);
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
    // Checked before the job, with the system's reason.
    EXPECT_EQ(fail.status, 1);
    EXPECT_NE(fail.err.find(dir.file("none/s000001.sup") + "': " + std::strerror(ENOENT)),
              std::string::npos)
        << fail.err;
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(CliOcr, AnswersAreTextCommandsOrRefused) {
    std::FILE* err = std::tmpfile();
    auto parse = [&](const std::string& line) { return cli::CliUi::parseAnswer(line, err); };
    EXPECT_EQ(parse("abc")->action, NewCharAction::Accept);
    EXPECT_EQ(parse("abc")->text, "abc");
    EXPECT_EQ(parse("")->text, "");
    EXPECT_EQ(parse("\xC3\xA9t\xC3\xA9")->text, "\xE9t\xE9");  // UTF-8 in, Windows-1252 kept
    EXPECT_EQ(parse("\\\\n")->text, "\\n");                    // a literal backslash
    // An overlong zero byte, a surrogate and control bytes never reach a
    // matrix text, where a zero byte would cut it short.
    EXPECT_FALSE(
        parse("a\xC0\x80"
              "b"));
    EXPECT_FALSE(parse("\xE0\x80\xAF"));
    EXPECT_FALSE(parse("\xED\xA0\x80"));
    EXPECT_FALSE(parse(std::string("a\0b", 3)));
    EXPECT_FALSE(parse("a\tb"));
    EXPECT_EQ(parse("\\skip-line")->action, NewCharAction::SkipLine);
    EXPECT_EQ(parse("\\skip-picture")->action, NewCharAction::SkipPicture);
    EXPECT_EQ(parse("\\search")->action, NewCharAction::SearchMatrix);
    EXPECT_EQ(parse("\\stop")->action, NewCharAction::Pause);
    EXPECT_FALSE(parse("\\frobnicate"));
    EXPECT_FALSE(parse("\xE4\xB8\xAD"));        // not in Windows-1252
    EXPECT_FALSE(parse(std::string(21, 'x')));  // too long
    EXPECT_TRUE(parse(std::string(20, 'x')));
    EXPECT_EQ(parse("?")->text, "?");
    const std::string messages = test::readAndClose(err);
    EXPECT_NE(messages.find("Windows-1252"), std::string::npos);
    EXPECT_NE(messages.find("at most 20"), std::string::npos);
}

// A VOB with one subtitle of three glyph shapes in two lines.
std::string makeOcrVob(const test::TempDir& dir) {
    auto pic = test::IndexedPicture::filled(60, 30, 0);
    for (int y = 2; y < 12; ++y) {
        for (int x = 2; x < 5; ++x) pic.set(x, y, 3);    // bar
        for (int x = 14; x < 20; ++x) pic.set(x, y, 3);  // block, 9 columns later: a space
    }
    for (int y = 18; y < 28; ++y)
        for (int x = 2; x < 5; ++x) pic.set(x, y, 3);  // bar on the second line
    return test::VobBuilder()
        .nav()
        .picture(pic, 90000, 100, 400, 300)
        .picture(pic, 180000, 100, 400, 300)
        .write(dir.file("ocr.vob"));
}

TEST(CliOcr, LearnsFromAnswersOnStdinAndSavesWhatItLearned) {
    test::TempDir dir;
    const std::string vob = makeOcrVob(dir);
    const CliRun r = run({"ocr", "--no-engine", "--text-colour", "3", "--save-matrix",
                          dir.file("m.sum"), "--out", dir.file("o.ovt"), "--extended", vob},
                         "l\n\xC3\xA9\n");
    ASSERT_EQ(r.status, 0) << r.err;
    // Two glyphs asked, the third matches the first.
    EXPECT_NE(r.err.find("glyph picture=1 line=1 char=1 box=102,402,104,411\n"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("glyph picture=1 line=1 char=2 box=114,402,119,411\n"), std::string::npos);
    EXPECT_EQ(r.err.find("line=2 char=1"), std::string::npos);
    EXPECT_NE(r.err.find("|###|"), std::string::npos);  // the glyph framed in the drawing
    EXPECT_NE(r.err.find("text colour 3 (--text-colour"), std::string::npos);
    EXPECT_NE(r.err.find("2 pictures, 2 entries, 2 glyphs learned"), std::string::npos);
    EXPECT_EQ(r.out,
              "1\n00:00:01,000 --> 00:00:04,413  X1:100 X2:159 Y1:400 Y2:429\nl \xC3\xA9\nl\n\n"
              "2\n00:00:02,000 --> 00:00:05,413  X1:100 X2:159 Y1:400 Y2:429\nl \xC3\xA9\nl\n\n");
    EXPECT_EQ(std::filesystem::file_size(dir.file("m.sum")), 280u + 2 * 277u);
    const std::string saved = test::readBytes(dir.file("o.ovt"));
    EXPECT_EQ(saved.substr(0, 63),
              "1\r\n00:00:01,000 --> 00:00:04,413  X1:100 X2:159 Y1:400 Y2:429\r\n");
    EXPECT_NE(saved.find("l \xE9\r\n"), std::string::npos);  // Windows-1252 in the file

    // The saved matrix reads the same disc without a question.
    const CliRun again = run({"ocr", "--matrix", dir.file("m.sum"), "--extended", vob}, "");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.err.find("glyph picture"), std::string::npos);
    EXPECT_EQ(again.out, r.out);
}

TEST(CliOcr, PoliciesAndTheEndOfInput) {
    test::TempDir dir;
    const std::string vob = makeOcrVob(dir);
    CliRun mark = run({"ocr", "--unknown", "mark", "--mark-char", "\xC2\xA4", vob});
    EXPECT_EQ(mark.status, 0);
    EXPECT_NE(mark.out.find("\xC2\xA4 \xC2\xA4\n\xC2\xA4\n"), std::string::npos) << mark.out;
    EXPECT_NE(mark.err.find("0 glyphs learned (matrix of 0), 0 unknown glyphs skipped, 6 marked"),
              std::string::npos);

    CliRun skip = run({"ocr", "--unknown", "skip-line", vob});
    EXPECT_NE(skip.err.find("2 pictures, 0 entries"), std::string::npos);

    // Input ends after one answer: every further unknown glyph skips its picture.
    CliRun ended = run({"ocr", "--no-engine", vob}, "l\n");
    EXPECT_NE(ended.err.find("2 pictures, 0 entries, 1 glyphs learned"), std::string::npos)
        << ended.err;

    // \stop pauses, saves and ends.
    CliRun stopped =
        run({"ocr", "--no-engine", "--save-matrix", dir.file("s.sum"), vob}, "l\n\\stop\n");
    EXPECT_NE(stopped.err.find("stopped; 0 pictures, 0 entries, 1 glyphs learned"),
              std::string::npos)
        << stopped.err;
    EXPECT_EQ(std::filesystem::file_size(dir.file("s.sum")), 557u);

    // A refused answer is asked again.
    CliRun retry =
        run({"ocr", "--unknown", "ask", "--no-engine", vob}, "\xE4\xB8\xAD\nl\n\\skip-picture\n");
    EXPECT_NE(retry.err.find("cannot hold"), std::string::npos);
    EXPECT_NE(retry.err.find("1 glyphs learned"), std::string::npos);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(CliOcr, AcceptTakesTheProposalShownAtTheEndOfTheGlyphLine) {
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(cli::CliUi::parseAnswer("\\accept", err, "\xE9t")->text, "\xE9t");
    EXPECT_EQ(cli::CliUi::parseAnswer("", err, "ft")->text, "");  // an empty line stays empty
    EXPECT_FALSE(cli::CliUi::parseAnswer("\\accept", err));
    EXPECT_NE(test::readAndClose(err).find("no proposal"), std::string::npos);
    const MatrixEntry glyph;
    const CharBox box{10, 2, 5, 8, 0, 0};
    const TextLine line;
    const Image24 picture(30, 12);
    NewCharacterView v{glyph, box, line,  1, 2, picture, picture, {}, {100, 400, 129, 411},
                       7,     3,   false, {}};
    EXPECT_EQ(cli::CliUi::glyphHeader(v), "glyph picture=7 line=1 char=2 box=110,402,114,409");
    v.proposal = "\xE9t";
    EXPECT_EQ(cli::CliUi::glyphHeader(v),
              "glyph picture=7 line=1 char=2 box=110,402,114,409 proposal=\xC3\xA9t");
}

TEST(Cli, OptionsOfOtherCommandsAndStartTimesPastADayAreRefused) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"scan", "--out", "x", "a.vob"},
             {"sup", "--stream", "1", "--out", "b", "--matrix", "m.sum", "a.vob"},
             {"streams", "--stream", "2", "a.ifo"},
             {"streams", "--forced-only", "a.ifo"},
             {"vobsub", "--stream", "1", "--out", "b", "--timing", "a.vob"},
             {"sup", "--stream", "1", "--out", "b", "--disc-colours", "a.vob"},
             {"scan", "--start-time", "255:59:59,999", "a.vob"},
             {"scan", "--start-time", "25:00:00,000", "a.vob"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    }
    EXPECT_EQ(run({"scan", "--start-time", "24:59:59,999", "--frobnicate", "a.vob"})
                  .err.find("start time"),
              std::string::npos);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"convert", "--help"}, {"scan", "--help"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("orvane-cli convert IN.ovt"), std::string::npos) << r.out;
    }
}

TEST(Cli, OptionsReachTheirSettings) {
    std::string error;
    const auto o = cli::parseOptions(
        {"ocr", "--avoid-time-restart", "--title", "3", "--language", "fr", "a.vob"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->avoidTimeRestart);
    EXPECT_EQ(o->titleSet, 3);
    EXPECT_EQ(o->language, "fr");
    const auto c = cli::parseConvertOptions(
        {"in.ovt", "--format", "orvane", "--out", "x", "--stretch", "-00:00:02,500"}, error);
    ASSERT_TRUE(c) << error;
    EXPECT_TRUE(c->times.minusStretch);
    EXPECT_EQ(c->times.stretch, (TimeCode{0, 0, 2, 500}));
    EXPECT_FALSE(c->times.minusOffset);
}

}  // namespace
}  // namespace orvane
