// The character matrix commands of the session: new, open, save, add, and
// the search of the matrix folder.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>
#include <unordered_set>

#include "app/program_folder.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "common/file_io.h"
#include "common/io_error.h"
#include "ocr/matrix_file_format.h"

namespace orvane {

namespace {

constexpr char kMatrixFilter[] = "Orvane Charater Matrix (*.sum)|*.sum";
constexpr char kLineBreak = '\r';

// The matrix files of the ChMatrix/ folders below `searchOrder`: the user's
// folder first, then the read-only ones; a file hides its namesakes in
// later folders, as the user's copy of a shipped matrix.
std::vector<std::string> matrixFilesToSearch(const std::vector<std::string>& searchOrder) {
    std::vector<std::string> files;
    std::vector<std::string> names;
    for (const std::string& base : searchOrder) {
        std::vector<std::string> here;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(base + "ChMatrix/", ec)) {
            // A folder (or FIFO) named like a matrix is no matrix.
            std::error_code typeError;
            if (!e.is_regular_file(typeError)) continue;
            std::string name = e.path().filename().string();
            std::string lower = name;
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".sum") == 0 &&
                std::find(names.begin(), names.end(), name) == names.end())
                here.push_back(name);
        }
        // A fixed order, so that the same folder always asks in the same order.
        std::sort(here.begin(), here.end());
        for (std::string& name : here) {
            files.push_back(base + "ChMatrix/" + name);
            names.push_back(std::move(name));
        }
    }
    return files;
}

}  // namespace

bool Session::confirmDiscardMatrix() {
    if (!matrix_.modified()) return true;
    const std::string text = messages_.get(msg::kCharacterMatrixWord) +
                             fileNameOf(matrix_.fileName()) + messages_.get(msg::kHasBeenModified) +
                             kLineBreak + messages_.get(msg::kWantToSaveIt);
    switch (ui_.messageBox(QuestionId::MatrixModified, MessageIcon::Warning, text,
                           Buttons::YesNoCancel)) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            saveMatrixCommand();
            return true;
        default:
            return true;
    }
}

void Session::shareMatrixFolder(const std::string& chosen) {
    // Open and Save of a matrix start where either was last used.
    const size_t slash = chosen.find_last_of('/');
    if (slash == std::string::npos) return;
    settings_.openDialogCharMatrix = settings_.saveDialogCharMatrix = chosen.substr(0, slash + 1);
}

void Session::newMatrix() {
    if (!confirmDiscardMatrix()) return;
    matrix_.clear();
    learnedEntries_ = mergedEntries_ = 0;
    ui_.matrixChanged(matrix_);
}

void Session::openMatrix() {
    if (!confirmDiscardMatrix()) return;
    const std::string path = ui_.askOpenFileName(
        {"Open a previously created Character Matrix File", kMatrixFilter, "sum", {}});
    if (path.empty()) return;
    shareMatrixFolder(path);
    try {
        loadMatrixFile(path, matrix_);
    } catch (const IoError& e) {
        reportIoError(e);
    }
    ui_.matrixChanged(matrix_);
}

void Session::saveMatrixCommand() {
    saveMatrix(!fileExists(matrix_.fileName()));
}

bool Session::saveMatrix(bool saveAs) {
    if (matrix_.empty()) {
        ui_.messageBox(QuestionId::MatrixEmpty, MessageIcon::Warning,
                       messages_.get(msg::kMatrixEmpty), Buttons::Ok);
        return false;
    }
    // A matrix opened from a read-only folder is saved as the user's copy.
    std::string path = folders_.writablePath(matrix_.fileName());
    if (path != matrix_.fileName()) {
        std::error_code ec;
        std::filesystem::create_directories(folderOf(path), ec);  // a failure shows at the write
    }
    if (saveAs) {
        path = ui_.askSaveFileName(
            {"Save current Character Matrix File", kMatrixFilter, "sum", fileNameOf(path)});
        if (path.empty()) return false;
        if (fileExists(path)) {
            const std::string text = messages_.get(msg::kMatrixFileWord) + fileNameOf(path) +
                                     messages_.get(msg::kMatrixExistsReplace);
            if (ui_.messageBox(QuestionId::ReplaceMatrix, MessageIcon::Warning, text,
                               Buttons::YesNo) != Answer::Yes) {
                return false;
            }
        }
        shareMatrixFolder(path);
    }
    try {
        writeMatrixFile(path);
    } catch (const IoError& e) {
        reportIoError(e);
        return false;
    }
    return true;
}

void Session::writeMatrixFile(const std::string& path) {
    saveFile(path, matrix_.toBytes());
    matrix_.setFileName(path);
    matrix_.setModified(false);
    ui_.matrixChanged(matrix_);
}

bool Session::loadMatrixFile(const std::string& path, CharMatrix& target) {
    const std::vector<uint8_t> data = readWholeFile(path, file_limits::kMatrix);
    CharMatrix loaded;
    CharMatrix::ParseResult r;
    try {
        r = CharMatrix::fromBytes(data, loaded);
    } catch (const std::bad_alloc&) {
        // The count was readable, or the magic check would have failed.
        const size_t n =
            data[matrix_file::kCountOffset] | (size_t{data[matrix_file::kCountOffset + 1]} << 8);
        const std::string text = messages_.get(msg::kNoMemoryForMatrix) + kLineBreak +
                                 messages_.get(msg::kMatrixSizeInBytes) +
                                 std::to_string(n * matrix_file::kSlotBytesInMessages +
                                                matrix_file::kSlotBytesInMessages);
        ui_.messageBox(QuestionId::MatrixMemory, MessageIcon::Error, text, Buttons::Ok);
        return false;
    }
    if (r == CharMatrix::ParseResult::BadMagic) {
        ui_.messageBox(QuestionId::MatrixInvalid, MessageIcon::Warning,
                       messages_.get(msg::kNotAMatrixFile) + kLineBreak + path, Buttons::Ok);
        return false;
    }
    if (r == CharMatrix::ParseResult::Truncated) throw IoError(path, "read beyond end of file");
    loaded.setModified(false);
    loaded.setFileName(path);
    if (&target == &matrix_) learnedEntries_ = mergedEntries_ = 0;
    target = std::move(loaded);
    return true;
}

bool Session::addMatrixEntry(const MatrixEntry& entry) {
    if (matrix_.size() >= CharMatrix::kMaxEntries) {
        const std::string text = messages_.get(msg::kMaxCharactersReached) +
                                 std::to_string(matrix_.size()) + kLineBreak +
                                 messages_.get(msg::kMatrixPerDvd);
        ui_.messageBox(QuestionId::MatrixFull, MessageIcon::Warning, text, Buttons::Ok);
        return false;
    }
    try {
        if (matrix_.add(entry)) ++learnedEntries_;
    } catch (const std::bad_alloc&) {
        const std::string text =
            messages_.get(msg::kNoMemoryForCharacter) + kLineBreak +
            messages_.get(msg::kMatrixSizeInBytes) +
            std::to_string((matrix_.size() + 1) * matrix_file::kSlotBytesInMessages);
        ui_.messageBox(QuestionId::MatrixMemory, MessageIcon::Error, text, Buttons::Ok);
        return false;
    }
    ui_.matrixEntryAdded(matrix_, matrix_.size());
    return true;
}

void Session::mergeMatrix(const CharMatrix& other) {
    // An entry is the same when its file record is: measures, text, glyph.
    auto record = [](const MatrixEntry& e) {
        CharMatrix one;
        one.add(e);
        const std::vector<uint8_t> bytes = one.toBytes();
        return std::string(bytes.begin() + matrix_file::kHeaderSize, bytes.end());
    };
    std::unordered_set<std::string> known;
    for (size_t k = 1; k <= matrix_.size(); ++k) known.insert(record(matrix_.entry(k)));
    for (size_t k = 1; k <= other.size() && matrix_.size() < CharMatrix::kMaxEntries; ++k) {
        if (known.insert(record(other.entry(k))).second && matrix_.add(other.entry(k)))
            ++mergedEntries_;
    }
    ui_.matrixChanged(matrix_);
}

std::optional<Session::MatrixSearchResult> Session::searchMatrixFolder(const MatrixEntry& glyph,
                                                                       const CharBox& box) {
    const std::vector<std::string> files = matrixFilesToSearch(folders_.searchOrder());
    const std::string folder = folders_.userData + "ChMatrix/";
    for (const std::string& file : files) {
        const std::string name = fileNameOf(file);
        CharMatrix scratch;
        try {
            if (!loadMatrixFile(file, scratch)) continue;
        } catch (const IoError& e) {
            reportIoError(e);  // one unreadable file does not end the search
            continue;
        }
        Matcher matcher;
        const size_t e = matcher.match(glyph, box, scratch, ocrSettings_);
        if (e == 0) continue;
        const std::string text = messages_.get(msg::kFoundFileWord) + " \"" + name + "\" " +
                                 messages_.get(msg::kContainCharacter) + " \"" +
                                 scratch.entry(e).text + "\" " + kLineBreak +
                                 messages_.get(msg::kSeemsToMatch) + kLineBreak + kLineBreak +
                                 messages_.get(msg::kOpenThisMatrix);
        if (ui_.messageBox(QuestionId::MatrixSearchFound, MessageIcon::Question, text,
                           Buttons::YesNo) != Answer::Yes) {
            continue;
        }
        std::string found = scratch.entry(e).text;
        if (!matrix_.empty() && matrixSearchPolicy_ == MatrixSearchPolicy::Merge) {
            mergeMatrix(scratch);
            return MatrixSearchResult{std::move(found), false};
        }
        if (!matrix_.empty() && matrix_.modified()) {
            const std::string question = messages_.get(msg::kCharacterMatrixWord) +
                                         fileNameOf(matrix_.fileName()) +
                                         messages_.get(msg::kHasBeenModified) + kLineBreak +
                                         messages_.get(msg::kWantToSaveIt);
            const Answer a = ui_.messageBox(QuestionId::MatrixSearchReplaceModified,
                                            MessageIcon::Warning, question, Buttons::YesNoCancel);
            if (a == Answer::Yes) saveMatrixCommand();
            // Kept when asked to, or when the save did not happen.
            if (a == Answer::Cancel || (a == Answer::Yes && matrix_.modified()))
                return MatrixSearchResult{std::move(found), true};
        }
        matrix_ = std::move(scratch);
        learnedEntries_ = 0;
        mergedEntries_ = 0;
        ui_.matrixChanged(matrix_);
        return MatrixSearchResult{std::move(found), false};
    }
    const std::string text = messages_.get(msg::kNoMatchingMatrix) + kLineBreak +
                             messages_.get(msg::kPlaceMatrixFilesIn) + " " + folder + kLineBreak +
                             kLineBreak + messages_.get(msg::kTryNextCharacter);
    ui_.messageBox(QuestionId::MatrixSearchNone, MessageIcon::Information, text, Buttons::Ok);
    return std::nullopt;
}

}  // namespace orvane
