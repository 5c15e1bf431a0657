// The subtitle window's whole-document dialogs driven through their real
// controls: the output format, the time correction, the split and the
// post-OCR correction. Each is opened from its menu item or tool button,
// its modal questions answered as they come, and the document checked
// afterwards.

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>

#include "app/session.h"
#include "gui/language_binding.h"
#include "gui/main_window.h"
#include "gui/numeric_edit.h"
#include "gui/output_format_dialog.h"
#include "gui/post_ocr_dialog.h"
#include "gui/split_dialog.h"
#include "gui/subtitle_window.h"
#include "gui/time_correction_dialog.h"
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

// Types over the box's text as a person would.
void typeInto(WordEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

std::string times(const SubtitleDocument& doc, size_t i) {
    return formatTimeCode(doc.entry(i).start) + " " + formatTimeCode(doc.entry(i).stop);
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void outputFormatConvertsAndKeepsPagesApart();
    void outputFormatColoursLiveFieldsAndSelection();
    void outputFormatPagesFollowTheTableAndChooseUtf8();
    void timeCorrectionOffsetQuestionAndKeptFields();
    void timeCorrectionDurationsStretchAndResets();
    void splitRangeThroughTheDialog();
    void postOcrCorrectionThroughTheDialog();
    void languageFilesReachTheDialogs();
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
    script.onDialog(&d, [&] {
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
    script.onDialog(&d, [&] {
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
    });
    sw.CoolButtonOutputFormat->click();
    QVERIFY(script.done());
    QVERIFY(sonicPage);
    QVERIFY(palKeepsCheck);
    QVERIFY(panelsFollow);
    QCOMPARE(doc.format(), OutputFormat::Sonic);

    // SubViewer 1 of an empty document: the 16 header lines alone.
    doc.clear();
    script.onDialog(&d, [&] {
        d.PageControlOrvane->setCurrentWidget(d.TabSheetSubviewer);
        test::clickLater(d.BitBtnConvert);
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
    script.onDialog(&d, [&] {
        d.PageControlOrvane->setCurrentWidget(d.TabSheetIAuthor);
        d.SpinEditBlendPColor[2]->setValue(9);
        d.SpinEditMinimumInterval->setValue(250);
        test::clickLater(d.PanelPColor[0]);
    });
    script.add([&](QWidget* m) {
        auto* colours = qobject_cast<QColorDialog*>(m);
        if (!colours) return false;
        colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        test::acceptLater(colours);
        return true;
    });
    script.onDialog(&d, [&] { test::clickLater(d.BitBtnConvert); });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.format(), OutputFormat::IAuthor);
    QCOMPARE(doc.settings().iauthorColour[0], ColourRef{0x563412});
    QCOMPARE(doc.settings().iauthorBlend[2], uint8_t{9});
    QCOMPARE(doc.settings().iauthorMinimumInterval, uint16_t{250});
    QVERIFY(doc.settings().ovtExtended);

    // Back to the own format: the rectangles stay on the time line; the
    // index offset and the SubViewer title are live, so Cancel keeps them.
    script.onDialog(&d, [&] {
        d.PageControlOrvane->setCurrentWidget(d.TabSheetOrvane);
        test::clickLater(d.BitBtnConvert);
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.format(), OutputFormat::Orvane);
    QVERIFY(doc.settings().ovtExtended);
    // The extended time line carries the entry's rectangle.
    const auto& shown = doc.displayLines();
    QVERIFY(std::find(shown.begin(), shown.end(),
                      "00:00:01,000 --> 00:00:02,000  X1:100 X2:619 Y1:400 Y2:459") != shown.end());

    script.onDialog(&d, [&] {
        d.SpinEditOrvaneOffset->setValue(100);
        d.PageControlOrvane->setCurrentWidget(d.TabSheetSubviewer);
        QTest::keyClicks(d.EditSubviewerTitle, "Caf");
        d.EditSubviewerTitle->insert(QString::fromUtf8("\u00e9"));  // not on the test keyboard
        d.CheckBoxRoundTC->setChecked(false);
        test::clickLater(d.BitBtn1);
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
    script.onDialog(&d, [&] {
        offsetShown = d.SpinEditOrvaneOffset->value() == 41;
        test::clickLater(d.BitBtn1);
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

void DialogsTest::outputFormatPagesFollowTheTableAndChooseUtf8() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    Session& s = w.session();
    SubtitleDocument& doc = s.document();
    SubtitleWindow& sw = w.subtitleWindow();
    OutputFormatDialog& d = w.outputFormatDialog();
    add(s, 1000, 2000, {"Caf\xE9"});
    doc.entry(1).rect = {100, 30, 619, 90};  // upper half

    // One page per format, in the table's order, named and captioned by it.
    const auto formats = outputFormats();
    QCOMPARE(d.PageControlOrvane->count(), static_cast<int>(formats.size()));
    for (size_t i = 0; i < formats.size(); ++i) {
        QWidget* page = d.PageControlOrvane->widget(static_cast<int>(i));
        QCOMPARE(page->objectName(), QString(formats[i].pageName));
        QCOMPARE(d.PageControlOrvane->tabText(static_cast<int>(i)),
                 QString(formats[i].pageCaption));
        QCOMPARE(d.pageFormats()[i], formats[i].id);
    }
    auto* vtt = d.findChild<QWidget*>("TabSheetWebVtt");
    auto* ass = d.findChild<QWidget*>("TabSheetAss");
    QVERIFY(vtt && ass);
    QVERIFY(ass->findChild<QLabel*>("LabelAssNote")->text().contains("italics"));

    // The own format in UTF-8: chosen on its page, kept by Convert, shown
    // again next time; the saved bytes follow.
    ModalScript script;
    script.onDialog(&d, [&] {
        d.PageControlOrvane->setCurrentWidget(d.TabSheetOrvane);
        d.ComboBoxOvtEncoding->setCurrentIndex(1);
        test::clickLater(d.BitBtnConvert);
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.settings().ovtEncoding, TextEncoding::Utf8);
    QVERIFY(doc.savedText().find("Caf\xC3\xA9\r\n") != std::string::npos);

    // WebVTT, then ASS: the page becomes the format; the picture in the
    // upper half is placed at the top. Each dialog opens on the current
    // format's page with UTF-8 still chosen.
    struct Step {
        QWidget* page;
        OutputFormat format;
        const char* line;
        const char* proposed;
    };
    for (const Step& step :
         {Step{vtt, OutputFormat::WebVtt, "00:00:01.000 --> 00:00:02.000 line:0", "New File.vtt"},
          Step{ass, OutputFormat::Ass,
               "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\an8}Caf\xE9",
               "New File.ass"}}) {
        bool utf8Shown = false;
        script.onDialog(&d, [&] {
            utf8Shown = d.ComboBoxOvtEncoding->currentIndex() == 1;
            d.PageControlOrvane->setCurrentWidget(step.page);
            test::clickLater(d.BitBtnConvert);
        });
        sw.CoolButtonOutputFormat->click();
        QVERIFY(script.done());
        QVERIFY(utf8Shown);
        QCOMPARE(doc.format(), step.format);
        QCOMPARE(doc.proposedFileName(), std::string(step.proposed));
        QVERIFY(listShowsDocument(sw, doc));
        const auto& shown = doc.displayLines();
        QVERIFY2(std::find(shown.begin(), shown.end(), step.line) != shown.end(), step.line);
    }
    bool assPage = false;
    script.onDialog(&d, [&] {
        assPage = d.PageControlOrvane->currentWidget() == ass;
        test::clickLater(d.BitBtn1);
    });
    sw.SetOutputFormat1->trigger();
    QVERIFY(script.done());
    QVERIFY(assPage);
}

void DialogsTest::timeCorrectionOffsetQuestionAndKeptFields() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    Session& s = w.session();
    SubtitleDocument& doc = s.document();
    SubtitleWindow& sw = w.subtitleWindow();
    TimeCorrectionDialog& d = w.timeCorrectionDialog();
    add(s, 10000, 12500, {"one"});
    add(s, 20000, 0, {"open stop"});
    doc.setModified(false);
    QVERIFY(sw.TimeCorrection1->isEnabled());
    QVERIFY(sw.CoolButtonTimeCorrection->isEnabled());

    // +2 s typed into the seconds box: both entries move, the open stop
    // becomes 2 s.
    ModalScript script;
    bool startsAtZero = false;
    script.onDialog(&d, [&] {
        startsAtZero = d.windowTitle() == "Time correction" && d.offset.sec->text() == "0" &&
                       !d.CheckBoxSubDuration->isChecked() &&
                       d.PanelProportionalTime->isVisible() && !d.PanelFixedTime->isVisible();
        typeInto(d.offset.sec, "2");
        test::clickLater(d.BitBtnModifyTC);
    });
    sw.TimeCorrection1->trigger();
    QVERIFY(script.done());
    QVERIFY(startsAtZero);
    QVERIFY(!d.isVisible());
    QCOMPARE(times(doc, 1), std::string("00:00:12,000 00:00:14,500"));
    QCOMPARE(times(doc, 2), std::string("00:00:22,000 00:00:02,000"));
    QVERIFY(doc.modified());
    QVERIFY(listShowsDocument(sw, doc));

    // The tool button: the offset is back at zero, the duration box off;
    // minus 12 s brings the first start to exactly 0, which is asked
    // (Yes), then the durations box is left unchecked.
    QString question;
    bool offsetReset = false;
    script.onDialog(&d, [&] {
        offsetReset = d.offset.sec->text() == "0" && d.settings().offset == TimeCode{};
        d.CheckBoxSubDuration->setChecked(true);
        d.CheckBoxMinusOffset->setChecked(true);
        typeInto(d.offset.sec, "12");
        test::clickLater(d.BitBtnModifyTC);
    });
    script.add([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) return false;
        question = box->text();
        return test::pressStandard(m, QMessageBox::Yes);
    });
    // The duration box was checked: the proportional durations apply
    // (500 ms + 50 ms x characters), limited by the next start.
    sw.CoolButtonTimeCorrection->click();
    QVERIFY(script.done());
    QVERIFY(offsetReset);
    QCOMPARE(question, QString("Warning : Time Code 00:00:12,000 will be reduced to 00:00:00,000\n"
                               "Do you want to continue ? ( No undo ! )"));
    QCOMPARE(times(doc, 1), std::string("00:00:00,000 00:00:00,650"));
    QCOMPARE(times(doc, 2), std::string("00:00:10,000 00:00:10,950"));

    // Shown again: Minus kept, the offset and the duration box cleared;
    // Cancel changes nothing.
    bool kept = false;
    script.onDialog(&d, [&] {
        kept = d.CheckBoxMinusOffset->isChecked() && d.offset.sec->text() == "0" &&
               !d.CheckBoxSubDuration->isChecked();
        typeInto(d.offset.hour, "1");
        test::clickLater(d.BitBtn1);
    });
    sw.TimeCorrection1->trigger();
    QVERIFY(script.done());
    QVERIFY(kept);
    QCOMPARE(times(doc, 2), std::string("00:00:10,000 00:00:10,950"));

    // Answering No stops the pass at that entry: the ones after keep
    // their times.
    doc.entry(1).start = timeCodeFromMs(3000);
    script.onDialog(&d, [&] {
        typeInto(d.offset.sec, "5");
        test::clickLater(d.BitBtnModifyTC);
    });
    script.add([&](QWidget* m) { return test::pressStandard(m, QMessageBox::No); });
    sw.TimeCorrection1->trigger();
    QVERIFY(script.done());
    QCOMPARE(times(doc, 1), std::string("00:00:03,000 00:00:00,650"));
    QCOMPARE(times(doc, 2), std::string("00:00:10,000 00:00:10,950"));
}

void DialogsTest::timeCorrectionDurationsStretchAndResets() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    Session& s = w.session();
    SubtitleDocument& doc = s.document();
    SubtitleWindow& sw = w.subtitleWindow();
    TimeCorrectionDialog& d = w.timeCorrectionDialog();
    add(s, 1800000, 1801000, {"middle"});
    add(s, 1804950, 1806000, {"close"});
    add(s, 3600000, 3602000, {"last"});

    // A minus stretch longer than the file is refused with messages 34
    // and 35; the minimum interval still runs. The reset buttons clear
    // their fields.
    ModalScript script;
    bool resets = false;
    QString refusal;
    script.onDialog(&d, [&] {
        typeInto(d.offset.min, "3");
        typeInto(d.stretch.hour, "2");
        d.ButtonResetOffset->click();
        d.ButtonResetStretch->click();
        resets = d.offset.min->text() == "0" && d.stretch.hour->text() == "0" &&
                 d.settings().offset == TimeCode{} && d.settings().stretch == TimeCode{};
        d.CheckBoxMinusStretch->setChecked(true);
        typeInto(d.stretch.hour, "2");
        typeInto(d.Word_uMinInterval, "100");
        test::clickLater(d.BitBtnModifyTC);
    });
    script.add([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) return false;
        refusal = box->text();
        return test::pressStandard(m, QMessageBox::Ok);
    });
    // The rebuilt list goes to its last line, as during a job.
    sw.show();
    sw.ListBoxSubtitle->setCurrentRow(0);
    sw.TimeCorrection1->trigger();
    QVERIFY(script.done());
    QCOMPARE(sw.ListBoxSubtitle->currentRow(), sw.ListBoxSubtitle->count() - 1);
    QVERIFY(resets);
    QCOMPARE(refusal, QString("You can't make a minus time Stretch with a time\n"
                              "that is larger than the total file time !"));
    QCOMPARE(times(doc, 1), std::string("00:30:00,000 00:30:01,000"));
    QCOMPARE(times(doc, 2), std::string("00:30:04,950 00:30:06,000"));

    // Minus 5 s of stretch: the middle entry moves by 2.5 s, the last by 5.
    script.onDialog(&d, [&] {
        typeInto(d.stretch.sec, "5");
        typeInto(d.Word_uMinInterval, "0");
        test::clickLater(d.BitBtnModifyTC);
    });
    sw.TimeCorrection1->trigger();
    QVERIFY(script.done());
    QCOMPARE(formatTimeCode(doc.entry(1).start), std::string("00:29:57,500"));
    QCOMPARE(formatTimeCode(doc.entry(3).start), std::string("00:59:55,000"));

    // Fixed durations through the radio group: its panel shows, 1000 ms.
    bool fixedPanel = false;
    script.onDialog(&d, [&] {
        d.CheckBoxSubDuration->setChecked(true);
        d.RadioTime[0]->click();
        fixedPanel = d.PanelFixedTime->isVisible() && !d.PanelProportionalTime->isVisible();
        typeInto(d.Word_uFixedDuration, "1000");
        test::clickLater(d.BitBtnModifyTC);
    });
    sw.CoolButtonTimeCorrection->click();
    QVERIFY(script.done());
    QVERIFY(fixedPanel);
    for (size_t i = 1; i <= 3; ++i)
        QCOMPARE(timeCodeToMs(doc.entry(i).stop) - timeCodeToMs(doc.entry(i).start), 1000);

    // Shown again: the method and the fixed duration were kept.
    bool methodKept = false;
    script.onDialog(&d, [&] {
        methodKept = d.RadioTime[0]->isChecked() && d.PanelFixedTime->isVisible() &&
                     d.Word_uFixedDuration->text() == "1000" && d.Word_uMinInterval->text() == "0";
        test::clickLater(d.BitBtn1);
    });
    sw.TimeCorrection1->trigger();
    QVERIFY(script.done());
    QVERIFY(methodKept);

    // A document whose last entry starts at 0 has no length to stretch:
    // said so, and the times stay.
    doc.clear();
    add(s, 0, 1000, {"only"});
    script.onDialog(&d, [&] {
        d.CheckBoxMinusStretch->setChecked(false);
        typeInto(d.stretch.sec, "5");
        test::clickLater(d.BitBtnModifyTC);
    });
    script.add([&](QWidget* m) { return test::pressStandard(m, QMessageBox::Ok); });
    sw.TimeCorrection1->trigger();
    QVERIFY(script.done());
    QCOMPARE(script.messages.last(),
             QString("Time Stretch refused: the last subtitle starts at 00:00:00,000."));
    QCOMPARE(times(doc, 1), std::string("00:00:00,000 00:00:01,000"));
}

void DialogsTest::splitRangeThroughTheDialog() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    Session& s = w.session();
    SubtitleDocument& doc = s.document();
    SubtitleWindow& sw = w.subtitleWindow();
    SplitDialog& d = w.splitDialog();
    add(s, 5000, 8000, {"before"});
    add(s, 10000, 15000, {"inside"});
    add(s, 18000, 24000, {"crosses"});
    add(s, 20000, 25000, {"at the stop"});
    add(s, 40000, 50000, {"after"});
    QVERIFY(sw.Splitoutputfile1->isEnabled());
    QVERIFY(sw.CoolButtonSplitText->isEnabled());

    // Unchecked: the panels are off and the whole bar is filled; checked,
    // 10 s to 20 s fills a fifth of it, starting a fifth in.
    ModalScript script;
    bool offAndFull = false, fifth = false;
    QString endLabel, startLabel;
    script.onDialog(&d, [&] {
        const QRect full = d.ShapeFullFile->geometry();
        offAndFull = d.windowTitle() == "Split Text File" && !d.CheckBoxSplit->isChecked() &&
                     !d.PanelStartSplit->isEnabled() &&
                     !d.SpeedButtonCopyStopToStart->isEnabled() &&
                     d.ShapeSplitFill->x() == full.x() && d.ShapeSplitFill->width() == full.width();
        d.CheckBoxSplit->click();
        typeInto(d.start.sec, "10");
        typeInto(d.stop.sec, "20");
        const int fill = d.ShapeSplitFill->width();
        fifth =
            d.PanelStartSplit->isEnabled() && std::abs(fill - full.width() / 5) <= 1 &&
            std::abs(d.ShapeSplitFill->x() - (full.x() + full.width() / 5)) <= 1 &&
            std::abs(d.LabelBarStop->geometry().center().x() - (d.ShapeSplitFill->x() + fill)) <= 1;
        endLabel = d.LabelEndOfFile->text();
        startLabel = d.LabelStartSplit->text();
        test::clickLater(d.BitBtn1);
    });
    sw.Splitoutputfile1->trigger();
    QVERIFY(script.done());
    QVERIFY(offAndFull);
    QVERIFY(fifth);
    QCOMPARE(endLabel, QString("00:00:50,000"));
    QCOMPARE(startLabel, QString("00:00:10,000"));
    QVERIFY(!d.isVisible());
    QVERIFY(doc.splitRange().enabled);
    QCOMPARE(formatTimeCode(doc.splitRange().start), std::string("00:00:10,000"));
    QCOMPARE(formatTimeCode(doc.splitRange().stop), std::string("00:00:20,000"));
    // Only the entries starting in [10 s, 20 s) are shown, made relative;
    // the one crossing the stop ends at it.
    QVERIFY(listShowsDocument(sw, doc));
    const QStringList shown = [&] {
        QStringList l;
        for (int i = 0; i < sw.ListBoxSubtitle->count(); ++i)
            l << sw.ListBoxSubtitle->item(i)->text();
        return l;
    }();
    QVERIFY(shown.contains("inside"));
    QVERIFY(shown.contains("crosses"));
    QVERIFY(!shown.contains("before"));
    QVERIFY(!shown.contains("at the stop"));
    QVERIFY(!shown.contains("after"));
    QVERIFY(shown.join('|').contains("00:00:00,000"));
    QVERIFY(shown.join('|').contains("00:00:10,000"));  // the crossing entry's stop
    QCOMPARE(doc.count(), size_t{5});

    // A stop before the start: message 37, the dialog stays; unchecking
    // then keeps the times but shows everything.
    QString refusal;
    bool stillOpen = false, shownAsSet = false;
    script.onDialog(&d, [&] {
        shownAsSet = d.CheckBoxSplit->isChecked() && d.start.sec->text() == "10" &&
                     d.stop.sec->text() == "20";
        typeInto(d.stop.sec, "5");
        test::clickLater(d.BitBtn1);
    });
    script.add([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) return false;
        refusal = box->text();
        return test::pressStandard(m, QMessageBox::Ok);
    });
    script.onDialog(&d, [&] {
        stillOpen = d.isVisible() && doc.splitRange().stop == timeCodeFromMs(20000);
        d.CheckBoxSplit->click();
        test::clickLater(d.BitBtn1);
    });
    sw.CoolButtonSplitText->click();
    QVERIFY(script.done());
    QVERIFY(shownAsSet);
    QCOMPARE(refusal, QString("The Stop time is smaller than the Start time !"));
    QVERIFY(stillOpen);
    QVERIFY(!doc.splitRange().enabled);
    QCOMPARE(formatTimeCode(doc.splitRange().stop), std::string("00:00:05,000"));
    QVERIFY(listShowsDocument(sw, doc));
    QVERIFY(sw.ListBoxSubtitle->findItems("after", Qt::MatchExactly).size() == 1);

    // The last subtitle's stop, the copy to the start and the reset.
    bool buttons = false;
    script.onDialog(&d, [&] {
        d.CheckBoxSplit->click();
        d.ButtonEndOfFile->click();
        const bool last = d.stop.sec->text() == "50" && d.LabelStopSplit->text() == "00:00:50,000";
        d.SpeedButtonCopyStopToStart->click();
        const bool copied = d.start.sec->text() == "50";
        d.ButtonResetStartSplit->click();
        buttons = last && copied && d.start.sec->text() == "0" &&
                  d.ShapeSplitFill->width() == d.ShapeFullFile->width();
        d.reject();
    });
    sw.Splitoutputfile1->trigger();
    QVERIFY(script.done());
    QVERIFY(buttons);
    QVERIFY(!doc.splitRange().enabled);

    // An empty document counts as one second: unchecked, the bar is full.
    doc.clear();
    bool emptyFull = false;
    script.onDialog(&d, [&] {
        emptyFull = d.LabelEndOfFile->text() == "00:00:00,000" &&
                    d.ShapeSplitFill->width() == d.ShapeFullFile->width();
        d.reject();
    });
    sw.Splitoutputfile1->trigger();
    QVERIFY(script.done());
    QVERIFY(emptyFull);
}

void DialogsTest::postOcrCorrectionThroughTheDialog() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    Session& s = w.session();
    SubtitleDocument& doc = s.document();
    SubtitleWindow& sw = w.subtitleWindow();
    PostOcrDialog& d = w.postOcrDialog();
    add(s, 1000, 2000, {"lt is ''fine''", "l'm here"});
    add(s, 3000, 4000, {"AlR \"\"so\"\"", "wie Ich"});
    const std::vector<SubtitleEntry> original = doc.entries();
    doc.setModified(false);
    QVERIFY(sw.PostOCRCorrection1->isEnabled());
    QVERIFY(sw.CoolButtonSpellingCorrection->isEnabled());

    // Cancel: nothing changes. The language group follows the I/l box,
    // by click and by the keyboard.
    ModalScript script;
    bool initial = false, follows = false;
    script.onDialog(&d, [&] {
        initial = d.windowTitle() == "Post OCR Correction" &&
                  d.CheckBoxCorrectTwiceAp->isChecked() && !d.CheckBoxCorrectIl->isChecked() &&
                  !d.RadioGroupCorrectIlLanguage->isEnabled() && d.RadioLanguage[0]->isChecked() &&
                  d.RadioLanguage[1]->text() == QString::fromUtf8("Fran\u00e7ais ( French )");
        d.CheckBoxCorrectIl->click();
        const bool onByClick = d.RadioGroupCorrectIlLanguage->isEnabled();
        d.CheckBoxCorrectIl->setFocus();
        QTest::keyClick(d.CheckBoxCorrectIl, Qt::Key_Space);
        follows = onByClick && !d.CheckBoxCorrectIl->isChecked() &&
                  !d.RadioGroupCorrectIlLanguage->isEnabled();
        test::clickLater(d.BitBtn2);
    });
    sw.PostOCRCorrection1->trigger();
    QVERIFY(script.done());
    QVERIFY(initial);
    QVERIFY(follows);
    QVERIFY(doc.entries() == original);
    QVERIFY(!doc.modified());

    // Neither box: "Correct !" leaves the document alone.
    script.onDialog(&d, [&] {
        d.CheckBoxCorrectTwiceAp->setChecked(false);
        test::clickLater(d.BitBtnCorrect);
    });
    sw.CoolButtonSpellingCorrection->click();
    QVERIFY(script.done());
    QVERIFY(doc.entries() == original);
    QVERIFY(!doc.modified());

    // Both repairs in German: quotes joined, the I/l rules of German (rule
    // 10 brings "Ich" back; "l'm" after the first line's "s" by rule 1).
    script.onDialog(&d, [&] {
        d.CheckBoxCorrectTwiceAp->setChecked(true);
        d.CheckBoxCorrectIl->click();
        d.RadioLanguage[2]->click();
        test::clickLater(d.BitBtnCorrect);
    });
    sw.PostOCRCorrection1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.entry(1).lines, (std::vector<std::string>{"It is \"fine\"", "I'm here"}));
    QCOMPARE(doc.entry(2).lines, (std::vector<std::string>{"AIR \"so\"", "wie Ich"}));
    QVERIFY(doc.modified());
    QVERIFY(listShowsDocument(sw, doc));
    QVERIFY(sw.ListBoxSubtitle->findItems("wie Ich", Qt::MatchExactly).size() == 1);

    // English on the same text: "Ich" is not an English word start.
    script.onDialog(&d, [&] {
        d.RadioLanguage[0]->click();
        test::clickLater(d.BitBtnCorrect);
    });
    sw.PostOCRCorrection1->trigger();
    QVERIFY(script.done());
    QCOMPARE(doc.entry(2).lines[1], std::string("wie lch"));
    QCOMPARE(doc.entry(1).lines[0], std::string("It is \"fine\""));

    // French: after a dash the rules make "Ies"; with the dictionary box
    // the word is the one the French dictionary knows. The language group
    // also serves the 0/O box alone.
    add(s, 5000, 6000, {"- Ies enfants", "B0NJ0UR"});
    bool zeroOEnables = false;
    for (const bool dictionary : {false, true}) {
        script.onDialog(&d, [&] {
            d.CheckBoxCorrectIl->setChecked(false);
            d.CheckBoxCorrectZeroO->setChecked(true);
            zeroOEnables = d.RadioGroupCorrectIlLanguage->isEnabled();
            d.CheckBoxCorrectIl->setChecked(true);
            d.RadioLanguage[1]->click();
            d.CheckBoxUseDictionary->setChecked(dictionary);
            test::clickLater(d.BitBtnCorrect);
        });
        sw.PostOCRCorrection1->trigger();
        QVERIFY(script.done());
        QVERIFY(zeroOEnables);
        QCOMPARE(
            doc.entry(3).lines,
            (std::vector<std::string>{dictionary ? "- les enfants" : "- Ies enfants", "BONJOUR"}));
    }
}

void DialogsTest::languageFilesReachTheDialogs() {
    ProgramFolder home;
    MainWindow w;
    // The output format's pages are tab sheets whose caption is the tab.
    OutputFormatDialog& d = w.outputFormatDialog();
    ControlNode tree = controlTree(&d);
    ControlNode* page = nullptr;
    for (ControlNode& c : tree.children)
        if (c.name == "TabSheetPhilips") page = &c;
    QVERIFY(page);
    QCOMPARE(page->kind, ControlKind::TabSheet);
    QCOMPARE(page->text, std::string("Philips SVCD Designer (*.sub)"));
    page->text = "Philips (*.sub)";
    applyControlTree(&d, tree);
    QCOMPARE(d.PageControlOrvane->tabText(d.PageControlOrvane->indexOf(d.TabSheetPhilips)),
             QString("Philips (*.sub)"));
    // Controls inside the pages are reached too.
    bool inner = false;
    for (const ControlNode& c : tree.children)
        if (c.name == "CheckBoxPhilipsUseBmpColor" && c.text == "Use colors from bitmap")
            inner = true;
    QVERIFY(inner);
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
