#pragma once

#include "subpicture/image.h"

class QWidget;

namespace orvane {
class CharMatrix;
struct DisplayArea;
}  // namespace orvane

namespace orvane::gui {

class QtUserInterface;

// What the dialogs need of the window that owns them, besides the session:
// which widgets these are stays that window's business.
class DialogHost {
  public:
    // The window the dialogs belong to and are placed beside.
    virtual QWidget& hostWindow() = 0;
    // The subtitle text window: kept out of the way while a reading dialog
    // shows, brought up by the job dialog.
    virtual QWidget& subtitleView() = 0;
    // The file dialogs and message boxes of the program.
    virtual QtUserInterface& ui() = 0;
    // The preview.
    virtual void showPicture(const Image24& bitmap, const DisplayArea& area, bool useZoom) = 0;
    // The keyboard back to the reading, once a dialog lets it go on.
    virtual void focusReading() = 0;
    // The matrix commands of the menu, and the name shown for the matrix.
    virtual void newMatrixCommand() = 0;
    virtual void openMatrixCommand() = 0;
    virtual void setMatrixName(const CharMatrix& matrix) = 0;

  protected:
    ~DialogHost() = default;
};

}  // namespace orvane::gui
