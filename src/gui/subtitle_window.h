#pragma once

#include <QMainWindow>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QToolButton;
class QVBoxLayout;

namespace orvane {
class SubtitleDocument;
}

namespace orvane::gui {

class MainWindow;
class UpDown;

// The subtitle window (TForm3, "Subtitles"): the document's display lines
// in a fixed-pitch list, its menus and buttons. The document and its
// commands live in the session; this window shows them.
class SubtitleWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit SubtitleWindow(MainWindow& main);

    // Handlers.
    void Saveas1Click();
    void OpenOrvaneFormat1Click();
    void Clear1Click();
    void SetOutputFormat1Click();
    void TimeCorrection1Click();
    void Splitoutputfile1Click();
    void PostOCRCorrection1Click();
    void UpDown1Click(bool up);
    // Brings the list, the index label and the caption up to date.
    void documentChanged(const SubtitleDocument& doc);

    QAction* File1 = nullptr;
    QAction* Saveas1 = nullptr;
    QAction* OpenOrvaneFormat1 = nullptr;
    QAction* Clear1 = nullptr;
    QAction* Corrections1 = nullptr;
    QAction* PostOCRCorrection1 = nullptr;
    QAction* TimeCorrection1 = nullptr;
    QAction* OutputFormat1 = nullptr;
    QAction* SetOutputFormat1 = nullptr;
    QAction* Splitoutputfile1 = nullptr;
    QLabel* LabelNbSubTitle = nullptr;
    QToolButton* CoolButtonSpellingCorrection = nullptr;
    QToolButton* CoolButtonTimeCorrection = nullptr;
    QToolButton* CoolButtonOutputFormat = nullptr;
    QToolButton* CoolButtonSplitText = nullptr;
    QToolButton* CoolButtonSaveAs = nullptr;
    QToolButton* CoolButtonClearSub = nullptr;
    QCheckBox* CheckBoxScrollDown = nullptr;
    UpDown* UpDown1 = nullptr;
    QListWidget* ListBoxSubtitle = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildMenus();
    void buildToolGroup(QVBoxLayout* v);
    void connectControls();
    MainWindow& main_;
    std::vector<std::string> shown_;  // the display lines the list holds
};

}  // namespace orvane::gui
