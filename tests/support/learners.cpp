#include "support/learners.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "common/text_encoding.h"
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

namespace {

// The usual width of a letter in the matrix's font: the median width of
// its lower-case letters learned alone.
double typicalCharWidth(const CharMatrix& m) {
    std::vector<int> widths;
    for (const MatrixEntry& e : m.entries()) {
        if (e.text.size() == 1 && e.text[0] >= 'a' && e.text[0] <= 'z') widths.push_back(e.width);
    }
    if (widths.empty()) return 15.0;
    std::nth_element(widths.begin(), widths.begin() + static_cast<long>(widths.size() / 2),
                     widths.end());
    return widths[widths.size() / 2];
}

}  // namespace

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
    // A reader also recognises a known shape standing higher or lower in
    // the line than where it was learned (an all-caps line whose top is an
    // accent): such shapes are the glyph's likely text, confirmed below by
    // the line's text.
    OcrSettings anyHeight = settings;
    anyHeight.maxCharDiffTop = 255;
    Matcher matcher, shapes;
    const int k = v.line.count;
    std::vector<std::optional<std::string>> text(static_cast<size_t>(k) + 1);
    for (int i = 1; i <= k; ++i) {
        const CharBox& box = v.line.chars[static_cast<size_t>(i - 1)];
        const MatrixEntry glyph = buildGlyph(v.painted, box, i);
        size_t e = i == v.charNumber ? 0 : matcher.match(glyph, box, session_->matrix(), settings);
        if (!e) e = shapes.match(glyph, box, session_->matrix(), anyHeight);
        if (e) text[static_cast<size_t>(i)] = session_->matrix().entry(e).text;
    }
    // The glyphs before j are read already: their texts fix where j starts.
    std::string prefix;
    for (int i = 1; i < v.charNumber; ++i) {
        if (!text[static_cast<size_t>(i)]) return skip();
        prefix += *text[static_cast<size_t>(i)];
        if (spaceFollows(v.line, i, settings)) prefix += ' ';
    }
    if (line.compare(0, prefix.size(), prefix) != 0) return skip();
    const std::string rest = line.substr(prefix.size());
    const size_t j = static_cast<size_t>(v.charNumber);

    // First the lengths that the glyphs after it confirm up to the next
    // glyph not known.
    std::vector<std::string> fits;
    for (size_t m = 1; m <= std::min<size_t>(rest.size(), 6); ++m) {
        const std::string t = rest.substr(0, m);
        if (t.find(' ') != std::string::npos) break;
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
        if (ok) fits.push_back(t);
    }
    // The shape's own text, where the line has it here, settles a doubt.
    if (fits.size() != 1 && text[j] && !text[j]->empty() &&
        rest.compare(0, text[j]->size(), *text[j]) == 0) {
        fits.assign(1, *text[j]);
    }
    if (fits.size() == 1) {
        ++answered;
        return {NewCharAction::Accept, fits[0]};
    }
    fits.clear();
    text[j].reset();

    // Every way of reading the line with these glyphs: known glyphs give
    // their text, unknown ones one to six characters (about as many as their
    // width holds), spaces come where the gaps say. The glyph's text is
    // taken when all the ways agree on it.
    const double charWidth = typicalCharWidth(session_->matrix());
    std::vector<std::pair<int, int>> lengths(static_cast<size_t>(k) + 1, {0, 0});
    for (int i = 1; i <= k; ++i) {
        if (text[static_cast<size_t>(i)]) continue;
        const double est = v.line.chars[static_cast<size_t>(i - 1)].width / charWidth;
        lengths[static_cast<size_t>(i)] = {std::max(1, static_cast<int>(est - 0.8 + 0.999)),
                                           std::min(6, std::max(1, static_cast<int>(est + 0.8)))};
    }
    // ways[i][p]: readings of glyphs i..k from position p (0, 1, or 2 = many)
    // and, for glyph j, the one text they give.
    const size_t n = line.size();
    std::vector<std::vector<int>> ways(static_cast<size_t>(k) + 2, std::vector<int>(n + 1, -1));
    std::vector<std::vector<std::string>> mine(static_cast<size_t>(k) + 2,
                                               std::vector<std::string>(n + 1));
    std::vector<std::vector<char>> conflict(static_cast<size_t>(k) + 2,
                                            std::vector<char>(n + 1, 0));
    std::function<int(int, size_t)> count = [&](int i, size_t p) -> int {
        if (i > k) return p == n ? 1 : 0;
        int& w = ways[static_cast<size_t>(i)][p];
        if (w >= 0) return w;
        w = 0;
        const std::string gap = spaceFollows(v.line, i, settings) ? " " : "";
        auto tryText = [&](const std::string& t) {
            if (line.compare(p, t.size(), t) != 0 ||
                line.compare(p + t.size(), gap.size(), gap) != 0)
                return;
            const int sub = count(i + 1, p + t.size() + gap.size());
            if (sub == 0) return;
            if (i == v.charNumber) {
                std::string& agreed = mine[static_cast<size_t>(i)][p];
                if (w > 0 && agreed != t)
                    conflict[static_cast<size_t>(i)][p] = 1;  // readings disagree
                agreed = t;
            }
            w = std::min(2, w + sub);
        };
        if (text[static_cast<size_t>(i)] && i != v.charNumber) {
            tryText(*text[static_cast<size_t>(i)]);
        } else {
            const auto [lo, hi] = lengths[static_cast<size_t>(i)];
            for (int m = lo; m <= hi && p + static_cast<size_t>(m) <= n; ++m) {
                const std::string t = line.substr(p, static_cast<size_t>(m));
                if (t.find(' ') == std::string::npos) tryText(t);
            }
        }
        return w;
    };
    const size_t at = prefix.size();
    if (count(v.charNumber, at) > 0 && !conflict[j][at]) fits.push_back(mine[j][at]);
    if (fits.size() != 1) return skip();
    ++answered;
    return {NewCharAction::Accept, fits[0]};
}

}  // namespace orvane::test

#include <filesystem>
#include <fstream>

#include "common/byte_cursor.h"

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

std::vector<SubtitleEntry> readWithMatrix(const std::string& vob, int stream,
                                          const std::string& matrixPath, int* unknown) {
    // What `orvane-cli ocr --unknown mark` does: the session's mark policy.
    FakeUi ui;
    Session read(ui);
    read.ocrPolicy().unknown = UnknownGlyphPolicy::Mark;
    read.ocrPolicy().mark = "#";
    std::vector<SubtitleEntry> entries;
    if (!read.loadMatrixFile(matrixPath, read.matrix()) || !read.startButton(ocrJob(vob, stream)))
        return entries;
    read.runToEnd();
    for (size_t i = 1; i <= read.document().count(); ++i)
        entries.push_back(read.document().entry(i));
    if (unknown) *unknown = read.ocrPolicyCounts().marked;
    return entries;
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
    const GroundTruth grid =
        loadGroundTruth(dataDir + "/train/truth_s" + std::to_string(font.gridStream) + ".tsv");
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

    const std::string textTruth =
        dataDir + "/train/truth_s" + std::to_string(font.textStream) + ".tsv";
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
