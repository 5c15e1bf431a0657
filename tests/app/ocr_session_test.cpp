#include <gtest/gtest.h>

#include <filesystem>

#include "app/session.h"
#include "subpicture/colour_ranking.h"
#include "support/fake_engine.h"
#include "support/fake_ui.h"
#include "support/file_bytes.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::FakeUi;
using test::IndexedPicture;

// Glyph shapes: '#' is text (colour 3); each is outlined in colour 2.
const std::vector<std::string> kBar = {"###", "###", "###", "###", "###",
                                       "###", "###", "###", "###", "###"};
const std::vector<std::string> kBox = {"######", "#....#", "#....#", "#....#", "#....#",
                                       "#....#", "#....#", "#....#", "#....#", "######"};
const std::vector<std::string> kHook = {"#.....", "#.....", "#.....", "#.....", "#.....",
                                        "#.....", "#.....", "#.....", "#.....", "######"};

// Draws shapes left to right starting at x with the given gaps (empty
// columns between shapes), then outlines every text pixel.
void drawLine(IndexedPicture& pic, int x, int y,
              const std::vector<std::vector<std::string>>& shapes, const std::vector<int>& gaps) {
    for (size_t i = 0; i < shapes.size(); ++i) {
        const auto& s = shapes[i];
        for (size_t r = 0; r < s.size(); ++r)
            for (size_t c = 0; c < s[r].size(); ++c)
                if (s[r][c] == '#') pic.set(x + static_cast<int>(c), y + static_cast<int>(r), 3);
        x += static_cast<int>(s[0].size()) + (i < gaps.size() ? gaps[i] : 0);
    }
}

void outline(IndexedPicture& pic) {
    IndexedPicture copy = pic;
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            if (copy.at(x, y) != 0) continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < pic.width && ny < pic.height &&
                        copy.at(nx, ny) == 3)
                        pic.set(x, y, 2);
                }
        }
}

// "| ||  |" : bar, box, bar with a 3-column gap, then 8 columns, box.
IndexedPicture twoLinePicture() {
    IndexedPicture pic = IndexedPicture::filled(80, 34);
    drawLine(pic, 4, 3, {kBar, kBox, kBar, kBox}, {3, 3, 8});
    drawLine(pic, 4, 20, {kHook, kBar}, {3});
    outline(pic);
    return pic;
}

JobRequest ocrJob(const std::string& file) {
    JobRequest r;
    r.files = {file};
    r.action = ActionMode::Ocr;
    return r;
}

NewCharChoice accept(std::string t) {
    return {NewCharAction::Accept, std::move(t)};
}

class OcrSession : public ::testing::Test {
  protected:
    test::TempDir dir;
    FakeUi ui;
    std::string vob;
    void SetUp() override { vob = dir.file("a.vob"); }
    void makeVob(uint32_t units, uint16_t stopDelay = 200) {
        test::VobBuilder v;
        v.nav();
        for (uint32_t i = 1; i <= units; ++i)
            v.picture(twoLinePicture(), 90000 * i, 100, 400, stopDelay);
        v.write(vob);
    }
    // Teaches the shapes of one unit in a session of its own and saves what
    // it learned as each of the files.
    void learnInto(const std::vector<std::string>& matrices) {
        makeVob(1);
        FakeUi learner;
        learner.onNewCharacter = [](const NewCharacterView& c) {
            return accept(c.glyph.width == 3 ? "l" : c.glyph.glyph.bit(5, 0) ? "o" : "L");
        };
        Session s(learner);
        s.startButton(ocrJob(vob));
        s.runToEnd();
        std::filesystem::create_directories(dir.file("ChMatrix"));
        for (const std::string& m : matrices) s.writeMatrixFile(dir.file(m));
    }
};

TEST_F(OcrSession, LearnsUnknownGlyphsAndRecognisesThemAfterwards) {
    makeVob(2);
    std::vector<std::string> asked;
    ui.onNewCharacter = [&](const NewCharacterView& v) {
        asked.push_back(std::to_string(v.lineNumber) + ":" + std::to_string(v.charNumber));
        EXPECT_EQ(v.characterPicture.width(), 150);
        EXPECT_EQ(v.characterPicture.height(), 50);
        if (v.glyph.width == 3) return accept("l");
        if (v.glyph.width == 6 && v.glyph.glyph.bit(5, 0)) return accept("o");
        return accept("L");
    };
    Session s(ui);
    s.setProgramFolder(dir.path());
    ASSERT_TRUE(s.startButton(ocrJob(vob)));
    s.runToEnd();
    // Three shapes learned, asked once each, all in the first picture.
    EXPECT_EQ(asked, (std::vector<std::string>{"1:1", "1:2", "2:1"}));
    EXPECT_EQ(s.matrix().size(), 3u);
    EXPECT_TRUE(s.matrix().modified());
    ASSERT_EQ(s.document().count(), 2u);
    const SubtitleEntry& e = s.document().entry(1);
    EXPECT_EQ(e.lines, (std::vector<std::string>{"lol o", "Ll"}));
    EXPECT_EQ(e.rect, (DisplayArea{100, 400, 179, 433}));
    EXPECT_EQ(timeCodeToMs(e.start), 1000);
    EXPECT_EQ(timeCodeToMs(e.stop), 1000 + 200 * 1024 / 90);
    EXPECT_EQ(s.document().entry(2).lines, e.lines);
    EXPECT_EQ(ui.colourQuestions, 1);  // once per job
    EXPECT_EQ(s.job().textColourIndex, 3);
    EXPECT_EQ(ui.added, (std::vector<size_t>{1, 2}));
}

TEST_F(OcrSession, SkipLineDropsTheWholeLineAndSkipPictureEverything) {
    makeVob(2);
    int calls = 0;
    ui.onNewCharacter = [&](const NewCharacterView& v) {
        ++calls;
        if (v.lineNumber == 1 && v.charNumber == 1) return accept("l");
        if (v.lineNumber == 1)
            return NewCharChoice{NewCharAction::SkipLine, {}};  // on the second character
        return accept("L");
    };
    Session s(ui);
    s.startButton(ocrJob(vob));
    s.runToEnd();
    ASSERT_EQ(s.document().count(), 2u);
    EXPECT_EQ(s.document().entry(1).lines, (std::vector<std::string>{"Ll"}));

    FakeUi ui2;
    ui2.onNewCharacter = [](const NewCharacterView&) {
        return NewCharChoice{NewCharAction::SkipLine, {}};
    };
    Session s2(ui2);
    s2.startButton(ocrJob(vob));
    s2.runToEnd();
    EXPECT_EQ(s2.document().count(), 0u);  // every line skipped: no entry
    EXPECT_EQ(s2.matrix().size(), 0u);

    FakeUi ui3;
    Session s3(ui3);  // skips the picture by default
    s3.startButton(ocrJob(vob));
    s3.runToEnd();
    EXPECT_EQ(s3.document().count(), 0u);
    EXPECT_EQ(ui3.newCharacterQuestions, 2);
}

TEST_F(OcrSession, AnEmptyTextLearnsAGlyphThatReadsAsNothing) {
    makeVob(1);
    ui.onNewCharacter = [&](const NewCharacterView& v) {
        return accept(v.glyph.width == 3 ? "" : "o");
    };
    Session s(ui);
    s.startButton(ocrJob(vob));
    s.runToEnd();
    ASSERT_EQ(s.document().count(), 1u);
    // Line 1 is bar box bar box with a space after the second bar.
    EXPECT_EQ(s.document().entry(1).lines, (std::vector<std::string>{"o o", "o"}));
}

TEST_F(OcrSession, PauseReadsTheSameUnitAgainAfterContinue) {
    makeVob(2);
    int calls = 0;
    ui.onNewCharacter = [&](const NewCharacterView& v) {
        ++calls;
        if (calls == 2) return NewCharChoice{NewCharAction::Pause, {}};
        return accept(v.glyph.width == 3 ? "l" : v.glyph.glyph.bit(5, 0) ? "o" : "L");
    };
    Session s(ui);
    s.startButton(ocrJob(vob));
    s.timerTick();
    EXPECT_TRUE(s.job().paused);
    EXPECT_EQ(s.job().unitsInJob, 0);     // taken back
    EXPECT_EQ(s.document().count(), 0u);  // the picture was dropped
    EXPECT_EQ(s.matrix().size(), 1u);     // what was learned stays
    EXPECT_EQ(s.job().resumeSector, 1);   // the unit's first sector
    s.buttonPauseClick();
    s.runToEnd();
    ASSERT_EQ(s.document().count(), 2u);
    EXPECT_EQ(s.document().entry(1).lines, (std::vector<std::string>{"lol o", "Ll"}));
    EXPECT_EQ(s.job().unitsInJob, 2);
    EXPECT_EQ(calls, 4);  // the first glyph was not asked again
}

TEST_F(OcrSession, ChangeTextColourAsksForTheColourAgainAndGoesOnByItself) {
    makeVob(1);
    int calls = 0;
    ui.onNewCharacter = [&](const NewCharacterView& v) {
        ++calls;
        if (calls == 1) return NewCharChoice{NewCharAction::ChangeColour, {}};
        return accept(v.glyph.width == 3 ? "l" : "o");
    };
    Session s(ui);
    s.startButton(ocrJob(vob));
    s.timerTick();  // the reader stops, then the pause is released
    EXPECT_FALSE(s.job().paused);
    EXPECT_EQ(s.job().textColourIndex, 255);
    s.runToEnd();
    EXPECT_EQ(ui.colourQuestions, 2);
    EXPECT_EQ(s.document().count(), 1u);
}

TEST_F(OcrSession, SkippingTheColourDialogDropsOnlyThatPicture) {
    makeVob(2);
    ui.colourAnswers = {std::nullopt};
    ui.onNewCharacter = [](const NewCharacterView&) { return accept("x"); };
    Session s(ui);
    s.startButton(ocrJob(vob));
    s.runToEnd();
    EXPECT_EQ(ui.colourQuestions, 2);
    EXPECT_EQ(s.document().count(), 1u);
    EXPECT_EQ(timeCodeToMs(s.document().entry(1).start), 2000);
}

TEST_F(OcrSession, ShortUnitsAreNotReadButStillCloseAnOpenStop) {
    // The first has no stop command (its stop is open); the second shows for
    // 136 ms, too short to be read.
    test::VobBuilder()
        .nav()
        .picture(twoLinePicture(), 90000, 100, 400, 0)
        .picture(twoLinePicture(), 270000, 100, 400, 12)
        .write(vob);
    ui.onNewCharacter = [](const NewCharacterView& c) {
        return accept(c.glyph.width == 3 ? "l" : "o");
    };
    Session s(ui);
    s.startButton(ocrJob(vob));
    s.runToEnd();
    ASSERT_EQ(s.document().count(), 1u);
    EXPECT_EQ(timeCodeToMs(s.document().entry(1).stop), 3000);
    EXPECT_EQ(s.document().displayLines()[1], "00:00:01,000 --> 00:00:03,000");
}

TEST_F(OcrSession, StartingOnANonEmptyDocumentAsksFirst) {
    makeVob(1);
    Session s(ui);
    s.document().appendEntry({"old"}, true, {}, {}, {});
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(s.startButton(ocrJob(vob)));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Subtitles text file isn't empty.\rAdd to the end of file ?");
    EXPECT_TRUE(s.job().paused);
    ui.answers = {Answer::Ok};
    EXPECT_TRUE(s.startButton(ocrJob(vob)));
}

TEST_F(OcrSession, MatrixSearchOffersEachMatchingFileInTurn) {
    // Learn the three shapes into matrix files, then search for them.
    learnInto({"ChMatrix/b_second.sum", "ChMatrix/a_first.SUM"});
    test::writeBytes(dir.file("ChMatrix/0_broken.sum"), "not a matrix");
    Session s(ui);
    s.setProgramFolder(dir.path());
    int calls = 0;
    ui.onNewCharacter = [&](const NewCharacterView&) {
        ++calls;
        return NewCharChoice{NewCharAction::SearchMatrix, {}};
    };
    // Invalid file (message 5), first match: No, second: Yes.
    ui.answers = {Answer::Ok, Answer::No, Answer::Yes};
    s.startButton(ocrJob(vob));
    s.runToEnd();
    ASSERT_GE(ui.questions.size(), 3u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::MatrixInvalid);
    EXPECT_EQ(ui.questions[0].text,
              "This is NOT a valid Char Matrix File !\r" + dir.file("ChMatrix/0_broken.sum"));
    EXPECT_EQ(ui.questions[1].text,
              "File \"a_first.SUM\" contain character \"l\" \rit seem to match with the current "
              "one.\r\rDo you want to "
              "open this Char Matrix File ?");
    EXPECT_EQ(ui.questions[2].text.substr(0, 20), "File \"b_second.sum\" ");
    EXPECT_EQ(s.matrix().fileName(), dir.file("ChMatrix/b_second.sum"));
    EXPECT_FALSE(s.matrix().modified());
    EXPECT_EQ(calls, 1);  // the rest matched the switched matrix
    ASSERT_EQ(s.document().count(), 1u);
    EXPECT_EQ(s.document().entry(1).lines, (std::vector<std::string>{"lol o", "Ll"}));
}

TEST_F(OcrSession, MatrixSearchAsksAboutTheUsersFilesFirstAndSkipsShippedNamesakes) {
    makeVob(1);
    const ProgramFolders folders =
        resolveProgramFolders(dir.file("bin"), ProgramFolderUse::Installed, dir.file("share"),
                              {dir.file("config"), dir.file("data"), dir.path()});
    const std::string user = folders.userData + "ChMatrix/", shipped = dir.file("share/ChMatrix/");
    {
        FakeUi learner;
        learner.onNewCharacter = [](const NewCharacterView&) { return accept("x"); };
        Session s(learner);
        s.startButton(ocrJob(vob));
        s.runToEnd();
        std::filesystem::create_directories(user);
        std::filesystem::create_directories(shipped);
        for (const std::string& f : {user + "z.sum", shipped + "a.sum", shipped + "z.sum"})
            s.writeMatrixFile(f);
    }
    Session s(ui);
    s.setProgramFolders(folders);
    int calls = 0;
    ui.onNewCharacter = [&](const NewCharacterView&) {
        return ++calls == 1 ? NewCharChoice{NewCharAction::SearchMatrix, {}}
                            : NewCharChoice{NewCharAction::SkipPicture, {}};
    };
    ui.answers = {Answer::No, Answer::No};
    s.startButton(ocrJob(vob));
    s.runToEnd();
    ASSERT_EQ(ui.questions.size(), 3u);
    EXPECT_EQ(ui.questions[0].text.substr(0, 12), "File \"z.sum\"");
    EXPECT_EQ(ui.questions[1].text.substr(0, 12), "File \"a.sum\"");
    // The shipped z.sum is hidden by the user's; files belong in the user's folder.
    EXPECT_EQ(ui.questions[2].id, QuestionId::MatrixSearchNone);
    EXPECT_NE(ui.questions[2].text.find("place all matrix file in " + user + "\r"),
              std::string::npos);
}

TEST_F(OcrSession, AFailedSearchSaysWhereItLookedAndAsksAgain) {
    makeVob(1);
    Session s(ui);
    s.setProgramFolder(dir.path());
    int calls = 0;
    std::vector<bool> afterFailedSearch;
    ui.onNewCharacter = [&](const NewCharacterView& v) {
        afterFailedSearch.push_back(v.afterFailedSearch);
        return ++calls == 1 ? NewCharChoice{NewCharAction::SearchMatrix, {}}
                            : NewCharChoice{NewCharAction::SkipPicture, {}};
    };
    s.startButton(ocrJob(vob));
    s.runToEnd();
    // Shown again for the same glyph, marked so that the typed text stays.
    EXPECT_EQ(afterFailedSearch, (std::vector<bool>{false, true}));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::MatrixSearchNone);
    EXPECT_EQ(ui.questions[0].text,
              "Can't find any matching Char Matrix File.\rBe sure to place all matrix file in " +
                  dir.path() +
                  "/ChMatrix/\r\rYou should try again on the next character, if "
                  "still not found then you must create a new Matrix.");
    EXPECT_EQ(calls, 2);
}

// A matrix that knows the box as "o" and the hook as "L" (the bar is read
// once, not learned), then a picture where a hook touches a box with its
// foot and a bar follows.
class OcrPolicies : public OcrSession {
  protected:
    Session s{ui};
    void SetUp() override {
        OcrSession::SetUp();
        makeVob(1);
        ui.onNewCharacter = [](const NewCharacterView& v) {
            return v.glyph.width == 3 ? NewCharChoice{NewCharAction::UseOnce, "x"}
                                      : accept(v.glyph.glyph.bit(5, 0) ? "o" : "L");
        };
        s.setProgramFolder(dir.path());
        EXPECT_TRUE(s.startButton(ocrJob(vob)));
        s.runToEnd();
        EXPECT_EQ(s.matrix().size(), 2u);
        IndexedPicture pic = IndexedPicture::filled(60, 16);
        drawLine(pic, 4, 3, {kHook, kBox, kBar}, {0, 3});
        outline(pic);
        test::VobBuilder().nav().picture(pic, 90000, 100, 400, 200).write(vob);
        ui.onNewCharacter = nullptr;
        ui.newCharacterQuestions = 0;
    }
    std::vector<std::string> read(UnknownGlyphPolicy p) {
        s.ocrPolicy().unknown = p;
        const size_t before = s.document().count();
        if (!s.startButton(ocrJob(vob))) return {"not started"};
        s.runToEnd();
        return s.document().count() > before ? s.document().entry(s.document().count()).lines
                                             : std::vector<std::string>{};
    }
};

TEST_F(OcrPolicies, MarkReadsTouchingGlyphsAndMarksTheRestWithoutAsking) {
    s.ocrPolicy().mark = "*";
    EXPECT_EQ(read(UnknownGlyphPolicy::Mark), (std::vector<std::string>{"Lo*"}));
    EXPECT_EQ(ui.newCharacterQuestions, 0);
    EXPECT_EQ(s.matrix().size(), 2u);  // nothing learned
    EXPECT_EQ(s.ocrPolicyCounts().cutReadings, 1);
    EXPECT_EQ(s.ocrPolicyCounts().marked, 1);
}

TEST_F(OcrPolicies, SkipPoliciesDropTheLineOrThePictureWithoutAsking) {
    EXPECT_EQ(read(UnknownGlyphPolicy::SkipLine), std::vector<std::string>{});
    EXPECT_EQ(read(UnknownGlyphPolicy::SkipPicture), std::vector<std::string>{});
    EXPECT_EQ(ui.newCharacterQuestions, 0);
    EXPECT_EQ(s.ocrPolicyCounts().skipped, 2);
}

TEST_F(OcrPolicies, AskOffersTheTouchingReadingAsTheProposal) {
    std::vector<std::string> proposals;
    ui.onNewCharacter = [&](const NewCharacterView& v) {
        proposals.push_back(v.proposal);
        return accept(v.proposal.empty() ? "l" : v.proposal);
    };
    EXPECT_EQ(read(UnknownGlyphPolicy::Ask), (std::vector<std::string>{"Lol"}));
    EXPECT_EQ(proposals, (std::vector<std::string>{"Lo", ""}));
    // The glued glyph is learned whole, so the next reading matches it.
    EXPECT_EQ(s.matrix().size(), 4u);
    EXPECT_EQ(s.matrix().entry(3).text, "Lo");
}

TEST_F(OcrPolicies, TheTextColourPolicyChoosesWithoutTheDialogOrProposesTheRobustChoice) {
    s.ocrPolicy().textColour = TextColourPolicy::Fixed;
    s.ocrPolicy().fixedColour = 2;  // the outline: every shape is new
    read(UnknownGlyphPolicy::SkipPicture);
    EXPECT_EQ(ui.colourQuestions, 1);  // only the first job asked
    EXPECT_EQ(s.textColour(), s.previewColours()[2]);
    s.ocrPolicy().textColour = TextColourPolicy::Automatic;
    EXPECT_EQ(read(UnknownGlyphPolicy::Mark), (std::vector<std::string>{"Lo#"}));
    EXPECT_EQ(ui.colourQuestions, 1);
    s.ocrPolicy().textColour = TextColourPolicy::Ask;
    read(UnknownGlyphPolicy::Mark);
    ASSERT_EQ(ui.proposals.size(), 2u);
    EXPECT_EQ(ui.proposals.back()[1], 3);
}

// The second engine over two pictures of "lol o" / "Ll": a fake that reads
// each dark run of the drawn line by its shape, as the matrix would.
class EngineReadings : public OcrSession {
  protected:
    test::FakeEngineScript engine;
    void SetUp() override {
        OcrSession::SetUp();
        makeVob(2);
        engine.name = [](const Image8& p, int left, int right) {
            int top = 0, bottom = 0;
            for (int y = p.height() - 1; y >= 0; --y)
                for (int x = left; x <= right; ++x)
                    if (p.pixel(x, y) < 128) top = y, bottom = std::max(bottom, y);
            // A lone stroke as Tesseract reads it.
            if ((right - left + 1) * 100 < (bottom - top + 1) * 45) return std::string("|");
            return std::string(p.pixel(right, top) < 128 ? "o" : "L");
        };
    }
    // The fake engine behind s, reading what the matrix does not know.
    void withEngine(Session& s) {
        s.setTextEngineFactory(test::fakeEngineFactory(engine));
        s.ocrPolicy().unknown = UnknownGlyphPolicy::Auto;
    }
    // What each question showed: line:char=proposal.
    std::vector<std::string> questions(Session& s) {
        std::vector<std::string> asked;
        ui.onNewCharacter = [&](const NewCharacterView& v) {
            asked.push_back(std::to_string(v.lineNumber) + ":" + std::to_string(v.charNumber) +
                            "=" + v.proposal);
            return accept(v.glyph.width == 3 ? "l" : v.glyph.glyph.bit(5, 0) ? "o" : "L");
        };
        s.setProgramFolder(dir.path());
        EXPECT_TRUE(s.startButton(ocrJob(vob)));
        s.runToEnd();
        return asked;
    }
};

TEST_F(EngineReadings, AVobSubIndexNamesTheEnginesLanguage) {
    // The fixture's VOB as a VobSub pair whose index says German.
    {
        Session writer(ui);
        JobRequest r = ocrJob(vob);
        r.action = ActionMode::SaveVobSub;
        ui.saveName = dir.file("pair");
        ASSERT_TRUE(writer.startButton(r));
        writer.runToEnd();
    }
    std::string index = test::readBytes(dir.file("pair.idx"));
    const size_t id = index.find("id: --");
    ASSERT_NE(id, std::string::npos) << index;
    index.replace(id, 6, "id: de");
    test::writeBytes(dir.file("pair.idx"), index);

    Session s(ui);
    withEngine(s);
    s.setProgramFolder(dir.path());
    ASSERT_TRUE(s.startButton(ocrJob(dir.file("pair.idx"))));
    s.runToEnd();
    EXPECT_EQ(engine.languages, std::vector<std::string>{"deu"});
}

TEST_F(EngineReadings, AutoReadsByTheEngineAndLearnsWhatItReadTheSameWayOnTwoLines) {
    Session s(ui);
    withEngine(s);
    s.ocrPolicy().engineLanguage = "de";
    EXPECT_EQ(questions(s), std::vector<std::string>{});
    ASSERT_EQ(s.document().count(), 2u);
    EXPECT_EQ(s.document().entry(1).lines, (std::vector<std::string>{"lol o", "Ll"}));
    EXPECT_EQ(s.document().entry(2).lines, s.document().entry(1).lines);
    // The bar twice on line 1 counts once, then line 2 confirms it; the box
    // and the hook are confirmed in the second picture, after which its
    // first line needs the engine no more.
    ASSERT_EQ(s.matrix().size(), 3u);
    EXPECT_EQ(s.matrix().entry(1).text, "l");
    EXPECT_EQ(s.matrix().entry(2).text, "o");
    EXPECT_EQ(s.matrix().entry(3).text, "L");
    EXPECT_EQ(s.ocrPolicyCounts().engineLearned, 3);
    EXPECT_EQ(s.ocrPolicyCounts().engineLines, 4);
    EXPECT_EQ(engine.linesRead, 4);
    EXPECT_EQ(engine.languages, std::vector<std::string>{"deu"});  // one engine for the job
    EXPECT_EQ(s.engineLanguage(), "deu");
}

TEST_F(EngineReadings, AutoTakesAWordItCannotPlaceLetterByLetterWholeAndLearnsNothingFromIt) {
    // The engine reads "lol" and "Ll" as one symbol each: no letter of them
    // can be placed on a glyph, so the words stand whole; only the lone "o"
    // is read glyph by glyph and learned.
    engine.wordsAsOneSymbol = true;
    Session s(ui);
    withEngine(s);
    EXPECT_EQ(questions(s), std::vector<std::string>{});
    ASSERT_EQ(s.document().count(), 2u);
    EXPECT_EQ(s.document().entry(1).lines, (std::vector<std::string>{"lol o", "Ll"}));
    EXPECT_EQ(s.document().entry(2).lines, s.document().entry(1).lines);
    ASSERT_EQ(s.matrix().size(), 1u);
    EXPECT_EQ(s.matrix().entry(1).text, "o");
}

TEST_F(EngineReadings, AutoTakesTheSpacesOfTheLinesTheEngineReadFromItsWords) {
    // The engine makes each letter a word of its own, then joins all the
    // letters of a line into one word: its spaces stand, its joins only
    // over gaps narrower than a space.
    for (const auto& [gap, first] : {std::pair{0, std::vector<std::string>{"l o l o", "L l"}},
                                     std::pair{1000, std::vector<std::string>{"lol o", "Ll"}}}) {
        engine.wordGap = gap;
        Session s(ui);
        withEngine(s);
        questions(s);
        ASSERT_EQ(s.document().count(), 2u);
        EXPECT_EQ(s.document().entry(1).lines, first);
    }
}

TEST_F(EngineReadings, AutoSpacesALineTheMatrixReadByTheEngineWhereTwoWordsRunTogether) {
    // The third picture's lines are read by the matrix alone; a dictionary
    // that knows "lo" and "l" but not "lol" (nor "Ll") sends them to the
    // engine, which makes each letter a word.
    makeVob(3);
    engine.wordGap = 0;
    test::writeBytes(dir.file("en_US.aff"), "SET ISO8859-1\n");
    test::writeBytes(dir.file("en_US.dic"), "2\nlo\nl\n");
    const std::vector<std::string> split = {"l o l o", "L l"};
    for (const bool dictionary : {false, true}) {
        Session s(ui);
        withEngine(s);
        s.setDictionaryFolder(dictionary ? dir.path() : dir.file("none"));
        questions(s);
        ASSERT_EQ(s.document().count(), 3u);
        EXPECT_EQ(s.document().entry(1).lines, split);
        EXPECT_EQ(s.document().entry(3).lines,
                  dictionary ? split : (std::vector<std::string>{"lol o", "Ll"}));
    }
}

TEST_F(EngineReadings, AskAsksOnlyAboutDoubtfulReadingsWithTheReadingAsProposal) {
    Session sure(ui);
    sure.setTextEngineFactory(test::fakeEngineFactory(engine));
    EXPECT_EQ(questions(sure), std::vector<std::string>{});
    EXPECT_EQ(sure.document().entry(1).lines, (std::vector<std::string>{"lol o", "Ll"}));
    engine.confidence = 50;
    Session doubtful(ui);
    doubtful.setTextEngineFactory(test::fakeEngineFactory(engine));
    EXPECT_EQ(questions(doubtful), (std::vector<std::string>{"1:1=l", "1:2=o", "2:1=L"}));
}

TEST_F(EngineReadings, WithoutTheEngineAskAsksExactlyAsBefore) {
    Session before(ui);
    const std::vector<std::string> old = questions(before);
    EXPECT_EQ(old, (std::vector<std::string>{"1:1=", "1:2=", "2:1="}));
    Session off(ui);
    off.setTextEngineFactory(test::fakeEngineFactory(engine));
    off.ocrPolicy().useEngine = false;
    EXPECT_EQ(questions(off), old);
    EXPECT_EQ(off.matrix().entries(), before.matrix().entries());
    EXPECT_EQ(off.document().entry(2).lines, before.document().entry(2).lines);
    // Mark never starts the engine.
    Session mark(ui);
    mark.setTextEngineFactory(test::fakeEngineFactory(engine));
    mark.ocrPolicy().unknown = UnknownGlyphPolicy::Mark;
    questions(mark);
    EXPECT_EQ(engine.enginesMade, 0);
}

// The first glyph is learned by hand, the next is searched for: a matrix
// holding that learning must not be replaced without a word.
class MatrixSearchOverLearning : public OcrSession {
  protected:
    void SetUp() override {
        OcrSession::SetUp();
        learnInto({"ChMatrix/found.sum"});
        std::filesystem::create_directories(dir.file("ChMatrix/0_folder.sum"));
        ui.onNewCharacter = [this](const NewCharacterView&) {
            ++calls;
            return calls == 1   ? accept("first")
                   : calls == 2 ? NewCharChoice{NewCharAction::SearchMatrix, {}}
                                : accept("x");
        };
    }
    void run(Session& s) {
        s.setProgramFolder(dir.path());
        s.startButton(ocrJob(vob));
        s.runToEnd();
    }
    int calls = 0;
};

TEST_F(MatrixSearchOverLearning, CancelKeepsTheMatrixAndLearnsTheFoundText) {
    Session s(ui);
    ui.answers = {Answer::Yes, Answer::Cancel};
    run(s);
    // The folder named like a matrix is passed over without an error.
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::MatrixSearchFound);
    EXPECT_EQ(ui.questions[1].id, QuestionId::MatrixSearchReplaceModified);
    EXPECT_EQ(ui.questions[1].text,
              "Character Matrix  has been modified.\rDo you want to Save it ?");
    EXPECT_EQ(ui.questions[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(s.matrix().fileName(), "");
    ASSERT_EQ(s.matrix().size(), 3u);
    EXPECT_EQ(s.matrix().entry(1).text, "first");
    EXPECT_EQ(s.matrix().entry(2).text, "o");
    EXPECT_EQ(s.learnedEntries(), 3u);
}

TEST_F(MatrixSearchOverLearning, YesSavesTheLearningBeforeTheFoundMatrixReplacesIt) {
    Session s(ui);
    ui.answers = {Answer::Yes, Answer::Yes};
    ui.saveName = dir.file("mine.sum");
    run(s);
    EXPECT_EQ(s.matrix().fileName(), dir.file("ChMatrix/found.sum"));
    CharMatrix mine;
    s.loadMatrixFile(dir.file("mine.sum"), mine);
    ASSERT_EQ(mine.size(), 1u);
    EXPECT_EQ(mine.entry(1).text, "first");
    EXPECT_EQ(s.learnedEntries(), 0u);
}

TEST_F(MatrixSearchOverLearning, TheMergePolicyAddsTheFoundEntriesAfterTheLearnedOnes) {
    Session s(ui);
    s.setMatrixSearchPolicy(Session::MatrixSearchPolicy::Merge);
    ui.answers = {Answer::Yes};
    run(s);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(s.matrix().fileName(), "");
    ASSERT_EQ(s.matrix().size(), 4u);
    EXPECT_EQ(s.matrix().entry(1).text, "first");
    EXPECT_EQ(s.learnedEntries(), 1u);
    EXPECT_EQ(s.mergedEntries(), 3u);
}

TEST(MatrixCommands, SaveOpenAndTheirQuestions) {
    test::TempDir dir;
    FakeUi ui;
    Session s(ui);
    // An empty matrix is not saved.
    EXPECT_FALSE(s.saveMatrix(true));
    EXPECT_EQ(ui.questions.back().text, "The Character Matrix is Empty !");
    EXPECT_TRUE(ui.saveDialogs.empty());

    MatrixEntry e;
    e.text = "a";
    s.addMatrixEntry(e);
    // A new matrix always goes through the dialog; an existing file is
    // only replaced after Yes.
    ui.saveName = dir.file("m.sum");
    s.saveMatrixCommand();
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.saveDialogs[0].title, "Save current Character Matrix File");
    EXPECT_EQ(std::filesystem::file_size(dir.file("m.sum")), 557u);
    EXPECT_FALSE(s.matrix().modified());
    // Open and Save start in the folder either was last used in.
    EXPECT_EQ(s.settings().openDialogCharMatrix, dir.path() + "/");
    EXPECT_EQ(s.settings().saveDialogCharMatrix, dir.path() + "/");
    s.addMatrixEntry(e);
    s.saveMatrixCommand();  // the file exists now: no dialog
    EXPECT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(dir.file("m.sum")), 834u);
    ui.answers = {Answer::No};
    EXPECT_FALSE(s.saveMatrix(true));
    EXPECT_EQ(ui.questions.back().text, "File m.sum already exists ! Replace ?");

    // A modified matrix asks before New: Cancel keeps it, No drops it.
    s.addMatrixEntry(e);
    ui.answers = {Answer::Cancel};
    s.newMatrix();
    EXPECT_EQ(ui.questions.back().text,
              "Character Matrix m.sum has been modified.\rDo you want to Save it ?");
    EXPECT_EQ(s.matrix().size(), 3u);
    ui.answers = {Answer::No};
    s.newMatrix();
    EXPECT_EQ(s.matrix().size(), 0u);
    EXPECT_EQ(s.matrix().fileName(), "");

    // Open takes the file; a wrong magic leaves the matrix as it was.
    s.settings().saveDialogCharMatrix = "/elsewhere/";
    ui.openName = dir.file("m.sum");
    s.openMatrix();
    EXPECT_EQ(s.matrix().size(), 2u);
    EXPECT_EQ(s.settings().saveDialogCharMatrix, dir.path() + "/");
    test::writeBytes(dir.file("bad.sum"),
                     "Orvane_char_Matrix_File and more bytes to make it long enough......");
    ui.openName = dir.file("bad.sum");
    s.openMatrix();
    EXPECT_EQ(ui.questions.back().id, QuestionId::MatrixInvalid);
    EXPECT_EQ(s.matrix().size(), 2u);
    EXPECT_EQ(s.matrix().fileName(), dir.file("m.sum"));
}

TEST(MatrixCommands, AFullMatrixRefusesTheNextGlyph) {
    FakeUi ui;
    Session s(ui);
    MatrixEntry e;
    for (size_t i = 0; i < CharMatrix::kMaxEntries; ++i) s.matrix().add(e);
    EXPECT_FALSE(s.addMatrixEntry(e));
    EXPECT_EQ(ui.questions.back().text,
              "Maximum Number of Characters reached : 65535\rYou have to use a different char. "
              "matrix for each DVD.");
}

TEST(TextColour, TheRobustChoiceFindsTheLettersWhereTheProposalFails) {
    // Dense outlined text: outline (2) outnumbers both the background and
    // the letters, antialias (1) lies outermost.
    IndexedPicture pic = IndexedPicture::filled(60, 20);
    for (int x = 1; x < 59; ++x)
        for (int y = 1; y < 19; ++y) pic.set(x, y, 1);
    for (int x = 2; x < 58; ++x)
        for (int y = 2; y < 18; ++y) pic.set(x, y, 2);
    for (int x = 5; x < 55; x += 5)
        for (int y = 5; y < 15; ++y) pic.set(x, y, 3);
    SubPicture sp;
    decodeSubPicture(test::makeUnit(pic, 0, 0), sp);
    const PreviewColours colours;
    const ColourRanking r = autoDetectColours(sp.bitmap, colours);
    EXPECT_EQ(r[0], 2);  // the outline taken as background
    EXPECT_NE(r[1], 3);
    EXPECT_EQ(robustTextColour(sp.bitmap, colours), 3);
    EXPECT_EQ(proposeTextColours(sp.bitmap, colours)[1], 3);  // what the dialog proposes
    // The BMP export's roles: background, letters, outline, antialias.
    EXPECT_EQ(robustColourRoles(sp.bitmap, colours), (ColourRanking{0, 3, 2, 1}));
    // Plain text without outline on the background.
    IndexedPicture plain = IndexedPicture::filled(30, 10);
    for (int x = 3; x < 20; ++x) plain.set(x, 4, 1);
    decodeSubPicture(test::makeUnit(plain, 0, 0), sp);
    EXPECT_EQ(robustTextColour(sp.bitmap, colours), 1);
    // One colour only: no choice.
    decodeSubPicture(test::makeUnit(IndexedPicture::filled(10, 4), 0, 0), sp);
    EXPECT_EQ(robustTextColour(sp.bitmap, colours), 255);
    // The dialog's picture: the chosen colour white, the others black.
    decodeSubPicture(test::makeUnit(pic, 0, 0), sp);
    const Image24 bw = recolourForTextChoice(sp.bitmap, colours, 3);
    EXPECT_EQ(bw.pixel(5, 5), 0xFFFFFFu);
    EXPECT_EQ(bw.pixel(3, 3), 0u);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(DocumentCommands, SaveOpenAndClearAskAsTheWindowDoes) {
    test::TempDir dir;
    FakeUi ui;
    Session s(ui);
    s.saveDocument();  // nothing to save: no dialog
    EXPECT_TRUE(ui.saveDialogs.empty());
    s.document().appendEntry({"Caf\xE9", "two"}, true, {10, 20, 30, 40}, {0, 0, 2, 0},
                             {0, 0, 1, 0});
    s.document().appendEntry({"next"}, true, {}, {0, 0, 4, 0}, {0, 0, 3, 0});
    ui.saveName = dir.file("doc.ovt");
    s.saveDocument();
    ASSERT_EQ(ui.saveDialogs.size(), 1u);
    EXPECT_EQ(ui.saveDialogs[0].filter,
              "Orvane File (*.ovt)|*.ovt|Text File (*.txt)|*.txt|All|*.*");
    EXPECT_EQ(ui.saveDialogs[0].proposedName, "New File.ovt");
    EXPECT_FALSE(s.document().modified());
    EXPECT_EQ(s.document().caption(), "Subtitles - doc -");
    EXPECT_EQ(test::readBytes(dir.file("doc.ovt")),
              "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xE9\r\ntwo\r\n\r\n2\r\n00:00:03,000 --> "
              "00:00:04,000\r\nnext\r\n\r\n");
    // An existing file is replaced only after Yes.
    s.document().setModified(true);
    ui.answers = {Answer::No};
    s.saveDocument();
    EXPECT_EQ(ui.questions.back().text, "File doc.ovt already exists ! Replace file ?");
    EXPECT_TRUE(s.document().modified());

    // Clearing a modified document asks; opening asks too, then reads.
    ui.answers = {Answer::No};
    s.clearDocument();
    EXPECT_EQ(ui.questions.back().text, "Text NOT Saved !\rDo you really want to clear all text ?");
    EXPECT_EQ(s.document().count(), 2u);
    ui.answers = {Answer::Yes};
    ui.openName = dir.file("doc.ovt");
    s.openOrvaneFile();
    EXPECT_EQ(ui.questions.back().text,
              "Text NOT Saved !\rDo you really want to open another file ?");
    ASSERT_EQ(s.document().count(), 2u);
    EXPECT_EQ(s.document().entry(1).lines, (std::vector<std::string>{"Caf\xE9", "two"}));
    EXPECT_FALSE(s.document().modified());
    EXPECT_EQ(s.document().documentName(), dir.file("doc.ovt"));

    // A damaged file asks per bad block: Cancel keeps what was read.
    test::writeBytes(dir.file("bad.ovt"),
                     "5\r\n00:00:01,000 --> 00:00:02,000\r\nok\r\n\r\nx\r\n00:00:03,000 --> "
                     "00:00:04,000\r\nlost\r\n");
    ui.openName = dir.file("bad.ovt");
    ui.answers = {Answer::Cancel};
    s.openOrvaneFile();
    EXPECT_EQ(ui.questions.back().text, "Error in file at Subtitle N\xB0 6\rIgnore and Continue ?");
    EXPECT_EQ(ui.questions.back().buttons, Buttons::CancelIgnoreYesToAll);
    EXPECT_EQ(s.document().count(), 1u);
    EXPECT_EQ(s.document().settings().indexOffset, 4);
    EXPECT_EQ(s.document().displayLines()[0], "5");
    EXPECT_TRUE(s.document().modified());  // reading was cancelled
}

}  // namespace
}  // namespace orvane
