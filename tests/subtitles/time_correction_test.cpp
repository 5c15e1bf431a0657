#include "subtitles/time_correction.h"

#include <gtest/gtest.h>

#include <deque>

namespace orvane {
namespace {

// A person answering the offset question from a script (Yes when the
// script runs out) and noting every question.
class ScriptedQuestions : public TimeCorrectionQuestions {
  public:
    bool confirmStartReducedToZero(const TimeCode& start) override {
        asked.push_back(formatTimeCode(start));
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void minusStretchTooLarge() override { ++stretchRefusals; }

    std::deque<bool> answers;
    std::vector<std::string> asked;
    int stretchRefusals = 0;
};

struct Times {
    int64_t start, stop;
    friend bool operator==(const Times&, const Times&) = default;
};

void PrintTo(const Times& t, std::ostream* os) {
    *os << "{" << t.start << ", " << t.stop << "}";
}

SubtitleDocument document(const std::vector<Times>& times,
                          const std::vector<std::string>& lines = {"text"}) {
    SubtitleDocument doc;
    for (const Times& t : times)
        doc.appendEntry(lines, false, {}, timeCodeFromMs(t.stop), timeCodeFromMs(t.start));
    return doc;
}

std::vector<Times> times(const SubtitleDocument& doc) {
    std::vector<Times> out;
    for (const SubtitleEntry& e : doc.entries())
        out.push_back({timeCodeToMs(e.start), timeCodeToMs(e.stop)});
    return out;
}

constexpr int64_t kHour = 3600000;

TEST(TimeOffset, AddsToStartsAndStopsAZeroStopToo) {
    SubtitleDocument doc = document({{10000, 12500}, {20000, 0}});
    ScriptedQuestions q;
    const OffsetOutcome out = applyTimeOffset(doc, 2000, q);
    EXPECT_EQ(out.stoppedAt, 0u);
    EXPECT_EQ(times(doc), (std::vector<Times>{{12000, 14500}, {22000, 2000}}));
    EXPECT_TRUE(q.asked.empty());
}

TEST(TimeOffset, MinusOffsetAsksForEveryStartReachingZeroIncludingExactlyZero) {
    SubtitleDocument doc = document({{3000, 4000}, {5000, 7000}, {5001, 9000}});
    ScriptedQuestions q;
    applyTimeOffset(doc, -5000, q);
    // The question shows the start as it was; Yes puts it to zero and the
    // stop moves by the offset, but not below zero.
    EXPECT_EQ(q.asked, (std::vector<std::string>{"00:00:03,000", "00:00:05,000"}));
    EXPECT_EQ(times(doc), (std::vector<Times>{{0, 0}, {0, 2000}, {1, 4000}}));
}

TEST(TimeOffset, NoEndsThePassLeavingTheRestUnchanged) {
    SubtitleDocument doc = document({{8000, 9000}, {3000, 4000}, {1000, 2000}, {9000, 9500}});
    ScriptedQuestions q;
    q.answers = {false};
    const OffsetOutcome out = applyTimeOffset(doc, -4000, q);
    EXPECT_EQ(out.stoppedAt, 2u);
    EXPECT_EQ(q.asked.size(), 1u);
    EXPECT_EQ(times(doc),
              (std::vector<Times>{{4000, 5000}, {3000, 4000}, {1000, 2000}, {9000, 9500}}));
}

TEST(TimeOffset, StaysWithinTheTimeCodeRangeInsteadOfWrappingHours) {
    SubtitleDocument doc = document({{255 * kHour, 255 * kHour + 1000}});
    ScriptedQuestions q;
    applyTimeOffset(doc, 2 * kHour, q);
    EXPECT_EQ(formatTimeCode(doc.entry(1).start), "255:59:59,999");
    EXPECT_EQ(formatTimeCode(doc.entry(1).stop), "255:59:59,999");
}

TEST(TimeStretch, MinusMovesTheLastStartByExactlyTheStretchAndEarlierTimesInProportion) {
    SubtitleDocument doc = document({{0, 2000}, {30 * 60000, 30 * 60000 + 2000}, {kHour, 0}});
    EXPECT_EQ(applyTimeStretch(doc, 5000, true), StretchResult::Applied);
    EXPECT_EQ(formatTimeCode(doc.entry(2).start), "00:29:57,500");
    EXPECT_EQ(formatTimeCode(doc.entry(3).start), "00:59:55,000");
    // Zero stays zero: the first start, and the open stop of the last entry.
    EXPECT_TRUE(doc.entry(1).start.isZero());
    EXPECT_TRUE(doc.entry(3).stop.isZero());
    EXPECT_EQ(timeCodeToMs(doc.entry(1).stop), 1997);  // 2000 - 2.78
}

TEST(TimeStretch, HalvesRoundToTheEvenMillisecond) {
    // Factor 1/4096: 2048 -> 2048.5, 6144 -> 6145.5, 10240 -> 10242.5.
    SubtitleDocument doc = document({{2048, 6144}, {10240, 10240}, {4096, 4096}});
    ASSERT_EQ(applyTimeStretch(doc, 1, false), StretchResult::Applied);
    EXPECT_EQ(times(doc), (std::vector<Times>{{2048, 6146}, {10242, 10242}, {4097, 4097}}));

    SubtitleDocument minus = document({{2048, 6144}, {4096, 4096}});
    ASSERT_EQ(applyTimeStretch(minus, 1, true), StretchResult::Applied);
    // 2047.5 -> 2048, 6142.5 -> 6142.
    EXPECT_EQ(times(minus), (std::vector<Times>{{2048, 6142}, {4095, 4095}}));

    // +3 ms over an hour: half an hour in moves by exactly 1.5 ms, to the
    // even 1800002 (the time plus its share, not the time times 1 + f,
    // which lands just below the half).
    SubtitleDocument hour = document({{30 * 60000, 0}, {kHour, 0}});
    ASSERT_EQ(applyTimeStretch(hour, 3, false), StretchResult::Applied);
    EXPECT_EQ(timeCodeToMs(hour.entry(1).start), 1800002);
}

TEST(TimeStretch, MinusEqualToTheLastStartZeroesEverythingAndLargerIsRefused) {
    SubtitleDocument equal = document({{1000, 3000}, {4000, 6000}});
    EXPECT_EQ(applyTimeStretch(equal, 4000, true), StretchResult::Applied);
    EXPECT_EQ(times(equal), (std::vector<Times>{{0, 0}, {0, 0}}));

    SubtitleDocument larger = document({{1000, 3000}, {4000, 6000}});
    EXPECT_EQ(applyTimeStretch(larger, 4001, true), StretchResult::MinusTooLarge);
    EXPECT_EQ(times(larger), (std::vector<Times>{{1000, 3000}, {4000, 6000}}));
}

TEST(TimeStretch, ALastStartOfZeroIsRefusedRatherThanDividedBy) {
    SubtitleDocument doc = document({{0, 3000}});
    EXPECT_EQ(applyTimeStretch(doc, 5000, false), StretchResult::NoLength);
    EXPECT_EQ(times(doc), (std::vector<Times>{{0, 3000}}));
}

TEST(Durations, ProportionalToTheCharactersAndLimitedByTheNextStart) {
    // 12 + 8 = 20 characters: 500 + 50 x 20 = 1500 ms.
    const std::vector<std::string> twenty{"twelve chars", "8 chars!"};
    SubtitleDocument roomy = document({{10000, 0}, {20000, 25000}}, twenty);
    applyDurations(roomy, 500, 50);
    EXPECT_EQ(times(roomy), (std::vector<Times>{{10000, 11500}, {20000, 21500}}));

    SubtitleDocument tight = document({{10000, 12000}, {11000, 0}}, twenty);
    applyDurations(tight, 500, 50);
    EXPECT_EQ(times(tight), (std::vector<Times>{{10000, 11000}, {11000, 12500}}));

    SubtitleDocument last = document({{10000, 10200}}, twenty);
    applyDurations(last, 500, 50);
    EXPECT_EQ(times(last), (std::vector<Times>{{10000, 11500}}));
}

TEST(Durations, FixedAndTheLongestDuration) {
    SubtitleDocument doc = document({{1000, 1500}, {9000, 9100}});
    applyDurations(doc, 4000, 0);
    EXPECT_EQ(times(doc), (std::vector<Times>{{1000, 5000}, {9000, 13000}}));

    // A long text counted in full: no 16-bit wrap to a short duration, and
    // no more than 65535 ms.
    SubtitleDocument longText = document({{1000, 0}}, {std::string(65536 + 10, 'x')});
    applyDurations(longText, 9999, 99);
    EXPECT_EQ(times(longText), (std::vector<Times>{{1000, 66535}}));
}

TEST(Durations, AnEarlierNextStartDoesNotPutTheStopBeforeTheStart) {
    // Two jobs appended one after the other: the second restarts at zero.
    SubtitleDocument doc = document({{50000, 0}, {1000, 0}});
    applyDurations(doc, 4000, 0);
    EXPECT_EQ(times(doc), (std::vector<Times>{{50000, 54000}, {1000, 5000}}));
}

TEST(MinimumInterval, PullsCloseStopsBackAndLeavesOverlapsAndTheLastEntry) {
    SubtitleDocument doc =
        document({{1000, 4950}, {5000, 5100}, {5050, 6000}, {6100, 7000}, {7100, 7150}});
    applyMinimumInterval(doc, 100);
    EXPECT_EQ(times(doc), (std::vector<Times>{
                              {1000, 4900},  // 50 ms gap -> 100
                              {5000, 5100},  // overlaps the next start: left alone
                              {5050, 6000},  // exactly 100 ms: enough
                              {6100, 7000},  // exactly 100 ms
                              {7100, 7150},  // the last entry
                          }));

    SubtitleDocument touching = document({{1000, 5000}, {5000, 6000}});
    applyMinimumInterval(touching, 100);
    EXPECT_EQ(times(touching)[0], (Times{1000, 4900}));
}

TEST(MinimumInterval, NeverPutsAStopBeforeItsStartNorMovesAnOpenStop) {
    SubtitleDocument doc = document({{4950, 4980}, {5000, 0}, {5050, 6000}});
    applyMinimumInterval(doc, 100);
    EXPECT_EQ(times(doc), (std::vector<Times>{{4950, 4950}, {5000, 0}, {5050, 6000}}));
}

TEST(CorrectTimes, RunsThePassesInOrderEachOnTheResultOfTheOneBefore) {
    SubtitleDocument doc = document({{5000, 6000}, {10000, 11000}});
    TimeCorrectionSettings s;
    s.offset = timeCodeFromMs(2000);
    s.stretch = timeCodeFromMs(1200);  // on the shifted last start 12000: factor 0.1
    ScriptedQuestions q;
    const TimeCorrectionReport r = correctTimes(doc, s, q);
    EXPECT_TRUE(r.corrected);
    EXPECT_EQ(r.stretch, StretchResult::Applied);
    EXPECT_EQ(times(doc), (std::vector<Times>{{7700, 8800}, {13200, 14300}}));
}

TEST(CorrectTimes, ARefusedStretchIsReportedAndTheLaterPassesStillRun) {
    SubtitleDocument doc = document({{1000, 2000}, {2050, 3000}});
    TimeCorrectionSettings s;
    s.stretch = timeCodeFromMs(5000);
    s.minusStretch = true;
    s.minimumInterval = 100;
    ScriptedQuestions q;
    const TimeCorrectionReport r = correctTimes(doc, s, q);
    EXPECT_EQ(r.stretch, StretchResult::MinusTooLarge);
    EXPECT_EQ(q.stretchRefusals, 1);
    EXPECT_EQ(times(doc), (std::vector<Times>{{1000, 1950}, {2050, 3000}}));
}

TEST(CorrectTimes, AnOffsetStoppedByNoStillLetsTheDurationsRun) {
    SubtitleDocument doc = document({{1000, 2000}, {9000, 9500}});
    TimeCorrectionSettings s;
    s.offset = timeCodeFromMs(1000);
    s.minusOffset = true;
    s.modifyDuration = true;
    s.durationMethod = DurationMethod::Fixed;
    s.fixedDuration = 3000;
    ScriptedQuestions q;
    q.answers = {false};
    const TimeCorrectionReport r = correctTimes(doc, s, q);
    EXPECT_EQ(r.offset.stoppedAt, 1u);
    EXPECT_EQ(times(doc), (std::vector<Times>{{1000, 4000}, {9000, 12000}}));
}

TEST(CorrectTimes, NothingToDoStillRebuildsAndMarksModifiedButAnEmptyDocumentIsLeftAlone) {
    SubtitleDocument doc = document({{1000, 2000}});
    doc.setModified(false);
    const auto before = times(doc);
    ScriptedQuestions q;
    TimeCorrectionSettings s;
    s.durationMethod = DurationMethod::Fixed;  // unchecked box: no durations
    EXPECT_TRUE(correctTimes(doc, s, q).corrected);
    EXPECT_EQ(times(doc), before);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.displayLines(),
              (std::vector<std::string>{"1", "00:00:01,000 --> 00:00:02,000", "text", ""}));

    SubtitleDocument empty;
    s.offset = timeCodeFromMs(1000);
    EXPECT_FALSE(correctTimes(empty, s, q).corrected);
    EXPECT_FALSE(empty.modified());
}

TEST(CorrectTimes, ShowingTheDialogKeepsTheMinusBoxesDurationsAndInterval) {
    TimeCorrectionSettings s;
    s.offset = timeCodeFromMs(1000);
    s.stretch = timeCodeFromMs(2000);
    s.minusOffset = s.minusStretch = true;
    s.modifyDuration = true;
    s.fixedDuration = 1234;
    s.minimumInterval = 80;
    s.prepareForShowing();
    EXPECT_TRUE(s.offset.isZero());
    EXPECT_TRUE(s.stretch.isZero());
    EXPECT_FALSE(s.modifyDuration);
    EXPECT_TRUE(s.minusOffset && s.minusStretch);
    EXPECT_EQ(s.fixedDuration, 1234);
    EXPECT_EQ(s.minimumInterval, 80);
}

}  // namespace
}  // namespace orvane
