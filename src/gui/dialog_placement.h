#pragma once

#include <QObject>

class QDialog;
class QWidget;

namespace orvane::gui {

// The window a modal question or dialog should belong to: the active modal
// dialog, else the active window, else `fallback`.
QWidget* ownerWindow(QWidget* fallback);

// Makes `dialog` belong to the window of `opener` (kept over it, centred on
// it), keeping its window flags. Dialogs shared by several windows call
// this each time they open.
void belongTo(QDialog& dialog, QWidget* opener);

// Moves (and if need be shrinks) a top-level window so that it lies wholly
// inside the available area of the screen that holds its parent.
void fitOnScreen(QWidget& window);

// Installed on the application: every dialog is fitted on its screen when
// it is shown (large fonts and scaling make some taller than the screen,
// and positions computed from the main window can fall off its edge).
class ScreenFitter : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace orvane::gui
