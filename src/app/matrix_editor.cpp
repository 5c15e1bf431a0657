#include "app/matrix_editor.h"

#include <algorithm>
#include <cstdio>

#include "app/program_folder.h"
#include "app/session.h"

namespace orvane {

namespace {

constexpr size_t kNumberDigits = 5;
constexpr size_t kMaxTextLength = 20;
constexpr char kLineBreak = '\r';

// Windows-1252 letters folded to lower case: ASCII and the accented
// capitals 0xC0..0xDE (but 0xD7, the multiplication sign).
unsigned char foldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    return c;
}

}  // namespace

std::string MatrixEditor::rowText(const MatrixEntry& entry, size_t number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%05zu", number);
    return "\"" + entry.text + "\"    " + digits;
}

size_t MatrixEditor::entryNumberOfRow(const std::string& row) {
    if (row.size() < kNumberDigits) return 0;
    size_t n = 0;
    for (size_t i = row.size() - kNumberDigits; i < row.size(); ++i) {
        if (row[i] < '0' || row[i] > '9') return 0;
        n = n * 10 + static_cast<size_t>(row[i] - '0');
    }
    return n;
}

bool MatrixEditor::rowLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = foldCase(static_cast<unsigned char>(a[i]));
        const unsigned char y = foldCase(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

const CharMatrix& MatrixEditor::matrix() const {
    return session_.matrix();
}

void MatrixEditor::sortRows() {
    if (order_ == SortOrder::Alphabetical) std::sort(rows_.begin(), rows_.end(), rowLess);
}

void MatrixEditor::rebuild() {
    const CharMatrix& m = matrix();
    rows_.clear();
    rows_.reserve(m.size());
    for (size_t k = 1; k <= m.size(); ++k) rows_.push_back(rowText(m.entry(k), k));
    sortRows();
    selected_ = rows_.empty() ? kNoRow : 0;
    generation_ = m.generation();
}

void MatrixEditor::matrixChanged() {
    if (matrix().generation() != generation_ || rows_.size() != matrix().size()) rebuild();
}

int MatrixEditor::insertPosition(const std::string& row) const {
    if (order_ == SortOrder::Index) return static_cast<int>(rows_.size());
    return static_cast<int>(std::upper_bound(rows_.begin(), rows_.end(), row, rowLess) -
                            rows_.begin());
}

int MatrixEditor::addRow(size_t k, bool select) {
    const CharMatrix& m = matrix();
    if (k < 1 || k > m.size()) return kNoRow;
    // Rows out of step (a matrix replaced without notice) are built again
    // whole; the new entry is among them.
    if (rows_.size() + 1 != m.size()) {
        rebuild();
    } else {
        const std::string row = rowText(m.entry(k), k);
        const int at = insertPosition(row);
        rows_.insert(rows_.begin() + at, row);
        if (selected_ >= at) ++selected_;
        generation_ = m.generation();
    }
    const int row = rowOfEntry(k);
    if (select) selected_ = row;
    return row;
}

size_t MatrixEditor::selectedEntry() const {
    if (selected_ < 0 || static_cast<size_t>(selected_) >= rows_.size()) return 0;
    return entryNumberOfRow(rows_[static_cast<size_t>(selected_)]);
}

void MatrixEditor::selectRow(int row) {
    selected_ = row >= 0 && static_cast<size_t>(row) < rows_.size() ? row : kNoRow;
}

int MatrixEditor::rowOfEntry(size_t k) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (entryNumberOfRow(rows_[i]) == k) return static_cast<int>(i);
    return kNoRow;
}

void MatrixEditor::setSortOrder(SortOrder order) {
    order_ = order;
    rebuild();
}

bool MatrixEditor::findTyped(char c) {
    const CharMatrix& m = matrix();
    for (size_t i = 0; i < rows_.size(); ++i) {
        const size_t k = entryNumberOfRow(rows_[i]);
        if (k < 1 || k > m.size()) continue;
        const std::string& text = m.entry(k).text;
        if (!text.empty() && text[0] == c) {
            selected_ = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool MatrixEditor::modifySelected(const std::string& text) {
    const size_t k = selectedEntry();
    if (k < 1 || k > matrix().size()) return false;
    session_.matrix().setText(k, text.substr(0, kMaxTextLength));
    rebuild();
    selected_ = rowOfEntry(k);
    return true;
}

bool MatrixEditor::deleteSelected() {
    const size_t k = selectedEntry();
    if (k < 1 || k > matrix().size()) return false;
    const int position = selected_;
    const MessageTable& messages = session_.messages();
    const std::string question = messages.get(msg::kDeleteCharacter) + matrix().entry(k).text +
                                 messages.get(msg::kDeleteCharacterEnd);
    if (session_.ui().messageBox(QuestionId::DeleteMatrixEntry, MessageIcon::Question, question,
                                 Buttons::YesNo) != Answer::Yes)
        return false;
    session_.matrix().remove(k);
    rebuild();
    // The row at the same place (the last one when the last was deleted).
    selectRow(std::min(position, static_cast<int>(rows_.size()) - 1));
    return true;
}

std::string MatrixEditor::setCommentFromMemo(const std::string& memoText) {
    std::string comment;
    std::string fits;
    for (char c : memoText) {
        const size_t need = c == '\n' ? 2 : 1;
        if (comment.size() + need > kMaxCommentLength) break;
        if (c == '\n') comment += kLineBreak;
        comment += c;
        fits += c;
    }
    session_.matrix().setComment(comment);
    return fits;
}

std::string MatrixEditor::memoText() const {
    std::string text;
    for (char c : matrix().comment())
        if (c != kLineBreak) text += c;
    return text;
}

std::string MatrixEditor::caption() const {
    return "View/Edit Character Matrix - " + fileNameOf(matrix().fileName()) + " -";
}

Image24 MatrixEditor::selectedPicture() const {
    const size_t k = selectedEntry();
    if (k < 1 || k > matrix().size()) return {};
    const MatrixEntry& e = matrix().entry(k);
    Image24 picture(2 * e.width, 2 * e.height);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, e.glyph.bit(x / 2, y / 2) ? 0xFFFFFF : 0x000000);
    return picture;
}

}  // namespace orvane
