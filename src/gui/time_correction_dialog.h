#pragma once

#include <QDialog>

#include "app/session.h"
#include "gui/time_fields.h"
#include "subtitles/time_correction.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace orvane::gui {

class WordEdit;

// "Time correction" (TForm14): offset, stretch, durations and minimum
// interval for every entry of the document. The fields live in a
// TimeCorrectionSettings; the passes are the session's.
class TimeCorrectionDialog : public QDialog {
    Q_OBJECT
  public:
    TimeCorrectionDialog(QWidget& parent, Session& session);

    void run();
    const TimeCorrectionSettings& settings() const { return settings_; }

    // Handlers.
    void FormShow();
    void ButtonResetOffsetClick();
    void ButtonResetStretchClick();
    void RadioGroupTimeClick();
    void BitBtnModifyTCClick();

    QCheckBox* CheckBoxMinusOffset = nullptr;
    TimeFields offset;  // Word_uHour, Word_uMin, Word_uSec, Word_uMSec
    QPushButton* ButtonResetOffset = nullptr;
    QCheckBox* CheckBoxMinusStretch = nullptr;
    TimeFields stretch;  // Word_uHourS, Word_uMinS, Word_uSecS, Word_uMSecS
    QPushButton* ButtonResetStretch = nullptr;
    QCheckBox* CheckBoxSubDuration = nullptr;
    QGroupBox* RadioGroupTime = nullptr;
    QRadioButton* RadioTime[2] = {};
    QFrame* PanelFixedTime = nullptr;
    WordEdit* Word_uFixedDuration = nullptr;
    QFrame* PanelProportionalTime = nullptr;
    WordEdit* Word_uOffsetDuration = nullptr;
    WordEdit* Word_uMsPerChar = nullptr;
    WordEdit* Word_uMinInterval = nullptr;
    QPushButton* BitBtnModifyTC = nullptr;
    QPushButton* BitBtn1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildOffsetGroup(QVBoxLayout* v);
    QHBoxLayout* signedTimeRow(const QString& part, const QString& fieldSuffix, QCheckBox*& minus,
                               TimeFields& fields, QPushButton*& reset);
    void buildStretchGroup(QVBoxLayout* v);
    void buildDurationGroup(QVBoxLayout* v);
    void buildIntervalGroup(QVBoxLayout* v);
    void buildButtons(QVBoxLayout* v);
    void connectControls();
    void settingsToControls();
    // Copies every control into the settings (each change, and at the end).
    void controlsToSettings();

    Session& session_;
    TimeCorrectionSettings settings_;
    bool filling_ = false;
};

}  // namespace orvane::gui
