#pragma once

#include <cstdint>
#include <vector>

#include "ocr/char_matrix.h"
#include "ocr/ocr_settings.h"
#include "ocr/segmentation.h"
#include "subpicture/image.h"

namespace orvane {

// The candidate glyph of character j (1-based) of a line: the pixels of
// its mark colour inside its box, clipped to 45 x 45.
MatrixEntry buildGlyph(const Image24& painted, const CharBox& box, int j);
// The same from the OCR's labels (mark label of character j).
MatrixEntry buildGlyph(const Image8& labels, const CharBox& box, int j);

// Whether a space follows character j (1-based) of the line.
bool spaceFollows(const TextLine& line, int j, const OcrSettings& settings);

// The score of a glyph (with its unclipped box size) against one entry, as
// the matching steps define it; the ratio is score x 1000 / (maxW x maxH).
struct MatchScore {
    int score = 0;
    int ratio = 0;
};
MatchScore scoreGlyph(const MatrixEntry& glyph, int boxWidth, int boxHeight,
                      const MatrixEntry& entry);

// The answers of earlier matches by glyph, since a film shows the same
// letters again and again. The key is all a match reads of the glyph and
// its box: the box size, the relative top and the glyph rows inside the box.
class MatchMemo {
  public:
    struct Key {
        uint64_t shape;  // box width and height, relative top
        const uint64_t* rows;
        int count;
        uint64_t hash;
    };
    static Key keyOf(const MatrixEntry& glyph, const CharBox& box);
    // The entry number remembered for the key, or -1.
    int64_t find(const Key& key) const;
    void remember(const Key& key, uint32_t entry);
    // Forgets every answer, at once: the slots of older stamps are free.
    void clear();

  private:
    struct Slot {
        uint64_t hash = 0;
        uint64_t shape = 0;
        uint32_t rowsAt = 0;  // into rows_
        uint32_t entry = 0;
        uint32_t stamp = 0;
    };
    static constexpr size_t kSlots = 4096;  // a power of two, at most half of it used
    size_t slotOf(uint64_t hash) const { return static_cast<size_t>(hash >> 52) & (kSlots - 1); }
    bool holds(const Slot& slot, const Key& key) const;
    std::vector<Slot> slots_;  // made with the first answer
    std::vector<uint64_t> rows_;
    size_t used_ = 0;
    uint32_t stamp_ = 1;
};

// Finds the first entry, in index order, that passes the size pre-filter and
// reaches the sensibility. Keeps an index of the matrix's entries by size,
// rebuilt when the matrix changes, and stops scoring an entry as soon as it
// can no longer reach the threshold. Glyphs met before are answered from
// the memo.
class Matcher {
  public:
    // Entry number 1..N of the first match, or 0.
    size_t match(const MatrixEntry& glyph, const CharBox& box, const CharMatrix& matrix,
                 const OcrSettings& settings);

  private:
    // Entry numbers from..from+63 as the bits of `bits`.
    struct Window {
        uint32_t from;
        uint64_t bits;
    };
    void reindex(const CharMatrix& matrix);
    size_t search(const MatrixEntry& glyph, const CharBox& box, const CharMatrix& matrix,
                  const OcrSettings& settings);
    void gatherSizeLists(const CharBox& box, const OcrSettings& settings);
    Window takeWindow();
    void prefetchRows(Window window) const;
    bool matches(uint32_t i, const MatrixEntry& glyph, const CharBox& box, const CharMatrix& matrix,
                 const OcrSettings& settings) const;
    uint32_t firstMatchIn(Window window, const MatrixEntry& glyph, const CharBox& box,
                          const CharMatrix& matrix, const OcrSettings& settings) const;
    static constexpr size_t kKeys = 256 * 256;
    static size_t key(int width, int height) {
        return static_cast<size_t>(width) << 8 | static_cast<size_t>(height);
    }

    const CharMatrix* indexed_ = nullptr;
    uint64_t generation_ = ~uint64_t{0};
    std::vector<uint32_t> start_;  // per size key, into order_
    std::vector<uint32_t> order_;  // entry numbers grouped by size
    // What the pre-filter and the score's base need of entry i, beside the
    // entries so that rejected candidates cost no access to them.
    struct Meta {
        uint8_t width, height, top;
    };
    std::vector<Meta> meta_;
    std::vector<uint64_t> rows_;  // the entries' glyph rows, in size order
    std::vector<uint32_t> rowStart_;
    std::vector<uint8_t> rowCount_;
    struct Cursor {
        const uint32_t* next;
        const uint32_t* end;
    };
    std::vector<Cursor> lists_;
    // Holds while the matrix is the indexed one and the settings these.
    MatchMemo memo_;
    OcrSettings memoSettings_;
};

}  // namespace orvane
