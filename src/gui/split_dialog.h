#pragma once

#include <QDialog>

#include "app/session.h"
#include "gui/time_fields.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace orvane::gui {

// "Split Text File" (TForm17): the document's split range, with a bar that
// shows the slice of the file that will be rendered and saved.
class SplitDialog : public QDialog {
    Q_OBJECT
  public:
    SplitDialog(QWidget& parent, Session& session);

    void run();
    // The end-of-file time taken at the last showing.
    const TimeCode& endOfFile() const { return endOfFile_; }

    // Handlers.
    void FormShow();
    void CheckBoxSplitClick();
    void Word_uHour1Change();
    void ButtonResetStartSplitClick();
    void ButtonEndOfFileClick();
    void SpeedButtonCopyStopToStartClick();
    void BitBtn1Click();

    QCheckBox* CheckBoxSplit = nullptr;
    QFrame* PanelStartSplit = nullptr;
    TimeFields start;  // Word_uHour1, Word_uMin1, Word_uSec1, Word_uMSec1
    QPushButton* ButtonResetStartSplit = nullptr;
    QFrame* PanelStopSplit = nullptr;
    TimeFields stop;  // Word_uHour2, Word_uMin2, Word_uSec2, Word_uMSec2
    QPushButton* ButtonEndOfFile = nullptr;
    QToolButton* SpeedButtonCopyStopToStart = nullptr;
    QWidget* PanelBar = nullptr;
    QFrame* ShapeFullFile = nullptr;
    QFrame* ShapeSplitFill = nullptr;
    QLabel* LabelBarStart = nullptr;
    QLabel* LabelBarStop = nullptr;
    QLabel* LabelBeginOfFile = nullptr;
    QLabel* LabelEndOfFile = nullptr;
    QLabel* LabelStartSplit = nullptr;
    QLabel* LabelStopSplit = nullptr;
    QPushButton* BitBtn1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildHeaderGroup(QVBoxLayout* v);
    QFrame* timeRow(const QString& end, const char* caption, const QString& fieldSuffix,
                    QLabel*& captionLabel, TimeFields& fields, QPushButton*& action,
                    const char* actionName, const char* actionText);
    void buildTimesGroup(QVBoxLayout* v);
    void buildBarGroup(QVBoxLayout* v);
    void buildExampleGroup(QVBoxLayout* v);
    void buildButtons(QVBoxLayout* v);
    void connectControls();
    // Draws the bar for start a, stop b and the end of file.
    void drawBar(const TimeCode& a, const TimeCode& b);
    void redrawBar();

    Session& session_;
    TimeCode endOfFile_;
};

}  // namespace orvane::gui
