#include "ocr/segmentation.h"

#include <cstring>
#include <type_traits>

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

template <class Pic, class V>
void segmentOf(Pic& pic, V text, V markA, V markB, const OcrSettings& s, LineTable& table,
               std::vector<uint32_t>& stack_, std::vector<int>& rows);

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
        for (; x + 8 <= cw; x += 8) {
            uint64_t v;
            std::memcpy(&v, n + x, 8);
            v ^= spread;                                      // 0 where equal
            const uint64_t zero = ~(((v & kLow7) + kLow7) | v | kLow7);  // high bit of zero bytes
            const uint64_t ones = zero >> 7;
            std::memcpy(l + x, &ones, 8);
        }
        for (; x < cw; ++x) l[x] = n[x] == t ? kLabelText : 0;
    }
    return CropRect{left, top, right, bottom};
}

void Segmenter::segment(Image24& pic, Colour text, const OcrSettings& s, LineTable& table) {
    segmentOf(pic, text, kMarkColourA, kMarkColourB, s, table, stack_, columnRows_);
}

void Segmenter::segment(Image8& labels, const OcrSettings& s, LineTable& table) {
    segmentOf(labels, kLabelText, kLabelMarkA, kLabelMarkB, s, table, stack_, columnRows_);
}

namespace {

template <class Pic, class V>
void segmentOf(Pic& pic, V text, V markA, V markB, const OcrSettings& s, LineTable& table,
               std::vector<uint32_t>& stack_, std::vector<int>& rows) {
    table.count = 0;
    const int h = pic.height(), w = pic.width();
    int y = 0;
    int n = 0;
    while (y < h) {
        const int top = firstRowWith(pic, y, h - 1, 0, w - 1, text);
        if (top < 0) break;
        int bottom = endOfBlock(pic, top, h - 1, 0, w - 1, text, s.minLineHeight);
        int next = firstRowWith(pic, bottom + 1, h - 1, 0, w - 1, text);
        while (next >= 0 && next - bottom - 1 < s.minInterLine) {
            bottom = endOfBlock(pic, next, h - 1, 0, w - 1, text, s.minLineHeight);
            next = firstRowWith(pic, bottom + 1, h - 1, 0, w - 1, text);
        }
        y = bottom + 1;
        if (bottom - top + 1 > s.maxLineHeight) continue;  // left as text, not counted

        TextLine& line = table.lines[static_cast<size_t>(n)];
        ++n;
        line.top = top;
        line.bottom = bottom;
        // The rows of each column that hold text or a mark. Painting only
        // turns text into a mark or one mark into the other, so these stay
        // as they are while the line is cut, and the column scans below
        // need look at nothing outside them.
        rows.assign(static_cast<size_t>(w) * 2, -1);
        int* const firstRow = rows.data();
        int* const lastRow = rows.data() + w;
        if constexpr (std::is_same_v<Pic, Image8>) {
            // Labels are text, a mark or 0. Most of a band is 0: eight
            // pixels are tested at once.
            for (int row = top; row <= bottom; ++row) {
                const uint8_t* p = pic.row(row);
                for (int col = 0; col < w;) {
                    uint64_t eight = 0;
                    if (col + 8 <= w) std::memcpy(&eight, p + col, 8);
                    if (col + 8 <= w && eight == 0) {
                        col += 8;
                        continue;
                    }
                    const int end = std::min(col + 8, w);
                    for (; col < end; ++col) {
                        if (p[col] == 0) continue;
                        if (firstRow[col] < 0) firstRow[col] = row;
                        lastRow[col] = row;
                    }
                }
            }
        } else {
            for (int row = top; row <= bottom; ++row) {
                for (int col = 0; col < w; ++col) {
                    const V c = pic.pixel(col, row);
                    if (c == text || c == markA || c == markB) {
                        if (firstRow[col] < 0) firstRow[col] = row;
                        lastRow[col] = row;
                    }
                }
            }
        }
        int k = 0;
        int x = 0;
        while (x < w) {
            const V paint = k % 2 == 0 ? markA : markB;
            // The start: the first text pixel, columns left to right, each
            // scanned from the bottom of the line up.
            int start = -1;
            for (int col = x; col < w && start < 0; ++col) {
                for (int row = lastRow[col]; row >= 0 && row >= firstRow[col]; --row) {
                    if (pic.pixel(col, row) == text) {
                        floodFill(pic, col, row, paint, stack_);
                        start = col;
                        break;
                    }
                }
            }
            if (start < 0) break;

            // Extend the character column by column.
            int right = start;
            int nextColumn = -1;
            for (int col = start; col < w; ++col) {
                bool seen = false;
                for (int row = lastRow[col]; row >= 0 && row >= firstRow[col]; --row) {
                    const V c = pic.pixel(col, row);
                    if (c == paint) {
                        seen = true;
                    } else if (c == text) {
                        bool joined = seen;
                        if (!joined && s.checkDetachedChar && col > 0) {
                            joined = (row > top && pic.pixel(col - 1, row - 1) == paint) ||
                                     (row < bottom && pic.pixel(col - 1, row + 1) == paint);
                        }
                        if (joined) {
                            floodFill(pic, col, row, paint, stack_);
                            seen = true;
                        } else if (nextColumn < 0) {
                            nextColumn = col;
                        }
                    }
                }
                if (seen) right = col;
                if (!seen && col - start >= s.minCharWidth) {
                    if (nextColumn < 0) nextColumn = col;
                    break;
                }
            }

            const int charTop = firstRowWith(pic, top, bottom, start, right, paint);
            int charBottom = charTop;
            for (int row = bottom; row >= charTop; --row) {
                if (rowHas(pic, row, start, right, paint)) {
                    charBottom = row;
                    break;
                }
            }
            // No column recorded: the line ends after this piece.
            x = nextColumn < 0 ? w : nextColumn;

            if (right - start + 1 < s.minCharWidth || charBottom - charTop + 1 < s.minCharHeight) {
                continue;  // dropped; its pixels keep the paint of the next character
            }
            if (static_cast<size_t>(k) == TextLine::kMaxChars) break;  // the line holds 500
            ++k;
            CharBox& box = line.chars[static_cast<size_t>(k - 1)];
            box.left = static_cast<uint16_t>(start);
            box.top = static_cast<uint16_t>(charTop);
            box.width = static_cast<uint16_t>(right - start + 1);
            box.height = static_cast<uint16_t>(charBottom - charTop + 1);
            box.relativeTop = static_cast<uint8_t>(charTop - top);
            box.italic = 0;
            if (k > 1) {
                // A detached part lying wholly below the previous character
                // (a cedilla) joins it.
                CharBox& p = line.chars[static_cast<size_t>(k - 2)];
                const uint16_t qRight = static_cast<uint16_t>(box.right());
                const uint16_t pRight = static_cast<uint16_t>(p.right());
                const uint16_t pBottom = static_cast<uint16_t>(p.bottom());
                if (qRight <= pRight && pBottom < box.top) {
                    const V pPaint = (k - 1) % 2 == 1 ? markA : markB;
                    bool done = false;
                    for (int row = box.top; row <= box.bottom() && !done; ++row) {
                        for (int col = box.left; col <= box.right(); ++col) {
                            if (pic.pixel(col, row) == paint) {
                                floodFill(pic, col, row, pPaint, stack_);
                                done = true;
                                break;
                            }
                        }
                    }
                    p.height = static_cast<uint16_t>(box.bottom() - p.top + 1);
                    --k;
                }
            }
        }
        line.count = static_cast<uint16_t>(k);
        setItalicFlags(line, s.detectItaWidth);
        if (n == static_cast<int>(LineTable::kMaxLines)) break;
    }
    table.count = static_cast<uint8_t>(n);
}

}  // namespace

}  // namespace orvane
