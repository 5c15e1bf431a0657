// The output writers: their rules one by one, and whole saved files compared
// byte for byte with hand-written files in tests/data/golden/.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "subtitles/iauthor_writer.h"
#include "subtitles/philips_writer.h"
#include "subtitles/sonic_writer.h"
#include "subtitles/subtitle_document.h"
#include "subtitles/subviewer_writer.h"
#include "subtitles/text_file.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;

using Lines = std::vector<std::string>;

TimeCode tc(int h, int m, int s, int ms) {
    return {static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(s),
            static_cast<uint16_t>(ms)};
}

SubtitleEntry entry(Lines lines, TimeCode start, TimeCode stop, DisplayArea rect = {}) {
    return {start, stop, std::move(lines), rect};
}

// Saves the document as "Save As" would and compares with the golden file.
void expectSavedAs(const SubtitleDocument& d, const std::string& golden) {
    test::TempDir dir;
    const std::string path = dir.file("out");
    writeTextLines(path, d.savedLines());
    EXPECT_EQ(readBytes(path), readBytes(std::string(ORVANE_TEST_DATA) + "/golden/" + golden))
        << golden;
}

SubtitleDocument documentIn(OutputFormat f) {
    SubtitleDocument d;
    d.setDateTimeSource([] { return std::string("2026-12-08 07:41:20"); });
    d.selectFormat(f);
    return d;
}

// --- SubViewer 1 -----------------------------------------------------------

TEST(SubViewer1Writer, RoundsHalfASecondDownAndMoreUp) {
    EXPECT_EQ(roundToSeconds(tc(0, 0, 1, 500)), tc(0, 0, 1, 0));
    EXPECT_EQ(roundToSeconds(tc(0, 0, 1, 501)), tc(0, 0, 2, 0));
    EXPECT_EQ(roundToSeconds(tc(0, 59, 59, 900)), tc(1, 0, 0, 0));
    SubViewer1Settings s;
    EXPECT_EQ(subViewer1EntryLines(entry({"x"}, tc(0, 0, 1, 501), {}), {}, s)[0], "[00:00:02]");
    s.roundToSeconds = false;
    EXPECT_EQ(subViewer1EntryLines(entry({"x"}, tc(0, 0, 1, 999), {}), {}, s)[0], "[00:00:01]");
}

TEST(SubViewer1Writer, GapLinesEndThePreviousSubtitleBeforeAPause) {
    SubViewer1Settings s;
    s.roundToSeconds = false;
    const SubtitleEntry e = entry({"x"}, tc(0, 0, 4, 401), {});
    // Starting exactly at the previous stop: no gap.
    EXPECT_EQ(subViewer1EntryLines(entry({"x"}, tc(0, 0, 4, 400), {}), tc(0, 0, 4, 400), s),
              (Lines{"[00:00:04]", "x"}));
    // One millisecond later: the gap lines, even though both print the same second.
    EXPECT_EQ(subViewer1EntryLines(e, tc(0, 0, 4, 400), s),
              (Lines{"[00:00:04]", "", "[00:00:04]", "x"}));
    // The first entry has nothing before it.
    EXPECT_EQ(subViewer1EntryLines(e, std::nullopt, s), (Lines{"[00:00:04]", "x"}));
    // With rounding a pause shorter than the rounding disappears.
    s.roundToSeconds = true;
    EXPECT_EQ(subViewer1EntryLines(entry({"x"}, tc(0, 0, 4, 450), {}), tc(0, 0, 4, 400), s),
              (Lines{"[00:00:04]", "x"}));
}

TEST(SubViewer1Writer, LinesBeyondTheSecondJoinWithABlankOrABar) {
    SubViewer1Settings s;
    const SubtitleEntry abc = entry({"A", "B", "C"}, {}, {});
    EXPECT_EQ(subViewer1EntryLines(abc, {}, s)[1], "A|B C");
    s.joinLinesBeyondSecond = false;
    EXPECT_EQ(subViewer1EntryLines(abc, {}, s)[1], "A|B|C");
    EXPECT_EQ(subViewer1EntryLines(entry({"only"}, {}, {}), {}, s)[1], "only");
}

TEST(SubViewer1Writer, HeaderCarriesTheDelayButTimesStay) {
    SubViewer1Settings s;
    s.delay = -10;
    const Lines h = subViewer1HeaderLines(s);
    ASSERT_EQ(h.size(), 16u);
    EXPECT_EQ(h[10], "[DELAY]");
    EXPECT_EQ(h[11], "-10");
    EXPECT_EQ(subViewer1EntryLines(entry({"x"}, tc(0, 0, 3, 0), {}), {}, s)[0], "[00:00:03]");
}

TEST(SubViewer1Writer, SavedFileMatchesGolden) {
    SubtitleDocument d = documentIn(OutputFormat::SubViewer1);
    d.settings().subViewer1.title = "My Film";
    d.settings().subViewer1.delay = -10;
    d.rebuildDisplay();  // the header reads the page when it runs
    d.appendEntry({"One"}, true, {}, tc(0, 0, 4, 400), tc(0, 0, 1, 500));
    d.appendEntry({"Two", "Lines"}, true, {}, tc(0, 0, 6, 0), tc(0, 0, 4, 450));
    d.appendEntry({"A", "B", "C"}, true, {}, tc(0, 0, 7, 501), tc(0, 0, 6, 0));
    d.appendEntry({"Four"}, true, {}, tc(0, 59, 59, 900), tc(0, 0, 9, 501));
    d.appendEntry({"Five"}, true, {}, tc(1, 0, 5, 0), tc(1, 0, 3, 0));
    expectSavedAs(d, "subviewer1.sub");
}

TEST(SubViewerWriters, HundredHoursAndMoreKeepTheirFieldsApart) {
    SubViewer1Settings s;
    EXPECT_EQ(subViewer1EntryLines(entry({"x"}, tc(100, 2, 3, 0), {}), {}, s)[0], "[100:02:03]");
    EXPECT_EQ(subViewer2EntryLines(entry({"x"}, tc(100, 2, 3, 456), tc(101, 0, 0, 0)))[0],
              "100:02:03.45,101:00:00.00");
}

// --- SubViewer 2 -----------------------------------------------------------

TEST(SubViewer2Writer, FontLineStylePrecedenceAndColourOrder) {
    FontDescription f;
    EXPECT_EQ(subViewer2FontLine(f), "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]18,[FONT]Arial");
    f = {"Times New Roman", 12, false, false, false, false, 0x0000FF};
    EXPECT_EQ(subViewer2FontLine(f), "[COLF]&H0000FF,[STYLE]no,[SIZE]12,[FONT]Times New Roman");
    f.strikeOut = true;
    EXPECT_EQ(subViewer2FontLine(f).substr(15, 10), "[STYLE]st,");
    f.underline = true;
    EXPECT_EQ(subViewer2FontLine(f).substr(15, 10), "[STYLE]ud,");
    f.bold = true;
    EXPECT_EQ(subViewer2FontLine(f).substr(15, 10), "[STYLE]bd,");
    f.italic = true;
    EXPECT_EQ(subViewer2FontLine(f).substr(15, 10), "[STYLE]it,");
    f.colour = 0x12AB34CD;  // only the low 24 bits
    EXPECT_EQ(subViewer2FontLine(f).substr(0, 14), "[COLF]&HAB34CD");
}

TEST(SubViewer2Writer, HundredthsAreTruncatedNotRounded) {
    EXPECT_EQ(subViewer2EntryLines(entry({"A", "B", "C"}, tc(1, 2, 3, 456), tc(1, 2, 4, 999))),
              (Lines{"01:02:03.45,01:02:04.99", "A[br]B[br]C", ""}));
    EXPECT_EQ(subViewer2EntryLines(entry({"x"}, tc(0, 0, 0, 9), tc(0, 0, 0, 10)))[0],
              "00:00:00.00,00:00:00.01");
}

TEST(SubViewer2Writer, SavedFileMatchesGolden) {
    SubtitleDocument d = documentIn(OutputFormat::SubViewer2);
    auto& s = d.settings().subViewer2;
    s.title = "My Film";
    s.comment = "cd 1";
    s.delay = 250;
    s.cdTrack = 2;
    d.rebuildDisplay();  // the header reads the page when it runs
    d.appendEntry({"One"}, true, {}, tc(0, 0, 3, 456), tc(0, 0, 1, 0));
    d.appendEntry({"A", "B", "C"}, true, {}, tc(1, 2, 5, 999), tc(1, 2, 3, 456));
    expectSavedAs(d, "subviewer2.sub");
}

// --- IAuthor ---------------------------------------------------------------

TEST(IAuthorWriter, TimesAreAHundredMillisecondsLaterInTruncatedHundredths) {
    EXPECT_EQ(iauthorTimeText(tc(0, 1, 2, 345)), "62.44");
    EXPECT_EQ(iauthorTimeText(tc(0, 0, 0, 0)), "0.10");
    EXPECT_EQ(iauthorTimeText(tc(0, 0, 0, 909)), "1.00");
    EXPECT_EQ(iauthorTimeText(tc(1, 0, 0, 5)), "3600.10");
}

TEST(IAuthorWriter, ColoursBecomeStudioRangeYCrCb) {
    EXPECT_EQ(yccText(0x000000), "16, 128, 128");
    EXPECT_EQ(yccText(0xFFFFFF), "234, 128, 128");
    // Pure red is the fixed highlight colour 2; pure green truncates to
    // one below the fixed highlight 3 (144, 35, 54).
    EXPECT_EQ(yccText(0x0000FF), "81, 239, 91");
    EXPECT_EQ(yccText(0x00FF00), "143, 35, 54");
    // Blue sits in the high byte; its negative Cr truncates toward zero.
    EXPECT_EQ(yccText(0xFF0000), "40, 111, 239");
}

TEST(IAuthorWriter, MinimumIntervalShortensOnlyCloseNonOverlappingStops) {
    OutputSettings s;
    s.iauthorMinimumInterval = 10;
    auto disableTime = [&s](const TimeCode& nextStart) {
        const std::vector<SubtitleEntry> es{entry({"a.bmp"}, tc(0, 0, 1, 0), tc(0, 0, 5, 0)),
                                            entry({"b.bmp"}, nextStart, tc(0, 0, 9, 0))};
        const Lines script = iauthorScriptLines(es, {}, s, "now");
        return script[3 + 2 * 15];  // page 1, line 16
    };
    EXPECT_EQ(disableTime(tc(0, 0, 5, 5)), "TIME: 5.09 DISABLE_OGT");    // 4995 ms
    EXPECT_EQ(disableTime(tc(0, 0, 5, 10)), "TIME: 5.10 DISABLE_OGT");   // gap = interval
    EXPECT_EQ(disableTime(tc(0, 0, 5, 0)), "TIME: 5.09 DISABLE_OGT");    // touching: 4990 ms
    EXPECT_EQ(disableTime(tc(0, 0, 4, 900)), "TIME: 5.10 DISABLE_OGT");  // overlap
}

TEST(IAuthorWriter, SplitRangeComparesTheNextStartInTheShiftedTimeBase) {
    OutputSettings s;
    s.iauthorMinimumInterval = 10;
    const std::vector<SubtitleEntry> es{entry({"a.bmp"}, tc(0, 0, 10, 0), tc(0, 0, 12, 0)),
                                        entry({"b.bmp"}, tc(0, 0, 12, 5), tc(0, 0, 13, 0))};
    const SplitRange split{true, tc(0, 0, 10, 0), tc(0, 1, 0, 0)};
    const Lines script = iauthorScriptLines(es, split, s, "now");
    EXPECT_EQ(script[3 + 2 * 15], "TIME: 2.09 DISABLE_OGT");
    EXPECT_EQ(script[3 + 2 * 16], "************ Page #1 Finished ***************");
}

TEST(IAuthorWriter, SavedScriptMatchesGoldenWithAndWithoutSplit) {
    SubtitleDocument d = documentIn(OutputFormat::IAuthor);
    d.appendEntry({"sub0001.bmp"}, true, {100, 400, 619, 459}, tc(0, 0, 5, 0), tc(0, 0, 1, 0));
    d.appendEntry({"sub0002.bmp"}, true, {180, 450, 539, 521}, tc(0, 0, 7, 0), tc(0, 0, 5, 5));
    d.appendEntry({"sub0003.bmp"}, true, {0, 0, 719, 575}, tc(0, 1, 2, 345), tc(0, 0, 6, 900));
    d.appendEntry({"gone.bmp"}, true, {}, tc(0, 1, 12, 0), tc(0, 1, 10, 0));
    d.entry(4).lines.clear();  // no text: no page, and no renumbering
    d.appendEntry({"sub0005.bmp"}, true, {0, 0, 9, 9}, tc(0, 1, 21, 0), tc(0, 1, 20, 0));
    expectSavedAs(d, "iauthor.txt");

    ASSERT_TRUE(d.applySplitRange(true, tc(0, 0, 5, 0), tc(0, 1, 0, 0)));
    expectSavedAs(d, "iauthor_split.txt");
}

// --- Philips ---------------------------------------------------------------

TEST(PhilipsWriter, ListNumbersAreThreeDigitFieldsCutToThreeCharacters) {
    OutputSettings s;
    EXPECT_EQ(philipsListLine(
                  entry({"name.bmp"}, tc(0, 0, 1, 480), tc(0, 0, 3, 200), {180, 450, 539, 521}), s),
              "name.bmp 00:00:01:12 00:00:03:05 360 072 180 450");
    EXPECT_EQ(philipsListLine(entry({"w.bmp"}, {}, {}, {7, 1000, 1006, 1099}), s),
              "w.bmp 00:00:00:00 00:00:00:00 100 100 007 100");
}

TEST(PhilipsWriter, HeaderWithoutPaletteGoesFromContrastToTheList) {
    OutputSettings s;
    s.philipsUseBmpColour = true;
    s.philipsFrameRate = 0;
    s.philipsDropFrame = true;
    const Lines h = philipsHeaderLines(s, "now");
    EXPECT_EQ(Lines(h.begin() + 6, h.end()),
              (Lines{"FRAMERATE\tPAL", "CONTRAST\t(0 15 15 15)", "", "[LIST]"}));
    s.philipsFrameRate = 1;
    s.philipsDropFrame = false;
    EXPECT_EQ(philipsHeaderLines(s, "now")[7], "DROPFRAME\tNO");
}

TEST(PhilipsWriter, SavedFilesMatchGolden) {
    SubtitleDocument pal = documentIn(OutputFormat::Philips);
    OutputSettings& p = pal.settings();
    p.philipsTitle = "My Film";
    p.philipsFrameRate = 0;
    p.philipsDropFrame = true;  // ignored at PAL
    p.philipsUseBmpColour = false;
    p.philipsColour[2] = 0x0000FF;
    pal.rebuildDisplay();
    pal.appendEntry({"sub0001.bmp"}, true, {180, 450, 539, 521}, tc(0, 0, 1, 40), tc(0, 0, 1, 39));
    pal.appendEntry({"sub0002.bmp"}, true, {7, 1000, 1006, 1099}, tc(0, 1, 1, 999), tc(0, 1, 0, 0));
    expectSavedAs(pal, "philips_pal_palette.sub");

    SubtitleDocument ntsc = documentIn(OutputFormat::Philips);
    OutputSettings& n = ntsc.settings();
    n.philipsFrameRate = 1;
    n.philipsDropFrame = true;
    n.philipsUseBmpColour = true;
    n.philipsContrast[0] = 1;
    n.philipsContrast[1] = 2;
    n.philipsContrast[2] = 3;
    n.philipsContrast[3] = 4;
    ntsc.rebuildDisplay();
    ntsc.appendEntry({"a.bmp"}, true, {10, 20, 109, 69}, tc(0, 10, 0, 0), tc(0, 1, 0, 0));
    ntsc.appendEntry({"b.bmp"}, true, {0, 0, 0, 0}, tc(0, 0, 1, 999), tc(0, 0, 0, 33));
    ntsc.appendEntry({"c.bmp"}, true, {0, 0, 719, 575}, tc(0, 2, 0, 40), tc(0, 1, 1, 0));
    expectSavedAs(ntsc, "philips_ntsc_drop.sub");
}

// --- Sonic -----------------------------------------------------------------

TEST(SonicWriter, IndexHasFourDigitsAtLeastAndNoOffset) {
    OutputSettings s;
    s.indexOffset = 100;
    EXPECT_EQ(sonicEntryLines(entry({"x"}, tc(0, 0, 1, 0), tc(0, 0, 2, 40)), 12, s),
              (Lines{"0012  00:00:01:00  00:00:02:01  x", ""}));
    EXPECT_EQ(sonicEntryLines(entry({"x"}, {}, {}), 12345, s)[0].substr(0, 7), "12345  ");
}

TEST(SonicWriter, SavedFileMatchesGolden) {
    SubtitleDocument d = documentIn(OutputFormat::Sonic);
    d.settings().sonicFrameRate = 1;
    d.settings().sonicDropFrame = true;
    d.settings().indexOffset = 7;
    d.appendEntry({"Hello"}, true, {}, tc(0, 0, 1, 999), tc(0, 0, 0, 40));
    d.appendEntry({"Two", "lines"}, true, {}, tc(0, 1, 2, 500), tc(0, 1, 0, 0));
    expectSavedAs(d, "sonic_ntsc_drop.txt");
}

}  // namespace
}  // namespace orvane
