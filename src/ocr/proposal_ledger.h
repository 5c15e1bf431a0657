#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ocr/char_matrix.h"
#include "ocr/matcher.h"
#include "ocr/ocr_settings.h"
#include "ocr/segmentation.h"

namespace orvane {

// The second engine's readings of glyphs the matrix does not know, kept
// until they are confirmed. A glyph is the same glyph when the matcher
// takes it for one seen before (same threshold, same pre-filter). A reading
// is confirmed when the engine has read that glyph so on two different
// lines more often than any other way by two: read the same way twice with
// no disagreement, or outvoting an earlier misreading by two.
class ProposalLedger {
  public:
    enum class Verdict {
        Pending,    // use it for this picture only
        Confirmed,  // learn it into the matrix
        Contested,  // the same glyph was read otherwise before
    };
    // Records one reading of `glyph` on line `lineId` (a number unique to
    // the line within the job). A second reading on the same line counts
    // once: the engine read both in one breath.
    Verdict record(const MatrixEntry& glyph, const CharBox& box, const std::string& text,
                   int64_t lineId, const OcrSettings& settings);
    // Whether the glyph has been read in more than one way.
    bool contested(const MatrixEntry& glyph, const CharBox& box, const OcrSettings& settings);
    // How often each text was recorded for the glyph, on different lines.
    std::map<std::string, int> readings(const MatrixEntry& glyph, const CharBox& box,
                                        const OcrSettings& settings);
    // Forgets everything (a new job, a new matrix).
    void clear();
    size_t size() const { return seen_.size(); }

  private:
    struct Votes {
        std::map<std::string, int> count;
        std::vector<int64_t> lines;  // the lines that voted
    };
    CharMatrix seen_;  // one entry per glyph, its text unused
    std::vector<Votes> votes_;
    Matcher matcher_;
};

}  // namespace orvane
