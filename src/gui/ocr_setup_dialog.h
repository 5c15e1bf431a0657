#pragma once

#include <QDialog>
#include <string>

#include "app/session.h"
#include "ocr/ocr_settings.h"

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QSlider;

namespace orvane::gui {

class IntegerEdit;
class WordEdit;

// "OCR Advanced Setup" (TForm4): the thirteen limits of segmentation and
// matching, edited in place of the session's OcrSettings, and whether a
// second engine reads what the matrix does not know.
class OcrSetupDialog : public QDialog {
    Q_OBJECT
  public:
    // `configurationPath` is where the window's configuration is kept (empty
    // until it is read).
    OcrSetupDialog(QWidget& parent, Session& session, const std::string& configurationPath);

    // --- handlers -------------------------------------------------------
    void FormShow();
    void TrackBarSensibilityChange();
    void Word_uSensibilityChange();
    void BitBtnOkClick();
    void BitBtnCancelClick();
    void ButtonDefaultValuesClick();
    void ButtonSaveValuesClick();

    // The session's settings into the controls, and back.
    void settingsToControls();
    void controlsToSettings();

    // --- controls (objectName = the member's name) ----------------------
    WordEdit* Word_uLineMinHeight = nullptr;
    WordEdit* Word_uMinInterLine = nullptr;
    WordEdit* Word_uLineMaxHeight = nullptr;
    WordEdit* Word_uCharMinWidth = nullptr;
    WordEdit* Word_uCharMinHeight = nullptr;
    QCheckBox* CheckBoxDetachedChar = nullptr;
    IntegerEdit* Integer_uMinSpaceWidth = nullptr;
    IntegerEdit* Integer_uMinItaSpaceWidth = nullptr;
    IntegerEdit* Integer_uDetectItaWidth = nullptr;
    WordEdit* Word_uSensibility = nullptr;
    QSlider* TrackBarSensibility = nullptr;
    WordEdit* Word_uOcrWidthDiff = nullptr;
    WordEdit* Word_uOcrHeightDiff = nullptr;
    WordEdit* Word_uOcrTopDiff = nullptr;
    QCheckBox* CheckBoxOcrEngine = nullptr;
    QPushButton* ButtonDefaultValues = nullptr;
    QPushButton* ButtonSaveValues = nullptr;
    QPushButton* BitBtnOk = nullptr;
    QPushButton* BitBtnCancel = nullptr;

  public slots:
    // Once the running settings have been reset or saved, the dialog can
    // only be left with OK; Escape does nothing then.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QGroupBox* buildLineGroup(const OcrSettings& d);
    QGroupBox* buildCharGroup(const OcrSettings& d);
    QGroupBox* buildSpaceGroup(const OcrSettings& d);
    QGroupBox* buildEngineGroup(const OcrSettings& d);
    QHBoxLayout* buildButtons();
    void connectControls();
    OcrSettings& settings();

    Session& session_;
    const std::string& configurationPath_;
};

}  // namespace orvane::gui
