#pragma once

#include <QDialog>
#include <QSize>
#include <array>

#include "app/session.h"
#include "subpicture/bitmap_export_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;

namespace orvane {
class BitmapAdjustment;
}

namespace orvane::gui {

class DialogHost;

// "Bitmap adjustment" (TForm18): cropping, colour roles and palette, and
// positioning of the BMP export, with profiles. A view over the core's
// BitmapAdjustment, which adjusts the picture and refreshes the preview
// after every change.
class BitmapAdjustmentDialog : public QDialog {
    Q_OBJECT
  public:
    BitmapAdjustmentDialog(DialogHost& host, Session& session);

    // Modal; the session has set the save-this-picture flag, filled the
    // colour roles and shown the adjusted picture before.
    void run(BitmapAdjustment& adjustment);

    // --- handlers -------------------------------------------------------
    void FormShow();
    void CroppingChange();
    void PositioningChange();
    void ComboBoxBitPerPixelChange();
    void ComboBoxDVDColorChange(int role);
    void ComboBoxColorIndexChange(int role);
    void RadioGroupPresetPaletteIndexClick();
    void ButtonAutoSortColorClick();
    void PanelColorClick(int role);
    void PanelUnusedColorClick();
    void ButtonSaveProfileClick();
    void ButtonLoadProfileClick();
    void ButtonSaveBMPClick();
    void BitBtn1Click();
    void ButtonSkipPictClick();
    void ButtonReduceWindowClick();
    bool reduced() const { return reduced_; }

    // --- controls (objectName = the member's name) ----------------------
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheetProfiles = nullptr;
    QWidget* TabSheetCropping = nullptr;
    QWidget* TabSheetColors = nullptr;
    QWidget* TabSheetPositioning = nullptr;
    // Profiles.
    QLabel* LabelCurrentProfile = nullptr;
    QPushButton* ButtonSaveProfile = nullptr;
    QPushButton* ButtonLoadProfile = nullptr;
    QPushButton* ButtonSaveBMP = nullptr;
    // Cropping.
    QCheckBox* CheckBoxAllowBmpCropping = nullptr;
    QGroupBox* GroupBoxSizeConstraints = nullptr;
    QSpinBox* SpinEditMinX = nullptr;
    QSpinBox* SpinEditMinY = nullptr;
    QSpinBox* SpinEditDivX = nullptr;
    QSpinBox* SpinEditDivY = nullptr;
    QGroupBox* GroupBoxCropPosition = nullptr;
    QGroupBox* RadioGroupHAlignment = nullptr;
    QRadioButton* RadioHAlignment[3] = {};
    QGroupBox* RadioGroupVAlignment = nullptr;
    QRadioButton* RadioVAlignment[3] = {};
    QSpinBox* SpinEditXShift = nullptr;
    QSpinBox* SpinEditYShift = nullptr;
    // Colors.
    QComboBox* ComboBoxBitPerPixel = nullptr;
    std::array<QComboBox*, kRoleCount> ComboBoxDVDColor{};
    std::array<QFrame*, kRoleCount> PanelColor{};
    std::array<QComboBox*, kRoleCount> ComboBoxColorIndex{};
    QGroupBox* RadioGroupPresetPaletteIndex = nullptr;
    QRadioButton* RadioPreset[3] = {};
    QFrame* PanelUnusedColor = nullptr;
    // The disc's own colours instead of the role colours.
    QCheckBox* CheckBoxDiscColors = nullptr;
    QPushButton* ButtonAutoSortColor = nullptr;
    // Positioning.
    QCheckBox* CheckBoxAllowPositionChange = nullptr;
    QGroupBox* GroupBoxLeftPosition = nullptr;
    QRadioButton* RadioButtonOriginalLeftPos = nullptr;
    QRadioButton* RadioButtonCenterLeftPos = nullptr;
    QRadioButton* RadioButtonRightLeftPos = nullptr;
    QRadioButton* RadioButtonSetLeftPos = nullptr;
    QSpinBox* SpinEditLeftPosition = nullptr;
    QSpinBox* SpinEditAddLeftPos = nullptr;
    QGroupBox* GroupBoxTopPosition = nullptr;
    QRadioButton* RadioButtonOriginalTopPos = nullptr;
    QRadioButton* RadioButtonCenterTopPos = nullptr;
    QRadioButton* RadioButtonBottomTopPos = nullptr;
    QRadioButton* RadioButtonSetTopPos = nullptr;
    QSpinBox* SpinEditTopPosition = nullptr;
    QSpinBox* SpinEditAddTopPos = nullptr;
    // Below the tabs.
    QPushButton* BitBtn1 = nullptr;
    QPushButton* ButtonSkipPict = nullptr;
    QPushButton* ButtonReduceWindow = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildRolesGroup(QVBoxLayout* v);
    QWidget* buildProfilesTab();
    QWidget* buildCroppingTab();
    QWidget* buildColorsTab();
    QWidget* buildPositioningTab();
    // Settings -> controls, with the change handlers held off.
    void fillControls();
    void fillColourControls();
    void updateEnabled();
    void setPanelColour(QFrame* panel, Colour c);
    bool chooseColour(Colour& c);

    DialogHost& host_;
    Session& session_;
    BitmapAdjustment* adjustment_ = nullptr;
    QButtonGroup* hAlign_ = nullptr;
    QButtonGroup* vAlign_ = nullptr;
    QButtonGroup* presets_ = nullptr;
    QButtonGroup* leftModes_ = nullptr;
    QButtonGroup* topModes_ = nullptr;
    bool subtitleWasVisible_ = false;
    bool reduced_ = false;
    QSize fullSize_;
};

}  // namespace orvane::gui
