#include "ocr/segmentation.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "subpicture/image_ops.h"

namespace orvane {

namespace {

// The segmentation reads a picture only by comparing pixels with the text
// value and the two mark values, so one body serves the 24-bit picture
// (colours) and the OCR's one-byte labels.
template <class Pic, class V>
bool rowHas(const Pic& p, int row, int c0, int c1, V colour) {
    if constexpr (std::is_same_v<Pic, Image8>) {
        if (c1 < c0) return false;
        return std::memchr(p.row(row) + c0, colour, static_cast<size_t>(c1 - c0 + 1)) != nullptr;
    }
    for (int x = c0; x <= c1; ++x) {
        if (p.pixel(x, row) == colour) return true;
    }
    return false;
}

// First row in r0..r1 holding the colour in columns c0..c1, or -1.
template <class Pic, class V>
int firstRowWith(const Pic& p, int r0, int r1, int c0, int c1, V colour) {
    for (int y = r0; y <= r1; ++y) {
        if (rowHas(p, y, c0, c1, colour)) return y;
    }
    return -1;
}

// From row s down to e: the last row with the colour, stopping at the first
// row without it that lies at least `span` rows below s.
template <class Pic, class V>
int endOfBlock(const Pic& p, int s, int e, int c0, int c1, V colour, int span) {
    int last = s;
    for (int y = s; y <= e; ++y) {
        if (rowHas(p, y, c0, c1, colour)) {
            last = y;
        } else if (y - s >= span) {
            break;
        }
    }
    return last;
}

// The box of a piece cut from columns start..right and rows
// charTop..charBottom of the line band from row `top`.
CharBox boxOf(int start, int right, int charTop, int charBottom, int top) {
    CharBox box;
    box.left = static_cast<uint16_t>(start);
    box.top = static_cast<uint16_t>(charTop);
    box.width = static_cast<uint16_t>(right - start + 1);
    box.height = static_cast<uint16_t>(charBottom - charTop + 1);
    box.relativeTop = static_cast<uint8_t>(charTop - top);
    box.italic = 0;
    return box;
}

// Whether box q lies wholly below box p and within its right edge: a
// detached part of p (a cedilla).
bool liesBelow(const CharBox& p, const CharBox& q) {
    const uint16_t qRight = static_cast<uint16_t>(q.right());
    const uint16_t pRight = static_cast<uint16_t>(p.right());
    const uint16_t pBottom = static_cast<uint16_t>(p.bottom());
    return qRight <= pRight && pBottom < q.top;
}

template <class Pic, class V>
void segmentOf(Pic& pic, V text, V markA, V markB, const OcrSettings& s, LineTable& table,
               std::vector<uint32_t>& stack, std::vector<int>& rows, BandCutter* fast);

}  // namespace

std::optional<CropRect> cropToContent(Image24& picture, CropMode mode, Colour colour) {
    const int w = picture.width(), h = picture.height();
    auto content = [&](int x, int y) {
        const Colour c = picture.pixel(x, y);
        return mode == CropMode::Text ? c == colour : c != colour;
    };
    auto rowContent = [&](int y) {
        for (int x = 0; x < w; ++x) {
            if (content(x, y)) return true;
        }
        return false;
    };
    auto colContent = [&](int x, int top, int bottom) {
        for (int y = top; y <= bottom; ++y) {
            if (content(x, y)) return true;
        }
        return false;
    };
    int top = 0;
    while (top < h && !rowContent(top)) ++top;
    if (top == h) return std::nullopt;
    int bottom = h - 1;
    while (!rowContent(bottom)) --bottom;
    // Rows outside top..bottom hold no content, so columns need only
    // be scanned between them.
    int left = 0;
    while (!colContent(left, top, bottom)) ++left;
    int right = w - 1;
    while (!colContent(right, top, bottom)) --right;
    picture.crop(left, top, right - left + 1, bottom - top + 1);
    return CropRect{left, top, right, bottom};
}

void setItalicFlags(TextLine& line, int32_t d) {
    const int k = line.count;
    if (k == 0) return;
    if (k < 2) {
        line.chars[0].italic = 0;
        return;
    }
    for (int c = 1; c <= k - 1; ++c) {
        const CharBox& cur = line.chars[static_cast<size_t>(c - 1)];
        const int prevRight = c == 1 ? -100 : line.chars[static_cast<size_t>(c - 2)].right();
        const int gapBefore = int{cur.left} - prevRight - 1;
        const int gapAfter = int{line.chars[static_cast<size_t>(c)].left} - cur.right() - 1;
        line.chars[static_cast<size_t>(c - 1)].italic = (gapBefore <= d || gapAfter <= d) ? 1 : 0;
    }
    line.chars[static_cast<size_t>(k - 1)].italic = line.chars[static_cast<size_t>(k - 2)].italic;
}

std::optional<CropRect> textLabels(const Image8& numbers, int textNumber, Image8& labels) {
    const int w = numbers.width(), h = numbers.height();
    if (textNumber < 0 || textNumber > 255 || w == 0) return std::nullopt;
    const auto t = static_cast<uint8_t>(textNumber);
    int top = -1, bottom = -1, left = w, right = -1;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = numbers.row(y);
        const void* first = std::memchr(row, t, static_cast<size_t>(w));
        if (!first) continue;
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, static_cast<int>(static_cast<const uint8_t*>(first) - row));
        const void* last = memrchr(row, t, static_cast<size_t>(w));
        right = std::max(right, static_cast<int>(static_cast<const uint8_t*>(last) - row));
    }
    if (top < 0) return std::nullopt;
    const int cw = right - left + 1;
    labels.resize(cw, bottom - top + 1);
    // Eight pixels at a time: a byte equal to the text number becomes
    // kLabelText (1), any other 0.
    static_assert(kLabelText == 1);
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const uint64_t spread = 0x0101010101010101ull * t;
    for (int y = top; y <= bottom; ++y) {
        const uint8_t* n = numbers.row(y) + left;
        uint8_t* l = labels.row(y - top);
        int x = 0;
#if defined(__SSE2__)
        const __m128i number = _mm_set1_epi8(static_cast<char>(t));
        const __m128i one = _mm_set1_epi8(1);
        for (; x + 16 <= cw; x += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(n + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(l + x),
                             _mm_and_si128(_mm_cmpeq_epi8(v, number), one));
        }
#endif
        for (; x + 8 <= cw; x += 8) {
            uint64_t v;
            std::memcpy(&v, n + x, 8);
            v ^= spread;                                                 // 0 where equal
            const uint64_t zero = ~(((v & kLow7) + kLow7) | v | kLow7);  // high bit of zero bytes
            const uint64_t ones = zero >> 7;
            std::memcpy(l + x, &ones, 8);
        }
        for (; x < cw; ++x) l[x] = n[x] == t ? kLabelText : 0;
    }
    return CropRect{left, top, right, bottom};
}

void Segmenter::segment(Image24& pic, Colour text, const OcrSettings& s, LineTable& table) {
    segmentOf(pic, text, kMarkColourA, kMarkColourB, s, table, stack_, columnRows_, nullptr);
}

void Segmenter::segment(Image8& labels, const OcrSettings& s, LineTable& table) {
    segmentOf(labels, kLabelText, kLabelMarkA, kLabelMarkB, s, table, stack_, columnRows_, &bands_);
}

namespace {

// The next line band from row y on: a block of rows holding text, joined
// with the blocks that follow it closer than minInterLine. False when no
// row from y on holds text.
template <class Pic, class V>
bool nextLineBand(const Pic& pic, int y, V text, const OcrSettings& s, int& top, int& bottom) {
    const int h = pic.height(), w = pic.width();
    top = firstRowWith(pic, y, h - 1, 0, w - 1, text);
    if (top < 0) return false;
    bottom = endOfBlock(pic, top, h - 1, 0, w - 1, text, s.minLineHeight);
    int next = firstRowWith(pic, bottom + 1, h - 1, 0, w - 1, text);
    while (next >= 0 && next - bottom - 1 < s.minInterLine) {
        bottom = endOfBlock(pic, next, h - 1, 0, w - 1, text, s.minLineHeight);
        next = firstRowWith(pic, bottom + 1, h - 1, 0, w - 1, text);
    }
    return true;
}

// Cuts one line band into characters pixel by pixel: the path of the
// painted picture, and of label bands too tall for the column masks.
template <class Pic, class V>
class PixelCutter {
  public:
    PixelCutter(Pic& pic, V text, V markA, V markB, const OcrSettings& s,
                std::vector<uint32_t>& stack, std::vector<int>& rows)
        : pic_(pic),
          text_(text),
          markA_(markA),
          markB_(markB),
          s_(s),
          stack_(stack),
          rows_(rows),
          w_(pic.width()) {}

    void cut(int top, int bottom, TextLine& line) {
        top_ = top;
        bottom_ = bottom;
        recordColumnRows();
        int k = 0;
        int x = 0;
        while (x < w_) {
            const V paint = k % 2 == 0 ? markA_ : markB_;
            const int start = startCharacter(x, paint);
            if (start < 0) break;
            int nextColumn = -1;
            const int right = extendCharacter(start, paint, nextColumn);
            const int charTop = firstRowWith(pic_, top_, bottom_, start, right, paint);
            const int charBottom = lastRowWith(start, right, charTop, paint);
            // No column recorded: the line ends after this piece.
            x = nextColumn < 0 ? w_ : nextColumn;
            if (right - start + 1 < s_.minCharWidth || charBottom - charTop + 1 < s_.minCharHeight)
                continue;  // dropped; its pixels keep the paint of the next character
            if (static_cast<size_t>(k) == TextLine::kMaxChars) break;  // the line holds 500
            ++k;
            line.chars[static_cast<size_t>(k - 1)] = boxOf(start, right, charTop, charBottom, top_);
            if (k > 1 && liesBelow(line.chars[static_cast<size_t>(k - 2)],
                                   line.chars[static_cast<size_t>(k - 1)])) {
                joinBelow(line, k, paint);
                --k;
            }
        }
        line.count = static_cast<uint16_t>(k);
    }

  private:
    int firstRow(int col) const { return rows_[static_cast<size_t>(col)]; }
    int lastRow(int col) const { return rows_[static_cast<size_t>(w_ + col)]; }

    // The rows of each column that hold text or a mark. Painting only
    // turns text into a mark or one mark into the other, so these stay as
    // they are while the line is cut, and the column scans need look at
    // nothing outside them.
    void recordColumnRows() {
        rows_.assign(static_cast<size_t>(w_) * 2, -1);
        int* const first = rows_.data();
        int* const last = rows_.data() + w_;
        for (int row = top_; row <= bottom_; ++row) {
            if constexpr (std::is_same_v<Pic, Image8>) {
                // Labels are text, a mark or 0. Most of a band is 0: eight
                // pixels are tested at once.
                const uint8_t* p = pic_.row(row);
                for (int col = 0; col < w_;) {
                    uint64_t eight = 0;
                    if (col + 8 <= w_) std::memcpy(&eight, p + col, 8);
                    if (col + 8 <= w_ && eight == 0) {
                        col += 8;
                        continue;
                    }
                    for (const int end = std::min(col + 8, w_); col < end; ++col) {
                        if (p[col] == 0) continue;
                        if (first[col] < 0) first[col] = row;
                        last[col] = row;
                    }
                }
            } else {
                for (int col = 0; col < w_; ++col) {
                    const V c = pic_.pixel(col, row);
                    if (c == text_ || c == markA_ || c == markB_) {
                        if (first[col] < 0) first[col] = row;
                        last[col] = row;
                    }
                }
            }
        }
    }

    // The first text pixel from column x on, columns left to right, each
    // scanned from the bottom of the line up, painted with its region; its
    // column, or -1.
    int startCharacter(int x, V paint) {
        for (int col = x; col < w_; ++col) {
            for (int row = lastRow(col); row >= 0 && row >= firstRow(col); --row) {
                if (pic_.pixel(col, row) == text_) {
                    floodFill(pic_, col, row, paint, stack_);
                    return col;
                }
            }
        }
        return -1;
    }

    // Extends the character from `start` column by column; its last column.
    // `nextColumn` gets the first column holding text that did not join.
    int extendCharacter(int start, V paint, int& nextColumn) {
        int right = start;
        for (int col = start; col < w_; ++col) {
            bool seen = false;
            for (int row = lastRow(col); row >= 0 && row >= firstRow(col); --row) {
                const V c = pic_.pixel(col, row);
                if (c == paint) {
                    seen = true;
                } else if (c == text_) {
                    if (seen || touchesDiagonally(col, row, paint)) {
                        floodFill(pic_, col, row, paint, stack_);
                        seen = true;
                    } else if (nextColumn < 0) {
                        nextColumn = col;
                    }
                }
            }
            if (seen) right = col;
            if (!seen && col - start >= s_.minCharWidth) {
                if (nextColumn < 0) nextColumn = col;
                break;
            }
        }
        return right;
    }

    bool touchesDiagonally(int col, int row, V paint) const {
        if (!s_.checkDetachedChar || col == 0) return false;
        return (row > top_ && pic_.pixel(col - 1, row - 1) == paint) ||
               (row < bottom_ && pic_.pixel(col - 1, row + 1) == paint);
    }

    // The last row from the line's bottom up to charTop holding the paint
    // in columns start..right; charTop when none below it does.
    int lastRowWith(int start, int right, int charTop, V paint) const {
        for (int row = bottom_; row >= charTop; --row) {
            if (rowHas(pic_, row, start, right, paint)) return row;
        }
        return charTop;
    }

    // Character k, a detached part wholly below character k - 1, joins it:
    // its first paint pixel in reading order takes the previous paint with
    // its region.
    void joinBelow(TextLine& line, int k, V paint) {
        CharBox& p = line.chars[static_cast<size_t>(k - 2)];
        const CharBox& box = line.chars[static_cast<size_t>(k - 1)];
        const V pPaint = (k - 1) % 2 == 1 ? markA_ : markB_;
        bool done = false;
        for (int row = box.top; row <= box.bottom() && !done; ++row) {
            for (int col = box.left; col <= box.right(); ++col) {
                if (pic_.pixel(col, row) == paint) {
                    floodFill(pic_, col, row, pPaint, stack_);
                    done = true;
                    break;
                }
            }
        }
        p.height = static_cast<uint16_t>(box.bottom() - p.top + 1);
    }

    Pic& pic_;
    const V text_, markA_, markB_;
    const OcrSettings& s_;
    std::vector<uint32_t>& stack_;
    std::vector<int>& rows_;  // first rows of the columns, then last rows
    const int w_;
    int top_ = 0;
    int bottom_ = 0;
};

template <class Pic, class V>
void segmentOf(Pic& pic, V text, V markA, V markB, const OcrSettings& s, LineTable& table,
               std::vector<uint32_t>& stack, std::vector<int>& rows, BandCutter* fast) {
    table.count = 0;
    PixelCutter<Pic, V> pixels(pic, text, markA, markB, s, stack, rows);
    int y = 0;
    int n = 0;
    int top = 0, bottom = 0;
    while (y < pic.height() && nextLineBand(pic, y, text, s, top, bottom)) {
        y = bottom + 1;
        if (bottom - top + 1 > s.maxLineHeight) continue;  // left as text, not counted
        TextLine& line = table.lines[static_cast<size_t>(n)];
        ++n;
        line.top = top;
        line.bottom = bottom;
        bool cut = false;
        if constexpr (std::is_same_v<Pic, Image8>) {
            if (fast && bottom - top + 1 <= BandCutter::kMaxRows) {
                fast->cut(pic, top, bottom, s, line);
                cut = true;
            }
        }
        if (!cut) pixels.cut(top, bottom, line);
        setItalicFlags(line, s.detectItaWidth);
        if (n == static_cast<int>(LineTable::kMaxLines)) break;
    }
    table.count = static_cast<uint8_t>(n);
}

}  // namespace

namespace {

int highestBit(uint64_t m) {
    return 63 - std::countl_zero(m);
}

// The runs of set bits of `m` that hold a bit of `seeds` (a subset of m).
// Upwards from the lowest seed of a run by one carry; downwards by
// doubling shifts.
uint64_t runsHolding(uint64_t m, uint64_t seeds) {
    const uint64_t up = (((m + seeds) ^ m) & m) | seeds;
    uint64_t g = seeds, p = m;
    g |= p & (g >> 1);
    p &= p >> 1;
    g |= p & (g >> 2);
    p &= p >> 2;
    g |= p & (g >> 4);
    p &= p >> 4;
    g |= p & (g >> 8);
    p &= p >> 8;
    g |= p & (g >> 16);
    p &= p >> 16;
    g |= p & (g >> 32);
    return up | g;
}

#if defined(__SSE2__)
// Byte j gathers column c0 + j's rows row0 .. row0 + n - 1 (n <= 8) as its
// bits 0 .. n - 1: from the last row up, the bytes double and take the next
// row's 0 or 1.
__m128i rowsAsBits(const Image8& labels, int row0, int n, int c0) {
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi8(1);
    __m128i acc = zero;
    for (int i = n - 1; i >= 0; --i) {
        const __m128i v =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(labels.row(row0 + i) + c0));
        acc = _mm_or_si128(_mm_add_epi8(acc, acc), _mm_andnot_si128(_mm_cmpeq_epi8(v, zero), one));
    }
    return acc;
}

// The masks of the 16 columns from c0 of rows top .. top + rows - 1
// (at most 64): the eight groups of eight rows as bytes, then transposed
// so that column j takes byte k from group k (x86 is little-endian).
void loadColumnBlock(const Image8& labels, int top, int rows, int c0, uint64_t* columns) {
    __m128i g[8];
    for (int k = 0; k < 8; ++k)
        g[k] = 8 * k < rows ? rowsAsBits(labels, top + 8 * k, std::min(8, rows - 8 * k), c0)
                            : _mm_setzero_si128();
    // Bytes, then pairs, then quads of groups are interleaved.
    __m128i s[8], q[8];
    for (int k = 0; k < 4; ++k) {
        s[2 * k] = _mm_unpacklo_epi8(g[2 * k], g[2 * k + 1]);
        s[2 * k + 1] = _mm_unpackhi_epi8(g[2 * k], g[2 * k + 1]);
    }
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < 2; ++k) {
            q[4 * h + 2 * k] = _mm_unpacklo_epi16(s[4 * h + k], s[4 * h + k + 2]);
            q[4 * h + 2 * k + 1] = _mm_unpackhi_epi16(s[4 * h + k], s[4 * h + k + 2]);
        }
    }
    // q[m]: groups 0-3 of columns 4m .. 4m + 3; q[4 + m]: groups 4-7.
    for (int m = 0; m < 4; ++m) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(columns + 4 * m),
                         _mm_unpacklo_epi32(q[m], q[4 + m]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(columns + 4 * m + 2),
                         _mm_unpackhi_epi32(q[m], q[4 + m]));
    }
}
#else
// Adds rows row0 .. row0 + n - 1 (n <= 8) of the 16 columns from c0 to
// the column masks, as their bits r0 .. r0 + n - 1. Each row's 16 bytes
// become 16 bits (each byte's bits folded into its low bit, then
// gathered), and the 8 x 8 blocks are transposed: bit j of byte i becomes
// bit i of byte j.
void addRowsToColumns(const Image8& labels, int row0, int n, int c0, int r0, uint64_t* columns) {
    auto transpose8x8 = [](uint64_t x) {
        uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
        x = x ^ t ^ (t << 7);
        t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
        x = x ^ t ^ (t << 14);
        t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
        return x ^ t ^ (t << 28);
    };
    uint64_t low = 0, high = 0;
    for (int i = 0; i < n; ++i) {
        unsigned bits = 0;
        for (int half = 0; half < 2; ++half) {
            uint64_t v;
            std::memcpy(&v, labels.row(row0 + i) + c0 + 8 * half, 8);
            if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
            v |= v >> 4;
            v |= v >> 2;
            v |= v >> 1;
            v &= 0x0101010101010101ull;
            bits |= static_cast<unsigned>((v * 0x0102040810204080ull) >> 56) << (8 * half);
        }
        low |= uint64_t{bits & 0xFF} << (8 * i);
        high |= uint64_t{bits >> 8} << (8 * i);
    }
    if ((low | high) == 0) return;
    low = transpose8x8(low);
    high = transpose8x8(high);
    for (int j = 0; j < 8; ++j) {
        columns[j] |= ((low >> (8 * j)) & 0xFF) << r0;
        columns[8 + j] |= ((high >> (8 * j)) & 0xFF) << r0;
    }
}

// The masks of the 16 columns from c0 of rows top .. top + rows - 1.
void loadColumnBlock(const Image8& labels, int top, int rows, int c0, uint64_t* columns) {
    std::fill_n(columns, 16, uint64_t{0});
    for (int r0 = 0; r0 < rows; r0 += 8)
        addRowsToColumns(labels, top + r0, std::min(8, rows - r0), c0, r0, columns);
}
#endif

#if defined(__SSE2__)
// Interleaves the bytes of a and b: a takes those of their low halves, b
// those of their high halves.
inline void interleaveBytes(__m128i& a, __m128i& b) {
    const __m128i low = _mm_unpacklo_epi8(a, b);
    b = _mm_unpackhi_epi8(a, b);
    a = low;
}

// Transposes 16 column masks, vector m holding columns 2m and 2m + 1, so
// that vector k0 k2 k1 (the bits of k from high to low) holds byte k of
// every column. Each round of interleaving moves the pair's bit of the
// vector number into the byte's place and the byte place's highest bit
// out: the column's four bits come in, the byte number's three go out.
inline void transposeColumns(__m128i (&v)[8]) {
    // Written out: the rounds are pairs 4 apart, 2 apart, 1 apart, 4 apart.
    interleaveBytes(v[0], v[4]), interleaveBytes(v[1], v[5]);
    interleaveBytes(v[2], v[6]), interleaveBytes(v[3], v[7]);
    interleaveBytes(v[0], v[2]), interleaveBytes(v[1], v[3]);
    interleaveBytes(v[4], v[6]), interleaveBytes(v[5], v[7]);
    interleaveBytes(v[0], v[1]), interleaveBytes(v[2], v[3]);
    interleaveBytes(v[4], v[5]), interleaveBytes(v[6], v[7]);
    interleaveBytes(v[0], v[4]), interleaveBytes(v[1], v[5]);
    interleaveBytes(v[2], v[6]), interleaveBytes(v[3], v[7]);
}

// The labels of the 16 columns of the planes from `text`, `markA` and
// `markB`, rows 0 .. rows - 1 written from `out` on, `stride` apart: text
// 1, mark A 2, mark B 3, as their low bits (text or B) and high bits
// (A or B).
void storeLabelBlock(const uint64_t* text, const uint64_t* markA, const uint64_t* markB, int rows,
                     uint8_t* out, size_t stride) {
    __m128i lo[8], hi[8];
    for (int m = 0; m < 8; ++m) {
        auto load = [m](const uint64_t* p) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * m));
        };
        lo[m] = _mm_or_si128(load(text), load(markB));
        hi[m] = _mm_or_si128(load(markA), load(markB));
    }
    transposeColumns(lo);
    transposeColumns(hi);
    const __m128i one = _mm_set1_epi8(1);
    for (int k = 0; 8 * k < rows; ++k) {
        const int v = (k & 1) << 2 | (k & 4) >> 1 | (k & 2) >> 1;
        __m128i a = lo[v], b = hi[v];
        uint8_t* row = out + static_cast<size_t>(8 * k) * stride;
        for (int i = std::min(8, rows - 8 * k); i > 0; --i, row += stride) {
            const __m128i bit1 = _mm_and_si128(b, one);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row),
                             _mm_or_si128(_mm_and_si128(a, one), _mm_add_epi8(bit1, bit1)));
            a = _mm_srli_epi16(a, 1);  // bits from the upper byte never reach bit 0
            b = _mm_srli_epi16(b, 1);
        }
    }
}
#endif

}  // namespace

void BandCutter::flood(int col, int bit, uint8_t from, uint8_t to) {
    uint64_t* const src = plane(from);
    uint64_t* const dst = plane(to);
    stack_.clear();
    stack_.push_back({col, uint64_t{1} << bit});
    while (!stack_.empty()) {
        auto [c, bits] = stack_.back();
        stack_.pop_back();
        // The column on the right is taken at once, the one on the left
        // waits on the stack: the order of pushing both, right last.
        for (uint64_t seeds = bits & src[c]; seeds != 0; seeds = bits & src[++c]) {
            const uint64_t region = runsHolding(src[c], seeds);
            src[c] &= ~region;
            dst[c] |= region;
            if (c > 0 && (region & src[c - 1]) != 0) stack_.push_back({c - 1, region});
            if (c + 1 == width_) break;
            bits = region;
        }
    }
}

void BandCutter::loadColumns(const Image8& labels, int top, int bottom) {
    const int w = width_;
    if (planes_.size() < static_cast<size_t>(w) * 3) planes_.resize(static_cast<size_t>(w) * 3);
    uint64_t* const text = plane(kLabelText);
    // The text columns are all written below; the marks start empty.
    std::memset(plane(kLabelMarkA), 0, sizeof(uint64_t) * 2 * static_cast<size_t>(w));
    // The band's labels are text (1) or 0: the lines above were cut in
    // their own bands, apart from this one by an empty row. They are read
    // in blocks of 8 rows x 16 columns.
    const int rows = bottom - top + 1;
    int c0 = 0;
    for (; c0 + 16 <= w; c0 += 16) loadColumnBlock(labels, top, rows, c0, text + c0);
    if (c0 < w && w >= 16) {
        // The last columns as the tail of the block ending at the right edge.
        uint64_t last[16];
        loadColumnBlock(labels, top, rows, w - 16, last);
        std::memcpy(text + c0, last + 16 - (w - c0),
                    sizeof(uint64_t) * static_cast<size_t>(w - c0));
        c0 = w;
    }
    for (; c0 < w; ++c0) {
        text[c0] = 0;
        for (int row = top; row <= bottom; ++row)
            if (labels.row(row)[c0] != 0) text[c0] |= uint64_t{1} << (row - top);
    }
}

void BandCutter::storeLabels() {
    const uint64_t* const markA = plane(kLabelMarkA);
    const uint64_t* const markB = plane(kLabelMarkB);
    uint8_t* const band = labels_->row(top_);
    const auto stride = static_cast<size_t>(width_);
#if defined(__SSE2__)
    // Whole rows of 16 columns: text 1, mark A 2, mark B 3 as two bits; the
    // last columns as the tail of the block ending at the right edge.
    if (width_ >= 16) {
        for (int c = 0; c < width_; c += 16) {
            const int from = std::min(c, width_ - 16);
            storeLabelBlock(plane(kLabelText) + from, markA + from, markB + from, rows_,
                            band + from, stride);
        }
        return;
    }
#endif
    // Pixel by pixel: the band's text pixels hold 1 and the rest 0 until
    // the marks are written.
    for (int c = 0; c < width_; ++c) {
        for (uint64_t r = markA[c] | markB[c]; r != 0; r &= r - 1) {
            const int bit = std::countr_zero(r);
            band[static_cast<size_t>(bit) * stride + static_cast<size_t>(c)] =
                (markA[c] >> bit) & 1 ? kLabelMarkA : kLabelMarkB;
        }
    }
}

int BandCutter::startCharacter(int x, uint8_t paintLabel) {
    // Columns left to right, each scanned from the bottom of the band up
    // (the highest bit).
    const uint64_t* const text = plane(kLabelText);
    for (int col = x; col < width_; ++col) {
        if (text[col] != 0) {
            flood(col, highestBit(text[col]), kLabelText, paintLabel);
            return col;
        }
    }
    return -1;
}

int BandCutter::extendCharacter(int start, uint8_t paintLabel, const OcrSettings& s,
                                int& nextColumn) {
    const uint64_t* const text = plane(kLabelText);
    const uint64_t* const paint = plane(paintLabel);
    // Going up a column, the first paint pixel, or the first text pixel
    // touching the paint diagonally on the left, makes every text pixel
    // above it join; text below it does not join and marks the next column.
    int right = start;
    for (int col = start; col < width_; ++col) {
        const uint64_t t = text[col];
        uint64_t diagonal = 0;
        if (s.checkDetachedChar && col > 0)
            diagonal = (paint[col - 1] << 1) | (paint[col - 1] >> 1);
        const uint64_t events = paint[col] | (t & diagonal);
        bool seen = false;
        if (events != 0) {
            int e = highestBit(events);
            if (nextColumn < 0 && e < 63 && (t >> (e + 1)) != 0) nextColumn = col;
            if ((t >> e) & 1) flood(col, e, kLabelText, paintLabel);
            seen = true;
            for (uint64_t above = text[col] & ((uint64_t{1} << e) - 1); above != 0;
                 above = text[col] & ((uint64_t{1} << e) - 1)) {
                e = highestBit(above);
                flood(col, e, kLabelText, paintLabel);
            }
        } else if (t != 0 && nextColumn < 0) {
            nextColumn = col;
        }
        if (seen) right = col;
        if (!seen && col - start >= s.minCharWidth) {
            if (nextColumn < 0) nextColumn = col;
            break;
        }
    }
    return right;
}

void BandCutter::joinBelow(TextLine& line, int k, uint8_t paintLabel) {
    // Its first paint pixel in reading order takes the previous
    // character's paint with its region.
    CharBox& p = line.chars[static_cast<size_t>(k - 2)];
    const CharBox& box = line.chars[static_cast<size_t>(k - 1)];
    const uint64_t* const paint = plane(paintLabel);
    const uint8_t pPaint = (k - 1) % 2 == 1 ? kLabelMarkA : kLabelMarkB;
    const int b0 = box.top - top_, b1 = box.bottom() - top_;
    const uint64_t rowsOfBox =
        (b1 == 63 ? ~uint64_t{0} : (uint64_t{1} << (b1 + 1)) - 1) & ~((uint64_t{1} << b0) - 1);
    int firstBit = 64, firstCol = -1;
    for (int col = box.left; col <= box.right(); ++col) {
        const uint64_t m = paint[col] & rowsOfBox;
        if (m != 0 && std::countr_zero(m) < firstBit) {
            firstBit = std::countr_zero(m);
            firstCol = col;
        }
    }
    if (firstCol >= 0) flood(firstCol, firstBit, paintLabel, pPaint);
    p.height = static_cast<uint16_t>(box.bottom() - p.top + 1);
}

void BandCutter::cut(Image8& labels, int top, int bottom, const OcrSettings& s, TextLine& line) {
    labels_ = &labels;
    top_ = top;
    rows_ = bottom - top + 1;
    width_ = labels.width();
    loadColumns(labels, top, bottom);
    int k = 0;
    int x = 0;
    while (x < width_) {
        const uint8_t paintLabel = k % 2 == 0 ? kLabelMarkA : kLabelMarkB;
        const int start = startCharacter(x, paintLabel);
        if (start < 0) break;
        int nextColumn = -1;
        const int right = extendCharacter(start, paintLabel, s, nextColumn);
        const uint64_t* const paint = plane(paintLabel);
        uint64_t painted = 0;
        for (int col = start; col <= right; ++col) painted |= paint[col];
        const int charTop = top + std::countr_zero(painted);
        const int charBottom = top + highestBit(painted);
        // No column recorded: the line ends after this piece.
        x = nextColumn < 0 ? width_ : nextColumn;
        if (right - start + 1 < s.minCharWidth || charBottom - charTop + 1 < s.minCharHeight)
            continue;  // dropped; its pixels keep the paint of the next character
        if (static_cast<size_t>(k) == TextLine::kMaxChars) break;  // the line holds 500
        ++k;
        line.chars[static_cast<size_t>(k - 1)] = boxOf(start, right, charTop, charBottom, top);
        if (k > 1 && liesBelow(line.chars[static_cast<size_t>(k - 2)],
                               line.chars[static_cast<size_t>(k - 1)])) {
            joinBelow(line, k, paintLabel);
            --k;
        }
    }
    line.count = static_cast<uint16_t>(k);
    storeLabels();
}

}  // namespace orvane
