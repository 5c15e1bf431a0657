#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "app/extraction_job.h"
#include "app/session.h"
#include "stream/time_code.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace orvane::gui {

class DialogHost;
class UpDown;
class WordEdit;

// The job setup dialog "What To Do ?" (TForm6): files and their order,
// stream, matrix, action and start time; Start hands the job to the core.
class JobDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kVobFilter =
        "VOB (*.vob)|*.vob|VTS Ifo (vts_*.ifo)|vts_*.ifo|All Ifo (*.ifo)|*.ifo|All (*.*)|*.*|"
        "VobSub (*.idx)|*.idx";
    static constexpr int kActionCount = 5;

    JobDialog(DialogHost& host, Session& session);

    // Handlers.
    void FormShow();
    void ButtonOpenDirClick();
    void ButtonOpenIfoClick();
    void UpDownFilePoseChangingEx(bool up);
    void RadioGroupActionClick();
    void BitBtnStartClick();
    void ButtonResetTCClick();
    void ButtonClearTextClick();
    void Button1Click();
    void ButtonOpenCharMatrixFileClick();
    void ButtonNewMatrixClick();
    // Lists the VOB files of a folder (the part of the two Open buttons
    // after the file dialog).
    void listDirectory(const std::string& folder);
    // The stream names of an IFO file into the stream list.
    void loadStreamNames(const std::string& path);
    // A folder ready for Start: the title set's IFO names the streams, the
    // folder is listed and the title set's VOBs are checked.
    void openFolder(const std::string& folder);
    // VOB files of one folder: the folder listed (its title set's IFO
    // naming the streams) with exactly these files checked.
    void openFiles(const std::vector<std::string>& files);
    // The folder listed ("" before any).
    std::string folder() const;
    // Selects a stream by its item, when the list has it.
    void selectStream(int index);
    // Selects an action by its item (0..4).
    void setAction(int index);
    // The file paths in list order (kept beside the visible lines).
    const std::vector<std::string>& paths() const { return paths_; }
    // What Start would hand over.
    JobRequest request() const;
    void refreshMatrixName();
    void refreshForcedCount();

    QComboBox* ComboBoxLanguage = nullptr;
    QPushButton* ButtonOpenIfo = nullptr;
    QLabel* LabelVobPath = nullptr;
    QPushButton* ButtonOpenDir = nullptr;
    QListWidget* CheckListBoxVob = nullptr;
    UpDown* UpDownFilePose = nullptr;
    QLineEdit* EditCharMatrixFile = nullptr;
    QPushButton* ButtonOpenCharMatrixFile = nullptr;
    QPushButton* ButtonNewMatrix = nullptr;
    QGroupBox* RadioGroupAction = nullptr;
    QRadioButton* RadioAction[kActionCount] = {};
    QCheckBox* CheckBoxPictTiming = nullptr;
    QCheckBox* CheckBoxForcedOnly = nullptr;
    // How many units of the selected stream the last job found forced.
    QLabel* LabelForcedCount = nullptr;
    QPushButton* ButtonClearText = nullptr;
    QPushButton* Button1 = nullptr;
    WordEdit* Word_uHour = nullptr;
    WordEdit* Word_uMin = nullptr;
    WordEdit* Word_uSec = nullptr;
    WordEdit* Word_uMSec = nullptr;
    QPushButton* ButtonResetTC = nullptr;
    QCheckBox* CheckBoxAvoidTimeRestart = nullptr;
    QPushButton* BitBtnStart = nullptr;
    QPushButton* BitBtnCancel = nullptr;
    QFrame* Panel5 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildStreamGroup(QVBoxLayout* v);
    void buildFilesGroup(QVBoxLayout* v);
    void buildMatrixGroup(QVBoxLayout* v);
    void buildActionGroup(QVBoxLayout* v);
    void buildTimeCodeGroup(QVBoxLayout* v);
    void buildButtonPanel(QVBoxLayout* v);
    void connectControls();
    void moveFile(int from, int to);
    void showTimeCode(const TimeCode& t);
    void timeFieldEdited();
    int actionIndex() const;

    DialogHost& host_;
    Session& session_;
    QButtonGroup* actions_ = nullptr;
    std::vector<std::string> paths_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace orvane::gui
