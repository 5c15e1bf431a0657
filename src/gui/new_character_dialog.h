#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "app/session.h"
#include "app/user_interface.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace orvane::gui {

// "New Character(s)" (TForm2): an unknown glyph in its line; the user types
// what it reads as, or takes one of the ways out. The outcome goes back to
// the core, which learns, skips, pauses or searches.
class NewCharacterDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWakeUpInterval = 10000;
    static constexpr int kFlashInterval = 150;
    // Keys pressed within this time of the question coming up were typed
    // for the one before it, and are dropped.
    static constexpr int kKeyGuardMs = 400;
    // The mark of the asked glyph in LabelLine.
    static constexpr const char* kAskedMark = "[?]";

    NewCharacterDialog(QWidget& parent, Session& session);

    NewCharChoice run(const NewCharacterView& view);

    void BitBtn1Click();
    void ButtonSkipLineClick();
    void ButtonSkipSubPictClick();
    void ButtonPauseClick();
    void ButtonChangeColorClick();
    void ButtonSearchMatrixClick();
    void EditTextChange();
    void TimerWakeUpTimer();
    void CheckBoxAttentionClick();
    // Escape (or closing by the window manager): the sub-picture is
    // skipped only after the person confirms it.
    void reject() override;
    int alarmStep() const { return alarmStep_; }
    // Whether the form shows its alarm colour.
    bool flashing() const { return red_; }

    QLabel* LabelIndex = nullptr;
    QLabel* LabelSubtitle = nullptr;  // the subtitle's number and times
    QLabel* LabelLine = nullptr;      // the line as read so far
    QLabel* ImageGlyph = nullptr;     // the glyph enlarged, with its guides
    QLabel* LabelPiece = nullptr;     // shown for a piece of a character
    QCheckBox* CheckBoxAttention = nullptr;
    QLabel* ImageChar = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* EditText = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LabelNbChar = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* ButtonSkipLine = nullptr;
    QPushButton* ButtonSkipSubPict = nullptr;
    QPushButton* ButtonPause = nullptr;
    QPushButton* ButtonChangeColor = nullptr;
    QPushButton* ButtonSearchMatrix = nullptr;
    QTimer* TimerWakeUp = nullptr;

  protected:
    void done(int r) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildPictureGroup(QVBoxLayout* v);
    void buildLineGroup(QVBoxLayout* v);
    void buildAnswerGroup(QVBoxLayout* v);
    void buildButtonGroup(QVBoxLayout* v);
    void connectControls();
    void finish(NewCharAction action);
    void setAlarmColour(bool red);

    Session& session_;
    NewCharAction action_ = NewCharAction::SkipPicture;
    int alarmStep_ = 0;
    bool red_ = false;
    QElapsedTimer shownAt_;
};

}  // namespace orvane::gui
