#include "support/learners.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "config/text_encoding.h"
#include "ocr/matcher.h"

namespace orvane::test {

NewCharChoice CellLearner::newCharacter(const NewCharacterView& v) {
    const size_t unit = static_cast<size_t>(v.unitNumber);
    if (unit < 1 || unit > truth_.subtitles.size()) return {NewCharAction::SkipPicture, {}};
    const auto& sub = truth_.subtitles[unit - 1];
    if (session_ && session_->lineTable().count != sub.lines.size()) {
        ++skippedPictures;
        return {NewCharAction::SkipPicture, {}};
    }
    const int x = v.area.x1 + v.crop.left + v.box.left + v.box.width / 2;
    for (size_t c = 0; c < sub.cells.size(); ++c) {
        const auto& cell = sub.cells[c];
        if (cell.line != v.lineNumber || x < cell.x1 || x > cell.x2) continue;
        const bool first = seen_.insert({unit, c}).second;
        ++answered;
        return {NewCharAction::Accept, first ? utf8ToCp1252(cell.character) : std::string()};
    }
    ++unplaced;
    std::fprintf(stderr, "no cell for the glyph at x %d of line %d in training picture %zu\n", x,
                 v.lineNumber, unit);
    return {NewCharAction::SkipLine, {}};
}

NewCharChoice TextLearner::newCharacter(const NewCharacterView& v) {
    const size_t unit = static_cast<size_t>(v.unitNumber);
    const auto skip = [this] {
        ++skipped;
        return NewCharChoice{NewCharAction::SkipLine, {}};
    };
    if (!session_ || unit < 1 || unit > truth_.subtitles.size()) return skip();
    const auto& sub = truth_.subtitles[unit - 1];
    if (v.lineNumber < 1 || static_cast<size_t>(v.lineNumber) > sub.lines.size()) return skip();
    // The strokes of a double quote are cut apart and read as two
    // apostrophes; the reader expects them so.
    std::string line;
    for (char c : utf8ToCp1252(sub.lines[static_cast<size_t>(v.lineNumber - 1)])) {
        if (c == '"')
            line += "''";
        else
            line += c;
    }

    const OcrSettings& settings = const_cast<Session*>(session_)->ocrSettings();
    Matcher matcher;
    const int k = v.line.count;
    std::vector<std::optional<std::string>> text(static_cast<size_t>(k) + 1);
    for (int i = 1; i <= k; ++i) {
        if (i == v.charNumber) continue;
        const CharBox& box = v.line.chars[static_cast<size_t>(i - 1)];
        const size_t e =
            matcher.match(buildGlyph(v.painted, box, i), box, session_->matrix(), settings);
        if (e) text[static_cast<size_t>(i)] = session_->matrix().entry(e).text;
    }
    std::string prefix;
    for (int i = 1; i < v.charNumber; ++i) {
        if (!text[static_cast<size_t>(i)]) return skip();
        prefix += *text[static_cast<size_t>(i)];
        if (spaceFollows(v.line, i, settings)) prefix += ' ';
    }
    if (line.compare(0, prefix.size(), prefix) != 0) return skip();
    const std::string rest = line.substr(prefix.size());

    // Lengths of the unknown glyph's text that the glyphs after it confirm.
    std::vector<std::string> fits;
    for (size_t m = 1; m <= std::min<size_t>(rest.size(), 6); ++m) {
        const std::string mine = rest.substr(0, m);
        if (mine.find(' ') != std::string::npos) break;
        std::string expect = spaceFollows(v.line, v.charNumber, settings) ? " " : "";
        bool complete = true;
        for (int i = v.charNumber + 1; i <= k; ++i) {
            if (!text[static_cast<size_t>(i)]) {
                complete = false;
                break;
            }
            expect += *text[static_cast<size_t>(i)];
            if (spaceFollows(v.line, i, settings)) expect += ' ';
        }
        const std::string after = rest.substr(m);
        const bool ok = complete ? after == expect
                                 : after.compare(0, expect.size(), expect) == 0 && !expect.empty();
        if (ok) fits.push_back(mine);
    }
    if (fits.size() != 1) return skip();
    ++answered;
    return {NewCharAction::Accept, fits[0]};
}

}  // namespace orvane::test

#include <filesystem>
#include <fstream>

#include "stream/byte_cursor.h"

namespace orvane::test {

const TrainingFont kTrainingFonts[4] = {
    {"dejavu-sans-bold-30.sum", "pal", 1, 1, 5},
    {"liberation-sans-bold-32.sum", "pal", 2, 2, 6},
    {"dejavu-serif-bold-28.sum", "ntsc", 1, 3, 7},
    {"liberation-serif-bold-32.sum", "ntsc", 2, 4, 8},
};

JobRequest ocrJob(const std::string& vob, int stream) {
    JobRequest r;
    r.files = {vob};
    r.streamIndex = stream - 1;
    r.action = ActionMode::Ocr;
    return r;
}

int64_t firstVobuStartMs(const std::string& vob) {
    std::ifstream f(vob, std::ios::binary);
    std::vector<uint8_t> sector(2048);
    while (f.read(reinterpret_cast<char*>(sector.data()), 2048)) {
        if (loadU32be(&sector[14]) == 0x000001BB) return loadU32be(&sector[57]) / 90;
    }
    return 0;
}

CharMatrix learnFont(const std::string& dataDir, const TrainingFont& font, LearnReport* report) {
    const std::string vob = dataDir + "/train/VIDEO_TS/VTS_01_1.VOB";
    const GroundTruth grid = loadGroundTruth(dataDir + "/train/truth_s" + std::to_string(font.gridStream) + ".tsv");
    const Session* current = nullptr;
    CellLearner cells(grid, current);
    Session gridSession(cells);
    current = &gridSession;
    gridSession.startButton(ocrJob(vob, font.gridStream));
    gridSession.runToEnd();
    CharMatrix matrix = gridSession.matrix();
    LearnReport r;
    r.cellAnswers = cells.answered;
    r.unplaced = cells.unplaced;
    r.skippedPictures = cells.skippedPictures;

    const std::string textTruth = dataDir + "/train/truth_s" + std::to_string(font.textStream) + ".tsv";
    if (std::filesystem::exists(textTruth)) {
        const GroundTruth text = loadGroundTruth(textTruth);
        for (int pass = 0; pass < 2; ++pass) {
            const Session* current = nullptr;
            TextLearner learner(text, current);
            Session s(learner);
            current = &s;
            s.matrix() = matrix;
            s.startButton(ocrJob(vob, font.textStream));
            s.runToEnd();
            matrix = s.matrix();
            r.textAnswers += learner.answered;
            r.textSkipped += learner.skipped;
        }
    }
    matrix.setModified(false);
    matrix.setFileName({});
    if (report) *report = r;
    return matrix;
}

}  // namespace orvane::test
