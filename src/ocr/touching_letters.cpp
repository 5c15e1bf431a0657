#include "ocr/touching_letters.h"

#include <algorithm>

namespace orvane {

namespace {

// One piece's outcome: the entry it matched (0: none or not tried) and
// its weighted ratio.
struct Piece {
    bool evaluated = false;
    size_t entry = 0;
    int64_t weight = 0;
};

}  // namespace

std::optional<TouchingReading> readTouchingLetters(const Image24& painted, const CharBox& box,
                                                   int j, const CharMatrix& matrix,
                                                   const OcrSettings& settings, Matcher& matcher) {
    const int w = box.width, h = box.height;
    // Three pieces at most, none wider than what the matcher compares.
    if (matrix.empty() || w < 2 || h < 1 ||
        w > 3 * (GlyphBits::kSide + int{settings.maxCharDiffWidth}))
        return std::nullopt;
    const Colour mark = markColourOf(j);
    std::vector<uint8_t> ink(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    std::vector<int> colTop(static_cast<size_t>(w), h), colBottom(static_cast<size_t>(w), -1);
    for (int r = 0; r < h; ++r) {
        const int y = box.top + r;
        if (y >= painted.height()) break;
        for (int c = 0; c < w; ++c) {
            const int x = box.left + c;
            if (x >= painted.width() || painted.pixel(x, y) != mark) continue;
            ink[static_cast<size_t>(r) * w + c] = 1;
            colTop[static_cast<size_t>(c)] = std::min(colTop[static_cast<size_t>(c)], r);
            colBottom[static_cast<size_t>(c)] = r;
        }
    }

    // Letters side by side touch at a few rows; a cut through a contact of
    // more than half the height splits one shape (a bold stroke) instead.
    std::vector<uint8_t> cuttable(static_cast<size_t>(w), 0);
    for (int c = 1; c < w; ++c) {
        int contact = 0;
        for (int r = 0; r < h; ++r)
            contact += ink[static_cast<size_t>(r) * w + c - 1] & ink[static_cast<size_t>(r) * w + c];
        cuttable[static_cast<size_t>(c)] = contact * 2 <= h;
    }

    std::vector<Piece> memo(static_cast<size_t>(w + 1) * static_cast<size_t>(w + 1));
    // Columns a..b-1 of the box as a glyph of their own.
    auto piece = [&](int a, int b) -> const Piece& {
        Piece& p = memo[static_cast<size_t>(a) * (w + 1) + b];
        if (p.evaluated) return p;
        p.evaluated = true;
        int c0 = a, c1 = b - 1;
        while (c0 <= c1 && colBottom[static_cast<size_t>(c0)] < 0) ++c0;
        while (c1 >= c0 && colBottom[static_cast<size_t>(c1)] < 0) --c1;
        if (c0 > c1) return p;
        int r0 = h, r1 = -1;
        for (int c = c0; c <= c1; ++c) {
            r0 = std::min(r0, colTop[static_cast<size_t>(c)]);
            r1 = std::max(r1, colBottom[static_cast<size_t>(c)]);
        }
        CharBox pb;
        pb.left = static_cast<uint16_t>(box.left + c0);
        pb.top = static_cast<uint16_t>(box.top + r0);
        pb.width = static_cast<uint16_t>(c1 - c0 + 1);
        pb.height = static_cast<uint16_t>(r1 - r0 + 1);
        pb.relativeTop = static_cast<uint8_t>(box.relativeTop + r0);
        MatrixEntry g;
        g.relativeTop = pb.relativeTop;
        const int gw = std::min<int>(pb.width, GlyphBits::kSide);
        const int gh = std::min<int>(pb.height, GlyphBits::kSide);
        g.width = static_cast<uint8_t>(gw);
        g.height = static_cast<uint8_t>(gh);
        for (int r = 0; r < gh; ++r) {
            uint64_t bits = 0;
            for (int c = 0; c < gw; ++c) {
                if (ink[static_cast<size_t>(r0 + r) * w + c0 + c]) bits |= uint64_t{1} << c;
            }
            g.glyph.setRow(r, bits);
        }
        const size_t e = matcher.match(g, pb, matrix, settings);
        // A piece read as nothing would drop pixels from the reading.
        if (e == 0 || matrix.entry(e).text.empty()) return p;
        p.entry = e;
        p.weight = int64_t{scoreGlyph(g, pb.width, pb.height, matrix.entry(e)).ratio} * (b - a);
        return p;
    };

    std::optional<TouchingReading> best;
    // pieces: [begin, end) column spans, left to right, covering the box.
    auto consider = [&](const std::vector<std::pair<int, int>>& pieces) {
        std::vector<size_t> entries;
        int64_t weighted = 0, columns = 0;
        for (const auto& [a, b] : pieces) {
            const Piece& p = piece(a, b);
            if (p.entry == 0) return;
            entries.push_back(p.entry);
            weighted += p.weight;
            columns += b - a;
        }
        // The pieces' ratios averaged over their columns, in millionths.
        const int64_t total = weighted * 1000 / columns;
        if (best && total <= best->total) return;
        std::vector<int> cuts;
        for (size_t i = 1; i < pieces.size(); ++i) cuts.push_back(pieces[i].first);
        best = TouchingReading{{}, std::move(cuts), std::move(entries), total};
    };
    for (int c1 = 1; c1 < w; ++c1) {
        if (cuttable[static_cast<size_t>(c1)]) consider({{0, c1}, {c1, w}});
    }
    for (int c1 = 1; c1 < w; ++c1) {
        if (!cuttable[static_cast<size_t>(c1)] || piece(0, c1).entry == 0) continue;
        for (int c2 = c1 + 1; c2 < w; ++c2) {
            if (cuttable[static_cast<size_t>(c2)]) consider({{0, c1}, {c1, c2}, {c2, w}});
        }
    }
    if (best) {
        for (size_t e : best->entries) best->text += matrix.entry(e).text;
    }
    return best;
}

}  // namespace orvane
