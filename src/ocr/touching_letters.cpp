#include "ocr/touching_letters.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

namespace orvane {

namespace {

// Columns two neighbouring pieces may share, for strokes that run into
// each other (the bars of "ff" or "tt").
constexpr int kMaxShared = 3;

// One piece's outcome: the entry it matched (0: none) and its ratio
// weighted by its columns.
struct Piece {
    size_t entry = 0;
    int64_t weight = 0;
};

// Piece span: columns [begin, end) of the box, of which the first `left`
// and the last `right` are shared with the neighbours.
struct Span {
    int begin, end, left, right;
};

// Three pieces at most, none wider than what the matcher compares.
bool mayBeTouching(const CharBox& box, const CharMatrix& matrix, const OcrSettings& settings) {
    return !matrix.empty() && box.width >= 2 && box.height >= 1 &&
           box.width <= 3 * (GlyphBits::kSide + int{settings.maxCharDiffWidth});
}

// The character's pixels in its box (1 where `isInk(x, y)`), one byte each.
template <typename Picture, typename IsInk>
std::vector<uint8_t> inkOf(const Picture& picture, const CharBox& box, IsInk isInk) {
    const int w = box.width, h = box.height;
    std::vector<uint8_t> ink(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    for (int r = 0; r < h; ++r) {
        const int y = box.top + r;
        if (y >= picture.height()) break;
        for (int c = 0; c < w; ++c) {
            const int x = box.left + c;
            if (x < picture.width() && isInk(x, y)) ink[static_cast<size_t>(r) * w + c] = 1;
        }
    }
    return ink;
}

// Cuts a glyph's ink into two or three pieces and keeps the cut whose
// pieces the matrix reads best. Every piece's top is measured `raise` rows
// lower than its place in the line.
class InkCutter {
  public:
    InkCutter(const std::vector<uint8_t>& ink, const CharBox& box, const CharMatrix& matrix,
              const OcrSettings& settings, Matcher& matcher, int raise)
        : ink_(ink),
          box_(box),
          matrix_(matrix),
          settings_(settings),
          matcher_(matcher),
          w_(box.width),
          h_(box.height),
          raise_(raise),
          cuttable_(cuttableColumns()),
          label_(ink.size()) {}

    bool found() const { return best_.has_value(); }

    // Reads the pieces `spans`; keeps them when all read and better than
    // the best so far.
    void consider(const std::vector<Span>& spans) {
        std::vector<size_t> entries;
        int64_t weighted = 0, columns = 0;
        for (const Span& s : spans) {
            const Piece p = piece(s);
            if (p.entry == 0) return;
            entries.push_back(p.entry);
            weighted += p.weight;
            columns += s.end - s.begin;
        }
        // The pieces' ratios averaged over their columns.
        const int64_t total = weighted * 1000 / columns;
        if (best_ && total <= best_->total) return;
        std::vector<int> cuts;
        for (size_t i = 1; i < spans.size(); ++i) cuts.push_back(spans[i].begin);
        best_ = TouchingReading{{}, std::move(cuts), std::move(entries), total};
    }

    // Cuts of `maxShared` columns at most: piece k ends at e_k, piece k+1
    // begins at s_k = e_k - shared_k; both boundaries must be cuttable.
    void search(int maxShared) {
        searchTwoPieces(maxShared);
        searchThreePieces(maxShared);
    }

    // The best cut, its pieces' texts joined.
    std::optional<TouchingReading> reading() const {
        std::optional<TouchingReading> best = best_;
        if (best) {
            for (size_t e : best->entries) best->text += matrix_.entry(e).text;
        }
        return best;
    }

  private:
    uint8_t at(int c, int r) const { return ink_[static_cast<size_t>(r) * w_ + c]; }

    // Letters side by side touch at a few rows; a cut through a contact of
    // more than half the height splits one shape (a bold stroke) instead.
    std::vector<uint8_t> cuttableColumns() const {
        std::vector<uint8_t> cuttable(static_cast<size_t>(w_) + 1, 1);
        for (int c = 1; c < w_; ++c) {
            int contact = 0;
            for (int r = 0; r < h_; ++r) contact += at(c - 1, r) & at(c, r);
            cuttable[static_cast<size_t>(c)] = contact * 2 <= h_;
        }
        return cuttable;
    }

    bool boundary(int end, int begin) const {
        return cuttable_[static_cast<size_t>(end)] && cuttable_[static_cast<size_t>(begin)];
    }

    void searchTwoPieces(int maxShared) {
        for (int e1 = 1; e1 < w_; ++e1)
            for (int s2 = std::max(1, e1 - maxShared); s2 <= e1; ++s2) {
                if (boundary(e1, s2)) consider({{0, e1, 0, e1 - s2}, {s2, w_, e1 - s2, 0}});
            }
    }

    void searchThreePieces(int maxShared) {
        for (int e1 = 1; e1 < w_; ++e1)
            for (int s2 = std::max(1, e1 - maxShared); s2 <= e1; ++s2) {
                if (!boundary(e1, s2) || piece({0, e1, 0, e1 - s2}).entry == 0) continue;
                for (int e2 = e1 + 1; e2 < w_; ++e2)
                    for (int s3 = std::max(s2 + 1, e2 - maxShared); s3 <= e2; ++s3) {
                        if (boundary(e2, s3))
                            consider({{0, e1, 0, e1 - s2},
                                      {s2, e2, e1 - s2, e2 - s3},
                                      {s3, w_, e2 - s3, 0}});
                    }
            }
    }

    // The span as a glyph of its own, read once.
    Piece piece(const Span& s) {
        const auto key = std::make_tuple(s.begin, s.end, s.left, s.right);
        if (auto it = memo_.find(key); it != memo_.end()) return it->second;
        Piece& p = memo_[key];
        p = readPiece(s);
        return p;
    }

    // In shared columns only the pixels connected, inside the span, to its
    // own columns belong to it: the rest is the neighbour's.
    Piece readPiece(const Span& s) {
        markOwnPixels(s);
        int c0 = w_, c1 = -1, r0 = h_, r1 = -1;
        for (int r = 0; r < h_; ++r)
            for (int c = s.begin; c < s.end; ++c) {
                if (!label_[static_cast<size_t>(r) * w_ + c]) continue;
                c0 = std::min(c0, c);
                c1 = std::max(c1, c);
                r0 = std::min(r0, r);
                r1 = std::max(r1, r);
            }
        if (c1 < 0) return {};
        CharBox pb;
        pb.left = static_cast<uint16_t>(box_.left + c0);
        pb.top = static_cast<uint16_t>(box_.top + r0);
        pb.width = static_cast<uint16_t>(c1 - c0 + 1);
        pb.height = static_cast<uint16_t>(r1 - r0 + 1);
        pb.relativeTop = static_cast<uint8_t>(std::max(0, box_.relativeTop + r0 - raise_));
        const MatrixEntry g = markedGlyph(pb, c0, r0);
        const size_t e = matcher_.match(g, pb, matrix_, settings_);
        // A piece read as nothing would drop pixels from the reading.
        if (e == 0 || matrix_.entry(e).text.empty()) return {};
        const int64_t ratio = scoreGlyph(g, pb.width, pb.height, matrix_.entry(e)).ratio;
        return Piece{e, ratio * (s.end - s.begin)};
    }

    // Marks (label 1) every pixel of the span reachable from its own
    // columns; clears the rest of the span.
    void markOwnPixels(const Span& s) {
        for (int r = 0; r < h_; ++r)
            std::fill_n(label_.begin() + static_cast<long>(r) * w_ + s.begin, s.end - s.begin, 0);
        auto inSpan = [&](int c, int r) { return c >= s.begin && c < s.end && r >= 0 && r < h_; };
        for (int c = s.begin + s.left; c < s.end - s.right; ++c)
            for (int r = 0; r < h_; ++r) {
                if (!at(c, r) || label_[static_cast<size_t>(r) * w_ + c]) continue;
                label_[static_cast<size_t>(r) * w_ + c] = 1;
                stack_.assign(1, r * w_ + c);
                while (!stack_.empty()) {
                    const int i = stack_.back();
                    stack_.pop_back();
                    const int pc = i % w_, pr = i / w_;
                    const int next[4][2] = {{pc - 1, pr}, {pc + 1, pr}, {pc, pr - 1}, {pc, pr + 1}};
                    for (const auto& n : next) {
                        if (!inSpan(n[0], n[1]) || !at(n[0], n[1])) continue;
                        int& l = label_[static_cast<size_t>(n[1]) * w_ + n[0]];
                        if (l) continue;
                        l = 1;
                        stack_.push_back(n[1] * w_ + n[0]);
                    }
                }
            }
    }

    // The marked pixels in box `pb` (whose corner is column c0, row r0 of
    // the glyph) as the matcher compares them.
    MatrixEntry markedGlyph(const CharBox& pb, int c0, int r0) const {
        MatrixEntry g;
        g.relativeTop = pb.relativeTop;
        const int gw = std::min<int>(pb.width, GlyphBits::kSide);
        const int gh = std::min<int>(pb.height, GlyphBits::kSide);
        g.width = static_cast<uint8_t>(gw);
        g.height = static_cast<uint8_t>(gh);
        for (int r = 0; r < gh; ++r) {
            uint64_t bits = 0;
            for (int c = 0; c < gw; ++c) {
                if (label_[static_cast<size_t>(r0 + r) * w_ + c0 + c]) bits |= uint64_t{1} << c;
            }
            g.glyph.setRow(r, bits);
        }
        return g;
    }

    const std::vector<uint8_t>& ink_;
    const CharBox& box_;
    const CharMatrix& matrix_;
    const OcrSettings& settings_;
    Matcher& matcher_;
    const int w_, h_, raise_;
    const std::vector<uint8_t> cuttable_;
    std::map<std::tuple<int, int, int, int>, Piece> memo_;
    std::vector<int> label_;
    std::vector<int> stack_;
    std::optional<TouchingReading> best_;
};

// The cut reading of the ink, every piece's top measured `raise` rows
// lower than its place in the line; with `whole`, the glyph as one piece
// first.
std::optional<TouchingReading> readInk(const std::vector<uint8_t>& ink, const CharBox& box,
                                       const CharMatrix& matrix, const OcrSettings& settings,
                                       Matcher& matcher, int raise, bool whole) {
    InkCutter cutter(ink, box, matrix, settings, matcher, raise);
    if (whole) cutter.consider({{0, box.width, 0, 0}});
    // Plain cuts first; shared columns only where those read nothing.
    if (!cutter.found()) cutter.search(0);
    if (!cutter.found()) cutter.search(kMaxShared);
    return cutter.reading();
}

// The cuts at the pieces' own tops; where none reads, at the letters' top.
std::optional<TouchingReading> readCuts(const std::vector<uint8_t>& ink, const CharBox& box,
                                        const CharMatrix& matrix, const OcrSettings& settings,
                                        Matcher& matcher, int raise) {
    std::optional<TouchingReading> best = readInk(ink, box, matrix, settings, matcher, 0, false);
    if (!best && raise > 0) best = readInk(ink, box, matrix, settings, matcher, raise, true);
    return best;
}

}  // namespace

std::optional<TouchingReading> readTouchingLetters(const Image24& painted, const CharBox& box,
                                                   int j, const CharMatrix& matrix,
                                                   const OcrSettings& settings, Matcher& matcher,
                                                   int raise) {
    if (!mayBeTouching(box, matrix, settings)) return std::nullopt;
    const Colour mark = markColourOf(j);
    return readCuts(inkOf(painted, box, [&](int x, int y) { return painted.pixel(x, y) == mark; }),
                    box, matrix, settings, matcher, raise);
}

std::optional<TouchingReading> readTouchingLetters(const Image8& labels, const CharBox& box, int j,
                                                   const CharMatrix& matrix,
                                                   const OcrSettings& settings, Matcher& matcher,
                                                   int raise) {
    if (!mayBeTouching(box, matrix, settings)) return std::nullopt;
    const uint8_t mark = markLabelOf(j);
    return readCuts(inkOf(labels, box, [&](int x, int y) { return labels.pixel(x, y) == mark; }),
                    box, matrix, settings, matcher, raise);
}

namespace {

// The key that occurs most often, the smallest on a tie; 0 when none does.
int commonest(const std::map<int, int>& counts) {
    int key = 0, most = 0;
    for (const auto& [k, count] : counts) {
        if (count > most) {
            key = k;
            most = count;
        }
    }
    return key;
}

}  // namespace

int accentRaise(const TextLine& line, const CharMatrix& matrix, const OcrSettings& settings) {
    std::map<int, int> heights;  // height: how many capitals A-Z have it
    for (const MatrixEntry& e : matrix.entries())
        if (e.text.size() == 1 && e.text[0] >= 'A' && e.text[0] <= 'Z') ++heights[e.height];
    const int capital = commonest(heights);
    if (capital == 0) return 0;
    std::map<int, int> tops;  // top: how many pieces as tall as a capital have it
    for (int j = 0; j < line.count; ++j) {
        const CharBox& b = line.chars[static_cast<size_t>(j)];
        if (std::abs(int{b.height} - capital) <= settings.maxCharDiffHeight) ++tops[b.relativeTop];
    }
    return commonest(tops);
}

}  // namespace orvane
