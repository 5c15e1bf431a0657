// Shows the subtitle window's dialogs on a real X display (Xvfb) and
// captures the screen with `import -window root`; run by
// tests/gui/dialog_screenshots.sh, not by CTest.

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>

#include "gui/main_window.h"
#include "gui/numeric_edit.h"
#include "gui/output_format_dialog.h"
#include "gui/post_ocr_dialog.h"
#include "gui/split_dialog.h"
#include "gui/subtitle_window.h"
#include "gui/time_correction_dialog.h"
#include "screen_shot.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::shoot;

int main(int argc, char** argv) {
    orvane::test::Shots shots(argc, argv, 20, 20);
    MainWindow& w = shots.window;
    orvane::test::ModalScript& script = shots.script;
    SubtitleWindow& sw = w.subtitleWindow();
    Session& s = w.session();
    const std::pair<int, int> times[] = {
        {62000, 64500}, {70000, 73000}, {1500000, 1503000}, {3000000, 3004000}};
    int n = 0;
    for (const auto& [start, stop] : times)
        s.document().appendEntry({"Subtitle " + std::to_string(++n)}, true, {},
                                 timeCodeFromMs(stop), timeCodeFromMs(start));
    w.ui().documentChanged(s.document());
    sw.show();

    OutputFormatDialog& format = w.outputFormatDialog();
    script.add([&](QWidget* m) {
        if (m != &format) return false;
        format.CheckBoxPhilipsUseBmpColor->setChecked(false);
        // One picture per page, named after the page's format.
        for (int i = 0; i < format.PageControlOrvane->count(); ++i) {
            format.PageControlOrvane->setCurrentIndex(i);
            shoot(QString("output_format_%1.png").arg(outputFormat(format.pageFormats()[i]).name));
        }
        orvane::test::clickLater(format.BitBtn1);
        return true;
    });
    TimeCorrectionDialog& time = w.timeCorrectionDialog();
    script.add([&](QWidget* m) {
        if (m != &time) return false;
        shoot("time_correction.png");
        orvane::test::clickLater(time.BitBtn1);
        return true;
    });
    SplitDialog& split = w.splitDialog();
    script.add([&](QWidget* m) {
        if (m != &split) return false;
        split.CheckBoxSplit->click();
        split.start.min->setText("25");
        split.stop.min->setText("50");
        split.Word_uHour1Change();
        shoot("split.png");
        split.reject();
        return true;
    });
    PostOcrDialog& post = w.postOcrDialog();
    script.add([&](QWidget* m) {
        if (m != &post) return false;
        post.CheckBoxCorrectIl->click();
        shoot("post_ocr.png");
        orvane::test::clickLater(post.BitBtn2);
        return true;
    });
    QTimer::singleShot(300, &w, [&] {
        sw.SetOutputFormat1->trigger();
        sw.TimeCorrection1->trigger();
        sw.Splitoutputfile1->trigger();
        sw.PostOCRCorrection1->trigger();
        std::exit(script.done() ? 0 : 1);
    });
    return QApplication::exec();
}
