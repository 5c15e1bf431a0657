// Choosing the output format, re-rendering the document in it, and the
// split range that limits what is rendered and saved.

#include <gtest/gtest.h>

#include "subtitles/split_range.h"
#include "subtitles/subtitle_document.h"

namespace orvane {
namespace {

using Lines = std::vector<std::string>;

TimeCode tc(int h, int m, int s, int ms) {
    return {static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(s),
            static_cast<uint16_t>(ms)};
}

constexpr OutputFormat kAllFormats[] = {OutputFormat::Orvane,     OutputFormat::SubViewer1,
                                        OutputFormat::SubViewer2, OutputFormat::IAuthor,
                                        OutputFormat::Philips,    OutputFormat::Sonic};

SubtitleDocument newDocument() {
    SubtitleDocument d;
    d.setDateTimeSource([] { return std::string("2026-12-08 07:41:20"); });
    return d;
}

// --- "&Convert to this Format" ---------------------------------------------

TEST(ConvertToFormat, CopiesEachStoredSettingIntoItsOwnFieldAndKeepsTheLiveOnes) {
    SubtitleDocument d = newDocument();
    d.settings().subViewer1.title = "kept";
    d.settings().indexOffset = 5;
    OutputSettings dialog;
    dialog.ovtExtended = true;
    for (int k = 0; k < 4; ++k) {
        dialog.iauthorColour[k] = 0x010101u * static_cast<unsigned>(k + 1);
        dialog.iauthorBlend[k] = static_cast<uint8_t>(k + 1);
        dialog.philipsColour[k] = 0x100000u * static_cast<unsigned>(k + 1);
        dialog.philipsContrast[k] = static_cast<uint8_t>(10 + k);
    }
    dialog.iauthorMinimumInterval = 321;
    dialog.philipsFrameRate = 1;
    dialog.philipsDropFrame = false;
    dialog.philipsUseBmpColour = false;
    dialog.sonicFrameRate = 1;
    dialog.sonicDropFrame = true;
    dialog.subViewer1.title = "from a stale copy";
    dialog.indexOffset = 99;

    d.convertToFormat(OutputFormat::SubViewer2, dialog);
    const OutputSettings& s = d.settings();
    EXPECT_EQ(d.format(), OutputFormat::SubViewer2);
    EXPECT_TRUE(s.ovtExtended);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.iauthorColour[k], dialog.iauthorColour[k]) << k;
        EXPECT_EQ(s.iauthorBlend[k], dialog.iauthorBlend[k]) << k;
        EXPECT_EQ(s.philipsColour[k], dialog.philipsColour[k]) << k;
        EXPECT_EQ(s.philipsContrast[k], dialog.philipsContrast[k]) << k;
    }
    EXPECT_EQ(s.iauthorMinimumInterval, 321);
    EXPECT_EQ(s.philipsFrameRate, 1);
    EXPECT_FALSE(s.philipsDropFrame);
    EXPECT_FALSE(s.philipsUseBmpColour);
    EXPECT_EQ(s.sonicFrameRate, 1);
    EXPECT_TRUE(s.sonicDropFrame);
    // Page texts and the offset are read live, never copied.
    EXPECT_EQ(s.subViewer1.title, "kept");
    EXPECT_EQ(s.indexOffset, 5);
    // The proposed save name follows the new format; the header is shown.
    EXPECT_EQ(d.proposedFileName(), "New File.sub");
    EXPECT_EQ(d.displayLines().size(), 15u);
    EXPECT_FALSE(d.modified());  // a header alone renders no entry
}

TEST(ConvertToFormat, SonicWithNtscDropFrameLeavesThePhilipsSettingsAlone) {
    SubtitleDocument d = newDocument();
    d.appendEntry({"Hi"}, false, {}, tc(0, 1, 2, 0), tc(0, 1, 0, 0));
    OutputSettings dialog = d.settings();
    const uint8_t philipsRate = dialog.philipsFrameRate;
    const bool philipsDrop = dialog.philipsDropFrame;
    dialog.sonicFrameRate = 1;
    dialog.sonicDropFrame = true;
    d.convertToFormat(OutputFormat::Sonic, dialog);
    EXPECT_EQ(d.settings().philipsFrameRate, philipsRate);
    EXPECT_EQ(d.settings().philipsDropFrame, philipsDrop);
    EXPECT_EQ(d.displayLines(), (Lines{"0001  00:01:00:02  00:01:02:00  Hi", ""}));
    EXPECT_EQ(d.proposedFileName(), "New File.txt");
}

TEST(ConvertToFormat, IAuthorPageTurnsTheExtendedChoiceOnForLater) {
    SubtitleDocument d = newDocument();
    d.appendEntry({"a.bmp"}, false, {1, 2, 3, 4}, tc(0, 0, 2, 0), tc(0, 0, 1, 0));
    OutputSettings dialog = d.settings();
    dialog.ovtExtended = false;
    d.convertToFormat(OutputFormat::IAuthor, dialog);
    EXPECT_TRUE(d.settings().ovtExtended);
    EXPECT_EQ(d.displayLines()[1], "00:00:01,000 --> 00:00:02,000  X1:001 X2:003 Y1:002 Y2:004");
    // Back to the own format: the rectangles stay until the box is cleared.
    d.convertToFormat(OutputFormat::Orvane, d.settings());
    EXPECT_EQ(d.displayLines()[1], "00:00:01,000 --> 00:00:02,000  X1:001 X2:003 Y1:002 Y2:004");
    dialog = d.settings();
    dialog.ovtExtended = false;
    d.convertToFormat(OutputFormat::Orvane, dialog);
    EXPECT_EQ(d.displayLines()[1], "00:00:01,000 --> 00:00:02,000");
}

TEST(ConvertToFormat, EmptyDocumentShowsOnlyTheFormatsHeader) {
    SubtitleDocument d = newDocument();
    d.selectFormat(OutputFormat::SubViewer1);
    ASSERT_EQ(d.displayLines().size(), 16u);
    EXPECT_EQ(d.displayLines().front(), "[TITLE]");
    EXPECT_EQ(d.displayLines().back(), "******** START SCRIPT ********");
    // Saving it writes the header and the footer.
    const Lines saved = d.savedLines();
    ASSERT_EQ(saved.size(), 18u);
    EXPECT_EQ(Lines(saved.end() - 2, saved.end()),
              (Lines{"[END]", "******** End Script ********"}));

    d.selectFormat(OutputFormat::SubViewer2);
    EXPECT_EQ(d.displayLines().size(), 15u);
    d.selectFormat(OutputFormat::Philips);
    EXPECT_EQ(d.displayLines().back(), "[LIST]");
    for (OutputFormat f : {OutputFormat::Orvane, OutputFormat::IAuthor, OutputFormat::Sonic}) {
        d.selectFormat(f);
        EXPECT_TRUE(d.displayLines().empty()) << static_cast<int>(f);
    }
}

TEST(ConvertToFormat, ClearingInSubViewer1ShowsTheHeaderAgain) {
    SubtitleDocument d = newDocument();
    d.selectFormat(OutputFormat::SubViewer1);
    d.appendEntry({"x"}, true, {}, tc(0, 0, 2, 0), tc(0, 0, 1, 0));
    d.setDocumentName("/films/part one.sub");
    d.clear();
    EXPECT_EQ(d.displayLines().size(), 16u);
    EXPECT_EQ(d.caption(), "Subtitles - New File -");
    EXPECT_EQ(d.format(), OutputFormat::SubViewer1);
}

TEST(ConvertToFormat, SelectingWithoutTheDialogKeepsTheSettings) {
    SubtitleDocument d = newDocument();
    d.settings().philipsFrameRate = 1;
    d.settings().philipsContrast[0] = 7;
    d.settings().ovtExtended = false;
    d.selectFormat(OutputFormat::Philips);
    EXPECT_EQ(d.format(), OutputFormat::Philips);
    EXPECT_EQ(d.settings().philipsFrameRate, 1);
    EXPECT_EQ(d.settings().philipsContrast[0], 7);
    EXPECT_FALSE(d.settings().ovtExtended);
    EXPECT_EQ(d.displayLines()[6], "FRAMERATE\tNTSC");
    d.selectFormat(OutputFormat::IAuthor);
    EXPECT_TRUE(d.settings().ovtExtended);
    EXPECT_EQ(d.saveFilter(), "IAuthor OGT File (*.txt)|*.txt|All|*.*");
}

TEST(ConvertToFormat, PalIgnoresACheckedDropFrameBox) {
    SubtitleDocument d = newDocument();
    d.appendEntry({"x"}, false, {}, tc(0, 1, 0, 40), tc(0, 1, 0, 0));
    OutputSettings dialog = d.settings();
    dialog.sonicFrameRate = 1;
    dialog.sonicDropFrame = true;
    d.convertToFormat(OutputFormat::Sonic, dialog);
    EXPECT_EQ(d.displayLines()[0], "0001  00:01:00:02  00:01:00:02  x");
    dialog.sonicFrameRate = 0;  // the box is disabled but stays checked
    d.convertToFormat(OutputFormat::Sonic, dialog);
    EXPECT_TRUE(d.settings().sonicDropFrame);
    EXPECT_EQ(d.displayLines()[0], "0001  00:01:00:00  00:01:00:01  x");
}

// --- replace last rendering ------------------------------------------------

// The stream side closes an open stop by removing the last entry's lines and
// rendering it again; the display must equal a fresh rebuild in every format.
TEST(ReplaceLastRendering, ClosingAnOpenStopMatchesAFullRebuildInEveryFormat) {
    for (OutputFormat f : kAllFormats) {
        SubtitleDocument d = newDocument();
        d.selectFormat(f);
        d.settings().subViewer1.roundToSeconds = false;
        d.appendEntry({"one", "two"}, true, {1, 2, 3, 4}, tc(0, 0, 2, 0), tc(0, 0, 1, 0));
        d.appendEntry({"three", "four", "five"}, true, {5, 6, 7, 8}, {}, tc(0, 0, 5, 0));
        ASSERT_TRUE(d.closeOpenStop(tc(0, 0, 7, 250)));
        const Lines replaced = d.displayLines();
        d.rebuildDisplay();
        EXPECT_EQ(replaced, d.displayLines()) << static_cast<int>(f);
    }
}

TEST(ReplaceLastRendering, SubViewer1RemovesTheGapLinesWithTheEntry) {
    SubtitleDocument d = newDocument();
    d.selectFormat(OutputFormat::SubViewer1);
    d.appendEntry({"one"}, true, {}, tc(0, 0, 2, 0), tc(0, 0, 1, 0));
    d.appendEntry({"two"}, true, {}, {}, tc(0, 0, 5, 0));
    ASSERT_EQ(d.displayLines().size(), 16u + 2 + 4);
    d.replaceLastRendering();
    EXPECT_EQ(d.displayLines().size(), 16u + 2);
    d.entry(2).stop = tc(0, 0, 6, 0);
    d.renderEntry(2, true);
    EXPECT_EQ(Lines(d.displayLines().begin() + 18, d.displayLines().end()),
              (Lines{"[00:00:02]", "", "[00:00:05]", "two"}));
}

// --- the split range -------------------------------------------------------

TEST(SplitRange, StopBeforeStartIsRefusedOnlyWhileSplitting) {
    SubtitleDocument d = newDocument();
    d.appendEntry({"x"}, false, {}, tc(0, 0, 2, 0), tc(0, 0, 1, 0));
    EXPECT_FALSE(d.applySplitRange(true, tc(0, 0, 10, 0), tc(0, 0, 9, 999)));
    EXPECT_FALSE(d.splitRange().enabled);
    EXPECT_TRUE(d.splitRange().start.isZero());
    EXPECT_TRUE(d.displayLines().empty());  // nothing rebuilt
    // Unchecked, the times are kept for the next time the box is checked.
    EXPECT_TRUE(d.applySplitRange(false, tc(0, 0, 10, 0), tc(0, 0, 9, 0)));
    EXPECT_EQ(d.splitRange().start, tc(0, 0, 10, 0));
    EXPECT_EQ(d.splitRange().stop, tc(0, 0, 9, 0));
    EXPECT_EQ(d.displayLines().size(), 4u);
    // Start equal to stop is accepted and renders nothing.
    EXPECT_TRUE(d.applySplitRange(true, tc(0, 0, 1, 0), tc(0, 0, 1, 0)));
    EXPECT_TRUE(d.displayLines().empty());
    EXPECT_EQ(d.shownIndex(), 1u);
}

TEST(SplitRange, EntriesAreLimitedCutAndShiftedButKeepTheirNumbers) {
    SubtitleDocument d = newDocument();
    d.settings().indexOffset = 100;
    d.appendEntry({"before"}, false, {}, tc(0, 0, 9, 500), tc(0, 0, 9, 0));
    d.appendEntry({"at start"}, false, {}, tc(0, 0, 12, 0), tc(0, 0, 10, 0));
    d.appendEntry({"runs over"}, false, {}, tc(0, 0, 25, 0), tc(0, 0, 19, 0));
    d.appendEntry({"at stop"}, false, {}, tc(0, 0, 21, 0), tc(0, 0, 20, 0));
    ASSERT_TRUE(d.applySplitRange(true, tc(0, 0, 10, 0), tc(0, 0, 20, 0)));
    EXPECT_EQ(d.displayLines(), (Lines{"102", "00:00:00,000 --> 00:00:02,000", "at start", "",  //
                                       "103", "00:00:09,000 --> 00:00:10,000", "runs over", ""}));
    EXPECT_EQ(d.shownIndex(), 4u);  // the count, though the last was left out
    d.selectFormat(OutputFormat::Sonic);
    EXPECT_EQ(d.displayLines()[0], "0002  00:00:00:00  00:00:02:00  at start");
    EXPECT_EQ(d.displayLines()[2], "0003  00:00:09:00  00:00:10:00  runs over");
}

TEST(SplitRange, SubViewer1GapLinesFollowTheShiftedPreviousEntry) {
    SubtitleDocument d = newDocument();
    d.settings().subViewer1.roundToSeconds = false;
    d.selectFormat(OutputFormat::SubViewer1);
    d.appendEntry({"outside"}, false, {}, tc(0, 0, 8, 0), tc(0, 0, 5, 0));
    d.appendEntry({"first"}, false, {}, tc(0, 0, 13, 0), tc(0, 0, 11, 0));
    d.appendEntry({"second"}, false, {}, tc(0, 0, 16, 0), tc(0, 0, 15, 0));
    ASSERT_TRUE(d.applySplitRange(true, tc(0, 0, 10, 0), tc(0, 1, 0, 0)));
    // The entry before the range writes nothing, so the first one in it
    // gets no gap; the next gap is measured in the shifted time base.
    EXPECT_EQ(Lines(d.displayLines().begin() + 16, d.displayLines().end()),
              (Lines{"[00:00:01]", "first", "[00:00:03]", "", "[00:00:05]", "second"}));
}

TEST(SplitRange, TheSplitRangeRestrictsAnEntry) {
    const SubtitleEntry e{tc(0, 0, 19, 0), tc(0, 0, 25, 0), {"x"}, {}};
    EXPECT_EQ(restrictToSplitRange({}, e), e);  // disabled: unchanged
    const auto cut = restrictToSplitRange({true, {}, tc(0, 0, 20, 0)}, e);
    ASSERT_TRUE(cut);  // a zero start shifts nothing
    EXPECT_EQ(cut->start, tc(0, 0, 19, 0));
    EXPECT_EQ(cut->stop, tc(0, 0, 20, 0));
    // An open stop stays open rather than going negative.
    const SubtitleEntry open{tc(0, 0, 19, 0), {}, {"x"}, {}};
    EXPECT_EQ(restrictToSplitRange({true, tc(0, 0, 10, 0), tc(0, 0, 20, 0)}, open)->stop,
              TimeCode{});
}

TEST(SplitBar, ClampsToTheFileAndTreatsAnEmptyFileAsOneSecond) {
    // Empty document, box unchecked: (0, E, E) with E = 0 fills the whole bar.
    SplitBar b = splitBar({}, {}, {}, 10, 300);
    EXPECT_EQ(b.fillLeft, 10);
    EXPECT_EQ(b.fillWidth, 300);
    EXPECT_EQ(b.endText, "00:00:00,000");
    // A 100 s file, 25 s to 50 s: a quarter in, a quarter wide.
    b = splitBar(tc(0, 0, 25, 999), tc(0, 0, 50, 0), tc(0, 1, 40, 0), 10, 400);
    EXPECT_EQ(b.fillLeft, 110);
    EXPECT_EQ(b.fillWidth, 100);
    EXPECT_EQ(b.startText, "00:00:25,999");  // labels keep the full times
    // A stop past the end is held at the end; a start past it too.
    b = splitBar(tc(0, 3, 0, 0), tc(0, 5, 0, 0), tc(0, 1, 40, 0), 0, 400);
    EXPECT_EQ(b.fillLeft, 400);
    EXPECT_EQ(b.fillWidth, 0);
    EXPECT_EQ(b.stopText, "00:05:00,000");
    // A stop before the start draws an empty fill, not a negative one.
    b = splitBar(tc(0, 0, 50, 0), tc(0, 0, 25, 0), tc(0, 1, 40, 0), 0, 400);
    EXPECT_EQ(b.fillLeft, 200);
    EXPECT_EQ(b.fillWidth, 0);
    EXPECT_EQ(centredLabelLeft(200, 41), 180);
}

TEST(SplitBar, EndOfFileIsTheLastStop) {
    EXPECT_EQ(splitEndOfFile({}), TimeCode{});
    const std::vector<SubtitleEntry> es{{tc(0, 0, 1, 0), tc(0, 0, 9, 0), {"a"}, {}},
                                        {tc(0, 0, 5, 0), tc(0, 0, 7, 0), {"b"}, {}}};
    EXPECT_EQ(splitEndOfFile(es), tc(0, 0, 7, 0));
}

}  // namespace
}  // namespace orvane
