// The character matrix commands of the session: new, open, save, add, and
// the search of the matrix folder.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "app/program_folder.h"
#include "app/session.h"
#include "app/vob_folder.h"
#include "ocr/matrix_file_format.h"
#include "common/io_error.h"

namespace orvane {

namespace {

constexpr char kMatrixFilter[] = "Orvane Charater Matrix (*.sum)|*.sum";
constexpr char kLineBreak = '\r';

std::vector<uint8_t> readWholeFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        errno = ENOENT;
        throw IoError::fromErrno(path);
    }
    std::vector<uint8_t> data{std::istreambuf_iterator<char>(f), {}};
    if (f.bad()) throw IoError(path, "read error");
    return data;
}

}  // namespace

bool Session::confirmDiscardMatrix() {
    if (!matrix_.modified()) return true;
    const std::string text = messages_.get(6) + fileNameOf(matrix_.fileName()) + messages_.get(7) +
                             kLineBreak + messages_.get(8);
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

void Session::newMatrix() {
    if (!confirmDiscardMatrix()) return;
    matrix_.clear();
    ui_.matrixChanged(matrix_);
}

void Session::openMatrix() {
    if (!confirmDiscardMatrix()) return;
    const std::string path = ui_.askOpenFileName(
        {"Open a previously created Character Matrix File", kMatrixFilter, "sum", {}});
    if (path.empty()) return;
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
        ui_.messageBox(QuestionId::MatrixEmpty, MessageIcon::Warning, messages_.get(2),
                       Buttons::Ok);
        return false;
    }
    std::string path = matrix_.fileName();
    if (saveAs) {
        path = ui_.askSaveFileName(
            {"Save current Character Matrix File", kMatrixFilter, "sum", fileNameOf(path)});
        if (path.empty()) return false;
        if (fileExists(path)) {
            const std::string text = messages_.get(3) + fileNameOf(path) + messages_.get(4);
            if (ui_.messageBox(QuestionId::ReplaceMatrix, MessageIcon::Warning, text,
                               Buttons::YesNo) != Answer::Yes) {
                return false;
            }
        }
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
    const std::vector<uint8_t> bytes = matrix_.toBytes();
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        if (!f) {
            errno = errno ? errno : EACCES;
            throw IoError::fromErrno(path);
        }
        f.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
        f.close();
        if (!f) throw IoError(path, "write error");
    }
    matrix_.setFileName(path);
    matrix_.setModified(false);
    ui_.matrixChanged(matrix_);
}

bool Session::loadMatrixFile(const std::string& path, CharMatrix& target) {
    const std::vector<uint8_t> data = readWholeFile(path);
    CharMatrix loaded;
    CharMatrix::ParseResult r;
    try {
        r = CharMatrix::fromBytes(data, loaded);
    } catch (const std::bad_alloc&) {
        // The count was readable, or the magic check would have failed.
        const size_t n =
            data[matrix_file::kCountOffset] | (size_t{data[matrix_file::kCountOffset + 1]} << 8);
        const std::string text = messages_.get(48) + kLineBreak + messages_.get(49) +
                                 std::to_string(n * matrix_file::kSlotBytesInMessages +
                                                matrix_file::kSlotBytesInMessages);
        ui_.messageBox(QuestionId::MatrixMemory, MessageIcon::Error, text, Buttons::Ok);
        return false;
    }
    if (r == CharMatrix::ParseResult::BadMagic) {
        ui_.messageBox(QuestionId::MatrixInvalid, MessageIcon::Warning,
                       messages_.get(5) + kLineBreak + path, Buttons::Ok);
        return false;
    }
    if (r == CharMatrix::ParseResult::Truncated) throw IoError(path, "read beyond end of file");
    loaded.setModified(false);
    loaded.setFileName(path);
    target = std::move(loaded);
    return true;
}

bool Session::addMatrixEntry(const MatrixEntry& entry) {
    if (matrix_.size() >= CharMatrix::kMaxEntries) {
        const std::string text =
            messages_.get(0) + std::to_string(matrix_.size()) + kLineBreak + messages_.get(1);
        ui_.messageBox(QuestionId::MatrixFull, MessageIcon::Warning, text, Buttons::Ok);
        return false;
    }
    try {
        matrix_.add(entry);
    } catch (const std::bad_alloc&) {
        const std::string text =
            messages_.get(47) + kLineBreak + messages_.get(49) +
            std::to_string((matrix_.size() + 1) * matrix_file::kSlotBytesInMessages);
        ui_.messageBox(QuestionId::MatrixMemory, MessageIcon::Error, text, Buttons::Ok);
        return false;
    }
    return true;
}

std::optional<std::string> Session::searchMatrixFolder(const MatrixEntry& glyph,
                                                       const CharBox& box) {
    const std::string folder = programFolder_ + "ChMatrix/";
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        std::string name = e.path().filename().string();
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".sum") == 0)
            files.push_back(name);
    }
    // A fixed order, so that the same folder always asks in the same order.
    std::sort(files.begin(), files.end());
    for (const std::string& name : files) {
        CharMatrix scratch;
        try {
            if (!loadMatrixFile(folder + name, scratch)) continue;
        } catch (const IoError& e) {
            reportIoError(e);
            return std::nullopt;  // abandoned; the dialog stays open
        }
        Matcher matcher;
        const size_t e = matcher.match(glyph, box, scratch, ocrSettings_);
        if (e == 0) continue;
        const std::string text = messages_.get(50) + " \"" + name + "\" " + messages_.get(51) +
                                 " \"" + scratch.entry(e).text + "\" " + kLineBreak +
                                 messages_.get(52) + kLineBreak + kLineBreak + messages_.get(53);
        if (ui_.messageBox(QuestionId::MatrixSearchFound, MessageIcon::Question, text,
                           Buttons::YesNo) != Answer::Yes) {
            continue;
        }
        std::string found = scratch.entry(e).text;
        matrix_ = std::move(scratch);  // no save question: replaced as it is
        ui_.matrixChanged(matrix_);
        return found;
    }
    const std::string text = messages_.get(54) + kLineBreak + messages_.get(55) + " " + folder +
                             kLineBreak + kLineBreak + messages_.get(56);
    ui_.messageBox(QuestionId::MatrixSearchNone, MessageIcon::Information, text, Buttons::Ok);
    return std::nullopt;
}

}  // namespace orvane
