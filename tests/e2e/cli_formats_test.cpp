// The command-line path from a disc to every output format: OCR into the
// own format, then convert; and BMP export with timing, then the authoring
// scripts that place the BMP files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/text_encoding.h"
#include "subtitles/ass_writer.h"
#include "subtitles/orvane_format.h"
#include "subtitles/text_file.h"
#include "subtitles/webvtt_writer.h"
#include "support/cli_runner.h"
#include "support/file_bytes.h"
#include "support/ground_truth.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;

const std::string kData = ORVANE_TEST_DATA;
const std::string kShipped = ORVANE_SHIPPED_MATRICES;

size_t occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++n;
    return n;
}

// The entries of an own-format file, as Orvane reads it back.
std::vector<SubtitleEntry> readEntries(const std::string& path) {
    const auto r =
        readOrvaneLines(readTextLines(path), [](unsigned) { return ReadErrorAction::Cancel; });
    EXPECT_FALSE(r.cancelled);
    return r.entries;
}

// The subtitles of a sample stream.
size_t truthCount(const std::string& disc, int stream) {
    return test::loadGroundTruth(kData + "/" + disc + "/truth_s" + std::to_string(stream) + ".tsv")
        .subtitles.size();
}

// hh:mm:ss of a time in milliseconds.
std::string hms(int64_t ms) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(ms / 3600000),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60));
    return text;
}

// A PAL frame label hh:mm:ss:ff (40 ms a frame).
std::string palFrames(const TimeCode& t) {
    char ff[8];
    std::snprintf(ff, sizeof ff, ":%02d", t.milliseconds / 40);
    return hms(timeCodeToMs(t)) + ff;
}

// Runs the CLI with an empty program folder, so that no Orvane.ini left by
// another run changes the writers' settings.
class CliFormats : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* home = std::getenv("ORVANE_HOME");
        hadHome_ = home != nullptr;
        if (home) savedHome_ = home;
        ::setenv("ORVANE_HOME", home_.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadHome_)
            ::setenv("ORVANE_HOME", savedHome_.c_str(), 1);
        else
            ::unsetenv("ORVANE_HOME");
    }
    test::TempDir dir;

  private:
    test::TempDir home_;
    bool hadHome_ = false;
    std::string savedHome_;
};

TEST_F(CliFormats, OcrThenConvertToEveryFormat) {
    const std::string ovt = dir.file("pal1.ovt");
    const test::CliRun ocr = test::runCliCaptured(
        {"ocr", "--stream", "1", "--matrix", kShipped + "/dejavu-sans-bold-30.sum", "--unknown",
         "mark", "--extended", "--out", ovt, kData + "/pal/VIDEO_TS"});
    ASSERT_EQ(ocr.status, 0) << ocr.err;
    const std::vector<SubtitleEntry> entries = readEntries(ovt);
    ASSERT_EQ(entries.size(), truthCount("pal", 1));

    auto convert = [&](const std::string& format, std::vector<std::string> extra = {}) {
        const std::string out = dir.file("pal1." + format);
        std::vector<std::string> args{"convert", ovt, "--format", format, "--out", out};
        args.insert(args.end(), extra.begin(), extra.end());
        const test::CliRun r = test::runCliCaptured(args);
        EXPECT_EQ(r.status, 0) << format << ": " << r.err;
        return readBytes(out);
    };

    // Own format: the same entries back.
    const std::string own = convert("orvane");
    EXPECT_EQ(own, readBytes(ovt));

    // SubViewer 1: every entry's lines joined with '|' after its start,
    // rounded to the second: up only above 500 ms, carrying into the minutes.
    // The first entry is moved to 59.500 s, then to 59.501 s.
    const std::string sv1 = convert("subviewer1");
    EXPECT_EQ(sv1.rfind("[TITLE]\r\n", 0), 0u);
    EXPECT_NE(sv1.find("[END]"), std::string::npos);
    const int64_t toBoundary = 59500 - timeCodeToMs(entries[0].start);
    ASSERT_GT(toBoundary, 0);
    for (const int64_t shift : {int64_t{0}, toBoundary, toBoundary + 1}) {
        char offset[32];
        std::snprintf(offset, sizeof offset, "00:00:%02d,%03d", static_cast<int>(shift / 1000),
                      static_cast<int>(shift % 1000));
        const std::string text = shift == 0 ? sv1 : convert("subviewer1", {"--offset", offset});
        for (const auto& e : entries) {
            std::string joined = e.lines[0];
            for (size_t k = 1; k < e.lines.size(); ++k) joined += "|" + e.lines[k];
            const int64_t ms = timeCodeToMs(e.start) + shift;
            const std::string start = "[" + hms(ms % 1000 > 500 ? ms + 1000 : ms) + "]\r\n";
            EXPECT_NE(text.find(start + joined + "\r\n"), std::string::npos) << start << joined;
        }
    }

    // SubViewer 2: hundredths and [br] between lines.
    const std::string sv2 = convert("subviewer2");
    for (const auto& e : entries) {
        std::string joined = e.lines[0];
        for (size_t k = 1; k < e.lines.size(); ++k) joined += "[br]" + e.lines[k];
        char times[96];
        std::snprintf(times, sizeof times, "%02d:%02d:%02d.%02d,%02d:%02d:%02d.%02d\r\n",
                      e.start.hours, e.start.minutes, e.start.seconds, e.start.milliseconds / 10,
                      e.stop.hours, e.stop.minutes, e.stop.seconds, e.stop.milliseconds / 10);
        EXPECT_NE(sv2.find(times + joined + "\r\n"), std::string::npos) << joined;
    }

    // WebVTT and ASS: a cue and an event per subtitle, at the top of the
    // screen exactly for the pictures in its upper half (the disc has some).
    const std::string vtt = convert("webvtt");
    const std::string ass = convert("ass");
    size_t top = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        const bool upper = inUpperHalf(e.rect);
        top += upper;
        const std::string cue = "\r\n" + std::to_string(i + 1) + "\r\n" + webVttTime(e.start) +
                                " --> " + webVttTime(e.stop) + (upper ? " line:0\r\n" : "\r\n");
        EXPECT_NE(vtt.find(cue), std::string::npos) << cue;
        const std::string event = "," + assTime(e.start) + "," + assTime(e.stop) +
                                  ",Default,,0,0,0,," + (upper ? "{\\an8}" : "") +
                                  cp1252ToUtf8(e.lines[0]);
        EXPECT_NE(ass.find(event), std::string::npos) << event;
    }
    EXPECT_GT(top, 0u);
    EXPECT_LT(top, entries.size());
    EXPECT_EQ(occurrences(ass, "\r\nDialogue: "), entries.size());

    // IAuthor, Philips, Sonic: one page, list line, entry per subtitle.
    const std::string iauthor = convert("iauthor");
    EXPECT_EQ(occurrences(iauthor, " Finished ***************\r\n"), entries.size());
    const std::string philips = convert("philips");
    const std::string sonic = convert("sonic");
    const std::string sonicFromLineStart = "\r\n" + sonic;  // each entry follows a line break
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        EXPECT_NE(iauthor.find("BMPFILE: " + e.lines[0] + "\r\n"), std::string::npos) << i;
        // Philips: the whole list line, frames at 25 fps, the rectangle in
        // three-digit fields.
        char place[64];
        std::snprintf(place, sizeof place, " %03d %03d %03d %03d\r\n", e.rect.x2 - e.rect.x1 + 1,
                      e.rect.y2 - e.rect.y1 + 1, e.rect.x1, e.rect.y1);
        EXPECT_NE(philips.find("\r\n" + e.lines[0] + " " + palFrames(e.start) + " " +
                               palFrames(e.stop) + place),
                  std::string::npos)
            << i;
        // Sonic: number, times and first line, the other lines, an empty line.
        char number[32];
        std::snprintf(number, sizeof number, "%04zu  ", i + 1);
        std::string block = "\r\n" + (number + palFrames(e.start)) + "  " + palFrames(e.stop) +
                            "  " + e.lines[0] + "\r\n";
        for (size_t k = 1; k < e.lines.size(); ++k) block += e.lines[k] + "\r\n";
        EXPECT_NE(sonicFromLineStart.find(block + "\r\n"), std::string::npos) << i;
    }
    EXPECT_EQ(occurrences(sonic, "\r\n\r\n"), entries.size());

    // The post-OCR correction and the time correction run before the save.
    convert("orvane", {"--offset", "00:00:10,000", "--fix-il", "en", "--fix-quotes"});
    const auto back = readEntries(dir.file("pal1.orvane"));
    ASSERT_EQ(back.size(), entries.size());
    for (size_t i = 0; i < back.size(); ++i)
        EXPECT_EQ(timeCodeToMs(back[i].start), timeCodeToMs(entries[i].start) + 10000) << i;
}

TEST_F(CliFormats, BmpTimingThenTheAuthoringScriptsPlaceEveryBmp) {
    const std::string ovt = dir.file("ntsc1.ovt");
    const test::CliRun bmp =
        test::runCliCaptured({"bmp", "--stream", "1", "--out", dir.file("n1_"), "--timing",
                              "--text", ovt, kData + "/ntsc/VIDEO_TS"});
    ASSERT_EQ(bmp.status, 0) << bmp.err;
    const std::vector<SubtitleEntry> entries = readEntries(ovt);
    ASSERT_EQ(entries.size(), truthCount("ntsc", 1));

    auto convert = [&](const std::string& format) {
        const std::string out = dir.file("n1." + format);
        const test::CliRun r =
            test::runCliCaptured({"convert", ovt, "--format", format, "--out", out});
        EXPECT_EQ(r.status, 0) << format << ": " << r.err;
        return readBytes(out);
    };
    const std::string iauthor = convert("iauthor");
    const std::string philips = convert("philips");
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        char name[48];
        std::snprintf(name, sizeof name, "n1_%06zu.bmp", i + 1);
        SCOPED_TRACE(name);
        ASSERT_EQ(e.lines.size(), 1u);
        EXPECT_EQ(e.lines[0], name);
        EXPECT_TRUE(std::filesystem::exists(dir.file(name)));
        // IAuthor: the page names the file and its region on the screen.
        const size_t page = iauthor.find(std::string("BMPFILE: ") + name + "\r\n");
        ASSERT_NE(page, std::string::npos);
        char region[96];
        std::snprintf(region, sizeof region, " region %d, %d to %d, %d\r\n", e.rect.x1, e.rect.y1,
                      e.rect.x2, e.rect.y2);
        EXPECT_EQ(iauthor.find(region, page), iauthor.find(" region ", page)) << region;
        // Philips: the file, its frames, then width, height, left and top.
        const size_t line = philips.find(std::string("\r\n") + name + " ");
        ASSERT_NE(line, std::string::npos);
        char place[64];
        std::snprintf(place, sizeof place, " %03d %03d %03d %03d\r\n", e.rect.x2 - e.rect.x1 + 1,
                      e.rect.y2 - e.rect.y1 + 1, e.rect.x1, e.rect.y1);
        EXPECT_EQ(philips.find("\r\n", line + 2),
                  philips.find(place, line) + std::string(place).size() - 2)
            << place;
    }
}

}  // namespace
}  // namespace orvane
