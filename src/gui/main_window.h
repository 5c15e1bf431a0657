#pragma once

#include <QMainWindow>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "config/language_file.h"
#include "config/preview_options.h"
#include "gui/dialog_host.h"
#include "gui/qt_user_interface.h"
#include "subpicture/image.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTimer;
class QToolButton;
class QVBoxLayout;

namespace orvane::gui {

class AboutDialog;
class BitmapAdjustmentDialog;
class MatrixEditorDialog;
class FontColourDialog;
class JobDialog;
class NewCharacterDialog;
class OcrSetupDialog;
class OutputFormatDialog;
class PostOcrDialog;
class SplitDialog;
class TimeCorrectionDialog;
class ProgressionController;
class SubtitleWindow;

// The main window (TForm1): the job driver's timer, pause and continue,
// the labels of the reading, the preview and its display options, and the
// menus. It owns the session and the other windows.
class MainWindow : public QMainWindow, public DialogHost {
    Q_OBJECT
  public:
    static constexpr int kDesignWidth = 743;
    static constexpr int kDesignHeight = 686;
    static constexpr const char* kPauseCaption = "&Pause \x7F";

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return *session_; }
    QtUserInterface& ui() override { return ui_; }
    JobDialog& jobDialog() { return *jobDialog_; }
    SubtitleWindow& subtitleWindow() { return *subtitleWindow_; }
    NewCharacterDialog& newCharacterDialog() { return *newCharacterDialog_; }
    FontColourDialog& fontColourDialog() { return *fontColourDialog_; }
    ProgressionController& progressionController() { return *progressionController_; }
    BitmapAdjustmentDialog& bitmapAdjustmentDialog() { return *bitmapAdjustmentDialog_; }
    OcrSetupDialog& ocrSetupDialog() { return *ocrSetupDialog_; }
    OutputFormatDialog& outputFormatDialog() { return *outputFormatDialog_; }
    TimeCorrectionDialog& timeCorrectionDialog() { return *timeCorrectionDialog_; }
    SplitDialog& splitDialog() { return *splitDialog_; }
    PostOcrDialog& postOcrDialog() { return *postOcrDialog_; }
    MatrixEditorDialog& matrixEditorDialog() { return *matrixEditorDialog_; }
    AboutDialog& aboutDialog() { return *aboutDialog_; }
    // The preview options, kept in the session with the configuration.
    PreviewOptions& previewOptions() { return session_->previewOptions(); }
    // The configuration file read at the first showing and written at
    // closing (empty until then).
    const std::string& configurationPath() const { return configPath_; }
    // The windows language files reach, as their trees see them.
    std::vector<QWidget*> languageWindows();
    // "GUI &Language": one checkable item per language file.
    void switchLanguageClick(const std::string& name);
    // A folder (or a file in it) to list in the job dialog at the first
    // showing, which then opens: the program's start argument.
    void setStartFolder(const std::string& path) { startFolder_ = path; }
    int currentZoom() const { return zoom_; }
    // The other windows exist (they are made after the main window's own
    // creation, in the program's order).
    bool windowsCreated() const { return progressionController_ != nullptr; }

    // --- handlers, named as the controls and events they serve --------------
    void FormCreate();
    void FormShow();
    void OpenVob1Click();
    void CoolButtonShowSubtitleTextClick();
    void About1Click();
    void Timer1Timer();
    // Every second while a reader runs: the elapsed time keeps running
    // while a dialog waits for the person.
    void TimerElapsedTimer();
    // "&Save Subtitles" (Ctrl+S): the subtitle window's Save As.
    void SaveSubtitles1Click();
    // VOB files or a folder (a VIDEO_TS folder, or one holding it) dropped
    // on the window: the job dialog opens with them listed and checked.
    bool openDropped(const QStringList& paths);
    void ButtonPauseClick();
    bool FormCloseQuery();
    void FormClose();
    void Quit1Click();
    void NewCharaterMatrix1Click();
    void OpenCharacterMatrix1Click();
    void SaveCharacterMatrix1Click();
    void SaveCharacterMatrixAs1Click();
    void EditCharMatrix1Click();
    void OCRAdvancedSetup1Click();
    void Button1Click();  // "Save Lang": the template language file

    // --- the preview (show picture) and its display options ------------------
    void showPicture(const Image24& bitmap, const DisplayArea& area, bool useZoom) override;
    void ButtonPreviewOptionClick();
    void optionsChanged();
    void zoomChanged();
    void windowResized();
    void layoutFrame(int zoom);
    void buildBackground();
    void SpinEditAspectRatioChange();
    void ComboBoxAspectRatioChange();
    void ButtonImgBackClick();
    void PanelBorderColorClick();
    void PanelInnerColorClick();
    const QImage& backgroundImage() const { return background_; }

    // --- views the UI port writes --------------------------------------------
    void setPauseCaption(const QString& caption);
    void setReadingControls(bool pauseEnabled, bool openVobEnabled);
    void setMatrixName(const CharMatrix& matrix) override;

    // --- what the dialogs are lent (DialogHost) -------------------------------
    QWidget& hostWindow() override { return *this; }
    QWidget& subtitleView() override;
    void focusReading() override;
    void newMatrixCommand() override { NewCharaterMatrix1Click(); }
    void openMatrixCommand() override { OpenCharacterMatrix1Click(); }

    // Controls (objectName = the member's name).
    QAction* File1 = nullptr;
    QAction* OpenVob1 = nullptr;
    QAction* Quit1 = nullptr;
    QAction* SaveSubtitles1 = nullptr;
    QAction* CharacterMatrix1 = nullptr;
    QAction* NewCharaterMatrix1 = nullptr;
    QAction* OpenCharacterMatrix1 = nullptr;
    QAction* SaveCharacterMatrix1 = nullptr;
    QAction* SaveCharacterMatrixAs1 = nullptr;
    QAction* EditCharMatrix1 = nullptr;
    QAction* OCRAdvancedSetup1 = nullptr;
    QAction* GUILanguage1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* LanguageMenu = nullptr;
    QPushButton* Button1 = nullptr;  // "Save Lang", hidden
    QToolButton* CoolButtonOpenVob = nullptr;
    QToolButton* CoolButtonShowSubtitleText = nullptr;
    QToolButton* ButtonPreviewOption = nullptr;
    QPushButton* ButtonPause = nullptr;
    QCheckBox* CheckBoxShowSubPict = nullptr;
    QLabel* LabelVobFile = nullptr;
    QLabel* LabelVobNum = nullptr;
    QLabel* LabelVobNb = nullptr;
    QLabel* LabelPos = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* LabelNbSup = nullptr;
    QLabel* LabelTotalNbSup = nullptr;
    QLabel* LabelTimeElapsed = nullptr;
    QLabel* LabelTimeRemaining = nullptr;
    QLabel* LabelTime = nullptr;
    QLabel* LabelTime7 = nullptr;
    QLabel* LabelChapters = nullptr;
    QLabel* LabelFPS = nullptr;
    QLabel* LabelX1 = nullptr;
    QLabel* LabelY1 = nullptr;
    QLabel* LabelX2 = nullptr;
    QLabel* LabelY2 = nullptr;
    QLabel* LabelWidth = nullptr;
    QLabel* LabelHeight = nullptr;
    QLabel* LabelMatrix = nullptr;
    QScrollArea* ScrollPreview = nullptr;
    QFrame* BevelScreen = nullptr;
    QLabel* ImageBack = nullptr;
    QLabel* Image1 = nullptr;
    QFrame* PanelPreviewCfg = nullptr;
    QCheckBox* CheckBoxTruePos = nullptr;
    QCheckBox* CheckBoxTransparentBkGrd = nullptr;
    QSpinBox* SpinEditZoom = nullptr;
    QCheckBox* CheckBoxAutoZoom = nullptr;
    QGroupBox* RadioGroupPreviewBack = nullptr;
    QRadioButton* RadioPreviewBack[4] = {};
    QComboBox* ComboBoxAspectRatio = nullptr;
    QSpinBox* SpinEditAspectRatio = nullptr;
    QLabel* PanelRatio = nullptr;
    QPushButton* ButtonImgBack = nullptr;
    QPushButton* PanelBorderColor = nullptr;
    QPushButton* PanelInnerColor = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* TimerElapsed = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildZoomGroup(QVBoxLayout* v);
    void buildBackgroundGroup(QVBoxLayout* v);
    void connectPreviewPanel();
    void buildMenus();
    void startUp();
    void rebuildLanguageMenu(std::vector<ControlNode>& trees);
    // The configuration's records into the dialogs' controls and back.
    void settingsToControls();
    void controlsToSettings();
    QFrame* buildToolBar();
    void connectToolBar();
    void startTimers();
    QWidget* buildStatusPanel();
    void createStatusLabels();
    void buildFileRows(QGridLayout* g);
    void buildCountRows(QGridLayout* g);
    void buildTimeRows(QGridLayout* g);
    void buildAreaRow(QGridLayout* g);
    QWidget* buildPreview();
    QFrame* buildPreviewPanel();
    void fillPreviewPanel();
    void placePicture();
    void setColourButton(QPushButton* b, Colour c);
    void installDrag(QWidget* w);

    QtUserInterface ui_;
    std::unique_ptr<Session> session_;
    JobDialog* jobDialog_ = nullptr;
    SubtitleWindow* subtitleWindow_ = nullptr;
    NewCharacterDialog* newCharacterDialog_ = nullptr;
    FontColourDialog* fontColourDialog_ = nullptr;
    ProgressionController* progressionController_ = nullptr;
    BitmapAdjustmentDialog* bitmapAdjustmentDialog_ = nullptr;
    OcrSetupDialog* ocrSetupDialog_ = nullptr;
    OutputFormatDialog* outputFormatDialog_ = nullptr;
    TimeCorrectionDialog* timeCorrectionDialog_ = nullptr;
    SplitDialog* splitDialog_ = nullptr;
    PostOcrDialog* postOcrDialog_ = nullptr;
    MatrixEditorDialog* matrixEditorDialog_ = nullptr;
    AboutDialog* aboutDialog_ = nullptr;

    std::string configPath_;
    std::string startFolder_;
    bool handlersActive_ = true;  // off while the program fills the panel
    bool shownOnce_ = false;
    bool closing_ = false;
    int zoom_ = 1000;
    QImage background_;
    Image24 picture_;  // the picture on show, at natural size
    DisplayArea pictureArea_;
    bool pictureUsesZoom_ = true;
    // Window drag.
    QPoint dragPos_;
    qint64 dragTick_ = -1;
};

}  // namespace orvane::gui
