// Screenshots of the bitmap adjustment and OCR setup windows on a real X
// display (Xvfb), for a look at their layout; run by
// tests/gui/screenshots-dialogs.sh, not by CTest.

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>

#include "app/session.h"
#include "gui/bitmap_adjustment_dialog.h"
#include "gui/main_window.h"
#include "gui/ocr_setup_dialog.h"
#include "screen_shot.h"

using namespace orvane::gui;
using orvane::test::shoot;

int main(int argc, char** argv) {
    orvane::test::Shots shots(argc, argv, 10, 10);
    MainWindow& w = shots.window;
    orvane::test::ModalScript& script = shots.script;
    BitmapAdjustmentDialog& d = w.bitmapAdjustmentDialog();
    script.add([&](QWidget* m) {
        return orvane::test::answerFileDialog(m, qEnvironmentVariable("ORVANE_HOME") + "/shot");
    });
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        const char* names[] = {"bitmap_profiles.png", "bitmap_cropping.png", "bitmap_colors.png",
                               "bitmap_positioning.png"};
        for (int i = 0; i < 4; ++i) {
            d.PageControl1->setCurrentIndex(i);
            shoot(names[i]);
        }
        d.ButtonReduceWindow->click();
        shoot("bitmap_reduced.png");
        d.ButtonReduceWindow->click();
        orvane::test::clickLater(d.BitBtn1);
        return true;
    });
    // The OCR setup from its menu item, once the job has been read.
    OcrSetupDialog& ocr = w.ocrSetupDialog();
    script.add([&](QWidget* m) {
        if (m || !w.session().jobOver() || w.session().job().running) return false;
        QTimer::singleShot(0, &w, [&] { w.OCRAdvancedSetup1->trigger(); });
        return true;
    });
    script.add([&](QWidget* m) {
        if (m != &ocr) return false;
        shoot("ocr_setup.png");
        orvane::test::clickLater(ocr.BitBtnOk);
        return true;
    });
    QTimer::singleShot(300, &w, [&] {
        orvane::JobRequest r;
        r.files = {std::string(ORVANE_TEST_DATA) + "/pal/VIDEO_TS/VTS_01_1.VOB"};
        r.action = orvane::ActionMode::SaveBmp;
        w.session().startButton(r);
    });
    orvane::test::exitWhenDone(script);
    return QApplication::exec();
}
