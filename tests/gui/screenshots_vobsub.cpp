// Screenshots of the forced-subtitle and disc-colour controls on a real X
// display (Xvfb with openbox): the bitmap adjustment's colour page with the
// specified colours and with the disc's own, on the yellow stream of the PAL
// sample disc; then the job dialog after a VobSub job of the forced units of
// the forced-subtitle disc. Run by tests/gui/screenshots-vobsub.sh, not by CTest.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>

#include "app/session.h"
#include "gui/bitmap_adjustment_dialog.h"
#include "gui/job_dialog.h"
#include "gui/main_window.h"
#include "screen_shot.h"

using namespace orvane::gui;
using orvane::test::shoot;

namespace {
const std::string kData = ORVANE_TEST_DATA;
}  // namespace

int main(int argc, char** argv) {
    orvane::test::Shots shots(argc, argv, 10, 10);
    MainWindow& w = shots.window;
    orvane::test::ModalScript& script = shots.script;
    const std::string home = qEnvironmentVariable("ORVANE_HOME").toStdString();
    BitmapAdjustmentDialog& d = w.bitmapAdjustmentDialog();
    script.add([&](QWidget* m) {
        return orvane::test::answerFileDialog(m, QString::fromStdString(home + "/shot"));
    });
    script.add([&](QWidget* m) {
        if (m != &d) return false;
        d.PageControl1->setCurrentIndex(2);
        shoot("bitmap_colors_specified.png");
        d.CheckBoxDiscColors->setChecked(true);
        shoot("bitmap_colors_disc.png");
        orvane::test::clickLater(d.BitBtn1);
        return true;
    });
    JobDialog& job = w.jobDialog();
    script.add([&](QWidget* m) {
        if (m || !w.session().jobOver() || w.session().job().running) return false;
        // The forced units of the forced-subtitle disc to a VobSub pair.
        orvane::JobRequest r;
        r.files = {kData + "/forced/VIDEO_TS/VTS_01_1.VOB"};
        r.action = orvane::ActionMode::SaveVobSub;
        r.forcedOnly = true;
        w.session().setSaveBaseName(home + "/forced");
        w.session().startJob(r);
        return true;
    });
    script.add([&](QWidget* m) {
        if (m || !w.session().jobOver() || w.session().job().running) return false;
        job.openFolder(kData + "/forced/VIDEO_TS");
        job.CheckBoxForcedOnly->setChecked(true);
        job.RadioAction[4]->setChecked(true);
        job.move(20, 20);
        job.show();
        shoot("job_dialog_forced.png");
        job.hide();
        return true;
    });
    QTimer::singleShot(300, &w, [&] {
        orvane::JobRequest r;
        r.files = {kData + "/pal/VIDEO_TS/VTS_01_1.VOB"};
        r.streamIndex = 1;
        r.action = orvane::ActionMode::SaveBmp;
        w.session().startButton(r);
    });
    orvane::test::exitWhenDone(script);
    return QApplication::exec();
}
