// Learns a character matrix per font from the training disc (answers taken
// from its truth), then reads every stream of the sample discs by OCR and
// measures the character error rate against the ground truth.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/session.h"
#include "config/text_encoding.h"
#include "ocr/post_ocr_correction.h"
#include "common/byte_cursor.h"
#include "support/fake_ui.h"
#include "support/ground_truth.h"
#include "support/learners.h"
#include "support/ocr_scoring.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

const std::string kData = ORVANE_TEST_DATA;
const std::string kShipped = ORVANE_SHIPPED_MATRICES;

// Reads without stopping: unknown glyphs become '#'.
class Reader : public test::FakeUi {
public:
    NewCharChoice newCharacter(const NewCharacterView&) override {
        ++unknown;
        return {NewCharAction::UseOnce, "#"};
    }
    int unknown = 0;
};



std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

TEST(OcrDiscs, LearnedMatricesReadTheSampleDiscs) {
    test::TempDir dir;
    for (const auto& font : test::kTrainingFonts) {
        const double frameMs = std::string(font.disc) == "pal" ? 40.0 : 1001.0 / 30;
        SCOPED_TRACE(std::string(font.disc) + " stream " + std::to_string(font.stream));
        test::LearnReport report;
        test::FakeUi quiet;
        Session teach(quiet);
        teach.matrix() = test::learnFont(kData, font, &report);
        EXPECT_EQ(report.unplaced, 0);
        const std::string matrixPath = dir.file(font.matrixName);
        teach.writeMatrixFile(matrixPath);

        // A learned matrix reloads byte-identical, and the one shipped in
        // ChMatrix/ is what the training disc teaches now (the comment aside).
        Reader ui;
        Session read(ui);
        ASSERT_TRUE(read.loadMatrixFile(matrixPath, read.matrix()));
        EXPECT_EQ(read.matrix().toBytes(), teach.matrix().toBytes());
        auto shipped = fileBytes(kShipped + "/" + font.matrixName);
        auto learned = fileBytes(matrixPath);
        ASSERT_EQ(shipped.size(), learned.size()) << "data/ChMatrix is out of date: run orvane-make-matrices";
        std::fill(shipped.begin() + 23, shipped.begin() + 278, 0);
        EXPECT_TRUE(shipped == learned) << "data/ChMatrix is out of date: run orvane-make-matrices";

        // Read the sample stream.
        const std::string vob = kData + "/" + font.disc + "/VIDEO_TS/VTS_01_1.VOB";
        ASSERT_TRUE(read.startButton(test::ocrJob(vob, font.stream)));
        read.runToEnd();
        const auto truth =
            test::loadGroundTruth(kData + "/" + font.disc + "/truth_s" + std::to_string(font.stream) + ".tsv");
        const SubtitleDocument& doc = read.document();
        EXPECT_EQ(doc.count(), truth.subtitles.size());

        const int64_t origin = test::firstVobuStartMs(vob);
        // The I/l repair of the post-OCR correction, where the language has rules.
        static const char* const kIlLanguage[] = {"en", "fr", "de", ""};
        const auto ilLanguage = ilLanguageFromCode(kIlLanguage[&font - test::kTrainingFonts]);
        test::CharacterErrors raw, strict, allowance, ilRepaired;
        size_t next = 1;
        for (size_t i = 0; i < truth.subtitles.size(); ++i) {
            const auto& t = truth.subtitles[i];
            // The entry of this subtitle, found by its start; a missing one
            // counts all its characters as errors.
            while (next <= doc.count() && timeCodeToMs(doc.entry(next).start) - origin < t.startMs - frameMs) ++next;
            const bool found = next <= doc.count() &&
                               std::abs(timeCodeToMs(doc.entry(next).start) - origin - t.startMs) <= frameMs;
            EXPECT_TRUE(found) << "no entry for subtitle " << i + 1;
            static const SubtitleEntry kMissing{};
            const SubtitleEntry& e = found ? doc.entry(next++) : kMissing;
            if (found) {
                EXPECT_LE(std::abs(timeCodeToMs(e.stop) - origin - t.stopMs), frameMs) << i;
                EXPECT_EQ(e.rect, (DisplayArea{t.x1, t.y1, t.x2, t.y2})) << i;
            }
            std::vector<std::string> reference, repaired;
            for (const auto& l : t.lines) reference.push_back(utf8ToCp1252(l));
            // The recommended quote repair of the post-OCR correction.
            for (const auto& l : e.lines) repaired.push_back(repairQuotes(l));
            raw.add(reference, e.lines, false);
            strict.add(reference, repaired, false);
            allowance.add(reference, repaired, true);
            std::vector<std::string> il = repaired;
            if (ilLanguage) repairIlLines(il, *ilLanguage);
            ilRepaired.add(reference, il, false);
            if (test::editDistance(test::joinLines(reference), test::joinLines(repaired), false) > 0) {
                std::printf("  [%s s%d #%zu] want: %s\n  %*s got:  %s\n", font.disc, font.stream, i + 1,
                            cp1252ToUtf8(test::joinLines(reference)).c_str(), 12, "",
                            cp1252ToUtf8(test::joinLines(repaired)).c_str());
            }
        }
        std::printf(
            "%s stream %d: CER %.2f%% (%d/%d); I/l not counted %.2f%% (%d); after the I/l repair %.2f%% (%s); "
            "before the quote repair %.2f%%; matrix of %zu glyphs, %d unknown glyphs\n",
            font.disc, font.stream, strict.rate() * 100, strict.errors, strict.characters, allowance.rate() * 100,
            allowance.errors, ilRepaired.rate() * 100, ilLanguage ? kIlLanguage[&font - test::kTrainingFonts] : "no rules",
            raw.rate() * 100, teach.matrix().size(), ui.unknown);
        EXPECT_LE(allowance.rate(), 0.01);
    }
}

}  // namespace
}  // namespace orvane
