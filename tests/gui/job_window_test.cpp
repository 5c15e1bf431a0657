// The main path on screen: a job on the sample disc set up through the job
// dialog's controls, read by the main window's timer, with the font colour
// and new-character dialogs answered as they come up; pause and continue;
// the subtitle window's list, save, clear and open; the close questions;
// and the event loop kept alive while a long file is scanned.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/session.h"
#include "common/text_encoding.h"
#include "gui/bitmap_adjustment_dialog.h"
#include "gui/font_colour_dialog.h"
#include "gui/job_dialog.h"
#include "gui/main_window.h"
#include "gui/new_character_dialog.h"
#include "gui/progression_controller.h"
#include "gui/subtitle_window.h"
#include "modal_script.h"
#include "subtitles/text_file.h"
#include "support/fake_engine.h"
#include "support/ground_truth.h"
#include "support/learners.h"
#include "support/temp_dir.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::ModalScript;

namespace {

const std::string kData = ORVANE_TEST_DATA;
const std::string kVideoTs = kData + "/pal/VIDEO_TS";
const std::string kVob = kVideoTs + "/VTS_01_1.VOB";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// A program folder with the shipped matrices in ChMatrix/.
struct ProgramFolder {
    test::TempDir dir;
    ProgramFolder() {
        std::filesystem::create_directories(dir.file("ChMatrix"));
        for (const auto& e : std::filesystem::directory_iterator(ORVANE_SHIPPED_MATRICES))
            std::filesystem::copy_file(e.path(),
                                       dir.file("ChMatrix/" + e.path().filename().string()));
        setenv("ORVANE_HOME", dir.path().c_str(), 1);
    }
};

}  // namespace

class JobWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void ocrJobThroughTheWindows();
    void longFilePumpsTheEventLoopEveryMiB();
    void failedSearchKeepsTheTypedText();
    void dialogsOpenOnTheProposals();
    void newCharacterDialogOpensOnTheEnginesReading();
    void progressionControllerSavesAndAdjusts();
    void forcedSubtitlesToAVobSubPairAndBack();
};

void JobWindowTest::ocrJobThroughTheWindows() {
    ProgramFolder home;
    test::TempDir out;
    MainWindow w;
    w.session().ocrPolicy().useEngine = false;  // every glyph is taught here
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.ButtonPause->text(), QString("&Pause ") + QChar(0x2016));
    QVERIFY(!w.ButtonPause->isEnabled());
    QVERIFY(w.session().job().paused);

    JobDialog& job = w.jobDialog();
    ModalScript script;
    QString firstCharacterPicture;
    QImage firstGlyph;
    int newCharacterShown = 0, strayGlyphs = 0;
    bool sameGlyphAgain = false;

    // The job dialog: the folder through its file dialog.
    script.onDialog(&job, [&] { test::clickLater(job.ButtonOpenDir); });
    script.add([&](QWidget* m) { return test::answerFileDialog(m, q(kVob)); });
    // The stream names through the IFO file dialog.
    script.onDialog(&job, [&] { test::clickLater(job.ButtonOpenIfo); });
    script.add(
        [&](QWidget* m) { return test::answerFileDialog(m, q(kVideoTs + "/VTS_01_0.IFO")); });
    // Start with nothing checked: the warning, and the dialog stays.
    script.add([&](QWidget* m) {
        if (m != &job || job.CheckListBoxVob->count() == 0) return false;
        test::clickLater(job.BitBtnStart);
        return true;
    });
    script.add([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) return false;
        if (box->text() != "No VOB selected !!") return false;
        return test::pressStandard(m, QMessageBox::Ok);
    });
    script.onDialog(&job, [&] {
        job.CheckListBoxVob->item(0)->setCheckState(Qt::Checked);
        job.ComboBoxLanguage->setCurrentIndex(0);
        job.RadioAction[0]->setChecked(true);
        test::clickLater(job.ButtonNewMatrix);
        test::clickLater(job.BitBtnStart);
    });
    // The font colour dialog: the fill colour of the sample disc is 3.
    // It opens on the automatic choice, the colour inside the letters.
    int proposedColour = -1;
    script.onDialog(&w.fontColourDialog(), [&] {
        proposedColour = w.fontColourDialog().ComboBoxTextColor->currentIndex();
        w.fontColourDialog().ComboBoxTextColor->setCurrentIndex(3);
        test::clickLater(w.fontColourDialog().ButtonOk);
    });
    // The first unknown glyph: pause here.
    script.onDialog(&w.newCharacterDialog(), [&] {
        NewCharacterDialog& d = w.newCharacterDialog();
        ++newCharacterShown;
        firstCharacterPicture = d.LabelIndex->text();
        firstGlyph = d.ImageChar->pixmap().toImage();
        test::clickLater(d.ButtonPause);
    });
    // Paused with the unit to be read again; Continue.
    script.add([&](QWidget* m) {
        if (m || w.session().job().running || !w.session().job().paused) return false;
        if (w.ButtonPause->text() != "&Continue >" || !w.ButtonPause->isEnabled()) return false;
        if (!w.OpenVob1->isEnabled()) return false;
        if (w.session().job().resumeSector == 0) return false;
        test::clickLater(w.ButtonPause);
        return true;
    });
    // The same glyph again after Continue: search the matrix folder.
    script.onDialog(&w.newCharacterDialog(), [&] {
        NewCharacterDialog& d = w.newCharacterDialog();
        ++newCharacterShown;
        sameGlyphAgain = d.LabelIndex->text() == firstCharacterPicture &&
                         d.ImageChar->pixmap().toImage() == firstGlyph;
        test::clickLater(d.ButtonSearchMatrix);
    });
    // Offered a matrix: take the one of the disc's font.
    script.add([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) return false;
        if (!box->text().contains("dejavu-sans-bold-30.sum"))
            return !test::pressStandard(m, QMessageBox::No) && false;
        return test::pressStandard(m, QMessageBox::Yes);
    });
    // Glyphs the matrix does not know (if any) are read as the dialog
    // proposes (touching known glyphs), else as '#', as the mark policy does.
    script.setFallback([&](QWidget* m) {
        NewCharacterDialog& d = w.newCharacterDialog();
        if (m != &d || !d.isVisible()) return false;
        ++strayGlyphs;
        if (d.EditText->text().isEmpty()) d.EditText->setText("#");
        test::clickLater(d.BitBtn1);
        return true;
    });

    QTimer::singleShot(0, &w, [&] { w.OpenVob1Click(); });
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QCOMPARE(script.messages.first(), QString("No VOB selected !!"));
    QCOMPARE(job.ComboBoxLanguage->itemText(0), QString("1  - English"));
    QCOMPARE(job.ComboBoxLanguage->itemText(1), QString("2  - French"));
    QCOMPARE(job.LabelVobPath->text(), q(kVideoTs + "/"));
    QCOMPARE(w.session().job().files, std::vector<std::string>{kVob});
    QCOMPARE(w.session().job().selectedStream, uint8_t{0x20});
    QTRY_VERIFY_WITH_TIMEOUT(w.session().jobOver() && !w.session().job().running, 30000);
    QCOMPARE(proposedColour, 3);
    QCOMPARE(newCharacterShown, 2);
    // Continue read the paused unit again: the same glyph, the same number.
    QVERIFY(sameGlyphAgain);
    QCOMPARE(firstCharacterPicture, QString("Symbol index : 1"));
    QVERIFY2(strayGlyphs <= 3, qPrintable(QString::number(strayGlyphs)));
    QCOMPARE(w.LabelMatrix->text().left(23), QString("dejavu-sans-bold-30.sum"));
    QCOMPARE(w.LabelVobFile->text(), QString("VTS_01_1.VOB"));
    QCOMPARE(w.ProgressBar1->value(), 100);

    // The subtitle window holds the document, and the text is the disc's.
    SubtitleWindow& sw = w.subtitleWindow();
    const SubtitleDocument& doc = w.session().document();
    const auto truth = test::loadGroundTruth(kData + "/pal/truth_s1.tsv");
    QCOMPARE(doc.count(), truth.subtitles.size());
    QCOMPARE(w.LabelTotalNbSup->text(), QString::number(truth.subtitles.size()));
    QCOMPARE(sw.LabelNbSubTitle->text(), QString::number(doc.count()));
    QCOMPARE(static_cast<size_t>(sw.ListBoxSubtitle->count()), doc.displayLines().size());
    for (size_t i = 0; i < doc.displayLines().size(); ++i)
        QCOMPARE(sw.ListBoxSubtitle->item(static_cast<int>(i))->text(),
                 q(cp1252ToUtf8(doc.displayLines()[i])));
    QVERIFY(sw.isVisible());
    QCOMPARE(sw.ListBoxSubtitle->currentRow(), sw.ListBoxSubtitle->count() - 1);
    // Exactly the text the core reads headless with the matrix the search
    // switched to (how well that reads is the OCR tests' business).
    const std::vector<SubtitleEntry> headless = test::readWithMatrix(
        kVob, 1, std::string(ORVANE_SHIPPED_MATRICES) + "/dejavu-sans-bold-30.sum");
    QCOMPARE(headless.size(), doc.count());
    for (size_t i = 0; i < headless.size(); ++i)
        QCOMPARE(doc.entry(i + 1).lines, headless[i].lines);
    QCOMPARE(sw.windowTitle(), QString("Subtitles - New File -"));

    // UpDown1: top and bottom of the list.
    sw.UpDown1Click(true);
    QCOMPARE(sw.ListBoxSubtitle->currentRow(), 0);
    sw.UpDown1Click(false);
    QCOMPARE(sw.ListBoxSubtitle->currentRow(), sw.ListBoxSubtitle->count() - 1);

    // Save, clear and open again through the menus.
    const std::string saved = out.file("stream1.ovt");
    const std::vector<std::string> before = doc.displayLines();
    script.add([&](QWidget* m) { return test::answerFileDialog(m, q(saved)); });
    sw.Saveas1->trigger();
    QVERIFY(script.done());
    QCOMPARE(readTextLines(saved), before);
    QVERIFY(!doc.modified());
    QCOMPARE(sw.windowTitle(), QString("Subtitles - stream1 -"));
    sw.Clear1->trigger();  // not modified: no question
    QCOMPARE(sw.ListBoxSubtitle->count(), 0);
    QCOMPARE(sw.LabelNbSubTitle->text(), QString("0"));
    script.add([&](QWidget* m) { return test::answerFileDialog(m, q(saved)); });
    sw.OpenOrvaneFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.displayLines(), before);
    QCOMPARE(static_cast<size_t>(sw.ListBoxSubtitle->count()), before.size());

    // The close questions: unsaved text, No keeps the window and shows the
    // subtitle window; then Yes closes.
    w.session().document().appendEntry({"Added"}, true, {}, timeCodeFromMs(900000),
                                       timeCodeFromMs(899000));
    sw.hide();
    auto textQuestion = [&](QWidget* m, int answer) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) return false;
        if (box->text().startsWith("Character Matrix ")) {
            test::pressStandard(m, QMessageBox::No);
            return false;  // the text question is still to come
        }
        if (box->text() != "Text NOT Saved !\nDo you really want to quit ?") return false;
        return test::pressStandard(m, answer);
    };
    script.add([&](QWidget* m) { return textQuestion(m, QMessageBox::No); });
    QVERIFY(!w.close());
    QVERIFY(script.done());
    QVERIFY(w.isVisible());
    QVERIFY(sw.isVisible());
    script.add([&](QWidget* m) { return textQuestion(m, QMessageBox::Yes); });
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
}

void JobWindowTest::longFilePumpsTheEventLoopEveryMiB() {
    ProgramFolder home;
    test::TempDir dir;
    // Eight copies of the sample VOB back to back: about 9.5 MiB of packs.
    const std::string big = dir.file("LONG.VOB");
    {
        std::ifstream in(kVob, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::ofstream o(big, std::ios::binary);
        for (int i = 0; i < 8; ++i) o << bytes;
    }
    const auto size = std::filesystem::file_size(big);
    MainWindow w;
    w.show();
    // Count how often the event loop runs while the timer's reader works:
    // a zero-interval timer fires on every pass.
    int loops = 0;
    QTimer counter;
    counter.setInterval(0);
    QObject::connect(&counter, &QTimer::timeout, [&] {
        if (w.session().job().running) ++loops;
    });
    counter.start();
    JobRequest r;
    r.files = {big};
    r.streamIndex = 31;  // no such stream: nothing but scanning
    r.action = ActionMode::SaveSup;
    w.session().setSaveBaseName(dir.file("unused"));
    QVERIFY(w.session().startJob(r) == StartResult::Started);
    QTRY_VERIFY_WITH_TIMEOUT(w.session().jobOver() && !w.session().job().running, 30000);
    const int mib = static_cast<int>(size / (1024 * 1024));
    QVERIFY2(mib >= 9, qPrintable(QString::number(mib)));
    QVERIFY2(loops >= mib, qPrintable(QString("%1 loops for %2 MiB").arg(loops).arg(mib)));
    QVERIFY(w.ui().pumpCount() >= mib);
    QCOMPARE(w.session().job().unitsInJob, 0);
}

void JobWindowTest::dialogsOpenOnTheProposals() {
    MainWindow w;
    NewCharacterDialog& d = w.newCharacterDialog();
    const MatrixEntry glyph;
    const CharBox box{10, 2, 5, 8, 0, 0};
    const TextLine line;
    const Image24 painted(30, 12), picture(150, 50);
    NewCharacterView view{glyph, box, line, 1, 1, painted, picture, {}, {}, 1, 1, false, "ft"};
    QString shown, selected;
    QTimer::singleShot(0, &d, [&] {
        shown = d.EditText->text();
        selected = d.EditText->selectedText();
        d.BitBtn1->click();  // Enter's button: the proposal as it stands
    });
    const NewCharChoice choice = d.run(view);
    QCOMPARE(shown, QString("ft"));
    QCOMPARE(selected, QString("ft"));  // typing replaces it
    QVERIFY(choice.action == NewCharAction::Accept);
    QCOMPARE(QString::fromStdString(choice.text), QString("ft"));

    // Dense outlined text, where the count-based detector takes another
    // colour for the letters: the font colour dialog and its auto-detect
    // button still select the letters' colour 3.
    const PreviewColours& pc = w.session().previewColours();
    Image24 dense(60, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inner = x >= 2 && x < 58 && y >= 2 && y < 18;
            const bool letter = x >= 5 && x < 55 && x % 5 == 0 && y >= 5 && y < 15;
            dense.setPixel(x, y,
                           pc[letter                                 ? 3
                              : inner                                ? 2
                              : x >= 1 && x < 59 && y >= 1 && y < 19 ? 1
                                                                     : 0]);
        }
    QVERIFY(autoDetectColours(dense, pc)[1] != 3);
    FontColourDialog& f = w.fontColourDialog();
    int opened = -1, detected = -1;
    QTimer::singleShot(0, &f, [&] {
        opened = f.ComboBoxTextColor->currentIndex();
        f.ComboBoxTextColor->setCurrentIndex(0);
        f.ButtonAutoDetect->click();
        detected = f.ComboBoxTextColor->currentIndex();
        f.ButtonOk->click();
    });
    const auto colour = f.run(dense, proposeTextColours(dense, pc));
    QCOMPARE(opened, 3);
    QCOMPARE(detected, 3);
    QVERIFY(colour == std::optional<uint8_t>(3));
}

void JobWindowTest::newCharacterDialogOpensOnTheEnginesReading() {
    test::TempDir home;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    // A doubtful engine: its reading is asked about, as the proposal.
    test::FakeEngineScript engine;
    engine.name = [](const Image8&, int, int) { return std::string("\xC3\xA9"); };
    engine.confidence = 40;
    w.session().setTextEngineFactory(test::fakeEngineFactory(engine));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    NewCharacterDialog& d = w.newCharacterDialog();
    ModalScript script;
    script.onDialog(&w.fontColourDialog(), [&] {
        w.fontColourDialog().ComboBoxTextColor->setCurrentIndex(3);
        test::clickLater(w.fontColourDialog().ButtonOk);
    });
    QString shown, selected;
    script.onDialog(&d, [&] {
        shown = d.EditText->text();
        selected = d.EditText->selectedText();
        test::clickLater(d.ButtonPause);
    });
    JobRequest r;
    r.files = {kVob};
    QVERIFY(w.session().startButton(r));
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!w.session().job().running, 10000);
    QCOMPARE(shown, QString::fromUtf8("\xC3\xA9"));
    QCOMPARE(selected, shown);
    QCOMPARE(engine.enginesMade, 1);
    QCOMPARE(engine.languages.front(), std::string("eng"));  // the disc's IFO: stream 1 is English
}

void JobWindowTest::failedSearchKeepsTheTypedText() {
    // No matrix folder: the search finds nothing.
    test::TempDir home;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    w.session().ocrPolicy().useEngine = false;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    NewCharacterDialog& d = w.newCharacterDialog();
    ModalScript script;
    script.onDialog(&w.fontColourDialog(), [&] {
        w.fontColourDialog().ComboBoxTextColor->setCurrentIndex(3);
        test::clickLater(w.fontColourDialog().ButtonOk);
    });
    script.onDialog(&d, [&] {
        d.EditText->setText("Ab");
        test::clickLater(d.ButtonSearchMatrix);
    });
    script.add([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box || !box->text().startsWith("Can't find any matching Char Matrix File."))
            return false;
        return test::pressStandard(m, QMessageBox::Ok);
    });
    QString kept;
    script.onDialog(&d, [&] {
        kept = d.EditText->text() + "/" + d.LabelNbChar->text();
        test::clickLater(d.ButtonPause);
    });
    JobRequest r;
    r.files = {kVob};
    QVERIFY(w.session().startButton(r));
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QCOMPARE(kept, QString("Ab/2"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.session().job().running, 10000);
    // The next showing (a new glyph, or this one read again) starts empty.
    script.onDialog(&d, [&] {
        kept = d.EditText->text();
        test::clickLater(d.ButtonPause);
    });
    w.ButtonPauseClick();
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QCOMPARE(kept, QString());
    QTRY_VERIFY_WITH_TIMEOUT(!w.session().job().running, 10000);
}

void JobWindowTest::progressionControllerSavesAndAdjusts() {
    test::TempDir home, out;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ProgressionController& pc = w.progressionController();
    const std::string base = out.file("picture");
    ModalScript script;
    QString title;
    BitmapAdjustmentDialog& adjust = w.bitmapAdjustmentDialog();
    // The show-only job shows the bitmap adjustment before its first picture.
    script.onDialog(&adjust, [&] { test::clickLater(adjust.BitBtn1); });
    script.onDialog(&pc, [&] { test::clickLater(pc.ButtonSaveAsBmp); });
    script.add([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        if (!fd) return false;
        title = fd->windowTitle();
        return test::answerFileDialog(m, q(base));
    });
    // The controller stays open after a save; a cancelled SUP save writes
    // nothing.
    script.onDialog(&pc, [&] { test::clickLater(pc.ButtonSaveAsSup); });
    script.add([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        if (!fd) return false;
        fd->reject();
        return true;
    });
    script.onDialog(&pc, [&] { test::clickLater(pc.ButtonChangeColor); });
    // "Change &Colors" shows it again; the controller stays.
    script.onDialog(&adjust, [&] { test::clickLater(adjust.BitBtn1); });
    script.onDialog(&pc, [&] { test::clickLater(pc.ButtonPause); });
    JobRequest r;
    r.files = {kVob};
    r.action = ActionMode::OnlyShow;
    QVERIFY(w.session().startButton(r));
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!w.session().job().running && w.session().job().paused, 10000);
    QCOMPARE(title,
             QString::fromUtf8("Save as BMP Subpicture N° 1 , enter the beginning of File Name"));
    std::ifstream bmp(base + ".BMP", std::ios::binary);
    QVERIFY(bmp.good());
    char magic[2] = {};
    bmp.read(magic, 2);
    QCOMPARE(std::string(magic, 2), std::string("BM"));
    QVERIFY(!std::filesystem::exists(base + ".SUP"));
    QCOMPARE(w.session().settings().saveDialogBmpSup, out.path() + "/");
    QCOMPARE(w.session().job().unitsInJob, 1);
}

// "Forced subtitles only" and the VobSub action: the pair of the forced
// units of a disc, the count of forced units shown, then the pair opened
// again as a job file.
void JobWindowTest::forcedSubtitlesToAVobSubPairAndBack() {
    ProgramFolder home;
    test::TempDir dir;
    MainWindow w;
    w.show();
    JobDialog& job = w.jobDialog();
    job.openFolder(kData + "/forced/VIDEO_TS");
    job.FormShow();
    QVERIFY(!job.CheckBoxForcedOnly->isChecked());
    QVERIFY(!job.request().forcedOnly);
    QCOMPARE(job.LabelForcedCount->text(), QString());  // nothing read yet
    QCOMPARE(job.RadioAction[4]->text(), QString("Save SubPictures As VobSub (.idx + .sub)"));
    job.CheckBoxForcedOnly->setChecked(true);
    job.RadioAction[4]->setChecked(true);
    QVERIFY(job.request().forcedOnly);
    QVERIFY(job.request().action == ActionMode::SaveVobSub);

    ModalScript script;
    script.add([&](QWidget* m) { return test::answerFileDialog(m, q(dir.file("forced"))); });
    QTimer::singleShot(0, &job, [&] { job.BitBtnStartClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(w.session().jobOver() && !w.session().job().running, 30000);
    const test::GroundTruth truth = test::loadGroundTruth(kData + "/forced/truth_s1.tsv");
    int forced = 0;
    for (const auto& t : truth.subtitles) forced += t.forced;
    QVERIFY(forced > 0);
    QCOMPARE(w.session().job().unitsInJob, forced);
    QVERIFY(std::filesystem::file_size(dir.file("forced.sub")) >= 2048u * forced);
    job.FormShow();
    QCOMPARE(job.LabelForcedCount->text(),
             QString("Forced subtitles : %1 of %2").arg(forced).arg(truth.subtitles.size()));

    // Open IFO takes the index: its streams, and the index checked.
    script.add([&](QWidget* m) { return test::answerFileDialog(m, q(dir.file("forced.idx"))); });
    QTimer::singleShot(0, &job, [&] { job.ButtonOpenIfoClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 10000);
    QCOMPARE(job.ComboBoxLanguage->itemText(0), QString("1  - English"));
    QCOMPARE(job.request().files, std::vector<std::string>{dir.file("forced.idx")});
}

QTEST_MAIN(JobWindowTest)
#include "job_window_test.moc"
