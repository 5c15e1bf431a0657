// The smaller windows and controls wired to their rules: the numeric edit
// boxes' corrections and warnings, the preview's zoom and background, the
// new-character dialog's field and attention signal, and the file order of
// the job dialog.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <fstream>

#include "app/preview_layout.h"
#include "gui/image_convert.h"
#include "gui/job_dialog.h"
#include "gui/main_window.h"
#include "gui/new_character_dialog.h"
#include "gui/numeric_edit.h"
#include "gui/up_down.h"
#include "modal_script.h"
#include "support/temp_dir.h"

using namespace orvane;
using namespace orvane::gui;

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void numericEditsCorrectWithTheirWarnings();
    void previewZoomAndBackground();
    void newCharacterFieldAndAttentionSignal();
    void jobDialogOrdersFiles();
};

namespace {

// Types into the box, then moves the focus away; returns the warning shown.
QString leaveWith(NumericEdit* edit, QWidget* other, const QString& typed,
                  test::ModalScript& script) {
    // Focus changes reach the boxes only in the active window.
    QApplication::setActiveWindow(edit->window());
    if (!QTest::qWaitForWindowActive(edit->window())) return QString("(window not active)");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
    const qsizetype before = script.messages.size();
    script.add([](QWidget* m) { return test::pressStandard(m, QMessageBox::Ok); });
    other->setFocus();
    if (!QTest::qWaitFor([&] { return script.done(); }, 5000)) return QString("(no warning)");
    QCoreApplication::processEvents();
    return script.messages.size() > before ? script.messages.last() : QString();
}

}  // namespace

void WidgetsTest::numericEditsCorrectWithTheirWarnings() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* word = new WordEdit;
    auto* integer = new IntegerEdit;
    auto* other = new QLineEdit;
    layout->addWidget(word);
    layout->addWidget(integer);
    layout->addWidget(other);
    word->setValeur(0);
    word->setValMin(0);
    word->setValMax(59);
    integer->setValeur(0);
    integer->setValMin(-10);
    integer->setValMax(45);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(word->toolTip(), QString("Entier entre 0 et 59"));
    QCOMPARE(word->maxLength(), 2);
    test::ModalScript script;

    QCOMPARE(leaveWith(word, other, "75", script),
             QString("Valeur trop grande : Valeur maximum = 59"));
    QCOMPARE(word->text(), QString("59"));
    // The box is the window's focus widget again (offscreen windows are
    // not re-activated after the warning closes).
    QTRY_COMPARE(window.focusWidget(), static_cast<QWidget*>(word));

    QCOMPARE(leaveWith(integer, other, "-12", script),
             QString("Valeur trop petite : Valeur minimum = -10"));
    QCOMPARE(integer->text(), QString("-10"));
    QCOMPARE(integer->valeur(), -10);

    // Letters never get in; the minus sign only into the signed box.
    word->setFocus();
    word->clear();
    QTest::keyClicks(word, "a-3b");
    QCOMPARE(word->text(), QString("3"));
    integer->setFocus();
    integer->clear();
    QTest::keyClicks(integer, "x-4");
    QCOMPARE(integer->text(), QString("-4"));

    // An emptied box with bounds 1..45 gets the range warning and 1.
    word->setValMax(45);
    word->setValeur(5);
    word->setValMin(1);
    QCOMPARE(word->toolTip(), QString("Entier entre 1 et 45"));
    QCOMPARE(leaveWith(word, other, "", script),
             QString("Valeur comprise entre 1 et 45 attendue."));
    QCOMPARE(word->text(), QString("1"));
    // A value within bounds passes without a word.
    script.messages.clear();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    word->setFocus();
    word->selectAll();
    QTest::keyClicks(word, "30");
    other->setFocus();
    QTest::qWait(50);
    QVERIFY(script.messages.isEmpty());
    QCOMPARE(word->valeur(), 30);
}

void WidgetsTest::previewZoomAndBackground() {
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.BevelScreen->size(), QSize(724, 580));
    w.ButtonPreviewOptionClick();
    QVERIFY(w.PanelPreviewCfg->isVisible());
    QCOMPARE(w.SpinEditZoom->value(), 100);
    QVERIFY(w.RadioPreviewBack[1]->isChecked());
    // The preset bands, in the stored colours.
    const PreviewOptions& o = w.previewOptions();
    QCOMPARE(w.backgroundImage().pixelColor(10, 84), toQColor(o.borderColour));
    QCOMPARE(w.backgroundImage().pixelColor(10, 85), toQColor(o.innerColour));
    QCOMPARE(w.backgroundImage().pixelColor(10, 491), toQColor(o.borderColour));

    w.SpinEditZoom->setValue(50);
    QCOMPARE(w.previewOptions().zoom, int16_t{500});
    QCOMPARE(w.BevelScreen->size(), QSize(364, 292));
    QCOMPARE(w.ImageBack->size(), QSize(360, 288));

    // A free band height: its ratio and the "Free :" choice; 288 fills all.
    w.SpinEditAspectRatio->setValue(85);
    QCOMPARE(w.PanelRatio->text().right(2), QString(":1"));
    QVERIFY(w.RadioPreviewBack[2]->isChecked());
    QCOMPARE(w.previewOptions().backMode, uint8_t{PreviewOptions::Free});
    w.SpinEditAspectRatio->setValue(288);
    QCOMPARE(w.PanelRatio->text(), QString("*"));
    QCOMPARE(w.backgroundImage().pixelColor(10, 300), toQColor(o.borderColour));
    // A preset chosen while "Free :" is on switches back to "Preset :".
    w.ComboBoxAspectRatio->setCurrentIndex(2);
    emit w.ComboBoxAspectRatio->activated(2);
    QVERIFY(w.RadioPreviewBack[1]->isChecked());
    QCOMPARE(w.backgroundImage().pixelColor(10, 134), toQColor(o.borderColour));
    QCOMPARE(w.backgroundImage().pixelColor(10, 135), toQColor(o.innerColour));

    // Auto zoom follows the window and disables the zoom box.
    w.CheckBoxAutoZoom->setChecked(true);
    QVERIFY(!w.SpinEditZoom->isEnabled());
    const QSize view = w.ScrollPreview->viewport()->size();
    QCOMPARE(w.currentZoom(), preview::autoZoom(view.width() + preview::kWindowExtraWidth - 2,
                                                view.height() + preview::kWindowExtraHeight - 2));

    // A picture at its true position, scaled.
    w.CheckBoxAutoZoom->setChecked(false);
    w.SpinEditZoom->setValue(50);
    Image24 pic(100, 40);
    pic.fill(0xFFFFFF);
    w.showPicture(pic, DisplayArea{200, 400, 299, 439}, true);
    QCOMPARE(w.Image1->geometry(), QRect(102, 202, 50, 20));
    QCOMPARE(w.LabelX1->text(), QString("200"));
    QCOMPARE(w.LabelHeight->text(), QString("40"));
    // The image background with a file that has gone keeps what was shown.
    const QImage before = w.backgroundImage();
    w.previewOptions().backImageName = "/nonexistent/back.jpg";
    w.RadioPreviewBack[3]->click();
    QCOMPARE(w.backgroundImage(), before);
}

void WidgetsTest::newCharacterFieldAndAttentionSignal() {
    MainWindow w;
    NewCharacterDialog& d = w.newCharacterDialog();
    d.show();
    QTest::keyClicks(d.EditText, QString(25, 'x'));
    QCOMPARE(d.EditText->text().size(), 20);
    QCOMPARE(d.LabelNbChar->text(), QString("20"));
    d.EditText->clear();
    QCOMPARE(d.LabelNbChar->text(), QString("0"));

    // Ten quiet seconds, then 24 flashes at 150 ms ending in the normal
    // colour, then ten seconds again.
    d.TimerWakeUp->start();
    d.TimerWakeUpTimer();
    QCOMPARE(d.TimerWakeUp->interval(), NewCharacterDialog::kFlashInterval);
    int redTicks = 0;
    for (int i = 0; i < 24; ++i) {
        d.TimerWakeUpTimer();
        redTicks += d.flashing();
        if (i == 5) QTest::keyClicks(d.EditText, "a");  // typing does not stop it
    }
    QCOMPARE(redTicks, 12);
    QVERIFY(!d.flashing());
    QCOMPARE(d.alarmStep(), 25);
    d.TimerWakeUpTimer();
    QCOMPARE(d.alarmStep(), 0);
    QCOMPARE(d.TimerWakeUp->interval(), NewCharacterDialog::kWakeUpInterval);
    d.hide();
}

void WidgetsTest::jobDialogOrdersFiles() {
    test::TempDir dir;
    for (const char* name : {"VTS_01_1.VOB", "VTS_01_2.VOB", "vts_01_3.vob", "notes.txt"}) {
        std::ofstream f(dir.file(name), std::ios::binary);
        f << std::string(2048, '\0');
    }
    MainWindow w;
    JobDialog& d = w.jobDialog();
    d.show();
    d.listDirectory(dir.path());
    QCOMPARE(d.CheckListBoxVob->count(), 3);
    QCOMPARE(d.CheckListBoxVob->item(0)->text(), QString("VTS_01_1.VOB  [_______2 Kb]"));
    // The first file cannot go up; Ctrl+Down moves it down, and the paths
    // move with the lines.
    d.CheckListBoxVob->setCurrentRow(0);
    d.UpDownFilePoseChangingEx(true);
    QCOMPARE(d.CheckListBoxVob->currentRow(), 0);
    QTest::keyClick(d.CheckListBoxVob, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(d.CheckListBoxVob->item(1)->text().left(12), QString("VTS_01_1.VOB"));
    QCOMPARE(d.paths()[1], dir.file("VTS_01_1.VOB"));
    d.UpDownFilePose->upButton()->click();
    QCOMPARE(d.paths()[0], dir.file("VTS_01_1.VOB"));
    // The last file cannot go down.
    d.CheckListBoxVob->setCurrentRow(2);
    QTest::keyClick(d.CheckListBoxVob, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(d.CheckListBoxVob->currentRow(), 2);
    // Checked files 3 and 1 are read in list order; stream 12 is 0x2B.
    d.CheckListBoxVob->item(2)->setCheckState(Qt::Checked);
    d.CheckListBoxVob->item(0)->setCheckState(Qt::Checked);
    d.ComboBoxLanguage->setCurrentIndex(11);
    d.RadioAction[2]->click();
    QVERIFY(d.CheckBoxPictTiming->isEnabled());
    d.CheckBoxPictTiming->setChecked(true);
    const JobRequest r = d.request();
    QCOMPARE(r.files, (std::vector<std::string>{d.paths()[0], d.paths()[2]}));
    QCOMPARE(r.streamIndex, 11);
    QVERIFY(r.action == ActionMode::SaveSup);
    QVERIFY(r.timing);
    d.RadioAction[3]->click();
    QVERIFY(!d.CheckBoxPictTiming->isEnabled());
    d.hide();
}

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
