// The subtitle document commands of the session: confirm append, clear,
// save, open.

#include "app/program_folder.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "common/file_io.h"
#include "common/io_error.h"
#include "subtitles/orvane_format.h"
#include "subtitles/text_file.h"

namespace orvane {

namespace {
constexpr char kLineBreak = '\r';
}

bool Session::confirmAppend() {
    if (document_.count() == 0) return true;
    const std::string text =
        messages_.get(msg::kTextNotEmpty) + kLineBreak + messages_.get(msg::kAddToEndOfFile);
    return ui_.messageBox(QuestionId::ConfirmAppend, MessageIcon::Information, text,
                          Buttons::OkCancel) != Answer::Cancel;
}

bool Session::closeQuery() {
    if (!confirmDiscardMatrix()) return false;
    if (!document_.modified()) return true;
    const std::string text =
        messages_.get(msg::kTextNotSavedQuit) + kLineBreak + messages_.get(msg::kReallyQuit);
    if (ui_.messageBox(QuestionId::QuitUnsaved, MessageIcon::Question, text, Buttons::YesNo) ==
        Answer::Yes) {
        return true;
    }
    ui_.showSubtitleWindow();
    return false;
}

void Session::clearDocument() {
    if (document_.modified()) {
        const std::string text = messages_.get(msg::kTextNotSavedClear) + kLineBreak +
                                 messages_.get(msg::kReallyClearText);
        if (ui_.messageBox(QuestionId::ClearUnsaved, MessageIcon::Question, text, Buttons::YesNo) !=
            Answer::Yes) {
            return;
        }
    }
    document_.clear();
    ui_.documentChanged(document_);
}

void Session::writeDocument(const std::string& path) {
    saveFile(path, document_.savedText());
}

void Session::saveDocument() {
    if (document_.displayLines().empty()) return;
    const std::string path = ui_.askSaveFileName(
        {{}, document_.saveFilter(), document_.defaultExtension(), document_.proposedFileName()});
    if (path.empty()) return;
    if (fileExists(path)) {
        const std::string text = messages_.get(msg::kTextFileWord) + fileNameOf(path) +
                                 messages_.get(msg::kTextExistsReplace);
        if (ui_.messageBox(QuestionId::ReplaceDocument, MessageIcon::Warning, text,
                           Buttons::YesNo) != Answer::Yes) {
            return;
        }
    }
    try {
        writeDocument(path);
    } catch (const IoError& e) {
        reportIoError(e);
        return;
    }
    document_.setModified(false);
    document_.setDocumentName(path);
    ui_.documentChanged(document_);
}

void Session::openOrvaneFile() {
    if (document_.modified()) {
        const std::string text = messages_.get(msg::kTextNotSavedOpen) + kLineBreak +
                                 messages_.get(msg::kReallyOpenAnother);
        if (ui_.messageBox(QuestionId::OpenUnsaved, MessageIcon::Question, text, Buttons::YesNo) !=
            Answer::Yes) {
            return;
        }
    }
    document_.setModified(false);
    const std::string path =
        ui_.askOpenFileName({{}, "Orvane Text File (*.ovt)|*.ovt|All (*.*)|*.*", "ovt", {}});
    if (path.empty() || !fileExists(path)) return;
    readOrvaneFile(path);
}

bool Session::readOrvaneFile(const std::string& path) {
    document_.clear();
    document_.setDocumentName(path);
    TextFileLines file;
    try {
        file = readTextFile(path);
    } catch (const IoError& e) {
        reportIoError(e);
        ui_.documentChanged(document_);
        return false;
    }
    if (file.unmappable > 0) {
        // Texts are held in Windows-1252: say what cannot come back on save.
        reportIoError(IoError(path, std::to_string(file.unmappable) +
                                        " character(s) of this UTF-8 file have no Windows-1252 "
                                        "form; they read as '?'"));
    }
    const OrvaneReadResult r = readOrvaneLines(file.lines, [&](unsigned number) {
        const std::string text = messages_.get(msg::kErrorAtSubtitle) + std::to_string(number) +
                                 kLineBreak + messages_.get(msg::kIgnoreAndContinue);
        switch (ui_.messageBox(QuestionId::DocumentReadError, MessageIcon::Warning, text,
                               Buttons::CancelIgnoreYesToAll)) {
            case Answer::Cancel:
                return ReadErrorAction::Cancel;
            case Answer::YesToAll:
                return ReadErrorAction::IgnoreAll;
            default:
                return ReadErrorAction::Ignore;
        }
    });
    if (r.entries.size() > SubtitleDocument::kMaxEntries) {
        // Dropping the rest silently would lose entries on the next save.
        reportIoError(IoError(path, "holds " + std::to_string(r.entries.size()) +
                                        " entries; a document holds at most " +
                                        std::to_string(SubtitleDocument::kMaxEntries)));
        ui_.documentChanged(document_);
        return false;
    }
    document_.settings().indexOffset = r.indexOffset;
    if (r.extendedSeen) document_.settings().ovtExtended = r.extended;
    // Like the coordinates, the encoding follows the file, so that saving
    // again writes it as it was; plain ASCII leaves the choice alone.
    if (file.encoding) document_.settings().ovtEncoding = *file.encoding;
    for (const SubtitleEntry& e : r.entries)
        document_.appendEntry(e.lines, false, e.rect, e.stop, e.start);
    document_.splitRange().enabled = false;
    document_.rebuildDisplay();
    if (!r.cancelled) document_.setModified(false);
    ui_.documentChanged(document_);
    return true;
}

}  // namespace orvane
