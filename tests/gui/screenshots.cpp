// Drives the real windows on a real X display (Xvfb) and leaves them on
// screen long enough for `import -window root` to capture them; run by
// tests/gui/screenshots.sh, not by CTest.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>

#include "gui/font_colour_dialog.h"
#include "gui/job_dialog.h"
#include "gui/main_window.h"
#include "gui/new_character_dialog.h"
#include "gui/subtitle_window.h"
#include "screen_shot.h"

using namespace orvane::gui;
using orvane::test::shoot;

int main(int argc, char** argv) {
    orvane::test::Shots shots(argc, argv, 20, 20);
    MainWindow& w = shots.window;
    orvane::test::ModalScript& script = shots.script;
    const QString video = QString(ORVANE_TEST_DATA) + "/pal/VIDEO_TS";
    w.session().ocrPolicy().useEngine = false;  // the new-character dialog is shot teaching
    JobDialog& job = w.jobDialog();
    script.add([&](QWidget* m) {
        if (m != &job) return false;
        job.listDirectory((video + "/").toStdString());
        job.CheckListBoxVob->item(0)->setCheckState(Qt::Checked);
        shoot("job_dialog.png");
        orvane::test::clickLater(job.BitBtnStart);
        return true;
    });
    script.add([&](QWidget* m) {
        if (m != &w.fontColourDialog()) return false;
        w.fontColourDialog().ComboBoxTextColor->setCurrentIndex(3);
        shoot("font_colour.png");
        orvane::test::clickLater(w.fontColourDialog().ButtonOk);
        return true;
    });
    script.add([&](QWidget* m) {
        if (m != &w.newCharacterDialog()) return false;
        w.newCharacterDialog().EditText->setText("I");
        shoot("new_character.png");
        orvane::test::clickLater(w.newCharacterDialog().ButtonSearchMatrix);
        return true;
    });
    script.add([&](QWidget* m) {
        if (!orvane::test::pressStandard(m, QMessageBox::Yes)) return false;
        return true;
    });
    bool midShot = false;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!midShot && script.done() && w.session().job().unitsInJob >= 6 &&
            w.session().job().running) {
            midShot = true;
            // The main window during the job (the reader is on the stack).
            w.subtitleWindow().hide();
            shoot("main_window_job.png");
            w.subtitleWindow().show();
        }
        if (script.done() && w.session().jobOver() && !w.session().job().running) {
            watch.stop();
            w.subtitleWindow().showNormal();
            shoot("subtitle_window.png");
            w.ButtonPreviewOptionClick();
            w.subtitleWindow().hide();
            shoot("display_options.png");
            std::exit(0);
        }
    });
    watch.start();
    QTimer::singleShot(300, &w, [&] { w.OpenVob1Click(); });
    return QApplication::exec();
}
