#pragma once

// What the screenshot programs share: the application set up as the real
// one is with its main window, pictures of the whole screen, and the end of the program once
// its script has run. The drivers (shots_lib.sh) run them under Xvfb with
// openbox and $SHOT_DIR set.

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "gui/main_window.h"
#include "modal_script.h"

namespace orvane::test {

// The application set up as the real one is, its main window shown at
// (x, y), and the script that answers its dialogs.
struct Shots {
    struct Application : QApplication {
        Application(int& argc, char** argv) : QApplication(argc, argv) {
            setApplicationName("Orvane");
            setQuitOnLastWindowClosed(false);
        }
    };
    Shots(int& argc, char** argv, int x, int y) : app(argc, argv) {
        window.move(x, y);
        window.show();
    }
    Application app;
    gui::MainWindow window;
    ModalScript script;
};

// Lets the windows draw, then saves the screen as $SHOT_DIR/NAME.
inline void shoot(const QString& name) {
    QApplication::processEvents();
    QTest::qWait(400);
    QProcess::execute("import", {"-window", "root", qEnvironmentVariable("SHOT_DIR") + "/" + name});
}

// Ends the program once every step of the script has run and no dialog is
// open.
inline void exitWhenDone(const ModalScript& script) {
    auto* watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, [&script] {
        if (script.done() && !QApplication::activeModalWidget()) std::exit(0);
    });
    watch->start(20);
}

}  // namespace orvane::test
