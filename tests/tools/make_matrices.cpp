// Learns the character matrices shipped in data/ChMatrix/ from the
// training disc: one per font of the sample discs.
//
//   orvane-make-matrices TESTS_DATA_DIR OUTPUT_DIR

#include <cstdio>
#include <filesystem>

#include "app/session.h"
#include "support/fake_ui.h"
#include "support/learners.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TESTS_DATA_DIR OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    std::filesystem::create_directories(argv[2]);
    for (const auto& font : orvane::test::kTrainingFonts) {
        orvane::test::LearnReport r;
        const orvane::CharMatrix m = orvane::test::learnFont(argv[1], font, &r);
        orvane::test::FakeUi ui;
        orvane::Session s(ui);
        s.matrix() = m;
        s.matrix().setComment(std::string("Learned from the Orvane training disc for ") +
                              font.disc + " stream " + std::to_string(font.stream));
        const std::string path = std::string(argv[2]) + "/" + font.matrixName;
        s.writeMatrixFile(path);
        std::printf(
            "%s: %zu glyphs (%d from cells, %d unplaced, %d pictures skipped; %d from text, %d "
            "lines skipped)\n",
            path.c_str(), s.matrix().size(), r.cellAnswers, r.unplaced, r.skippedPictures,
            r.textAnswers, r.textSkipped);
    }
    return 0;
}
