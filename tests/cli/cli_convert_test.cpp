// orvane-cli convert: option checking, the order of the operations, the
// offset question's answers, and one file per output format.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

#include "support/cli_runner.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;
using test::writeBytes;

using test::CliRun;

// Three entries; the quotes are as the OCR reads them (two strokes each).
const std::string kOvt =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\n''Hello,'' she said.\r\n\r\n"
    "2\r\n00:00:04,000 --> 00:00:06,000\r\nIt's late.\r\n\r\n"
    "3\r\n00:00:10,000 --> 00:00:12,000\r\nGood night.\r\nSee you.\r\n\r\n";

class Convert : public ::testing::Test {
  protected:
    void SetUp() override { writeBytes(in, kOvt); }
    CliRun convert(std::vector<std::string> args, const std::string& input = "") {
        args.insert(args.begin(), {"convert", in});
        return test::runCliCaptured(args, input);
    }
    test::TempDir dir;
    std::string in = dir.file("in.ovt");
    std::string out = dir.file("out.txt");
};

TEST_F(Convert, MistakesAreUsageErrorsOnOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"--out", "x"},                     // no format
        {"--format", "srt", "--out", "x"},  // unknown format
        {"--format", "orvane"},             // no --out
        {"--format", "orvane", "--out", "x", "--offset", "1:00:00"},
        {"--format", "orvane", "--out", "x", "--offset", "25:00:00,000"},
        {"--format", "orvane", "--out", "x", "--stretch", "00:00:02"},
        {"--format", "orvane", "--out", "x", "--duration", "prop:500"},
        {"--format", "orvane", "--out", "x", "--duration", "fixed:70000"},
        {"--format", "orvane", "--out", "x", "--min-interval", "10000"},
        {"--format", "orvane", "--out", "x", "--fix-il", "it"},
        {"--format", "orvane", "--out", "x", "--dictionary"},  // no --fix-il language
        {"--format", "orvane", "--out", "x", "--split", "00:00:05,000"},
        {"--format", "orvane", "--out", "x", "--frobnicate"},
        {"--format", "orvane", "--out", "x", "second.ovt"},
    };
    for (const auto& args : bad) {
        const CliRun r = convert(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(test::lineCount(r.err), 1u) << r.err;
    }
    // A stop before the start is the split dialog's refusal.
    const CliRun r =
        convert({"--format", "orvane", "--out", out, "--split", "00:00:05,000", "00:00:04,000"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("The Stop time is smaller than the Start time !"), std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Convert, AMissingInputIsAFileError) {
    const CliRun r =
        test::runCliCaptured({"convert", dir.file("none.ovt"), "--format", "orvane", "--out", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Convert, TimesThenTextThenTheSplitRangeOnSave) {
    // +1 s, then fixed durations of 1.5 s, then the quote repair; the split
    // range keeps entries within 00:00:04,500..00:00:12,000, counts from
    // its start and cuts the last stop (12,500) at its end.
    const CliRun r =
        convert({"--format", "orvane", "--out", out, "--offset", "00:00:01,000", "--duration",
                 "fixed:1500", "--fix-quotes", "--split", "00:00:04,500", "00:00:12,000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(out),
              "2\r\n00:00:00,500 --> 00:00:02,000\r\nIt's late.\r\n\r\n"
              "3\r\n00:00:06,500 --> 00:00:07,500\r\nGood night.\r\nSee you.\r\n\r\n");
    // Without the split range the first entry is there, quotes repaired.
    ASSERT_EQ(
        convert({"--format", "orvane", "--out", out, "--offset", "00:00:01,000", "--fix-quotes"})
            .status,
        0);
    EXPECT_EQ(readBytes(out).substr(0, 56),
              "1\r\n00:00:02,000 --> 00:00:03,500\r\n\"Hello,\" she said.\r\n\r\n");
}

TEST_F(Convert, TheDictionaryOfTheFixIlLanguageDecidesWords) {
    writeBytes(in, "1\r\n00:00:01,000 --> 00:00:02,000\r\n- Ies enfants, 0K ?\r\n\r\n");
    ASSERT_EQ(convert({"--format", "orvane", "--out", out, "--fix-il", "fr"}).status, 0);
    EXPECT_NE(readBytes(out).find("- Ies enfants, 0K ?"), std::string::npos)
        << readBytes(out);  // the rules alone
    const CliRun r = convert(
        {"--format", "orvane", "--out", out, "--fix-il", "fr", "--fix-zero-o", "--dictionary"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readBytes(out).find("- les enfants, OK ?"), std::string::npos) << readBytes(out);
    // Asked for and not there: the command stops, saying what to install.
    const std::string elsewhere = dir.file("elsewhere.txt");
    const CliRun missing = convert({"--format", "orvane", "--out", elsewhere, "--fix-il", "es",
                                    "--dictionary", "--dictionary-dir", dir.file("none")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("hunspell-es"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(elsewhere));
}

TEST_F(Convert, TheOffsetQuestionIsAnsweredByYesOrByTheInput) {
    // Minus 4 s brings entry 1 (1 s) to zero: the question comes first there.
    const std::vector<std::string> minus = {"--format", "orvane",   "--out",
                                            out,        "--offset", "-00:00:04,000"};
    // Input that is not a terminal answers No: nothing moves.
    CliRun r = convert(minus);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("will be reduced to 00:00:00,000"), std::string::npos) << r.err;
    EXPECT_NE(readBytes(out).find("00:00:01,000 --> 00:00:02,500"), std::string::npos);
    EXPECT_NE(readBytes(out).find("00:00:04,000 --> 00:00:06,000"), std::string::npos);
    // --yes: the start becomes zero, its stop goes to zero too, and the rest
    // move by 4 s (entry 2 reaches zero exactly and is asked as well).
    auto withYes = minus;
    withYes.push_back("--yes");
    r = convert(withYes);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = readBytes(out);
    EXPECT_NE(text.find("1\r\n00:00:00,000 --> 00:00:00,000"), std::string::npos) << text;
    EXPECT_NE(text.find("2\r\n00:00:00,000 --> 00:00:02,000"), std::string::npos) << text;
    EXPECT_NE(text.find("3\r\n00:00:06,000 --> 00:00:08,000"), std::string::npos) << text;
}

TEST_F(Convert, EveryFormatHasItsOwnShape) {
    struct Expect {
        const char* format;
        const char* begins;
    };
    const Expect formats[] = {
        {"orvane", "1\r\n00:00:01,000 --> 00:00:02,500\r\n"},
        {"subviewer1", "[TITLE]\r\n"},
        {"subviewer2", "[INFORMATION]\r\n"},
        {"iauthor", "*******IAUTHOR OGT GENERATED BY ORVANE 0.97b on "},
        {"philips", "# PHILIPS SVCD DESIGNER 1.5 - 2.0 SUBTITLES FILE\r\n"},
        {"sonic", "0001  00:00:01:00  00:00:02:12  ''Hello,'' she said.\r\n"},
        {"webvtt", "WEBVTT\r\n\r\n1\r\n00:00:01.000 --> 00:00:02.500\r\n"},
        {"ass", "[Script Info]\r\n"},
    };
    for (const auto& f : formats) {
        const CliRun r = convert({"--format", f.format, "--out", out});
        ASSERT_EQ(r.status, 0) << f.format << r.err;
        const std::string text = readBytes(out);
        EXPECT_EQ(text.rfind(f.begins, 0), 0u) << f.format << ":\n" << text.substr(0, 200);
        EXPECT_NE(text.find("Good night."), std::string::npos) << f.format;
    }
}

TEST_F(Convert, EncodingChoosesTheOwnFormatsAndTheOthersKeepTheirs) {
    const std::string cp1252 = "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xE9\r\n\r\n";
    const std::string utf8 = "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xC3\xA9\r\n\r\n";
    writeBytes(in, cp1252);
    ASSERT_EQ(convert({"--format", "orvane", "--out", out}).status, 0);
    EXPECT_EQ(readBytes(out), cp1252);
    ASSERT_EQ(convert({"--format", "orvane", "--encoding", "utf-8", "--out", out}).status, 0);
    EXPECT_EQ(readBytes(out), utf8);
    // A UTF-8 input is written back in UTF-8 unless told otherwise.
    writeBytes(in, utf8);
    ASSERT_EQ(convert({"--format", "orvane", "--out", out}).status, 0);
    EXPECT_EQ(readBytes(out), utf8);
    ASSERT_EQ(convert({"--format", "orvane", "--encoding", "windows-1252", "--out", out}).status,
              0);
    EXPECT_EQ(readBytes(out), cp1252);
    ASSERT_EQ(convert({"--format", "sonic", "--out", out}).status, 0);
    EXPECT_NE(readBytes(out).find("  Caf\xE9\r\n"), std::string::npos);
    // Formats of one encoding refuse the other.
    for (const auto& [format, encoding] :
         {std::pair{"webvtt", "windows-1252"}, std::pair{"subviewer2", "utf-8"}}) {
        const CliRun r =
            convert({"--format", format, "--encoding", encoding, "--out", dir.file("x")});
        EXPECT_EQ(r.status, 2) << format;
        EXPECT_NE(r.err.find("files are always"), std::string::npos) << r.err;
    }
    EXPECT_EQ(convert({"--format", "orvane", "--encoding", "latin-1", "--out", out}).status, 2);
    // A wrong second value is refused too, not hidden by the first.
    EXPECT_EQ(convert({"--format", "orvane", "--encoding", "utf-8", "--encoding", "latin-1",
                       "--out", out})
                  .status,
              2);
}

TEST_F(Convert, TheWritersTakeTheirSettingsFromTheConfiguration) {
    // The GUI's stored Philips page: NTSC with drop frame, contrasts 1 2 3 4.
    const std::string ini = dir.file("settings.ini");
    writeBytes(ini,
               "[PHILIPS OUTPUT]\r\nFrameRate=1\r\nDropFrame=1\r\nContrast_0=1\r\nContrast_1=2\r\n"
               "Contrast_2=3\r\nContrast_3=4\r\n");
    CliRun r = convert({"--format", "philips", "--out", out, "--config", ini});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string text = readBytes(out);
    EXPECT_NE(text.find("FRAMERATE\tNTSC\r\nDROPFRAME\tYES\r\nCONTRAST\t(1 2 3 4)\r\n"),
              std::string::npos)
        << text;
    // Without --config the program folder's Orvane.ini is read: here none, so PAL.
    const char* home = std::getenv("ORVANE_HOME");
    const std::string saved = home ? home : "";
    ::setenv("ORVANE_HOME", dir.path().c_str(), 1);
    r = convert({"--format", "philips", "--out", out});
    EXPECT_NE(readBytes(out).find("FRAMERATE\tPAL\r\n"), std::string::npos);
    // ... and with one there, its settings.
    writeBytes(dir.file("Orvane.ini"), "[philips output]\r\nframerate=0x1\r\n");
    r = convert({"--format", "philips", "--out", out});
    EXPECT_NE(readBytes(out).find("FRAMERATE\tNTSC\r\n"), std::string::npos) << readBytes(out);
    if (home)
        ::setenv("ORVANE_HOME", saved.c_str(), 1);
    else
        ::unsetenv("ORVANE_HOME");
    // A --config that is not there is a file error, not the defaults.
    r = convert(
        {"--format", "philips", "--out", dir.file("other.sub"), "--config", dir.file("none.ini")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.sub")));
}

}  // namespace
}  // namespace orvane
