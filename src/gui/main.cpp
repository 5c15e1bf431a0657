// orvane: the desktop program. It takes no arguments.

#include <QApplication>

#include "gui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orvane");
    orvane::gui::MainWindow window;
    window.show();
    return QApplication::exec();
}
