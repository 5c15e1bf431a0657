#include "gui/qt_user_interface.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/program_folder.h"
#include "gui/bitmap_adjustment_dialog.h"
#include "gui/dialog_placement.h"
#include "gui/font_colour_dialog.h"
#include "gui/job_dialog.h"
#include "gui/main_window.h"
#include "gui/matrix_editor_dialog.h"
#include "gui/new_character_dialog.h"
#include "gui/output_format_dialog.h"
#include "gui/progression_controller.h"
#include "gui/qt_text.h"
#include "gui/subtitle_window.h"

namespace orvane::gui {

QStringList qtFilters(const std::string& filter) {
    QStringList out;
    const QStringList parts = toQt(filter).split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        // The name's own "(...)" is replaced by the patterns Qt reads.
        const int paren = name.indexOf('(');
        if (paren > 0) name = name.left(paren).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        out << name + " (" + patterns + ")";
    }
    return out;
}

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            break;
    }
    return QMessageBox::Question;
}

// The buttons shown, and the one Escape presses.
struct BoxButtons {
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton escape = QMessageBox::NoButton;
};

BoxButtons boxButtons(Buttons buttons) {
    BoxButtons r;
    switch (buttons) {
        case Buttons::Ok:
            r.shown = QMessageBox::Ok;
            r.escape = QMessageBox::Ok;
            break;
        case Buttons::OkCancel:
            r.shown = QMessageBox::Ok | QMessageBox::Cancel;
            r.escape = QMessageBox::Cancel;
            break;
        case Buttons::YesNo:
            r.shown = QMessageBox::Yes | QMessageBox::No;
            r.escape = QMessageBox::No;
            break;
        case Buttons::YesNoCancel:
            r.shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            r.escape = QMessageBox::Cancel;
            break;
        case Buttons::YesNoYesToAll:
            r.shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll;
            r.escape = QMessageBox::No;
            break;
        case Buttons::CancelIgnoreYesToAll:
            r.shown = QMessageBox::Cancel | QMessageBox::Ignore | QMessageBox::YesToAll;
            r.escape = QMessageBox::Cancel;
            break;
    }
    return r;
}

Answer answerOf(int pressed, Buttons buttons) {
    switch (pressed) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::YesToAll:
            return Answer::YesToAll;
        case QMessageBox::Ignore:
            return Answer::Ignore;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            // Closed without a button: the escape button's answer.
            return buttons == Buttons::Ok ? Answer::Ok
                   : buttons == Buttons::YesNo || buttons == Buttons::YesNoYesToAll
                       ? Answer::No
                       : Answer::Cancel;
    }
}

}  // namespace

QtUserInterface::QtUserInterface(MainWindow& main) : main_(main) {
    clock_.start();
}

Answer QtUserInterface::messageBox(QuestionId, MessageIcon icon, const std::string& text,
                                   Buttons buttons) {
    // Over the window that asked (the subtitle window's operations, a
    // dialog), not over the main window.
    QMessageBox box(ownerWindow(&main_));
    box.setWindowTitle("Orvane");
    box.setText(messageText(text));
    box.setIcon(boxIcon(icon));
    const BoxButtons b = boxButtons(buttons);
    box.setStandardButtons(b.shown);
    box.setEscapeButton(b.escape);
    return answerOf(box.exec(), buttons);
}

std::string* startFolderSlot(ConfigSettings& settings, const FileDialog& d, bool save) {
    const bool matrix = d.filter.find("*.sum") != std::string::npos;
    if (matrix) return save ? &settings.saveDialogCharMatrix : &settings.openDialogCharMatrix;
    if (!save && d.filter.find("*.ovt") != std::string::npos) return &settings.openDialogOrvaneText;
    // The base names of saved BMP and SUP files are asked without a filter;
    // the subtitle file without a title (its filter follows the format).
    if (save && d.filter.empty()) return &settings.saveDialogBmpSup;
    if (save && d.title.empty()) return &settings.saveDialogText;
    return nullptr;
}

std::string QtUserInterface::runFileDialog(bool save, const FileDialog& d, int filterIndex,
                                           std::string* slot) {
    QFileDialog dialog(ownerWindow(&main_), toQt(d.title));
    // Qt's own dialog: the same on every desktop, and reachable by tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The core asks its own replace questions.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = qtFilters(d.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(filterIndex, filters.first()));
    }
    if (!d.defaultExtension.empty()) dialog.setDefaultSuffix(toQt(d.defaultExtension));
    if (!slot) slot = &folders_[d.title];
    if (!d.proposedName.empty() && d.proposedName.find('/') != std::string::npos) {
        const QFileInfo proposed(toQt(d.proposedName));
        dialog.setDirectory(proposed.isDir() ? proposed.absoluteFilePath()
                                             : proposed.absolutePath());
        if (!proposed.isDir()) dialog.selectFile(proposed.fileName());
    } else {
        // The stored folder is passed on even when it has gone.
        if (!slot->empty()) dialog.setDirectory(toQt(*slot));
        if (!d.proposedName.empty()) dialog.selectFile(toQt(d.proposedName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    *slot = fromQt(QFileInfo(chosen).absolutePath()) + "/";
    return fromQt(chosen);
}

std::string QtUserInterface::askSaveFileName(const FileDialog& dialog) {
    return runFileDialog(true, dialog, 0,
                         startFolderSlot(main_.session().settings(), dialog, true));
}

std::string QtUserInterface::askOpenFileName(const FileDialog& dialog) {
    return runFileDialog(false, dialog, 0,
                         startFolderSlot(main_.session().settings(), dialog, false));
}

std::string QtUserInterface::openFile(const QString& title, const std::string& filter,
                                      int filterIndex) {
    return runFileDialog(false, FileDialog{fromQt(title), filter, {}, {}}, filterIndex,
                         &main_.session().settings().openDialogVob);
}

std::optional<uint8_t> QtUserInterface::chooseTextColour(const Image24& picture,
                                                         const ColourRanking& proposal) {
    return main_.fontColourDialog().run(picture, proposal);
}

NewCharChoice QtUserInterface::newCharacter(const NewCharacterView& view) {
    return main_.newCharacterDialog().run(view);
}

ProgressionChoice QtUserInterface::progressionController(int32_t unitNumber) {
    return main_.progressionController().run(unitNumber);
}

void QtUserInterface::bitmapAdjustment(BitmapAdjustment& dialog) {
    main_.bitmapAdjustmentDialog().run(dialog);
}

void QtUserInterface::pump() {
    ++pumps_;
    QCoreApplication::processEvents();
}

uint32_t QtUserInterface::tickCount() {
    if (fakeClock_) return fakeClock_();
    return static_cast<uint32_t>(clock_.elapsed());
}

void QtUserInterface::fileLabels(const std::string& fileName, int index, int count) {
    main_.LabelVobFile->setText(toQt(fileName));
    main_.LabelVobNum->setText(QString::number(index));
    main_.LabelVobNb->setText(QString::number(count));
}

void QtUserInterface::readingControls(bool pauseEnabled, bool openVobEnabled) {
    main_.setReadingControls(pauseEnabled, openVobEnabled);
}

void QtUserInterface::pauseCaption(const std::string& caption) {
    main_.setPauseCaption(toQt(caption));
}

void QtUserInterface::progress(const ProgressDisplay& p) {
    main_.ProgressBar1->setValue(p.percent);
    if (!p.title.empty()) QApplication::setApplicationDisplayName(toQt(p.title));
    if (!p.positionLabel.empty()) main_.LabelPos->setText(toQt(p.positionLabel));
}

void QtUserInterface::unitCounters(int32_t inFile, int32_t inJob) {
    main_.LabelNbSup->setText(QString::number(inFile));
    main_.LabelTotalNbSup->setText(QString::number(inJob));
}

void QtUserInterface::elapsedTime(const std::string& text) {
    main_.LabelTimeElapsed->setText(toQt(text));
}

void QtUserInterface::jobEnded(const std::string& text) {
    main_.statusBar()->showMessage(toQt(text));
}

void QtUserInterface::remainingTime(const std::string& text) {
    main_.LabelTimeRemaining->setText(toQt(text));
}

void QtUserInterface::navTimes(const TimeCode& navTotal, const TimeCode& streamTime) {
    main_.LabelTime->setText(toQt(formatTimeCode(navTotal)));
    main_.LabelTime7->setText(toQt(formatTimeCode(streamTime)));
}

void QtUserInterface::chapters(const std::string& text) {
    if (!main_.LabelChapters) return;  // the session is made before the labels
    main_.LabelChapters->setText(toQt(text));
}

void QtUserInterface::frameRate(const std::string& label) {
    main_.LabelFPS->setText(toQt(label));
}

void QtUserInterface::showSubtitleWindow() {
    if (!main_.windowsCreated()) return;
    main_.subtitleWindow().showNormal();
}

void QtUserInterface::showPicture(const Image24& bitmap, const DisplayArea& area, bool useZoom) {
    main_.showPicture(bitmap, area, useZoom);
}

void QtUserInterface::showOutputFormat(OutputFormat format) {
    main_.outputFormatDialog().selectFormat(format);
}

void QtUserInterface::documentChanged(const SubtitleDocument& doc) {
    if (!main_.windowsCreated()) return;
    main_.subtitleWindow().documentChanged(doc);
}

void QtUserInterface::matrixChanged(const CharMatrix& matrix) {
    main_.setMatrixName(matrix);
    if (!main_.windowsCreated()) return;
    main_.jobDialog().refreshMatrixName();
    main_.matrixEditorDialog().matrixChanged();
}

void QtUserInterface::matrixEntryAdded(const CharMatrix& matrix, size_t k) {
    main_.setMatrixName(matrix);
    if (main_.windowsCreated()) main_.matrixEditorDialog().entryAdded(k);
}

}  // namespace orvane::gui
