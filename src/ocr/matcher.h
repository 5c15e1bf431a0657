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

// Finds the first entry, in index order, that passes the size pre-filter and
// reaches the sensibility. Keeps an index of the matrix's entries by size,
// rebuilt when the matrix changes, and stops scoring an entry as soon as it
// can no longer reach the threshold.
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
};

}  // namespace orvane
