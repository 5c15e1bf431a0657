#pragma once

#include <set>
#include <string>
#include <utility>

#include "app/session.h"
#include "support/fake_ui.h"
#include "support/ground_truth.h"

namespace orvane::test {

// Answers the new-character dialog from training truth with cells: the
// glyph is the character whose cell holds the middle of its box; a second
// piece in the same cell (a quote's second stroke) reads as nothing.
// Pictures cut into another number of lines than they hold (accents cut
// off as a line of their own) are skipped.
class CellLearner : public FakeUi {
  public:
    CellLearner(const GroundTruth& truth, const Session*& session)
        : truth_(truth), session_(session) {}
    NewCharChoice newCharacter(const NewCharacterView& v) override;
    int answered = 0;
    int unplaced = 0;
    int skippedPictures = 0;

  private:
    const GroundTruth& truth_;
    const Session*& session_;
    std::set<std::pair<size_t, size_t>> seen_;
};

// Answers from the text of running subtitles, as a person who reads along
// would: the glyphs before the unknown one and after it are matched against
// the matrix, and the unknown glyph is the part of the line between them.
// Lines where that part is not clear are skipped.
class TextLearner : public FakeUi {
  public:
    TextLearner(const GroundTruth& truth, const Session*& session)
        : truth_(truth), session_(session) {}
    NewCharChoice newCharacter(const NewCharacterView& v) override;
    int answered = 0;
    int skipped = 0;

  private:
    const GroundTruth& truth_;
    const Session*& session_;
};

}  // namespace orvane::test

namespace orvane::test {

// One font of the sample discs and its training streams on the training
// disc: isolated characters, then running text.
struct TrainingFont {
    const char* matrixName;  // file name in ChMatrix/
    const char* disc;        // the sample disc and stream it reads
    int stream;
    int gridStream;
    int textStream;
};
extern const TrainingFont kTrainingFonts[4];

// An OCR job over one stream of one VOB.
JobRequest ocrJob(const std::string& vob, int stream);

// The entries a headless OCR job reads from one stream of a VOB with the
// matrix file under the mark policy, as `orvane-cli ocr --unknown mark`:
// glyphs the matrix does not know read as touching known glyphs where they
// can, else as '#', counted in `unknown`. Nothing is learned.
std::vector<SubtitleEntry> readWithMatrix(const std::string& vob, int stream,
                                          const std::string& matrixPath, int* unknown = nullptr);

// The presentation time (ms) of a VOB's first VOBU: the PTS of its first
// video frame, from which spumux counts subtitle times.
int64_t firstVobuStartMs(const std::string& vob);

struct LearnReport {
    int cellAnswers = 0, unplaced = 0, skippedPictures = 0, textAnswers = 0, textSkipped = 0;
};

// Learns a matrix for the font from the training disc under `dataDir`
// (tests/data): the grid stream, then the running-text stream twice (the
// second pass learns what the first left unclear).
CharMatrix learnFont(const std::string& dataDir, const TrainingFont& font,
                     LearnReport* report = nullptr);

}  // namespace orvane::test
