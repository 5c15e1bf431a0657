#include "app/document_corrections.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "app/session.h"
#include "support/fake_ui.h"

namespace orvane {
namespace {

using test::FakeUi;

void add(Session& s, int64_t start, int64_t stop, std::vector<std::string> lines = {"text"}) {
    s.document().appendEntry(std::move(lines), true, {}, timeCodeFromMs(stop),
                             timeCodeFromMs(start));
}

TEST(SessionTimeCorrection, TheOffsetQuestionIsComposedFromMessages31To33) {
    FakeUi ui;
    Session s(ui);
    add(s, 5000, 7000);
    add(s, 9000, 9500);
    TimeCorrectionSettings t;
    t.offset = timeCodeFromMs(5000);
    t.minusOffset = true;
    ui.answers = {Answer::Yes};
    s.correctTimes(t);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::TimeCodeReduced);
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui.questions[0].text,
              "Warning : Time Code 00:00:05,000 will be reduced to 00:00:00,000\r"
              "Do you want to continue ? ( No undo ! )");
    EXPECT_EQ(formatTimeCode(s.document().entry(1).start), "00:00:00,000");
    EXPECT_EQ(formatTimeCode(s.document().entry(1).stop), "00:00:02,000");
    EXPECT_EQ(formatTimeCode(s.document().entry(2).start), "00:00:04,000");
}

TEST(SessionTimeCorrection, AnswerNoAndTranslatedMessages) {
    FakeUi ui;
    Session s(ui);
    s.messages().replace(31, "Attention : code temps ");
    add(s, 1000, 2000);
    add(s, 9000, 9500);
    TimeCorrectionSettings t;
    t.offset = timeCodeFromMs(3000);
    t.minusOffset = true;
    ui.answers = {Answer::No};
    const TimeCorrectionReport r = s.correctTimes(t);
    EXPECT_EQ(r.offset.stoppedAt, 1u);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text.rfind("Attention : code temps 00:00:01,000 will", 0), 0u);
    EXPECT_EQ(formatTimeCode(s.document().entry(2).start), "00:00:09,000");
}

TEST(SessionTimeCorrection, ARefusedMinusStretchShowsMessages34And35) {
    FakeUi ui;
    Session s(ui);
    add(s, 1000, 2000);
    TimeCorrectionSettings t;
    t.stretch = timeCodeFromMs(1001);
    t.minusStretch = true;
    EXPECT_EQ(s.correctTimes(t).stretch, StretchResult::MinusTooLarge);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::MinusStretchTooLarge);
    EXPECT_EQ(ui.questions[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.questions[0].text,
              "You can't make a minus time Stretch with a time\r"
              "that is larger than the total file time !");
}

TEST(SessionTimeCorrection, AStretchOfADocumentStartingAtZeroSaysWhyItWasRefused) {
    FakeUi ui;
    Session s(ui);
    add(s, 0, 2000);
    TimeCorrectionSettings t;
    t.stretch = timeCodeFromMs(5000);
    EXPECT_EQ(s.correctTimes(t).stretch, StretchResult::NoLength);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::StretchNoLength);
    EXPECT_EQ(ui.questions[0].text, s.messages().get(msg::kStretchNoLength));
}

TEST(SessionTimeCorrection, TheDisplayShowsTheCorrectedTimes) {
    FakeUi ui;
    Session s(ui);
    add(s, 10000, 12500);
    s.document().setModified(false);
    TimeCorrectionSettings t;
    t.offset = timeCodeFromMs(2000);
    s.correctTimes(t);
    EXPECT_TRUE(s.document().modified());
    EXPECT_EQ(s.document().displayLines(),
              (std::vector<std::string>{"1", "00:00:12,000 --> 00:00:14,500", "text", ""}));
    EXPECT_TRUE(ui.questions.empty());
}

TEST(SessionPostOcr, RepairsEveryEntryAndRebuildsTheDisplay) {
    FakeUi ui;
    Session s(ui);
    add(s, 1000, 2000, {"''lt is'' cold.", "l'm here"});
    add(s, 3000, 4000, {"AlR -", "lf so"});
    s.document().setModified(false);
    EXPECT_TRUE(s.postOcrCorrection({true, true, IlLanguage::English}));
    EXPECT_EQ(s.document().entry(1).lines,
              (std::vector<std::string>{"\"It is\" cold.", "I'm here"}));
    EXPECT_EQ(s.document().entry(2).lines, (std::vector<std::string>{"AIR -", "If so"}));
    EXPECT_TRUE(s.document().modified());
    EXPECT_EQ(s.document().displayLines()[2], "\"It is\" cold.");
    EXPECT_EQ(s.document().displayLines()[7], "AIR -");
}

TEST(SessionPostOcr, TheDictionaryWhenAskedAndWhyNotWhenMissing) {
    FakeUi ui;
    Session s(ui);
    add(s, 1000, 2000, {"- Ies enfants"});
    // Not installed where it is looked for: the user is told which package
    // is missing, and the rules alone decide.
    s.setDictionaryFolder("/nonexistent");
    EXPECT_TRUE(s.postOcrCorrection({false, true, IlLanguage::French, true}));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::DictionaryMissing);
    EXPECT_NE(ui.questions[0].text.find("hunspell-fr"), std::string::npos) << ui.questions[0].text;
    EXPECT_EQ(s.document().entry(1).lines[0], "- Ies enfants");
    // The Debian folder: the French dictionary knows "les", not "Ies".
    s.setDictionaryFolder(kDefaultDictionaryFolder);
    EXPECT_TRUE(s.postOcrCorrection({false, true, IlLanguage::French, true}));
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(s.document().entry(1).lines[0], "- les enfants");
}

TEST(SessionPostOcr, NothingAskedChangesNothing) {
    FakeUi ui;
    Session s(ui);
    add(s, 1000, 2000, {"''lt''"});
    s.document().setModified(false);
    EXPECT_FALSE(s.postOcrCorrection({false, false, IlLanguage::German}));
    EXPECT_EQ(s.document().entry(1).lines[0], "''lt''");
    EXPECT_FALSE(s.document().modified());
}

// Records what the window was told to show.
struct WindowUi : FakeUi {
    int changes = 0;
    std::vector<std::string> shown;
    void documentChanged(const SubtitleDocument& doc) override {
        ++changes;
        shown = doc.displayLines();
    }
};

TEST(SessionSplitRange, StopBeforeStartIsRefusedWithMessage37) {
    WindowUi ui;
    Session s(ui);
    add(s, 12000, 13000);
    const int before = ui.changes;
    EXPECT_FALSE(s.applySplitRange(true, timeCodeFromMs(10000), timeCodeFromMs(9999)));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::SplitStopBeforeStart);
    EXPECT_EQ(ui.questions[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.questions[0].text, "The Stop time is smaller than the Start time !");
    EXPECT_FALSE(s.document().splitRange().enabled);
    EXPECT_TRUE(s.document().splitRange().stop.isZero());
    EXPECT_EQ(ui.changes, before);
}

TEST(SessionSplitRange, AcceptedRangeIsShownAndUncheckedKeepsTheTimes) {
    WindowUi ui;
    Session s(ui);
    add(s, 5000, 8000, {"before"});
    add(s, 10000, 15000, {"inside"});
    EXPECT_TRUE(s.applySplitRange(true, timeCodeFromMs(10000), timeCodeFromMs(20000)));
    EXPECT_EQ(ui.shown, s.document().displayLines());
    EXPECT_EQ(std::count(ui.shown.begin(), ui.shown.end(), "before"), 0);
    EXPECT_EQ(std::count(ui.shown.begin(), ui.shown.end(), "inside"), 1);
    // Unchecked, a stop before the start is no error; the times are kept.
    EXPECT_TRUE(s.applySplitRange(false, timeCodeFromMs(10000), timeCodeFromMs(3000)));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(formatTimeCode(s.document().splitRange().stop), "00:00:03,000");
    EXPECT_EQ(std::count(ui.shown.begin(), ui.shown.end(), "before"), 1);
}

TEST(SessionOutputFormat, ConvertShowsTheRebuiltDisplayAndKeepsLiveFields) {
    WindowUi ui;
    Session s(ui);
    s.document().settings().subViewer1.title = "Kept";
    OutputSettings dialog = s.document().settings();
    dialog.sonicFrameRate = 1;
    dialog.subViewer1.title = "Ignored";
    const int before = ui.changes;
    s.convertToFormat(OutputFormat::SubViewer1, dialog);
    EXPECT_EQ(ui.changes, before + 1);
    EXPECT_EQ(s.document().format(), OutputFormat::SubViewer1);
    EXPECT_EQ(s.document().settings().sonicFrameRate, 1);
    EXPECT_EQ(s.document().settings().subViewer1.title, "Kept");
    ASSERT_EQ(ui.shown.size(), 16u);
    EXPECT_EQ(ui.shown[0], "[TITLE]");
    EXPECT_EQ(ui.shown[1], "Kept");
}

}  // namespace
}  // namespace orvane
