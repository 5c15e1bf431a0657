#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ocr/char_matrix.h"
#include "ocr/matcher.h"
#include "ocr/ocr_settings.h"
#include "ocr/segmentation.h"
#include "subpicture/image.h"

namespace orvane {

// A glyph read as known glyphs standing side by side.
struct TouchingReading {
    std::string text;             // the pieces' texts joined
    std::vector<int> cuts;        // the columns (in the box) where a piece begins, first excluded
    std::vector<size_t> entries;  // the matching entry of each piece
    int64_t total = 0;            // the pieces' ratios averaged over their columns, x 1000
};

// Letters that touch in the picture reach the segmenter as one glyph, which
// no entry learned from letters standing apart matches. Reads character j
// (1-based) of a painted line as two or three pieces cut at columns where
// the two sides touch along at most half the glyph's height: each
// piece, trimmed to its pixels like a glyph of its own, must match an entry
// with a text by the usual first-match rule and threshold. Where no such cut
// reads, neighbouring pieces may share up to three columns (strokes that
// run into each other, the bars of "tt"): in them a piece keeps only the
// pixels connected to its own columns. Of the cuts whose pieces all match, the best total (the
// ratios averaged over the pieces' columns) wins, the earliest on a tie, two pieces before three.
//
// Where nothing reads and `raise` (accentRaise of the glyph's line) is not
// zero, the glyph is read again with every top measured from the letters'
// top instead of the accent's: first whole, as one known glyph, then cut as
// above. nullopt when no cut reads.
std::optional<TouchingReading> readTouchingLetters(const Image24& painted, const CharBox& box,
                                                   int j, const CharMatrix& matrix,
                                                   const OcrSettings& settings, Matcher& matcher,
                                                   int raise = 0);
// The same on the segmenter's labels, where character j is markLabelOf(j).
std::optional<TouchingReading> readTouchingLetters(const Image8& labels, const CharBox& box, int j,
                                                   const CharMatrix& matrix,
                                                   const OcrSettings& settings, Matcher& matcher,
                                                   int raise = 0);

// How many rows an accent above a capital ("É", "Ó") raised the line's top
// above the top of its letters: the top that most of the line's pieces as
// tall as a capital share (the matrix's commonest height of A-Z, within the
// matcher's height tolerance), the higher one on a tie; 0 in a line whose
// capitals reach its top or where the matrix knows no capital. A matrix
// knows each glyph at the tops it was taught at; a capital or a mark taught
// only in lines without such an accent sits that much lower in a line with
// one, which may be more than the matcher's top tolerance.
int accentRaise(const TextLine& line, const CharMatrix& matrix, const OcrSettings& settings);

}  // namespace orvane
