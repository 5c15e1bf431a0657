#include "ocr/matcher.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {

namespace {

inline uint64_t lowBits(int n) {
    return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
}

int ratioOf(int score, int area) {
    return static_cast<int>(int64_t{score} * 1000 / area);
}

// The smallest score whose ratio (truncated toward zero) reaches the
// sensibility.
int neededScore(int area, int sensibility) {
    if (sensibility > 0) return static_cast<int>((int64_t{sensibility} * area + 999) / 1000);
    return -((area - 1) / 1000);
}

// The pixel steps for glyphs up to 64 columns wide, a row at a time with
// bit masks. Returns false as soon as `needScore` can no longer be reached.
// `gRows` and `eRows` hold gCount and eCount rows; rows past them are clear.
bool scoreRows(const uint64_t* gRows, int gCount, const uint64_t* eRows, int eCount, int minW,
               int minH, int& score, int needScore) {
    const uint64_t mask = lowBits(minW);
    int penalty = 1;
    for (int r = 0; r < minH; ++r) {
        // Every remaining pixel can add one at most.
        if (score + (minH - r) * minW < needScore) return false;
        const uint64_t g = r < gCount ? gRows[r] & mask : 0;
        const uint64_t e = r < eCount ? eRows[r] & mask : 0;
        const uint64_t exact = ~(g ^ e) & mask;
        const uint64_t fromLeft = ~(g ^ (e << 1)) & mask & ~uint64_t{1};  // G(c) = E(c - 1)
        const uint64_t fromRight = ~(g ^ (e >> 1)) & (mask >> 1);         // G(c) = E(c + 1)
        const uint64_t bad = mask & ~(exact | fromLeft | fromRight);
        score += minW;
        // Each miss gains nothing and costs the penalty, which doubles up to
        // 16 and is reset by an exact match (not by a tolerated one), across
        // rows. Misses are few, so they are visited one by one.
        int after = 0;  // first column after the previous miss in this row
        uint64_t rest = bad;
        while (rest != 0) {
            const int b = std::countr_zero(rest);
            rest &= rest - 1;
            if (exact & lowBits(b) & ~lowBits(after)) penalty = 1;
            score -= 1 + penalty;
            if (penalty < 16) penalty *= 2;
            after = b + 1;
        }
        if (after < 64 && (exact >> after) != 0) penalty = 1;
    }
    return true;
}

// The same steps pixel by pixel, for entries read from files with sizes
// beyond 64 columns; bits outside the 45 x 45 grid are clear.
void scorePixels(const MatrixEntry& glyph, const MatrixEntry& entry, int minW, int minH,
                 int& score) {
    int penalty = 1;
    for (int r = 0; r < minH; ++r) {
        for (int c = 0; c < minW; ++c) {
            const bool g = glyph.glyph.bit(c, r);
            if (g == entry.glyph.bit(c, r)) {
                ++score;
                penalty = 1;
            } else if ((c > 0 && g == entry.glyph.bit(c - 1, r)) ||
                       (c < minW - 1 && g == entry.glyph.bit(c + 1, r))) {
                ++score;
            } else {
                score -= penalty;
                if (penalty < 16) penalty *= 2;
            }
        }
    }
}

struct Geometry {
    int minW, maxW, minH, maxH, area, base;
};

Geometry geometry(int boxW, int boxH, int entryW, int entryH) {
    Geometry g;
    g.minW = std::min(boxW, entryW);
    g.maxW = std::max(boxW, entryW);
    g.minH = std::min(boxH, entryH);
    g.maxH = std::max(boxH, entryH);
    g.area = std::max(g.maxW * g.maxH, 1);
    // The part only the larger box covers counts four fifths per pixel.
    g.base = ((g.maxW - g.minW) * g.minH + (g.maxH - g.minH) * g.maxW) * 4 / 5;
    return g;
}

// The glyph's size and relative top from its box, the rows still clear.
MatrixEntry emptyGlyphOf(const CharBox& box) {
    MatrixEntry g;
    g.relativeTop = box.relativeTop;
    g.width = static_cast<uint8_t>(std::min<int>(box.width, GlyphBits::kSide));
    g.height = static_cast<uint8_t>(std::min<int>(box.height, GlyphBits::kSide));
    return g;
}

// The labels p[0..inside-1] equal to `mark` as bits (inside <= 45); the
// row holds `room` bytes from p.
uint64_t markBits(const uint8_t* p, int inside, [[maybe_unused]] int room, uint8_t mark) {
    uint64_t bits = 0;
    int c = 0;
#if defined(__SSE2__)
    // Sixteen labels at a time: one compare, one byte mask. The last sixteen
    // may reach past the box while the row has room; the bits past it are
    // cleared at the end.
    const __m128i marks = _mm_set1_epi8(static_cast<char>(mark));
    for (; c < inside && c + 16 <= room; c += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + c));
        bits |= uint64_t{static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, marks)))} << c;
    }
#endif
    // Eight labels at a time: the bytes equal to the mark become their high
    // bits, gathered into the top byte by one multiply.
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const uint64_t spread = 0x0101010101010101ull * mark;
    for (; c + 8 <= inside; c += 8) {
        uint64_t v;
        std::memcpy(&v, p + c, 8);
        if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
        v ^= spread;
        const uint64_t equal = ~(((v & kLow7) + kLow7) | v | kLow7) >> 7;
        bits |= ((equal * 0x0102040810204080ull) >> 56) << c;
    }
    for (; c < inside; ++c) {
        if (p[c] == mark) bits |= uint64_t{1} << c;
    }
    return bits & ((uint64_t{1} << inside) - 1);
}

}  // namespace

MatrixEntry buildGlyph(const Image24& painted, const CharBox& box, int j) {
    const Colour mark = markColourOf(j);
    MatrixEntry g = emptyGlyphOf(box);
    for (int r = 0; r < g.height && box.top + r < painted.height(); ++r) {
        const int y = box.top + r;
        uint64_t bits = 0;
        for (int c = 0; c < g.width; ++c) {
            const int x = box.left + c;
            if (x < painted.width() && painted.pixel(x, y) == mark) bits |= uint64_t{1} << c;
        }
        g.glyph.setRow(r, bits);
    }
    return g;
}

MatrixEntry buildGlyph(const Image8& labels, const CharBox& box, int j) {
    MatrixEntry g = emptyGlyphOf(box);
    // Columns past the picture's right edge hold no mark.
    const int room = labels.width() - box.left;
    const int inside = std::min<int>(g.width, room);
    if (inside <= 0) return g;
    const uint8_t mark = markLabelOf(j);
    for (int r = 0; r < g.height && box.top + r < labels.height(); ++r)
        g.glyph.setRow(r, markBits(labels.row(box.top + r) + box.left, inside, room, mark));
    return g;
}
bool spaceFollows(const TextLine& line, int j, const OcrSettings& s) {
    if (j < 1 || j >= line.count) return false;
    const CharBox& a = line.chars[static_cast<size_t>(j - 1)];
    const CharBox& b = line.chars[static_cast<size_t>(j)];
    const int gap = int{b.left} - int{a.left} - int{a.width};
    const int threshold = (a.italic && b.italic) ? s.itaSpaceWidth : s.spaceWidth;
    return gap >= threshold;
}

MatchScore scoreGlyph(const MatrixEntry& glyph, int boxWidth, int boxHeight,
                      const MatrixEntry& entry) {
    const Geometry g = geometry(boxWidth, boxHeight, entry.width, entry.height);
    MatchScore m;
    m.score = g.base;
    if (g.minW <= 64) {
        scoreRows(glyph.glyph.rows(), GlyphBits::kSide, entry.glyph.rows(), GlyphBits::kSide,
                  g.minW, g.minH, m.score, INT32_MIN);
    } else {
        scorePixels(glyph, entry, g.minW, g.minH, m.score);
    }
    m.ratio = ratioOf(m.score, g.area);
    return m;
}

void Matcher::reindex(const CharMatrix& matrix) {
    // Entry numbers grouped by (width, height), each group in index order:
    // start_[key] .. start_[key + 1] in order_.
    const auto& entries = matrix.entries();
    start_.assign(kKeys + 1, 0);
    for (const MatrixEntry& e : entries) ++start_[key(e.width, e.height) + 1];
    for (size_t k = 0; k < kKeys; ++k) start_[k + 1] += start_[k];
    order_.resize(entries.size());
    // Each entry goes to the next place of its group, which leaves every
    // start_[key] at the start of the group after it: one shift puts them
    // back, without a second table of 256 KiB to fill and fault in.
    for (size_t i = 0; i < entries.size(); ++i) {
        order_[start_[key(entries[i].width, entries[i].height)]++] = static_cast<uint32_t>(i + 1);
    }
    std::copy_backward(start_.begin(), start_.end() - 2, start_.end() - 1);
    start_[0] = 0;
    // The relative tops beside, so that the last pre-filter test does not
    // touch the entries themselves.
    meta_.resize(entries.size() + 1);
    for (size_t i = 0; i < entries.size(); ++i) {
        meta_[i + 1] = {entries[i].width, entries[i].height, entries[i].relativeTop};
    }
    rowStart_.resize(entries.size() + 1);
    rowCount_.resize(entries.size() + 1);
    rows_.clear();
    for (uint32_t n : order_) {
        const MatrixEntry& e = entries[n - 1];
        const int count = std::min<int>(e.height, GlyphBits::kSide);
        rowStart_[n] = static_cast<uint32_t>(rows_.size());
        rowCount_[n] = static_cast<uint8_t>(count);
        rows_.insert(rows_.end(), e.glyph.rows(), e.glyph.rows() + count);
    }
    indexed_ = &matrix;
    generation_ = matrix.generation();
    memo_.clear();
}

// The entries of the sizes the pre-filter lets through, one list per size.
inline void Matcher::gatherSizeLists(const CharBox& box, const OcrSettings& s) {
    lists_.clear();
    const int w0 = std::max(0, int{box.width} - s.maxCharDiffWidth),
              w1 = std::min(255, int{box.width} + s.maxCharDiffWidth);
    const int h0 = std::max(0, int{box.height} - s.maxCharDiffHeight),
              h1 = std::min(255, int{box.height} + s.maxCharDiffHeight);
    for (int w = w0; w <= w1; ++w) {
        for (int h = h0; h <= h1; ++h) {
            const size_t k = key(w, h);
            if (start_[k] != start_[k + 1])
                lists_.push_back({order_.data() + start_[k], order_.data() + start_[k + 1]});
        }
    }
}

// The lists' next 64 entry numbers from the smallest on become bits; a list
// used up is dropped.
inline Matcher::Window Matcher::takeWindow() {
    uint32_t from = *lists_[0].next;
    for (const Cursor& c : lists_) from = std::min(from, *c.next);
    const uint32_t to = from + 64;
    uint64_t bits = 0;
    for (size_t k = 0; k < lists_.size();) {
        Cursor& c = lists_[k];
        while (c.next != c.end && *c.next < to) bits |= uint64_t{1} << (*c.next++ - from);
        if (c.next == c.end) {
            c = lists_.back();
            lists_.pop_back();
        } else {
            ++k;
        }
    }
    return {from, bits};
}

// The candidates' rows are far apart in a large matrix: ask for all of the
// window's at once so that their loads overlap.
inline void Matcher::prefetchRows(Window window) const {
    for (uint64_t w = window.bits; w != 0; w &= w - 1) {
        const uint32_t i = window.from + static_cast<uint32_t>(std::countr_zero(w));
        __builtin_prefetch(rows_.data() + rowStart_[i]);
    }
}

inline bool Matcher::matches(uint32_t i, const MatrixEntry& glyph, const CharBox& box,
                             const CharMatrix& matrix, const OcrSettings& s) const {
    const Meta& meta = meta_[i];
    if (std::abs(int{meta.top} - int{glyph.relativeTop}) > s.maxCharDiffTop) return false;
    const Geometry g = geometry(box.width, box.height, meta.width, meta.height);
    int score = g.base;
    if (g.minW <= 64) {
        // The entry's rows from the copy kept in size order, which keeps the
        // candidates of one size close in memory.
        if (!scoreRows(glyph.glyph.rows(), GlyphBits::kSide, rows_.data() + rowStart_[i],
                       rowCount_[i], g.minW, g.minH, score, neededScore(g.area, s.sensibility))) {
            return false;
        }
    } else {
        scorePixels(glyph, matrix.entry(i), g.minW, g.minH, score);
    }
    return ratioOf(score, g.area) >= s.sensibility;
}

inline uint32_t Matcher::firstMatchIn(Window window, const MatrixEntry& glyph, const CharBox& box,
                                      const CharMatrix& matrix, const OcrSettings& s) const {
    for (uint64_t w = window.bits; w != 0; w &= w - 1) {
        const uint32_t i = window.from + static_cast<uint32_t>(std::countr_zero(w));
        if (matches(i, glyph, box, matrix, s)) return i;
    }
    return 0;
}

MatchMemo::Key MatchMemo::keyOf(const MatrixEntry& glyph, const CharBox& box) {
    constexpr uint64_t kMix = 0x9E3779B97F4A7C15ull;
    Key k;
    k.shape = uint64_t{box.width} | uint64_t{box.height} << 16 | uint64_t{glyph.relativeTop} << 32;
    // No row at or below the box's height is read by a match.
    k.rows = glyph.glyph.rows();
    k.count = std::min<int>(box.height, GlyphBits::kSide);
    // Multiplying carries every bit upwards: the slot is taken from the top.
    uint64_t h = (k.shape + 1) * kMix;
    for (int r = 0; r < k.count; ++r) h = (h ^ k.rows[r]) * kMix;
    k.hash = h;
    return k;
}

bool MatchMemo::holds(const Slot& slot, const Key& key) const {
    return slot.hash == key.hash && slot.shape == key.shape &&
           std::equal(key.rows, key.rows + key.count, rows_.data() + slot.rowsAt);
}

int64_t MatchMemo::find(const Key& key) const {
    if (slots_.empty()) return -1;
    for (size_t i = slotOf(key.hash);; i = (i + 1) & (kSlots - 1)) {
        const Slot& slot = slots_[i];
        if (slot.stamp != stamp_) return -1;
        if (holds(slot, key)) return slot.entry;
    }
}

void MatchMemo::remember(const Key& key, uint32_t entry) {
    if (slots_.empty()) slots_.resize(kSlots);
    if (used_ >= kSlots / 2) clear();
    size_t i = slotOf(key.hash);
    while (slots_[i].stamp == stamp_) i = (i + 1) & (kSlots - 1);
    slots_[i] = {key.hash, key.shape, static_cast<uint32_t>(rows_.size()), entry, stamp_};
    rows_.insert(rows_.end(), key.rows, key.rows + key.count);
    ++used_;
}

void MatchMemo::clear() {
    rows_.clear();
    used_ = 0;
    if (++stamp_ == 0) {  // the stamps have come round: old slots would look current
        std::fill(slots_.begin(), slots_.end(), Slot{});
        stamp_ = 1;
    }
}

size_t Matcher::match(const MatrixEntry& glyph, const CharBox& box, const CharMatrix& matrix,
                      const OcrSettings& s) {
    if (indexed_ != &matrix || generation_ != matrix.generation()) reindex(matrix);
    if (!(s == memoSettings_)) {
        memo_.clear();
        memoSettings_ = s;
    }
    const MatchMemo::Key key = MatchMemo::keyOf(glyph, box);
    if (const int64_t known = memo_.find(key); known >= 0) return static_cast<size_t>(known);
    const size_t found = search(glyph, box, matrix, s);
    memo_.remember(key, static_cast<uint32_t>(found));
    return found;
}

size_t Matcher::search(const MatrixEntry& glyph, const CharBox& box, const CharMatrix& matrix,
                       const OcrSettings& s) {
    // The candidates merged from their size lists into index order, 64
    // entry numbers at a time, so that the first match can end the search as
    // early as the plain scan would.
    gatherSizeLists(box, s);
    while (!lists_.empty()) {
        const Window window = takeWindow();
        prefetchRows(window);
        if (const uint32_t i = firstMatchIn(window, glyph, box, matrix, s)) return i;
    }
    return 0;
}

}  // namespace orvane
