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
// nullopt when no cut reads.
std::optional<TouchingReading> readTouchingLetters(const Image24& painted, const CharBox& box,
                                                   int j, const CharMatrix& matrix,
                                                   const OcrSettings& settings, Matcher& matcher);
// The same on the segmenter's labels, where character j is markLabelOf(j).
std::optional<TouchingReading> readTouchingLetters(const Image8& labels, const CharBox& box, int j,
                                                   const CharMatrix& matrix,
                                                   const OcrSettings& settings, Matcher& matcher);

}  // namespace orvane
