// The OCR advanced setup opened from its menu item and driven through its
// controls: typed values and the track bar follow each other, "Save these
// Values" writes what the controls show, "Reload Default Values" resets the
// running limits at once, Cancel discards edits, and a value out of range
// is corrected with its warning before it reaches the limits.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "app/session.h"
#include "config/ini_file.h"
#include "gui/main_window.h"
#include "gui/numeric_edit.h"
#include "gui/ocr_setup_dialog.h"
#include "modal_script.h"
#include "support/temp_dir.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::ModalScript;

namespace {

// Types into a numeric field as a person would: the old text selected and
// replaced key by key.
void typeInto(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
}

}  // namespace

class OcrSetupTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void saveWritesTheValuesShownAndLeavesOnlyOk();
    void defaultsResetTheRunningLimitsAndCancelDiscardsEdits();
    void aValueOutOfRangeIsCorrectedBeforeOk();
};

void OcrSetupTest::saveWritesTheValuesShownAndLeavesOnlyOk() {
    test::TempDir home;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.OCRAdvancedSetup1->isEnabled());
    OcrSetupDialog& d = w.ocrSetupDialog();
    const OcrSettings& s = w.session().ocrSettings();
    ModalScript script;
    bool escapeKeptItOpen = false;
    script.onDialog(&d, [&] {
        [&] {
            QCOMPARE(d.windowTitle(), QString("OCR Advanced Setup"));
            QCOMPARE(d.Word_uSensibility->text(), QString("980"));
            QCOMPARE(d.TrackBarSensibility->value(), 980);
            QCOMPARE(d.Integer_uDetectItaWidth->text(), QString("-1"));
            QCOMPARE(d.Word_uMinInterLine->toolTip(), QString("Entier entre 1 et 50"));
            QCOMPARE(d.Integer_uMinSpaceWidth->toolTip(), QString("Entier entre -10 et 45"));
            QVERIFY(d.BitBtnCancel->isEnabled());
            typeInto(d.Word_uSensibility, "995");
            QCOMPARE(d.TrackBarSensibility->value(), 995);
            d.TrackBarSensibility->setValue(500);
            QCOMPARE(d.Word_uSensibility->text(), QString("500"));
            typeInto(d.Integer_uMinSpaceWidth, "-5");
            typeInto(d.Word_uLineMaxHeight, "30");
            d.CheckBoxDetachedChar->setChecked(false);
            // Nothing reaches the limits before a button says so.
            QCOMPARE(s.sensibility, uint16_t(980));
            d.ButtonSaveValues->click();
            QCOMPARE(s.sensibility, uint16_t(500));
            QCOMPARE(s.spaceWidth, -5);
            QCOMPARE(s.maxLineHeight, uint8_t(30));
            QVERIFY(!s.checkDetachedChar);
            QVERIFY(!d.BitBtnCancel->isEnabled());
        }();
        QTest::keyClick(&d, Qt::Key_Escape);
        escapeKeptItOpen = d.isVisible();
        test::clickLater(d.BitBtnOk);
    });
    test::later([&] { w.OCRAdvancedSetup1->trigger(); });
    QTRY_VERIFY_WITH_TIMEOUT(script.done() && !d.isVisible(), 10000);
    QVERIFY(escapeKeptItOpen);

    const IniFile ini(w.configurationPath());
    QCOMPARE(ini.readInteger("OCR SETTING", "Sensibility", 0), 500);
    QCOMPARE(ini.readInteger("OCR SETTING", "SpaceWidth", 0), -5);
    QCOMPARE(ini.readInteger("OCR SETTING", "MaxLineHeight", 0), 30);
    QCOMPARE(ini.readInteger("OCR SETTING", "CheckDetachedChar", 1), 0);
    QCOMPARE(ini.readInteger("OCR SETTING", "DetectItaWidth", 0), -1);
    QCOMPARE(ini.keys("OCR SETTING").size(), size_t(13));
}

void OcrSetupTest::defaultsResetTheRunningLimitsAndCancelDiscardsEdits() {
    test::TempDir home;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    OcrSetupDialog& d = w.ocrSetupDialog();
    OcrSettings& s = w.session().ocrSettings();
    s.sensibility = 900;
    s.minCharWidth = 5;
    s.detectItaWidth = 3;
    ModalScript script;
    script.onDialog(&d, [&] {
        [&] {
            QCOMPARE(d.Word_uSensibility->text(), QString("900"));
            QCOMPARE(d.TrackBarSensibility->value(), 900);
            QCOMPARE(d.Word_uCharMinWidth->text(), QString("5"));
            typeInto(d.Word_uCharMinWidth, "9");
        }();
        test::clickLater(d.BitBtnCancel);
    });
    test::later([&] { w.OCRAdvancedSetup1->trigger(); });
    QTRY_VERIFY_WITH_TIMEOUT(script.done() && !d.isVisible(), 10000);
    QCOMPARE(s.minCharWidth, uint8_t(5));
    QCOMPARE(d.Word_uCharMinWidth->text(), QString("5"));

    // "Reload Default Values" changes the running limits at once.
    script.onDialog(&d, [&] {
        [&] {
            QVERIFY(d.BitBtnCancel->isEnabled());
            d.ButtonDefaultValues->click();
            QCOMPARE(s, OcrSettings{});
            QCOMPARE(d.Word_uSensibility->text(), QString("980"));
            QCOMPARE(d.TrackBarSensibility->value(), 980);
            QCOMPARE(d.Integer_uDetectItaWidth->text(), QString("-1"));
            QVERIFY(!d.BitBtnCancel->isEnabled());
        }();
        test::clickLater(d.BitBtnOk);
    });
    test::later([&] { w.OCRAdvancedSetup1->trigger(); });
    QTRY_VERIFY_WITH_TIMEOUT(script.done() && !d.isVisible(), 10000);
    QCOMPARE(s, OcrSettings{});
    // Only "Save these Values" writes the limits.
    QVERIFY(!IniFile(w.configurationPath()).hasSection("OCR SETTING"));
}

void OcrSetupTest::aValueOutOfRangeIsCorrectedBeforeOk() {
    test::TempDir home;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    OcrSetupDialog& d = w.ocrSetupDialog();
    const OcrSettings& s = w.session().ocrSettings();
    ModalScript script;
    script.onDialog(&d, [&] {
        // Pasted, so no focus change has checked it yet.
        d.Word_uOcrTopDiff->setText("75");
        test::clickLater(d.BitBtnOk);
    });
    script.add([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box || box->text() != "Valeur trop grande : Valeur maximum = 45") return false;
        return test::pressStandard(m, QMessageBox::Ok);
    });
    test::later([&] { w.OCRAdvancedSetup1->trigger(); });
    QTRY_VERIFY_WITH_TIMEOUT(script.done() && !d.isVisible(), 10000);
    // The bound, not a limit outside the field's range.
    QCOMPARE(s.maxCharDiffTop, uint8_t(45));
    QCOMPARE(d.Word_uOcrTopDiff->text(), QString("45"));
}

QTEST_MAIN(OcrSetupTest)
#include "ocr_setup_test.moc"
