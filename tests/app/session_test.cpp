#include "app/session.h"

#include <gtest/gtest.h>

#include <cstring>

#include <filesystem>

#include "support/fake_ui.h"
#include "support/file_bytes.h"
#include "support/pack_builder.h"
#include "support/spu_encoder.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readByteVector;

using test::FakeUi;

// A unit 6 rows high with a dotted row, at (100, 500) for 200 (x 1024/90000 s).
std::vector<uint8_t> dots(int w = 40) {
    test::IndexedPicture pic = test::IndexedPicture::filled(w, 6);
    for (int x = 0; x < w; x += 3) pic.set(x, 2, 3);
    return test::makeUnit(pic, 100, 500, 200);
}

JobRequest request(std::vector<std::string> files, ActionMode mode = ActionMode::OnlyShow) {
    JobRequest r;
    r.files = std::move(files);
    r.action = mode;
    return r;
}

TEST(Session, StartsPausedAndIdle) {
    FakeUi ui;
    Session s(ui);
    EXPECT_TRUE(s.job().paused);
    EXPECT_FALSE(s.job().running);
    EXPECT_EQ(s.job().selectedStream, 0x20);
    EXPECT_EQ(s.job().textColourIndex, 255);
    s.timerTick();
    EXPECT_TRUE(s.job().files.empty());
    EXPECT_TRUE(ui.units.empty());
    EXPECT_EQ(ui.chapterLabel, "0");
}

TEST(Session, ReadsTheFilesOfAJobOnePerTickAndCountsAcrossThem) {
    test::TempDir dir;
    for (int f = 0; f < 3; ++f) {
        test::VobBuilder v;
        v.nav().filler(2);
        for (int u = 0; u <= f; ++u) v.unit(dots(), 90000u * (u + 1) + 500).filler();
        v.write(dir.file("f" + std::to_string(f) + ".vob"));
    }
    FakeUi ui;
    Session s(ui);
    ASSERT_EQ(s.startJob(request({dir.file("f0.vob"), dir.file("f1.vob"), dir.file("f2.vob")})),
              StartResult::Started);
    s.progressionNonStop = true;
    EXPECT_FALSE(s.job().paused);
    for (int tick = 1; tick <= 3; ++tick) {
        s.timerTick();
        EXPECT_EQ(s.job().currentFile, tick + 1);
        EXPECT_FALSE(s.job().running);
    }
    ASSERT_EQ(ui.units.size(), 6u);
    const int inFile[] = {1, 1, 2, 1, 2, 3};
    for (size_t i = 0; i < ui.units.size(); ++i) {
        EXPECT_EQ(ui.units[i].inJob, static_cast<int>(i) + 1);
        EXPECT_EQ(ui.units[i].inFile, inFile[i]);
    }
    EXPECT_EQ(ui.fileLabelsShown,
              (std::vector<std::string>{"f0.vob 1/3", "f1.vob 2/3", "f2.vob 3/3"}));
    EXPECT_TRUE(s.jobOver());
    s.timerTick();  // the job is over: nothing more happens
    EXPECT_EQ(ui.units.size(), 6u);
    EXPECT_EQ(ui.rateLabel, "PAL 25 Fps");
    ASSERT_FALSE(ui.progressShown.empty());
    EXPECT_EQ(ui.progressShown.back().title, "Orvane - 100%");
    EXPECT_FALSE(ui.pauseButtonEnabled);
}

TEST(Session, UnitTimesComeFromThePtsAndTheStartTime) {
    test::TempDir dir;
    test::VobBuilder(90000).nav().filler().unit(dots(), 180000).filler().write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    s.setStartTime({0, 10, 0, 0});
    s.startJob(request({dir.file("a.vob")}));
    s.progressionNonStop = true;
    s.runToEnd();
    ASSERT_EQ(ui.units.size(), 1u);
    // The first SCR is 90300 ticks: offset = 10 min - 1.00333 s.
    EXPECT_EQ(formatTimeCode(ui.units[0].unitStart), "00:10:00,996");  // 09:58,996 + 2 s
    EXPECT_EQ(ui.units[0].start, ui.units[0].unitStart);
    EXPECT_EQ(timeCodeToMs(ui.units[0].stop) - timeCodeToMs(ui.units[0].start), 200 * 1024 / 90);
    EXPECT_EQ(ui.units[0].area, (DisplayArea{100, 500, 139, 505}));

    // The job dialog opens again: the time line goes on from the last time
    // code reached, which the next job is re-based to.
    const TimeCode last = s.carryTimeLine();
    EXPECT_EQ(last, s.lastTimeCode());
    EXPECT_TRUE(s.clock().rebasePending());
    s.startJob(request({dir.file("a.vob")}));
    s.runToEnd();
    ASSERT_EQ(ui.units.size(), 2u);
    EXPECT_NEAR(static_cast<double>(timeCodeToMs(ui.units[1].unitStart)),
                static_cast<double>(timeCodeToMs(last)) + 996, 1.0);
}

TEST(Session, PauseStopsBetweenUnitsAndContinueResumesAfterThePacket) {
    test::TempDir dir;
    test::VobBuilder v;
    v.nav().filler().unit(dots(), 1000).filler(3).unit(dots(), 2000).filler();
    v.write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    s.startJob(request({dir.file("a.vob")}));
    s.progressionNonStop = true;
    ui.onUnit = [&](const FakeUi::Unit& u) {
        if (u.inJob == 1) s.buttonPauseClick();
    };
    s.timerTick();
    EXPECT_TRUE(s.job().paused);
    EXPECT_FALSE(s.job().running);
    EXPECT_TRUE(ui.pauseButtonEnabled);  // stays enabled for Continue
    EXPECT_EQ(ui.captions.back(), "&Continue >");
    // The unit was sector 2; the first filler after it is the pause point.
    EXPECT_EQ(s.job().resumeSector, 4);
    EXPECT_EQ(s.job().currentFile, 1);
    ASSERT_EQ(ui.units.size(), 1u);
    s.timerTick();  // paused: nothing
    EXPECT_EQ(ui.units.size(), 1u);

    s.buttonPauseClick();
    EXPECT_EQ(ui.captions.back(), "&Pause \x7F");
    s.timerTick();
    ASSERT_EQ(ui.units.size(), 2u);
    EXPECT_EQ(ui.units[1].inFile, 2);  // counters not reset on resume
    EXPECT_EQ(ui.units[1].inJob, 2);
    EXPECT_EQ(s.job().currentFile, 2);
}

TEST(Session, PauseWhileAUnitIsCollectedWaitsForTheUnitToComplete) {
    test::TempDir dir;
    test::VobBuilder v;
    v.nav().filler(508);
    // A unit in four packets over sectors 509..512: the progress update at
    // sector 512 (every MiB) comes in the middle of it.
    v.unit(dots(700), 1000, 0x20, 60).filler(3).write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    s.startJob(request({dir.file("a.vob")}));
    s.progressionNonStop = true;
    bool pressed = false;
    ui.onPump = [&] {
        if (!pressed && s.assembler().collecting()) {
            pressed = true;
            s.buttonPauseClick();
        }
    };
    s.timerTick();
    ASSERT_TRUE(pressed);
    ASSERT_EQ(ui.units.size(), 1u);
    EXPECT_EQ(ui.units[0].startSector, 509);
    EXPECT_TRUE(s.job().paused);
    // Left after the first filler that follows the unit's packets.
    const int32_t unitPackets = static_cast<int32_t>(v.sectors.size()) - 509 - 3;
    ASSERT_GT(unitPackets, 2);
    EXPECT_EQ(s.job().resumeSector, 509 + unitPackets + 1);
}

TEST(Session, AResumeSectorSetBeforePausingReadsTheUnitAgain) {
    // As the new-character dialog does: resume at the unit's first sector
    // with both counters taken back by one.
    test::TempDir dir;
    test::VobBuilder().nav().filler().unit(dots(), 1000).filler(2).write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    s.startJob(request({dir.file("a.vob")}));
    s.progressionNonStop = true;
    ui.onUnit = [&](const FakeUi::Unit& u) {
        if (ui.units.size() == 1) {
            s.job().resumeSector = s.job().unitStartSector;
            --s.job().unitsInFile;
            --s.job().unitsInJob;
            s.buttonPauseClick();
            EXPECT_EQ(u.startSector, 2);
        }
    };
    s.timerTick();
    EXPECT_EQ(s.job().resumeSector, 2);
    s.buttonPauseClick();
    s.timerTick();
    ASSERT_EQ(ui.units.size(), 2u);
    EXPECT_EQ(ui.units[1].startSector, 2);
    EXPECT_EQ(ui.units[1].inJob, 1);
    EXPECT_EQ(ui.units[1].bytes, ui.units[0].bytes);
}

TEST(Session, AUnitRunningOverTheEndOfAFileIsCompletedFromTheNext) {
    test::TempDir dir;
    test::VobBuilder a;
    a.nav().filler().unit(dots(700), 1000, 0x20, 60);
    test::VobBuilder b;
    b.sectors.push_back(a.sectors.back());
    a.sectors.pop_back();
    a.write(dir.file("a.vob"));
    b.filler().write(dir.file("b.vob"));
    FakeUi ui;
    Session s(ui);
    s.startJob(request({dir.file("a.vob"), dir.file("b.vob")}));
    s.progressionNonStop = true;
    s.runToEnd();
    ASSERT_EQ(ui.units.size(), 1u);
    EXPECT_EQ(ui.units[0].inFile, 1);
    EXPECT_EQ(ui.units[0].sequences, 2u);
}

TEST(Session, ANewJobDiscardsAHalfCollectedUnit) {
    test::TempDir dir;
    test::VobBuilder a;
    a.nav().filler().unit(dots(700), 1000, 0x20, 60).sectors.pop_back();
    a.write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    s.startJob(request({dir.file("a.vob")}));
    s.runToEnd();
    EXPECT_TRUE(s.assembler().collecting());
    s.startJob(request({dir.file("a.vob")}));
    EXPECT_FALSE(s.assembler().collecting());
}

TEST(Session, BadHeadersAreAskedUntilYesToAllForTheWholeJob) {
    test::TempDir dir;
    test::VobBuilder v;
    v.nav().filler(3);
    v.sectors[1][0] = 0xFF;
    v.sectors[3][0] = 0xFF;
    v.write(dir.file("a.vob"));
    v.write(dir.file("b.vob"));
    FakeUi ui;
    Session s(ui);
    ui.answers = {Answer::Yes, Answer::YesToAll};
    s.startJob(request({dir.file("a.vob"), dir.file("b.vob")}));
    s.runToEnd();
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::BadPacketHeader);
    EXPECT_EQ(ui.questions[0].text, "Bad Packet Header at LBA: 1\rDo you want to continue ?");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::YesNoYesToAll);
    EXPECT_EQ(ui.questions[1].text, "Bad Packet Header at LBA: 3\rDo you want to continue ?");
    EXPECT_TRUE(s.jobOver());

    // A new job asks again; No ends the file at once and goes to the next.
    FakeUi ui2;
    Session s2(ui2);
    ui2.answers = {Answer::No, Answer::No};
    s2.startJob(request({dir.file("a.vob"), dir.file("b.vob")}));
    s2.timerTick();
    EXPECT_EQ(s2.job().currentFile, 2);
    s2.timerTick();
    EXPECT_EQ(ui2.questions.size(), 2u);
    EXPECT_TRUE(s2.jobOver());
}

TEST(Session, AFileThatHasGoneIsReportedAndSkipped) {
    test::TempDir dir;
    const test::VobBuilder v = test::VobBuilder().nav().unit(dots(), 1000).filler();
    v.write(dir.file("a.vob"));
    v.write(dir.file("b.vob"));
    FakeUi ui;
    Session s(ui);
    s.startJob(request({dir.file("a.vob"), dir.file("b.vob")}));
    s.progressionNonStop = true;
    std::filesystem::remove(dir.file("a.vob"));
    s.runToEnd();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::FileError);
    EXPECT_EQ(
        ui.questions[0].text,
        "Can't open file " + dir.file("a.vob") +
            " ,it might be crypted\rYou can try to decrypt it with DVD Decrypter, DECSS or VOBDec");
    EXPECT_EQ(ui.units.size(), 1u);  // b.vob was read
    EXPECT_TRUE(s.jobOver());
}

TEST(Session, SupActionWritesEachUnitAsCollected) {
    test::TempDir dir;
    test::VobBuilder v;
    v.nav();
    const auto u1 = dots(), u2 = dots(600);
    v.unit(u1, 1000).filler().unit(u2, 5000, 0x20, 500).filler();
    v.unit(dots(30), 9000, 0x21);  // another stream
    v.write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("out_");
    Session s(ui);
    s.showSubPicture = false;
    JobRequest r = request({dir.file("a.vob")}, ActionMode::SaveSup);
    ASSERT_TRUE(s.startButton(r));
    EXPECT_EQ(ui.saveTitles,
              (std::vector<std::string>{"Save SUPs : Enter beginning of File Name"}));
    s.runToEnd();
    ASSERT_EQ(ui.units.size(), 2u);
    EXPECT_EQ(ui.units[0].savedFile, dir.file("out_000001.sup"));
    EXPECT_EQ(readByteVector(dir.file("out_000001.sup")), u1);
    EXPECT_EQ(readByteVector(dir.file("out_000002.sup")), u2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out_000003.sup")));
    EXPECT_FALSE(ui.units[0].decoded);  // neither shown nor timed
    EXPECT_TRUE(ui.shownAreas.empty());
}

TEST(Session, SupActionWithShowPictDecodesAndShows) {
    test::TempDir dir;
    test::VobBuilder().nav().unit(dots(), 1000).filler().write(dir.file("a.vob"));
    FakeUi ui;
    ui.saveName = dir.file("x");
    Session s(ui);
    ASSERT_TRUE(s.startButton(request({dir.file("a.vob")}, ActionMode::SaveSup)));
    s.runToEnd();
    ASSERT_EQ(ui.units.size(), 1u);
    EXPECT_TRUE(ui.units[0].decoded);
    EXPECT_EQ(ui.shownAreas.size(), 1u);
}

TEST(Session, AFailedSupWriteEndsTheFileWithTheErrorMessage) {
    test::TempDir dir;
    test::VobBuilder v;
    v.nav().unit(dots(), 1000).filler().unit(dots(), 2000).filler().write(dir.file("a.vob"));
    v.write(dir.file("b.vob"));
    FakeUi ui;
    ui.saveName = dir.file("no/such/folder/x");
    Session s(ui);
    ASSERT_TRUE(
        s.startButton(request({dir.file("a.vob"), dir.file("b.vob")}, ActionMode::SaveSup)));
    s.runToEnd();
    // A failed write is no trouble with the VOB: it is reported with the
    // system's reason and the job pauses on that unit, so that Continue
    // writes it again instead of skipping the rest of the file.
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].id, QuestionId::IoFailure);
    EXPECT_EQ(ui.questions[0].text,
              dir.file("no/such/folder/x000001.sup") + ": " + std::strerror(ENOENT));
    EXPECT_FALSE(s.assembler().collecting());
    EXPECT_FALSE(s.jobOver());
    EXPECT_TRUE(s.job().paused);
    EXPECT_FALSE(s.job().running);
    std::filesystem::create_directories(dir.file("no/such/folder"));
    s.buttonPauseClick();
    s.runToEnd();
    EXPECT_TRUE(s.jobOver());
    EXPECT_TRUE(std::filesystem::exists(dir.file("no/such/folder/x000001.sup")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("no/such/folder/x000004.sup")));
}

TEST(Session, StartButtonChecksAndAsksAsTheDialogDoes) {
    FakeUi ui;
    Session s(ui);
    EXPECT_FALSE(s.startButton(request({})));
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "No VOB selected !!");
    EXPECT_EQ(ui.questions[0].buttons, Buttons::Ok);
    // More files than a job holds: said, and nothing starts.
    EXPECT_FALSE(s.startButton(request(std::vector<std::string>(1025, "/x.vob"))));
    EXPECT_EQ(ui.questions.back().id, QuestionId::TooManyFiles);
    EXPECT_EQ(ui.questions.back().text,
              "At most 1024 VOB files can be read in one job. Files checked : 1025");

    ui.saveName.clear();  // Cancel in the save dialog
    EXPECT_FALSE(s.startButton(request({"/tmp/x.vob"}, ActionMode::SaveBmp)));
    EXPECT_EQ(ui.saveTitles.back(), "Save BMPs : Enter beginning of File Name");
    EXPECT_TRUE(s.job().paused);  // nothing started

    s.progressionNonStop = true;
    EXPECT_TRUE(s.startButton(request({"/tmp/x.vob"}, ActionMode::OnlyShow)));
    EXPECT_FALSE(s.progressionNonStop);
    EXPECT_TRUE(s.showBeforeNextPicture);
    EXPECT_FALSE(s.job().paused);
}

TEST(Session, StartOfAJobResetsTheJobButNotTheClock) {
    FakeUi ui;
    Session s(ui);
    JobRequest r = request({"/nonexistent/a.vob", "/nonexistent/b.vob"});
    r.streamIndex = 11;
    r.avoidTimeRestart = true;
    s.job().textColourIndex = 2;
    s.job().ignoreBadHeaders = true;
    s.job().unitsInJob = 7;
    ASSERT_EQ(s.startJob(r), StartResult::Started);
    EXPECT_EQ(s.job().selectedStream, 0x2B);  // stream 12
    EXPECT_EQ(s.job().files.size(), 2u);
    EXPECT_EQ(s.job().fileSizes[1], 0u);  // not found
    EXPECT_EQ(s.job().totalSize, 0u);
    EXPECT_EQ(s.job().currentFile, 1);
    EXPECT_EQ(s.job().textColourIndex, 255);
    EXPECT_FALSE(s.job().ignoreBadHeaders);
    EXPECT_EQ(s.job().unitsInJob, 0);
    EXPECT_TRUE(s.job().avoidTimeRestart);
    EXPECT_FALSE(s.job().paused);

    r.streamIndex = 32;
    EXPECT_EQ(s.startJob(r), StartResult::InvalidStream);
    r.streamIndex = 0;
    r.files.assign(1025, "/x.vob");
    EXPECT_EQ(s.startJob(r), StartResult::TooManyFiles);
}

TEST(Session, ANewJobWaitsForTheReaderInProgress) {
    test::TempDir dir;
    test::VobBuilder().nav().unit(dots(), 1000).filler().write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    s.startJob(request({dir.file("a.vob")}));
    s.progressionNonStop = true;
    StartResult nested = StartResult::Started;
    ui.onUnit = [&](const FakeUi::Unit&) { nested = s.startJob(request({dir.file("a.vob")})); };
    s.timerTick();
    EXPECT_EQ(nested, StartResult::Busy);
    EXPECT_TRUE(s.jobOver());
}

TEST(Session, ProgressionControllerHoldsEachPictureUntilNoStop) {
    test::TempDir dir;
    test::VobBuilder v;
    v.nav();
    for (uint32_t i = 1; i <= 4; ++i) v.unit(dots(), 1000 * i).filler();
    v.write(dir.file("a.vob"));
    FakeUi ui;
    Session s(ui);
    ui.progressionChoices = {ProgressionChoice::Next, ProgressionChoice::NoStop};
    ASSERT_TRUE(s.startButton(request({dir.file("a.vob")})));
    s.runToEnd();
    EXPECT_EQ(ui.controllerShown, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(ui.units.size(), 4u);
    // The bitmap adjustment comes once, before the first picture, with its
    // own preview; then each picture is shown.
    EXPECT_EQ(ui.adjustmentDialogs, 1);
    EXPECT_EQ(ui.shownAreas.size(), 5u);

    // Pause in the controller: the reader stops at the next pause point,
    // and the pause button clears the non-stop flag.
    FakeUi ui2;
    Session s2(ui2);
    ui2.progressionChoices = {ProgressionChoice::Next, ProgressionChoice::Pause};
    ASSERT_TRUE(s2.startButton(request({dir.file("a.vob")})));
    s2.runToEnd();
    EXPECT_EQ(ui2.units.size(), 2u);
    EXPECT_TRUE(s2.job().paused);
    EXPECT_EQ(s2.job().currentFile, 1);
    // After "No Stop", pause and continue show the controller again.
    ui2.progressionChoices = {ProgressionChoice::NoStop};
    s2.buttonPauseClick();
    s2.runToEnd();
    EXPECT_EQ(ui2.controllerShown, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_TRUE(s2.progressionNonStop);
    s2.buttonPauseClick();
    EXPECT_FALSE(s2.progressionNonStop);
}

TEST(Session, ElapsedTimeRunsOverTheJobAndIsResetOnlyAtItsStart) {
    test::TempDir dir;
    test::VobBuilder().nav().unit(dots(), 1000).filler().write(dir.file("a.vob"));
    FakeUi ui;
    ui.tickStep = 1500;
    Session s(ui);
    s.startJob(request({dir.file("a.vob"), dir.file("a.vob")}));
    s.progressionNonStop = true;
    s.timerTick();
    const int64_t afterFirst = timeCodeToMs(s.job().elapsed);
    EXPECT_GT(afterFirst, 0);
    s.timerTick();
    EXPECT_GT(timeCodeToMs(s.job().elapsed), afterFirst);
    EXPECT_EQ(ui.elapsed, formatShortTimeCode(s.job().elapsed));
    s.startJob(request({dir.file("a.vob")}));
    s.timerTick();
    EXPECT_LE(timeCodeToMs(s.job().elapsed), afterFirst);
}

}  // namespace
}  // namespace orvane
