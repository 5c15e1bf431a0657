// orvane: the desktop program. One optional argument, a folder of VOB files
// (or a file in it, e.g. a VIDEO_TS folder's IFO): the job dialog opens with
// that folder listed and its title set checked.

#include <QApplication>

#include "common/huge_heap.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"

int main(int argc, char** argv) {
    orvane::preferHugePagesForHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orvane");
    orvane::gui::MainWindow window;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) window.setStartFolder(orvane::gui::fromQt(args.at(1)));
    window.show();
    return QApplication::exec();
}
