#pragma once

#include <cstddef>
#include <vector>

#include "ocr/char_matrix.h"
#include "ocr/ocr_settings.h"
#include "ocr/segmentation.h"

namespace orvane::test {

// The matching steps written out pixel by pixel over every entry, as the
// reference the fast matcher must agree with.
int referenceScore(const MatrixEntry& glyph, int boxWidth, int boxHeight, const MatrixEntry& entry);
size_t referenceMatch(const MatrixEntry& glyph, const CharBox& box, const CharMatrix& matrix,
                      const OcrSettings& settings);
// Every entry number that passes the pre-filter and reaches the sensibility,
// in index order (the first one is the match).
std::vector<size_t> referenceMatches(const MatrixEntry& glyph, const CharBox& box,
                                     const CharMatrix& matrix, const OcrSettings& settings);

}  // namespace orvane::test
