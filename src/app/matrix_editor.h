#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ocr/char_matrix.h"
#include "subpicture/image.h"

namespace orvane {

class Session;

// What the character matrix editor shows, without a window: the list rows
// in display order, the selected row, and the commands that change the
// matrix (text, delete, comment). The window only mirrors the rows and
// passes on clicks and keys. A row is «"text"    00012»: the entry number
// is read back from its last five characters.
class MatrixEditor {
  public:
    enum class SortOrder { Alphabetical, Index };
    static constexpr int kNoRow = -1;
    static constexpr size_t kMaxCommentLength = 255;

    explicit MatrixEditor(Session& session) : session_(session) {}

    static std::string rowText(const MatrixEntry& entry, size_t number);
    // The entry number at the end of a row; 0 when it has none.
    static size_t entryNumberOfRow(const std::string& row);
    // The alphabetical order: case-insensitive (Windows-1252 letters),
    // then by the exact bytes, so that it is total and stable.
    static bool rowLess(const std::string& a, const std::string& b);

    // Every entry's row again, the first row selected.
    void rebuild();
    // The matrix changed behind the editor's back (opened, new, replaced by
    // a search): rebuild. A save only renames it: the rows stay.
    void matrixChanged();
    // The row of entry k (just added), at its place in the sort order; with
    // `select` it becomes the selected row. Returns the row index.
    int addRow(size_t k, bool select);

    const std::vector<std::string>& rows() const { return rows_; }
    int selectedRow() const { return selected_; }
    // The selected row's entry number, 0 with none.
    size_t selectedEntry() const;
    void selectRow(int row);
    // The row showing entry k, or kNoRow.
    int rowOfEntry(size_t k) const;

    SortOrder sortOrder() const { return order_; }
    // Either order selects the first row.
    void setSortOrder(SortOrder order);

    // A character typed in the list: the first row, in list order, whose
    // entry's text begins with it (exact case). False when none does.
    bool findTyped(char c);

    // The selected entry's text becomes `text` (cut to 20 characters); the
    // list is rebuilt and the same entry selected. False with no selection.
    bool modifySelected(const std::string& text);
    // Asks messages 19 + text + 20 (Yes/No); on Yes the entry is deleted
    // (the last entry takes its number), the list rebuilt and the row at
    // the same position selected. True when deleted.
    bool deleteSelected();

    // The description memo's text (lines ending in '\n') as the matrix
    // comment: CR LF line ends, at most 255 characters; marks the matrix
    // modified. Returns the memo text that fits (to show again if cut).
    std::string setCommentFromMemo(const std::string& memoText);
    // The comment as the memo shows it ('\n' line ends).
    std::string memoText() const;

    // "View/Edit Character Matrix - " + file name without folder + " -".
    std::string caption() const;
    // The selected glyph at double size: white set bits on black,
    // 2 x width by 2 x height. Empty with no selection.
    Image24 selectedPicture() const;

  private:
    void sortRows();
    int insertPosition(const std::string& row) const;
    const CharMatrix& matrix() const;

    Session& session_;
    std::vector<std::string> rows_;
    int selected_ = kNoRow;
    SortOrder order_ = SortOrder::Alphabetical;
    uint64_t generation_ = 0;  // of the matrix the rows were built from
};

}  // namespace orvane
