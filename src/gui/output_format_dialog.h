#pragma once

#include <QDialog>

#include <vector>

#include "app/session.h"
#include "subtitles/output_formats.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace orvane::gui {

// "Output Format" (TForm13): one page per output format with the writers'
// settings. The stored settings are copied into the controls when the
// dialog is shown and back by "&Convert to this Format"; the live ones (the
// index offset, both SubViewer pages, the Philips title) reach the
// document's settings on every change, also when the dialog is cancelled.
class OutputFormatDialog : public QDialog {
    Q_OBJECT
  public:
    OutputFormatDialog(QWidget& parent, Session& session);

    // "Set &Output Format": shows the dialog modally.
    void run();
    // Switches to `format` without showing the dialog: Show, then Convert,
    // so that the settings are taken over unchanged.
    void selectFormat(OutputFormat format);

    // Handlers.
    void FormShow();
    void BitBtnConvertClick();
    void ButtonSubviewer2FontClick();
    void PanelPColor0Click(QPushButton* panel);
    void ComboBoxPhilipsFrameRateChange();
    void ComboBoxSonicFrameRateChange();
    void CheckBoxPhilipsUseBmpColorClick();

    // The stored settings as the controls hold them.
    OutputSettings controlsToSettings() const;
    // The format of each page, in page order.
    const std::vector<OutputFormat>& pageFormats() const { return pageFormats_; }
    int pageOf(OutputFormat format) const;

    QTabWidget* PageControlOrvane = nullptr;
    QWidget* TabSheetOrvane = nullptr;
    QWidget* TabSheetSubviewer = nullptr;
    QWidget* TabSheetSubviewer2 = nullptr;
    QWidget* TabSheetIAuthor = nullptr;
    QWidget* TabSheetPhilips = nullptr;
    QWidget* TabSheetSonic = nullptr;
    // Orvane.
    QCheckBox* CheckBoxOvtExtended = nullptr;
    QSpinBox* SpinEditOrvaneOffset = nullptr;
    QComboBox* ComboBoxOvtEncoding = nullptr;  // items in the order of TextEncoding
    // SubViewer 1.
    QLineEdit* EditSubviewerTitle = nullptr;
    QLineEdit* EditSubviewerAuthor = nullptr;
    QLineEdit* EditSubviewerSource = nullptr;
    QLineEdit* EditSubviewerProgram = nullptr;
    QLineEdit* EditSubviewerFilePath = nullptr;
    QSpinBox* SpinEditSubViewerDelay = nullptr;
    QCheckBox* CheckBox2LineMax = nullptr;
    QCheckBox* CheckBoxRoundTC = nullptr;
    // SubViewer 2.
    QLineEdit* EditSubviewer2Title = nullptr;
    QLineEdit* EditSubviewer2Author = nullptr;
    QLineEdit* EditSubviewer2Source = nullptr;
    QLineEdit* EditSubviewer2Program = nullptr;
    QLineEdit* EditSubviewer2FilePath = nullptr;
    QSpinBox* SpinEditSubViewer2Delay = nullptr;
    QSpinBox* SpinEditSubViewer2CDTrack = nullptr;
    QLineEdit* EditSubviewer2Comment = nullptr;
    QLabel* PanelSubViewer2Font = nullptr;
    QPushButton* ButtonSubviewer2Font = nullptr;
    // IAuthor.
    QPushButton* PanelPColor[4] = {};
    QSpinBox* SpinEditBlendPColor[4] = {};
    QSpinBox* SpinEditMinimumInterval = nullptr;
    // Philips.
    QLineEdit* EditPhilipsTitle = nullptr;
    QComboBox* ComboBoxPhilipsFrameRate = nullptr;
    QCheckBox* CheckBoxPhilipsDropFrame = nullptr;
    QCheckBox* CheckBoxPhilipsUseBmpColor = nullptr;
    QLabel* LabelPhilipsColor = nullptr;
    QPushButton* PanelPhilipsColor[4] = {};
    QSpinBox* SpinEditPhilipsContrast[4] = {};
    // Sonic.
    QComboBox* ComboBoxSonicFrameRate = nullptr;
    QCheckBox* CheckBoxSonicDropFrame = nullptr;
    // Buttons.
    QPushButton* BitBtnConvert = nullptr;
    QPushButton* BitBtn1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildPage(const OutputFormatDescription& format);
    QWidget* buildOrvanePage();
    QWidget* buildSubViewerPage();
    QWidget* buildSubViewer2Page();
    QWidget* buildIAuthorPage();
    QWidget* buildPhilipsPage();
    QWidget* buildSonicPage();
    // The live fields from the document's settings into their controls,
    // and one control's change back.
    void liveFieldsToControls();
    void liveFieldChanged();
    void showFont(const FontDescription& font);
    void setPanelColour(QPushButton* panel, ColourRef colour);
    ColourRef panelColour(const QPushButton* panel) const;
    void convert();

    Session& session_;
    std::vector<OutputFormat> pageFormats_;
    bool filling_ = false;
};

}  // namespace orvane::gui
