// The bitmap adjustment window driven through its controls: a BMP job on
// the sample disc whose first picture is adjusted (colour roles, palette
// indices with the refusal of a duplicate, depth, cropping, a colour from
// the colour dialog, a saved profile) and skipped, and whose second is
// accepted; then the window opened from the progression controller with a
// stored I-Author profile loaded, the small window, and OK.

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/session.h"
#include "gui/bitmap_adjustment_dialog.h"
#include "gui/language_binding.h"
#include "gui/main_window.h"
#include "gui/progression_controller.h"
#include "gui/subtitle_window.h"
#include "modal_script.h"
#include "subpicture/bitmap_profile.h"
#include "subpicture/sup_file.h"
#include "support/bmp_reader.h"
#include "support/temp_dir.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::ModalScript;

namespace {

const std::string kVob = std::string(ORVANE_TEST_DATA) + "/pal/VIDEO_TS/VTS_01_1.VOB";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

bool isMessage(QWidget* m, const QString& text) {
    auto* box = qobject_cast<QMessageBox*>(m);
    return box && box->text() == text;
}

}  // namespace

class BitmapAdjustmentTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void bmpJobAdjustedSkippedThenAccepted();
    void changeColorsLoadsAnIAuthorProfileAndSelectsItsFormat();
    void languageFilesReachTheTabsAndControls();
};

void BitmapAdjustmentTest::bmpJobAdjustedSkippedThenAccepted() {
    test::TempDir home, out;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Session& s = w.session();
    BitmapAdjustmentDialog& d = w.bitmapAdjustmentDialog();
    const std::string base = out.file("p");
    const std::string profile = out.file("mine.ini");
    ModalScript script;
    ColourRanking autoRoles{};
    bool subtitleHiddenWhileShown = false;

    script.add([&](QWidget* m) { return test::answerFileDialog(m, q(base)); });
    // First picture: roles, indices, depth and cropping.
    script.onDialog(&d, [&] {
        subtitleHiddenWhileShown = !w.subtitleWindow().isVisible();
        [&] {
            QCOMPARE(d.PageControl1->currentWidget(), d.TabSheetColors);
            QCOMPARE(d.LabelCurrentProfile->text(), QString("None"));
            // The stored I-Author preset: fixed indices, boxes disabled.
            QVERIFY(d.RadioPreset[1]->isChecked());
            QVERIFY(!d.ComboBoxColorIndex[0]->isEnabled());
            autoRoles = s.colourRoles();
            for (int r = 0; r < 4; ++r)
                QCOMPARE(d.ComboBoxDVDColor[static_cast<size_t>(r)]->currentIndex(),
                         int(autoRoles[static_cast<size_t>(r)]));
            // The font takes the background's number: the two rows swap.
            d.ComboBoxDVDColor[1]->setCurrentIndex(autoRoles[0]);
            QCOMPARE(s.colourRoles()[1], autoRoles[0]);
            QCOMPARE(s.colourRoles()[0], autoRoles[1]);
            QCOMPARE(d.ComboBoxDVDColor[0]->currentIndex(), int(autoRoles[1]));
            d.ButtonAutoSortColor->click();
            QCOMPARE(s.colourRoles(), autoRoles);
            QCOMPARE(d.ComboBoxDVDColor[0]->currentIndex(), int(autoRoles[0]));
            d.RadioPreset[0]->click();
            QCOMPARE(s.bitmapSettings().colours.preset, PalettePreset::Free);
            QVERIFY(d.ComboBoxColorIndex[1]->isEnabled());
        }();
        // Index 0 is the background's: refused with message 36.
        test::later([&] { d.ComboBoxColorIndex[1]->setCurrentIndex(0); });
    });
    script.add([&](QWidget* m) {
        if (!isMessage(m, "You can't select the same Palette Index twice !!")) return false;
        return test::pressStandard(m, QMessageBox::Ok);
    });
    script.add([&](QWidget* m) {
        // The refused index is put back once the message box has returned;
        // the window can be modal again a moment before that.
        if (m != &d || d.ComboBoxColorIndex[1]->currentIndex() == 0) return false;
        [&] {
            QCOMPARE(d.ComboBoxColorIndex[1]->currentIndex(), 1);
            QCOMPARE(s.bitmapSettings().colours.paletteIndex[1], uint8_t(1));
            d.ComboBoxColorIndex[1]->setCurrentIndex(9);
            QCOMPARE(s.bitmapSettings().colours.paletteIndex[1], uint8_t(9));
            d.ComboBoxBitPerPixel->setCurrentIndex(1);
            QCOMPARE(s.bitmapSettings().colours.bitsPerPixel, uint8_t(8));
            // Cropping off: the preview shows the picture at its own place.
            QVERIFY(d.GroupBoxSizeConstraints->isEnabled());
            d.CheckBoxAllowBmpCropping->setChecked(false);
            QVERIFY(!s.bitmapSettings().cropping.enabled);
            QVERIFY(!d.GroupBoxSizeConstraints->isEnabled());
            QVERIFY(!d.GroupBoxCropPosition->isEnabled());
            QCOMPARE(s.adjustedArea(), s.picture().area);
            // Positioning "Set to" 700: pulled back so the picture fits.
            d.CheckBoxAllowPositionChange->setChecked(true);
            QVERIFY(d.GroupBoxLeftPosition->isEnabled());
            d.RadioButtonSetLeftPos->click();
            d.SpinEditLeftPosition->setValue(700);
            QCOMPARE(s.bitmapSettings().positioning.leftMode, uint8_t(3));
            QCOMPARE(s.adjustedArea().x2, 719);
            d.CheckBoxAllowPositionChange->setChecked(false);
            QCOMPARE(s.adjustedArea(), s.picture().area);
        }();
        test::later([&] { QTest::mouseClick(d.PanelColor[2], Qt::LeftButton); });
        return true;
    });
    script.add([&](QWidget* m) {
        auto* cd = qobject_cast<QColorDialog*>(m);
        if (!cd) return false;
        cd->setCurrentColor(QColor(255, 0, 0));
        test::acceptLater(cd);
        return true;
    });
    script.add([&](QWidget* m) {
        if (m != &d || s.bitmapSettings().colours.roleColour[2] != 0x0000FF) return false;
        test::clickLater(d.ButtonSaveProfile);
        return true;
    });
    script.add([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        if (!fd) return false;
        return test::answerFileDialog(m, q(profile));
    });
    script.add([&](QWidget* m) {
        if (m != &d || d.LabelCurrentProfile->text() != "mine.ini") return false;
        test::clickLater(d.ButtonSkipPict);
        return true;
    });
    // The second picture brings the window back, with what was set.
    int unitOfSecondShowing = 0;
    DisplayArea secondArea;
    script.onDialog(&d, [&] {
        unitOfSecondShowing = s.job().unitsInJob;
        secondArea = s.picture().area;
        [&] {
            QCOMPARE(d.ComboBoxColorIndex[1]->currentIndex(), 9);
            QCOMPARE(d.ComboBoxBitPerPixel->currentIndex(), 1);
            QVERIFY(!d.CheckBoxAllowBmpCropping->isChecked());
        }();
        test::clickLater(d.BitBtn1);
    });

    JobRequest r;
    r.files = {kVob};
    r.action = ActionMode::SaveBmp;
    QVERIFY(s.startButton(r));
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(s.jobOver() && !s.job().running, 20000);

    // Hidden while the window is up, back after it, also after a Skip
    // (the second showing found it visible again).
    QVERIFY(subtitleHiddenWhileShown);
    QVERIFY(w.subtitleWindow().isVisible());
    QCOMPARE(unitOfSecondShowing, 2);
    QVERIFY(!s.flags().showBeforeNextPicture);
    QVERIFY(script.messages.size() == 1);
    // The skipped picture has no file; every later one has.
    QVERIFY(!std::filesystem::exists(base + "000001.bmp"));
    const int units = s.job().unitsInJob;
    QVERIFY(units > 3);
    for (int n = 2; n <= units; ++n)
        QVERIFY2(std::filesystem::exists(numberedFileName(base, n, ".bmp")),
                 std::to_string(n).c_str());

    const test::BmpProbe bmp = test::probeBmp(base + "000002.bmp");
    QVERIFY2(bmp.ok, bmp.error.c_str());
    QCOMPARE(bmp.bits, 8);
    QCOMPARE(bmp.palette[9], 0xFFFFFFu);  // the font's colour at its index
    QCOMPARE(bmp.palette[2], 0xFF0000u);  // the outline, red
    QCOMPARE(bmp.palette[1], 0x000000u);  // unused now
    std::set<int> values;
    for (const auto& row : bmp.rows) values.insert(row.begin(), row.end());
    QVERIFY(values.count(9));
    for (int v : values) QVERIFY(v == 0 || v == 9 || v == 2 || v == 3);
    // Not cropped: the size of the sub-picture.
    QCOMPARE(bmp.width, secondArea.x2 - secondArea.x1 + 1);
    QCOMPARE(bmp.height, secondArea.y2 - secondArea.y1 + 1);

    // The profile holds what the window showed when it was saved.
    const BitmapExportSettings saved = loadBitmapSettings(profile);
    QCOMPARE(saved.colours.paletteIndex[1], uint8_t(9));
    QCOMPARE(saved.colours.bitsPerPixel, uint8_t(8));
    QCOMPARE(saved.colours.roleColour[2], Colour(0x0000FF));
    QVERIFY(!saved.cropping.enabled);
}

void BitmapAdjustmentTest::changeColorsLoadsAnIAuthorProfileAndSelectsItsFormat() {
    test::TempDir home, out;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    // A stored I-Author preset with 8 bits and other indices: shown, and
    // used, with 4 bits and indices 0..3.
    const std::string profile = out.file("iauthor.ini");
    {
        BitmapExportSettings p;
        p.colours.preset = PalettePreset::IAuthor;
        p.colours.bitsPerPixel = 8;
        p.colours.paletteIndex = {4, 5, 6, 7};
        p.cropping.minHeight = 100;
        saveBitmapSettings(profile, p);
    }
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Session& s = w.session();
    BitmapAdjustmentDialog& d = w.bitmapAdjustmentDialog();
    ProgressionController& pc = w.progressionController();
    ModalScript script;
    QSize fullSize, smallSize;

    // The show-only job shows the window before its first picture: OK
    // under Free leaves the output format alone.
    script.onDialog(&d, [&] {
        d.RadioPreset[0]->click();
        test::clickLater(d.BitBtn1);
    });
    script.onDialog(&pc, [&] {
        [&] { QCOMPARE(s.document().format(), OutputFormat::Orvane); }();
        test::clickLater(pc.ButtonChangeColor);
    });
    script.onDialog(&d, [&] {
        d.PageControl1->setCurrentWidget(d.TabSheetProfiles);
        test::clickLater(d.ButtonLoadProfile);
    });
    script.add([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        if (!fd) return false;
        // Profiles start in the program folder.
        if (QDir(fd->directory()).canonicalPath() != QDir(q(home.path())).canonicalPath())
            return false;
        return test::answerFileDialog(m, q(profile));
    });
    script.add([&](QWidget* m) {
        if (m != &d || d.LabelCurrentProfile->text() != "iauthor.ini") return false;
        [&] {
            QVERIFY(d.RadioPreset[1]->isChecked());
            QCOMPARE(d.ComboBoxBitPerPixel->currentIndex(), 0);
            for (int r = 0; r < 4; ++r) {
                QCOMPARE(d.ComboBoxColorIndex[static_cast<size_t>(r)]->currentIndex(), r);
                QVERIFY(!d.ComboBoxColorIndex[static_cast<size_t>(r)]->isEnabled());
            }
            QCOMPARE(d.SpinEditMinY->value(), 100);
            QCOMPARE(s.adjustedArea().y2 - s.adjustedArea().y1 + 1, 100);
            // The small window shows the reduce button only, and comes back.
            fullSize = d.size();
            d.ButtonReduceWindow->click();
            QVERIFY(d.reduced());
            QVERIFY(!d.PageControl1->isVisible());
            QVERIFY(d.ButtonReduceWindow->isVisible());
        }();
        return true;
    });
    script.onDialog(&d, [&] {
        smallSize = d.size();
        d.ButtonReduceWindow->click();
        [&] {
            QVERIFY(!d.reduced());
            QVERIFY(d.PageControl1->isVisible());
        }();
        test::clickLater(d.BitBtn1);
    });
    script.onDialog(&pc, [&] { test::clickLater(pc.ButtonPause); });

    JobRequest r;
    r.files = {kVob};
    r.action = ActionMode::OnlyShow;
    QVERIFY(s.startButton(r));
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!s.job().running && s.job().paused, 10000);

    QVERIFY(smallSize.width() < fullSize.width() / 2);
    QVERIFY(smallSize.height() < fullSize.height() / 2);
    QCOMPARE(s.bitmapSettings().colours.bitsPerPixel, uint8_t(4));
    QCOMPARE(s.document().format(), OutputFormat::IAuthor);
    QCOMPARE(s.adjustedPicture().bitsPerPixel, uint8_t(4));
    QCOMPARE(s.job().unitsInJob, 1);
}

void BitmapAdjustmentTest::languageFilesReachTheTabsAndControls() {
    test::TempDir home;
    setenv("ORVANE_HOME", home.path().c_str(), 1);
    MainWindow w;
    BitmapAdjustmentDialog& d = w.bitmapAdjustmentDialog();
    const std::vector<QWidget*> windows = w.languageWindows();
    QVERIFY(std::find(windows.begin(), windows.end(), static_cast<QWidget*>(&d)) != windows.end());
    ControlNode tree = controlTree(&d);
    QCOMPARE(tree.name, std::string("Form18"));
    auto find = [&](const std::string& name) -> ControlNode* {
        for (ControlNode& n : tree.children)
            if (n.name == name) return &n;
        return nullptr;
    };
    ControlNode* tab = find("TabSheetPositioning");
    QVERIFY(tab);
    QCOMPARE(int(tab->kind), int(ControlKind::TabSheet));
    QCOMPARE(tab->text, std::string("Positioning"));
    ControlNode* align = find("RadioGroupHAlignment");
    QVERIFY(align);
    QCOMPARE(align->items, (std::vector<std::string>{"Left", "Center", "Right"}));
    ControlNode* skip = find("ButtonSkipPict");
    QVERIFY(skip);
    QCOMPARE(skip->hint, std::string("Don't save this Picture"));
    QVERIFY(find("RadioButtonRightLeftPos"));

    tab->text = "Position";
    align->items[1] = "Centre";
    skip->text = "&Passer";
    applyControlTree(&d, tree);
    QCOMPARE(d.PageControl1->tabText(d.PageControl1->indexOf(d.TabSheetPositioning)),
             QString("Position"));
    QCOMPARE(d.RadioHAlignment[1]->text(), QString("Centre"));
    QCOMPARE(d.ButtonSkipPict->text(), QString("&Passer"));
}

QTEST_MAIN(BitmapAdjustmentTest)
#include "bitmap_adjustment_test.moc"
