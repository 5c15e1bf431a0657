#include "support/reference_matcher.h"

#include <algorithm>
#include <cstdlib>

namespace orvane::test {

int referenceScore(const MatrixEntry& glyph, int boxW, int boxH, const MatrixEntry& e) {
    const int minW = std::min<int>(boxW, e.width), maxW = std::max<int>(boxW, e.width);
    const int minH = std::min<int>(boxH, e.height), maxH = std::max<int>(boxH, e.height);
    int score = ((maxW - minW) * minH + (maxH - minH) * maxW) * 4 / 5;
    int penalty = 1;
    for (int r = 0; r < minH; ++r) {
        for (int c = 0; c < minW; ++c) {
            const bool g = glyph.glyph.bit(c, r);
            if (g == e.glyph.bit(c, r)) {
                score += 1;
                penalty = 1;
            } else if (c > 0 && g == e.glyph.bit(c - 1, r)) {
                score += 1;
            } else if (c < minW - 1 && g == e.glyph.bit(c + 1, r)) {
                score += 1;
            } else {
                score -= penalty;
                if (penalty < 16) penalty *= 2;
            }
        }
    }
    return score;
}

namespace {

bool matches(const MatrixEntry& glyph, const CharBox& box, const MatrixEntry& e,
             const OcrSettings& s) {
    if (std::abs(e.width - box.width) > s.maxCharDiffWidth ||
        std::abs(e.height - box.height) > s.maxCharDiffHeight ||
        std::abs(e.relativeTop - glyph.relativeTop) > s.maxCharDiffTop) {
        return false;
    }
    const int area =
        std::max(std::max<int>(box.width, e.width) * std::max<int>(box.height, e.height), 1);
    const int score = referenceScore(glyph, box.width, box.height, e);
    return static_cast<int>(int64_t{score} * 1000 / area) >= s.sensibility;
}

}  // namespace

size_t referenceMatch(const MatrixEntry& glyph, const CharBox& box, const CharMatrix& m,
                      const OcrSettings& s) {
    for (size_t i = 1; i <= m.size(); ++i) {
        if (matches(glyph, box, m.entry(i), s)) return i;
    }
    return 0;
}

std::vector<size_t> referenceMatches(const MatrixEntry& glyph, const CharBox& box,
                                     const CharMatrix& m, const OcrSettings& s) {
    std::vector<size_t> all;
    for (size_t i = 1; i <= m.size(); ++i) {
        if (matches(glyph, box, m.entry(i), s)) all.push_back(i);
    }
    return all;
}

}  // namespace orvane::test
