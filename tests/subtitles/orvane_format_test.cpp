#include "subtitles/orvane_format.h"

#include <gtest/gtest.h>

#include "subtitles/subtitle_document.h"

namespace orvane {
namespace {

SubtitleEntry entry(int startMs, int stopMs, std::vector<std::string> lines, DisplayArea r = {}) {
    return SubtitleEntry{timeCodeFromMs(startMs), timeCodeFromMs(stopMs), std::move(lines), r};
}

std::vector<std::string> render(const std::vector<SubtitleEntry>& entries, bool extended,
                                uint16_t offset = 0) {
    std::vector<std::string> out;
    for (size_t i = 0; i < entries.size(); ++i) {
        auto b = orvaneEntryLines(entries[i], offset + i + 1, extended);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

OrvaneReadResult read(const std::vector<std::string>& lines, std::vector<unsigned>* asked = nullptr,
                      ReadErrorAction answer = ReadErrorAction::Ignore) {
    return readOrvaneLines(lines, [&](unsigned n) {
        if (asked) asked->push_back(n);
        return answer;
    });
}

TEST(OrvaneFormat, BlocksHaveNumberTimeTextAndAnEmptyLine) {
    const auto e = entry(3723004, 3725500, {"Hello,", "world!"}, {7, 500, 1000, 540});
    EXPECT_EQ(
        orvaneEntryLines(e, 12, false),
        (std::vector<std::string>{"12", "01:02:03,004 --> 01:02:05,500", "Hello,", "world!", ""}));
    // Extended: X1, X2, Y1, Y2 in three digits, cut to the first three.
    EXPECT_EQ(orvaneTimeLine(e, true),
              "01:02:03,004 --> 01:02:05,500  X1:007 X2:100 Y1:500 Y2:540");
    EXPECT_EQ(orvaneTimeLine(e, true).size(), 58u);
    EXPECT_EQ(orvaneTimeLine(e, false).size(), 29u);
}

TEST(OrvaneFormat, ReadsBackWhatItWrites) {
    const std::vector<SubtitleEntry> entries{
        entry(1000, 2500, {"Caf\xE9 cr\xE8me"}, {100, 450, 600, 520}),
        entry(3000, 0, {"One", "Two"}, {0, 0, 719, 575}),
        entry(359999000, 359999999, {"  spaced  "}, {12, 34, 56, 78})};
    for (bool extended : {false, true}) {
        const auto r = read(render(entries, extended));
        ASSERT_EQ(r.entries.size(), 3u);
        EXPECT_EQ(r.indexOffset, 0);
        EXPECT_EQ(r.extended, extended);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(r.entries[i].start, entries[i].start);
            EXPECT_EQ(r.entries[i].stop, entries[i].stop);
            EXPECT_EQ(r.entries[i].rect, extended ? entries[i].rect : DisplayArea{});
        }
        EXPECT_EQ(r.entries[1].lines, entries[1].lines);
        EXPECT_EQ(r.entries[2].lines, std::vector<std::string>{"spaced"});  // lines are trimmed
    }
}

TEST(OrvaneFormat, TheFirstNumberSetsTheOffset) {
    auto lines = render({entry(0, 1000, {"a"}), entry(2000, 3000, {"b"})}, false, 100);
    EXPECT_EQ(lines[0], "101");
    EXPECT_EQ(read(lines).indexOffset, 100);
    lines[0] = "0";
    EXPECT_EQ(read(lines).indexOffset, 0);
    lines[0] = "  +7 ";
    EXPECT_EQ(read(lines).indexOffset, 6);
}

TEST(OrvaneFormat, ErrorsAskWithTheNumberAfterTheLastOne) {
    // A file ending with two empty lines: the extra one is read as a number.
    auto lines = render({entry(0, 1000, {"a"}), entry(2000, 3000, {"b"})}, false);
    lines.push_back("");
    std::vector<unsigned> asked;
    auto r = read(lines, &asked);
    EXPECT_EQ(asked, std::vector<unsigned>{3});
    EXPECT_EQ(r.entries.size(), 2u);
    EXPECT_FALSE(r.cancelled);

    // A bad number: the next line is taken as the next number line.
    std::vector<std::string> bad{"x1", "1", "00:00:01,000 --> 00:00:02,000", "ok", ""};
    asked.clear();
    r = read(bad, &asked);
    EXPECT_EQ(asked, std::vector<unsigned>{1});
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].lines[0], "ok");

    // Cancel stops reading; Yes to all asks no more.
    std::vector<std::string> twice{"a", "b", "1", "00:00:01,000 --> 00:00:02,000", "ok", ""};
    asked.clear();
    r = read(twice, &asked, ReadErrorAction::Cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(r.entries.empty());
    asked.clear();
    r = read(twice, &asked, ReadErrorAction::IgnoreAll);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(r.entries.size(), 1u);

    // A coordinate that is not a number: the text line after it is then
    // read as a number line, and so is the empty line.
    std::vector<std::string> coord{
        "1", "00:00:01,000 --> 00:00:02,000  X1:1x2 X2:300 Y1:400 Y2:450", "t", ""};
    asked.clear();
    r = read(coord, &asked);
    EXPECT_EQ(asked, (std::vector<unsigned>{2, 2, 2}));
    EXPECT_TRUE(r.entries.empty());
}

TEST(OrvaneFormat, TimeLinesAreReadAtFixedColumns) {
    // 31 characters: plain, rectangle zero, extended off.
    std::vector<std::string> plain{"1", "00:00:01,000 --> 00:00:02,000 x", "t", ""};
    auto r = read(plain);
    EXPECT_FALSE(r.extended);
    EXPECT_EQ(r.entries[0].rect, DisplayArea{});
    // Unreadable times are zero, silently.
    std::vector<std::string> junk{"1", "xx:00:01,000 --> 00:00:02,000", "t", ""};
    r = read(junk);
    EXPECT_EQ(r.entries[0].start, TimeCode{});
    EXPECT_EQ(r.entries[0].stop, (TimeCode{0, 0, 2, 0}));
    // Without an X the rectangle of the entry before is kept.
    std::vector<std::string> keep{"1", "00:00:01,000 --> 00:00:02,000  X1:010 X2:020 Y1:030 Y2:040",
                                  "a", "",
                                  "2", "00:00:03,000 --> 00:00:04,000  Q",
                                  "b", ""};
    r = read(keep);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[1].rect, (DisplayArea{10, 30, 20, 40}));
    EXPECT_TRUE(r.extended);
    // A block without text is skipped and the next one read normally.
    std::vector<std::string> empty{
        "1", "00:00:01,000 --> 00:00:02,000", "", "2", "00:00:03,000 --> 00:00:04,000", "b", ""};
    r = read(empty);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].lines[0], "b");
}

TEST(SubtitleDocument, RendersAppendsAndClosesOpenStops) {
    SubtitleDocument d;
    EXPECT_EQ(d.caption(), "Subtitles - New File -");
    EXPECT_EQ(d.proposedFileName(), "New File.ovt");
    EXPECT_EQ(d.appendEntry({}, true, {}, {}, {}), SubtitleDocument::AppendResult::NoLines);
    EXPECT_FALSE(d.modified());
    d.appendEntry({"first"}, true, {1, 2, 3, 4}, TimeCode{}, {0, 0, 1, 0});
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(d.displayLines(),
              (std::vector<std::string>{"1", "00:00:01,000 --> 00:00:00,000", "first", ""}));
    // The next unit's start closes the open stop and re-renders the entry.
    EXPECT_TRUE(d.closeOpenStop({0, 0, 3, 0}));
    EXPECT_EQ(d.displayLines()[1], "00:00:01,000 --> 00:00:03,000");
    EXPECT_EQ(d.displayLines().size(), 4u);
    EXPECT_FALSE(d.closeOpenStop({0, 0, 9, 0}));
    d.appendEntry({"a", "b"}, true, {}, {0, 0, 5, 0}, {0, 0, 4, 0});
    EXPECT_EQ(d.displayLines().size(), 9u);
    d.replaceLastRendering();
    EXPECT_EQ(d.displayLines().size(), 4u);
    d.settings().ovtExtended = true;
    d.settings().indexOffset = 10;
    d.rebuildDisplay();
    EXPECT_EQ(d.displayLines()[0], "11");
    EXPECT_EQ(d.displayLines()[1], "00:00:01,000 --> 00:00:03,000  X1:001 X2:003 Y1:002 Y2:004");
    EXPECT_EQ(d.shownIndex(), 2u);
    d.clear();
    EXPECT_EQ(d.count(), 0u);
    EXPECT_TRUE(d.displayLines().empty());
    EXPECT_FALSE(d.modified());
}

TEST(SubtitleDocument, SplitRangeLimitsAndShiftsTheRendering) {
    SubtitleDocument d;
    d.splitRange() = {true, {0, 0, 10, 0}, {0, 0, 20, 0}};
    d.appendEntry({"before"}, true, {}, {0, 0, 9, 500}, {0, 0, 9, 0});
    EXPECT_TRUE(d.displayLines().empty());
    d.appendEntry({"at start"}, true, {}, {0, 0, 12, 0}, {0, 0, 10, 0});
    d.appendEntry({"runs over"}, true, {}, {0, 0, 25, 0}, {0, 0, 19, 0});
    d.appendEntry({"at stop"}, true, {}, {0, 0, 21, 0}, {0, 0, 20, 0});
    EXPECT_EQ(d.displayLines().size(), 8u);
    EXPECT_EQ(d.displayLines()[1], "00:00:00,000 --> 00:00:02,000");
    EXPECT_EQ(d.displayLines()[5], "00:00:09,000 --> 00:00:10,000");
    EXPECT_EQ(d.shownIndex(), 4u);
    // The entry left out produced no lines, and replacing it removes none.
    d.replaceLastRendering();
    EXPECT_EQ(d.displayLines().size(), 8u);
}

TEST(SubtitleDocument, MoreThanTenLinesAreKeptInTheTenth) {
    SubtitleDocument d;
    std::vector<std::string> lines;
    for (int i = 1; i <= 12; ++i) lines.push_back("l" + std::to_string(i));
    d.appendEntry(lines, false, {}, {}, {});
    ASSERT_EQ(d.entry(1).lines.size(), 10u);
    EXPECT_EQ(d.entry(1).lines[9], "l10 l11 l12");
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(OrvaneFormat, EveryDocumentSurvivesItsOwnRoundTrip) {
    const int hour = 3600000;
    const std::vector<SubtitleEntry> entries = {
        // A glyph learned as nothing leaves lines of blanks only.
        entry(1000, 2000, {"   ", "kept"}),
        entry(3000, 4000, {""}),
        entry(5000, 6000, {"next"}),
        // 100 hours and more widen the time line.
        entry(100 * hour, 100 * hour + 1500, {"late"}, {7, 500, 700, 540}),
        entry(255 * hour, 255 * hour + 59 * 60000, {"latest"}, {8, 501, 701, 541}),
    };
    for (bool extended : {false, true}) {
        std::vector<unsigned> asked;
        const OrvaneReadResult r = read(render(entries, extended), &asked);
        EXPECT_TRUE(asked.empty());
        // The entry of blanks only carried nothing and is left out.
        ASSERT_EQ(r.entries.size(), 4u);
        EXPECT_EQ(r.entries[0].lines, std::vector<std::string>{"kept"});
        EXPECT_EQ(r.entries[1].lines, std::vector<std::string>{"next"});
        for (size_t i : {2u, 3u}) {
            EXPECT_EQ(r.entries[i].start, entries[i + 1].start);
            EXPECT_EQ(r.entries[i].stop, entries[i + 1].stop);
            EXPECT_EQ(r.entries[i].lines, entries[i + 1].lines);
            if (extended) {
                EXPECT_EQ(r.entries[i].rect, entries[i + 1].rect);
            }
        }
        EXPECT_EQ(r.extended, extended);
    }
}

TEST(OrvaneFormat, AByteOrderMarkBeforeTheFirstNumberIsSkipped) {
    const OrvaneReadResult r =
        read({"\xEF\xBB\xBF"
              "7",
              "00:00:01,000 --> 00:00:02,000", "first", ""});
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].lines, std::vector<std::string>{"first"});
    EXPECT_EQ(r.indexOffset, 6u);
}

}  // namespace
}  // namespace orvane
