// Teaching Orvane glyph by glyph as a person does: Escape in the
// new-character dialog asks before it drops a sub-picture, keys typed for
// one question never reach the next, the dialog shows the line read so far
// and the subtitle it belongs to, its attention signal can be switched off,
// dialogs belong to the window that opened them and stay on the screen, the
// elapsed time runs while a dialog waits, a dropped folder opens the job
// dialog, and the job dialog's folder, stream and matrix outlive a restart.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "app/session.h"
#include "gui/font_colour_dialog.h"
#include "gui/job_dialog.h"
#include "gui/main_window.h"
#include "gui/new_character_dialog.h"
#include "gui/progression_controller.h"
#include "gui/subtitle_window.h"
#include "modal_script.h"
#include "program_home.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::ModalScript;

namespace {

const std::string kData = ORVANE_TEST_DATA;
const std::string kVideoTs = kData + "/pal/VIDEO_TS";
const std::string kVob = kVideoTs + "/VTS_01_1.VOB";
const std::string kShippedMatrix =
    std::string(ORVANE_SHIPPED_MATRICES) + "/dejavu-sans-bold-30.sum";

// A question of the new-character dialog, without a job behind it.
struct Question {
    MatrixEntry glyph;
    CharBox box;
    TextLine line;
    Image24 painted{40, 20};
    Image24 picture{150, 50};
    NewCharacterView view() const {
        return {glyph, box,   line, 1,  1,  painted, picture, {}, {}, 1,
                1,     false, {},   {}, {}, 1,       {},      {}, {}, PieceOf::None};
    }
};

// Once `dialog` has been up for `ms`, runs `act` (from the event loop).
ModalScript::Step after(QWidget* dialog, int ms, std::function<void()> act) {
    auto since = std::make_shared<QElapsedTimer>();
    return [=](QWidget* m) {
        if (m != dialog) return false;
        if (!since->isValid()) since->start();
        if (since->elapsed() < ms) return false;
        QTimer::singleShot(0, dialog, act);
        return true;
    };
}

ModalScript::Step answerBox(int button) {
    return [button](QWidget* m) {
        return qobject_cast<QMessageBox*>(m) && test::pressStandard(m, button);
    };
}

// An OCR job on stream 1 of the sample disc with the disc's matrix less
// the entries reading `text`, its text colour answered in the font colour
// dialog; the script's further steps meet the new-character dialog.
void startOcrWithout(MainWindow& w, ModalScript& script, const std::string& text) {
    Session& s = w.session();
    s.ocrPolicy().useEngine = false;  // the person answers every unknown glyph here
    QVERIFY(s.loadMatrixFile(kShippedMatrix, s.matrix()));
    for (size_t k = s.matrix().size(); k >= 1; --k)
        if (s.matrix().entry(k).text == text) s.matrix().remove(k);
    script.onDialog(&w.fontColourDialog(), [&w] {
        w.fontColourDialog().ComboBoxTextColor->setCurrentIndex(3);
        test::clickLater(w.fontColourDialog().ButtonOk);
    });
    JobRequest r;
    r.files = {kVob};
    QVERIFY(s.startButton(r));
}

void finishJob(MainWindow& w) {
    QTRY_VERIFY_WITH_TIMEOUT(w.session().jobOver() && !w.session().job().running, 30000);
}

}  // namespace

class TeachingTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void strayEscapeAsksBeforeSkipping();
    void keysTypedBeforeTheGuardTimeAreDropped();
    void dialogShowsTheLineReadSoFar();
    void attentionSignalCanBeSwitchedOff();
    void subtitleWindowDialogsBelongToIt();
    void progressionControllerKeepsItsPlaceOnTheScreen();
    void elapsedTimeRunsWhileADialogWaits();
    void droppedFolderOrFilesOpenTheJobDialog();
    void shortcutsOpenSaveAndAbout();
    void jobSettingsOutliveARestart();
};

void TeachingTest::strayEscapeAsksBeforeSkipping() {
    test::ProgramHome home;
    MainWindow w;
    NewCharacterDialog& d = w.newCharacterDialog();
    Question q;
    ModalScript script;
    const auto escape = [&d] { QTest::keyClick(d.EditText, Qt::Key_Escape); };
    // Escape, then No: the question stays.
    script.add(after(&d, NewCharacterDialog::kKeyGuardMs, escape));
    script.add(answerBox(QMessageBox::No));
    bool stillAsked = false;
    script.add(after(&d, 0, [&] {
        stillAsked = d.isVisible();
        escape();
    }));
    // Escape, then Yes: the sub-picture is skipped.
    script.add(answerBox(QMessageBox::Yes));
    const NewCharChoice c = d.run(q.view());
    QVERIFY(script.done());
    QVERIFY(stillAsked);
    QCOMPARE(script.messages.size(), 2);
    QVERIFY(script.messages[0].startsWith("Skip this SubPicture?"));
    QVERIFY(c.action == NewCharAction::SkipPicture);
}

void TeachingTest::keysTypedBeforeTheGuardTimeAreDropped() {
    test::ProgramHome home;
    MainWindow w;
    NewCharacterDialog& d = w.newCharacterDialog();
    Question q;
    // "h" and Enter typed for the question before, still queued when this
    // one comes up.
    for (const auto& [key, text] :
         {std::pair{Qt::Key_H, QString("h")}, std::pair{Qt::Key_Return, QString("\r")}}) {
        QCoreApplication::postEvent(d.EditText,
                                    new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
        QCoreApplication::postEvent(d.EditText,
                                    new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
    }
    ModalScript script;
    QString before;
    script.add(after(&d, NewCharacterDialog::kKeyGuardMs + 50, [&] {
        before = d.EditText->text();
        QTest::keyClicks(d.EditText, "J");
        QTest::keyClick(d.EditText, Qt::Key_Return);
    }));
    const NewCharChoice c = d.run(q.view());
    QVERIFY(script.done());
    QCOMPARE(before, QString());
    QVERIFY(c.action == NewCharAction::Accept);
    QCOMPARE(QString::fromStdString(c.text), QString("J"));
}

void TeachingTest::dialogShowsTheLineReadSoFar() {
    test::ProgramHome home;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    NewCharacterDialog& d = w.newCharacterDialog();
    ModalScript script;
    QString line, subtitle, piece;
    QImage closeUp;
    startOcrWithout(w, script, "e");
    // "Good evening, everyone.": the first "e" asked, the others unknown.
    script.add(after(&d, 0, [&] {
        line = d.LabelLine->text();
        subtitle = d.LabelSubtitle->text();
        piece = d.LabelPiece->isVisible() ? d.LabelPiece->text() : QString();
        closeUp = d.ImageGlyph->pixmap().toImage();
        test::clickLater(d.ButtonPause);
    }));
    QTRY_VERIFY_WITH_TIMEOUT(script.done() && !w.session().job().running, 30000);
    QCOMPARE(line, QString("Good [?]v_ning, _v_ryon_."));
    QVERIFY2(subtitle.startsWith("SubTitle 1 "), qPrintable(subtitle));
    QVERIFY2(subtitle.endsWith(" line 1"), qPrintable(subtitle));
    QCOMPARE(piece, QString());
    // At least four times the 150 x 50 band's scale, with the baseline and
    // the x-height drawn.
    QVERIFY(closeUp.height() >= 4 * 30);
    bool baseline = false, xHeight = false;
    for (int y = 0; y < closeUp.height(); ++y) {
        const QRgb c = closeUp.pixel(0, y) & 0xFFFFFF;
        baseline |= c == 0x00C000;
        xHeight |= c == 0xE0B000;  // 0x00BBGGRR in the picture, RGB on screen
    }
    QVERIFY(baseline);
    QVERIFY(xHeight);
}

void TeachingTest::attentionSignalCanBeSwitchedOff() {
    test::ProgramHome home;
    MainWindow w;
    NewCharacterDialog& d = w.newCharacterDialog();
    Question q;
    for (const bool on : {false, true}) {
        if (d.CheckBoxAttention->isChecked() != on) d.CheckBoxAttention->click();
        QCOMPARE(w.session().settings().attentionSignal, on);
        ModalScript script;
        bool waking = !on;
        script.add(after(&d, 0, [&] {
            waking = d.TimerWakeUp->isActive();
            d.BitBtn1->click();
        }));
        d.run(q.view());
        QVERIFY(script.done());
        QCOMPARE(waking, on);
    }
}

void TeachingTest::subtitleWindowDialogsBelongToIt() {
    test::ProgramHome home;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.session().document().appendEntry({"one"}, true, {}, {0, 0, 2, 0}, {0, 0, 1, 0});
    SubtitleWindow& sw = w.subtitleWindow();
    sw.show();
    QStringList wrong;
    for (QAction* a :
         {sw.SetOutputFormat1, sw.TimeCorrection1, sw.Splitoutputfile1, sw.PostOCRCorrection1}) {
        ModalScript script;
        script.add([&](QWidget* m) {
            auto* dialog = qobject_cast<QDialog*>(m);
            if (!dialog) return false;
            if (dialog->parentWidget() != &sw) wrong << a->objectName();
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
            return true;
        });
        a->trigger();
        QVERIFY2(script.done(), qPrintable(a->objectName()));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
}

void TeachingTest::progressionControllerKeepsItsPlaceOnTheScreen() {
    test::ProgramHome home;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect screen = w.screen()->availableGeometry();
    // The main window mostly off the right edge: the controller placed
    // beside it would be too.
    w.move(screen.right() - 60, screen.top() + 10);
    ProgressionController& pc = w.progressionController();
    const QPoint moved(screen.left() + 30, screen.top() + 40);
    QRect first;
    QPoint second;
    ModalScript script;
    script.add(after(&pc, 0, [&] {
        first = pc.frameGeometry();
        pc.move(moved);
        pc.ButtonNext->click();
    }));
    script.add(after(&pc, 0, [&] {
        second = pc.pos();
        pc.ButtonNext->click();
    }));
    pc.run(1);
    pc.run(2);
    QVERIFY(script.done());
    QVERIFY2(screen.contains(first), qPrintable(QString("%1,%2 %3x%4")
                                                    .arg(first.x())
                                                    .arg(first.y())
                                                    .arg(first.width())
                                                    .arg(first.height())));
    QCOMPARE(second, moved);
}

void TeachingTest::elapsedTimeRunsWhileADialogWaits() {
    test::ProgramHome home;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    uint32_t now = 1000;
    w.ui().setClock([&now] { return now; });
    NewCharacterDialog& d = w.newCharacterDialog();
    ModalScript script;
    startOcrWithout(w, script, "e");
    // The person thinks for 65 seconds over the first question; the label
    // follows while the dialog is still open.
    script.onDialog(&d, [&] { now += 65000; });
    script.add([&](QWidget* m) {
        if (m != &d || w.LabelTimeElapsed->text() != "00:01:05") return false;
        test::clickLater(d.ButtonSkipSubPict);
        return true;
    });
    script.setFallback([&](QWidget* m) {
        if (m == &d) test::clickLater(d.ButtonSkipSubPict);
        return m == &d;
    });
    finishJob(w);
    QVERIFY(script.done());
    // The wait is counted as waiting, which the estimate leaves out.
    QCOMPARE(w.session().waitedMs(), 65000u);
    QVERIFY2(w.statusBar()->currentMessage().startsWith("Job finished: "),
             qPrintable(w.statusBar()->currentMessage()));
    QCOMPARE(w.LabelTimeRemaining->text(), QString("00:00:00"));
}

void TeachingTest::droppedFolderOrFilesOpenTheJobDialog() {
    test::ProgramHome home;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    JobDialog& job = w.jobDialog();
    // The disc's folder (holding VIDEO_TS), then its VOB file.
    for (const std::string& dropped : {kData + "/pal", kVob}) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &drop);
        ModalScript script;
        std::vector<std::string> checked;
        QString firstStream;
        script.onDialog(&job, [&] {
            checked = job.request().files;
            firstStream = job.ComboBoxLanguage->itemText(0);
            job.BitBtnCancel->click();
        });
        QTRY_VERIFY(script.done());
        QCOMPARE(checked, std::vector<std::string>{kVob});
        QCOMPARE(firstStream, QString("1  - English"));  // named from the title set's IFO
    }
}

void TeachingTest::shortcutsOpenSaveAndAbout() {
    test::ProgramHome home;
    MainWindow w;
    w.show();
    w.session().document().appendEntry({"one"}, true, {}, {0, 0, 2, 0}, {0, 0, 1, 0});
    const std::pair<QKeySequence, QString> keys[] = {{QKeySequence("Ctrl+O"), "JobDialog"},
                                                     {QKeySequence("Ctrl+S"), "QFileDialog"},
                                                     {QKeySequence("F1"), "AboutDialog"}};
    for (const auto& [key, kind] : keys) {
        ModalScript script;
        QString seen;
        script.add([&](QWidget* m) {
            if (!m) return false;
            seen = m->metaObject()->className();
            QMetaObject::invokeMethod(m, "reject", Qt::QueuedConnection);
            return true;
        });
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keySequence(&w, key);
        QTRY_VERIFY(script.done());
        QVERIFY2(seen.endsWith(kind), qPrintable(seen));
    }
}

void TeachingTest::jobSettingsOutliveARestart() {
    test::ProgramHome home;
    {
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.jobDialog().openFolder(kVideoTs + "/");
        w.jobDialog().selectStream(1);
        QVERIFY(w.session().loadMatrixFile(kShippedMatrix, w.session().matrix()));
        w.newCharacterDialog().CheckBoxAttention->click();
        QVERIFY(w.close());
    }
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.jobDialog().folder(), kVideoTs + "/");
    QCOMPARE(w.jobDialog().ComboBoxLanguage->currentIndex(), 1);
    QCOMPARE(w.jobDialog().request().files, std::vector<std::string>{kVob});
    QCOMPARE(w.session().matrix().fileName(), kShippedMatrix);
    QVERIFY(!w.session().settings().attentionSignal);
}

QTEST_MAIN(TeachingTest)
#include "teaching_test.moc"
