// The subtitle window's whole-document dialogs driven through their real
// controls: the output format, the time correction, the split and the
// post-OCR correction. Each is opened from its menu item or tool button,
// its modal questions answered as they come, and the document checked
// afterwards.

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <cstdlib>

#include "app/session.h"
#include "gui/main_window.h"
#include "gui/output_format_dialog.h"
#include "gui/subtitle_window.h"
#include "modal_script.h"
#include "support/temp_dir.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::ModalScript;

namespace {

struct ProgramFolder {
    test::TempDir dir;
    ProgramFolder() { setenv("ORVANE_HOME", dir.path().c_str(), 1); }
};

void add(Session& s, int64_t startMs, int64_t stopMs, std::vector<std::string> lines) {
    s.document().appendEntry(std::move(lines), true, {}, timeCodeFromMs(stopMs),
                             timeCodeFromMs(startMs));
}

// The list of the subtitle window shows exactly the document's lines.
bool listShowsDocument(SubtitleWindow& sw, const SubtitleDocument& doc) {
    if (static_cast<size_t>(sw.ListBoxSubtitle->count()) != doc.displayLines().size()) return false;
    for (size_t i = 0; i < doc.displayLines().size(); ++i)
        if (sw.ListBoxSubtitle->item(static_cast<int>(i))->text() !=
            QString::fromLatin1(doc.displayLines()[i].c_str()))
            return false;
    return true;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void outputFormatConvertsAndKeepsPagesApart();
    void outputFormatColoursLiveFieldsAndSelection();
};

void DialogsTest::outputFormatConvertsAndKeepsPagesApart() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    Session& s = w.session();
    SubtitleDocument& doc = s.document();
    SubtitleWindow& sw = w.subtitleWindow();
    OutputFormatDialog& d = w.outputFormatDialog();
    add(s, 10000, 12500, {"First line", "second"});
    add(s, 3723456, 3725000, {"Later"});
    doc.setModified(false);
    doc.settings().iauthorBlend[1] = 7;
    doc.settings().philipsFrameRate = 0;
    doc.settings().philipsDropFrame = true;
    QVERIFY(sw.SetOutputFormat1->isEnabled());
    QVERIFY(sw.CoolButtonOutputFormat->isEnabled());

    // The menu item: the dialog comes up on the current format's page with
    // the settings in its controls; the Sonic page with NTSC and drop frame
    // is converted to.
    ModalScript script;
    bool shownAsStored = false, dropFrameFollowsRate = false;
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        shownAsStored =
            d.windowTitle() == "Output Format" && d.PageControlOrvane->currentIndex() == 0 &&
            d.SpinEditBlendPColor[1]->value() == 7 &&
            d.ComboBoxPhilipsFrameRate->currentIndex() == 0 &&
            !d.CheckBoxPhilipsDropFrame->isEnabled() && d.CheckBoxPhilipsDropFrame->isChecked();
        d.PageControlOrvane->setCurrentWidget(d.TabSheetSonic);
        const bool offWithPal = !d.CheckBoxSonicDropFrame->isEnabled();
        d.ComboBoxSonicFrameRate->setCurrentIndex(1);
        dropFrameFollowsRate = offWithPal && d.CheckBoxSonicDropFrame->isEnabled();
        d.CheckBoxSonicDropFrame->setChecked(true);
        test::clickLater(d.BitBtnConvert);
        return true;
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QVERIFY(shownAsStored);
    QVERIFY(dropFrameFollowsRate);
    QVERIFY(!d.isVisible());
    QCOMPARE(doc.format(), OutputFormat::Sonic);
    QCOMPARE(doc.settings().sonicFrameRate, uint8_t{1});
    QVERIFY(doc.settings().sonicDropFrame);
    // The Philips page kept its own rate and drop frame.
    QCOMPARE(doc.settings().philipsFrameRate, uint8_t{0});
    QVERIFY(doc.settings().philipsDropFrame);
    QVERIFY(doc.modified());
    QCOMPARE(doc.proposedFileName(), std::string("New File.txt"));
    // Sonic entries at NTSC: 01:02:03,456 is frame 13 of 30.
    QVERIFY(listShowsDocument(sw, doc));
    QVERIFY(sw.ListBoxSubtitle->count() > 0);
    bool ntscFrames = false;
    for (const std::string& line : doc.displayLines())
        if (line.find("01:02:03:13") != std::string::npos) ntscFrames = true;
    QVERIFY2(ntscFrames, doc.displayLines().back().c_str());

    // The tool button opens it on the Sonic page; Philips with NTSC, drop
    // frame, then PAL again disables the box but keeps it checked; the
    // bitmap colours hide the panels. Cancel keeps the format.
    bool sonicPage = false, palKeepsCheck = false, panelsFollow = false;
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        sonicPage = d.PageControlOrvane->currentWidget() == d.TabSheetSonic;
        d.PageControlOrvane->setCurrentWidget(d.TabSheetPhilips);
        d.ComboBoxPhilipsFrameRate->setCurrentIndex(1);
        d.CheckBoxPhilipsDropFrame->setChecked(true);
        d.ComboBoxPhilipsFrameRate->setCurrentIndex(0);
        palKeepsCheck =
            !d.CheckBoxPhilipsDropFrame->isEnabled() && d.CheckBoxPhilipsDropFrame->isChecked();
        d.CheckBoxPhilipsUseBmpColor->setChecked(false);
        const bool shown = d.PanelPhilipsColor[2]->isVisible() && d.LabelPhilipsColor->isEnabled();
        d.CheckBoxPhilipsUseBmpColor->click();
        panelsFollow = shown && !d.PanelPhilipsColor[2]->isVisible() &&
                       !d.LabelPhilipsColor->isEnabled() &&
                       d.CheckBoxPhilipsUseBmpColor->isChecked();
        test::clickLater(d.BitBtn1);
        return true;
    });
    sw.CoolButtonOutputFormat->click();
    QVERIFY(script.done());
    QVERIFY(sonicPage);
    QVERIFY(palKeepsCheck);
    QVERIFY(panelsFollow);
    QCOMPARE(doc.format(), OutputFormat::Sonic);

    // SubViewer 1 of an empty document: the 16 header lines alone.
    doc.clear();
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        d.PageControlOrvane->setCurrentWidget(d.TabSheetSubviewer);
        test::clickLater(d.BitBtnConvert);
        return true;
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.format(), OutputFormat::SubViewer1);
    QCOMPARE(sw.ListBoxSubtitle->count(), 16);
    QCOMPARE(sw.ListBoxSubtitle->item(0)->text(), QString("[TITLE]"));
    QVERIFY(listShowsDocument(sw, doc));
}

void DialogsTest::outputFormatColoursLiveFieldsAndSelection() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    Session& s = w.session();
    SubtitleDocument& doc = s.document();
    SubtitleWindow& sw = w.subtitleWindow();
    OutputFormatDialog& d = w.outputFormatDialog();
    add(s, 1000, 2000, {"pict0001.bmp"});
    doc.entry(1).rect = {100, 400, 619, 459};
    doc.settings().ovtExtended = false;

    // IAuthor: a colour panel through the colour dialog, a blend, and the
    // conversion turns the extended own format on.
    ModalScript script;
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        d.PageControlOrvane->setCurrentWidget(d.TabSheetIAuthor);
        d.SpinEditBlendPColor[2]->setValue(9);
        d.SpinEditMinimumInterval->setValue(250);
        test::clickLater(d.PanelPColor[0]);
        return true;
    });
    script.add([&](QWidget* m) {
        auto* colours = qobject_cast<QColorDialog*>(m);
        if (!colours) return false;
        colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        test::acceptLater(colours);
        return true;
    });
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        test::clickLater(d.BitBtnConvert);
        return true;
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.format(), OutputFormat::IAuthor);
    QCOMPARE(doc.settings().iauthorColour[0], ColourRef{0x563412});
    QCOMPARE(doc.settings().iauthorBlend[2], uint8_t{9});
    QCOMPARE(doc.settings().iauthorMinimumInterval, uint16_t{250});
    QVERIFY(doc.settings().ovtExtended);

    // Back to the own format: the rectangles stay on the time line; the
    // index offset and the SubViewer title are live, so Cancel keeps them.
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        d.PageControlOrvane->setCurrentWidget(d.TabSheetOrvane);
        test::clickLater(d.BitBtnConvert);
        return true;
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.format(), OutputFormat::Orvane);
    QVERIFY(doc.settings().ovtExtended);
    bool rectangleShown = false;
    for (const std::string& line : doc.displayLines())
        if (line.find("619") != std::string::npos) rectangleShown = true;
    QVERIFY(rectangleShown);

    script.add([&](QWidget* m) {
        if (m != &d) return false;
        d.SpinEditOrvaneOffset->setValue(100);
        d.PageControlOrvane->setCurrentWidget(d.TabSheetSubviewer);
        QTest::keyClicks(d.EditSubviewerTitle, "Caf");
        d.EditSubviewerTitle->insert(QString::fromUtf8("\u00e9"));  // not on the test keyboard
        d.CheckBoxRoundTC->setChecked(false);
        test::clickLater(d.BitBtn1);
        return true;
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.format(), OutputFormat::Orvane);
    QCOMPARE(doc.settings().indexOffset, uint16_t{100});
    QCOMPARE(doc.settings().subViewer1.title, std::string("Caf\xe9"));
    QVERIFY(!doc.settings().subViewer1.roundToSeconds);
    QCOMPARE(doc.settings().subViewer1.source, std::string("Subtitles captured by Orvane 0.97b"));

    // A number read from an opened file shows in the offset field next time.
    doc.settings().indexOffset = 41;
    bool offsetShown = false;
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        offsetShown = d.SpinEditOrvaneOffset->value() == 41;
        test::clickLater(d.BitBtn1);
        return true;
    });
    sw.CoolButtonOutputFormat->click();
    QVERIFY(script.done());
    QVERIFY(offsetShown);

    // The bitmap adjustment's selection: no dialog, the format switched with
    // the settings as they were, and the list rebuilt.
    const OutputSettings before = doc.settings();
    w.ui().showOutputFormat(OutputFormat::Philips);
    QVERIFY(!d.isVisible());
    QCOMPARE(doc.format(), OutputFormat::Philips);
    QVERIFY(doc.settings() == before);
    QVERIFY(listShowsDocument(sw, doc));
    QVERIFY(sw.ListBoxSubtitle->item(0)->text().contains("PHILIPS"));
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
