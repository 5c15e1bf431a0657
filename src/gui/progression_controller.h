#pragma once

#include <QDialog>

#include "app/session.h"
#include "app/user_interface.h"

class QPushButton;

namespace orvane::gui {

class DialogHost;

// "Progression Controller" (TForm11): holds the reader of the show-only
// action after each picture until the user steps on.
class ProgressionController : public QDialog {
    Q_OBJECT
  public:
    ProgressionController(DialogHost& host, Session& session);

    ProgressionChoice run(int32_t unitNumber);

    void ButtonPauseClick();
    void ButtonNextClick();
    void ButtonNoStopClick();
    void ButtonSaveAsBmpClick();
    void ButtonSaveAsSupClick();
    void ButtonChangeColorClick();

    QPushButton* ButtonPause = nullptr;
    QPushButton* ButtonNext = nullptr;
    QPushButton* ButtonNoStop = nullptr;
    QPushButton* ButtonSaveAsBmp = nullptr;
    QPushButton* ButtonSaveAsSup = nullptr;
    QPushButton* ButtonChangeColor = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void finish(ProgressionChoice c);

    DialogHost& host_;
    Session& session_;
    ProgressionChoice choice_ = ProgressionChoice::Next;
    bool placed_ = false;
};

}  // namespace orvane::gui
