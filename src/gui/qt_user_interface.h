#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <map>

#include "app/config_settings.h"
#include "app/user_interface.h"

class QWidget;

namespace orvane::gui {

class MainWindow;

// The UI port answered with Qt: message boxes, file dialogs, the OCR
// dialogs and the main and subtitle windows' labels. One per main window.
class QtUserInterface : public UserInterface {
  public:
    explicit QtUserInterface(MainWindow& main);

    Answer messageBox(QuestionId id, MessageIcon icon, const std::string& text,
                      Buttons buttons) override;
    std::string askSaveFileName(const FileDialog& dialog) override;
    std::string askOpenFileName(const FileDialog& dialog) override;
    std::optional<uint8_t> chooseTextColour(const Image24& picture,
                                            const ColourRanking& proposal) override;
    NewCharChoice newCharacter(const NewCharacterView& view) override;
    ProgressionChoice progressionController(int32_t unitNumber) override;
    void bitmapAdjustment(BitmapAdjustment& dialog) override;
    void showOutputFormat(OutputFormat format) override;

    void pump() override;
    uint32_t tickCount() override;

    void fileLabels(const std::string& fileName, int index, int count) override;
    void readingControls(bool pauseEnabled, bool openVobEnabled) override;
    void pauseCaption(const std::string& caption) override;
    void progress(const ProgressDisplay& p) override;
    void unitCounters(int32_t inFile, int32_t inJob) override;
    void elapsedTime(const std::string& text) override;
    void jobEnded(const std::string& text) override;
    void remainingTime(const std::string& text) override;
    void navTimes(const TimeCode& navTotal, const TimeCode& streamTime) override;
    void chapters(const std::string& text) override;
    void frameRate(const std::string& label) override;
    void showSubtitleWindow() override;
    void showPicture(const Image24& bitmap, const DisplayArea& area, bool useZoom) override;
    void documentChanged(const SubtitleDocument& doc) override;
    void matrixChanged(const CharMatrix& matrix) override;
    void matrixEntryAdded(const CharMatrix& matrix, size_t k) override;

    // A file dialog of the GUI's own (the job dialog's folder and IFO):
    // `filter` in the "Name|*.ext|..." form, `filterIndex` the one shown
    // first. Its start folder is the configuration's OpenDialogVob.
    std::string openFile(const QString& title, const std::string& filter, int filterIndex = 0);
    // Replaces the monotonic clock (tests drive the time by hand); an
    // empty function brings the real one back.
    void setClock(std::function<uint32_t()> clock) { fakeClock_ = std::move(clock); }
    // How often the event loop was pumped from inside the core.
    int pumpCount() const { return pumps_; }

  private:
    // `slot` holds the dialog's start folder and takes the chosen one;
    // without one the folder is kept by title.
    std::string runFileDialog(bool save, const FileDialog& dialog, int filterIndex,
                              std::string* slot);

    MainWindow& main_;
    QElapsedTimer clock_;
    std::function<uint32_t()> fakeClock_;
    int pumps_ = 0;
    // The folder each other dialog (by title) was last left in.
    std::map<std::string, std::string> folders_;
};

// Which of the configuration's start folders a file dialog uses and keeps
// (the matrix, subtitle, own-format and BMP/SUP dialogs); nullptr for others.
std::string* startFolderSlot(ConfigSettings& settings, const FileDialog& d, bool save);

// "Name (*.a)|*.a|All|*.*" -> Qt's "Name (*.a);;All (*.*)".
QStringList qtFilters(const std::string& filter);

}  // namespace orvane::gui
