#include "subpicture/spu_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "common/byte_cursor.h"
#include "subpicture/spu_format.h"

namespace orvane {

namespace {

// The bits the short-code table looks at in one step.
constexpr unsigned kLookupBits = 12;

// Reads the run-length codes of one field from `pos` up to but excluding
// `end`. A 64-bit window keeps the next bits, high bits first, so that a
// code is classified by its leading zero pairs in one step; it is refilled
// eight bytes at a time.
class RunReader {
  public:
    RunReader(const uint8_t* data, size_t pos, size_t end) : data_(data), pos_(pos), end_(end) {}

    // One code: a run of 0 means "to the end of the row". False when the
    // data ends before the code does.
    bool next(unsigned& run, unsigned& colour) {
        if (bits_ < 16) refill();
        if (bits_ < 4) return false;
        const auto v = static_cast<uint32_t>(window_ >> 48);  // the next 16 bits, zero-padded
        // Leading zero pairs give the code's size without a branch:
        // n n c c (4 bits), 0 0 n n n n c c (8), 0 0 0 0 n n n n n n c c
        // (12), 0 0 0 0 0 0 n n n n n n n n c c (16; all-zero n: to the end).
        const unsigned k = std::min((static_cast<unsigned>(std::countl_zero(v)) - 16) >> 1, 3u);
        const unsigned len = 4 * (k + 1);
        run = (v >> (18 - len)) & ((1u << (2 * (k + 1))) - 1);
        if (bits_ < len) return false;
        colour = (v >> (16 - len)) & 3u;
        window_ <<= len;
        bits_ -= len;
        return true;
    }

    // The next twelve bits, zero-padded, and how many bits are really there.
    unsigned peek12() const { return static_cast<unsigned>(window_ >> (64 - kLookupBits)); }
    unsigned bitsLeft() {
        // Topped up for four table look-ups, whole bytes at a time.
        if (bits_ < 4 * kLookupBits) refill();
        return bits_;
    }
    void skip(unsigned n) {
        window_ <<= n;
        bits_ -= n;
    }

    // Rows start on byte boundaries: drop the bits left of the current byte.
    void alignToByte() {
        const unsigned drop = bits_ % 8;
        window_ <<= drop;
        bits_ -= drop;
    }

  private:
    void refill() {
        if (pos_ + 8 <= end_) {
            // Eight bytes at once; the window takes as many whole bytes as
            // fit. Bits past the count are the next byte's own bits, which
            // the next refill ORs in again at the same place.
            uint64_t v;
            std::memcpy(&v, data_ + pos_, 8);
            if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
            window_ |= v >> bits_;
            pos_ += (63 - bits_) >> 3;
            bits_ |= 56;
            return;
        }
        while (bits_ <= 56 && pos_ < end_) {
            window_ |= uint64_t{data_[pos_++]} << (56 - bits_);
            bits_ += 8;
        }
    }

    const uint8_t* data_;
    size_t pos_;
    size_t end_;
    uint64_t window_ = 0;
    unsigned bits_ = 0;
};

// What the next twelve bits of a field draw when they start with short
// codes: as many whole 4-bit (n n c c) and 8-bit (0 0 n n n n c c) codes as
// the twelve bits hold, while their runs add up to at most 15 pixels. The
// 16 pixel bytes start with the runs; the rest repeats the last colour and
// is overwritten by the runs that follow. No pixels mark bits that start a
// 12- or 16-bit code.
struct ShortCodes {
    std::array<std::array<uint8_t, 16>, 1u << kLookupBits> bytes{};
    // Pixels drawn and bits used: apart, so that the bits, which the next
    // look-up waits for, are one load away.
    std::array<uint8_t, 1u << kLookupBits> pixels{};
    std::array<uint8_t, 1u << kLookupBits> bits{};
};

constexpr ShortCodes makeShortCodes() {
    ShortCodes t;
    for (unsigned v = 0; v < (1u << kLookupBits); ++v) {
        unsigned used = 0, pixels = 0;
        while (true) {
            const unsigned left = kLookupBits - used;
            if (left < 4) break;
            const unsigned lead = (v >> (left - 2)) & 3;
            unsigned run = 0, colour = 0, len = 0;
            if (lead != 0) {
                len = 4;
                run = lead;
                colour = (v >> (left - 4)) & 3;
            } else {
                if (left < 8) break;
                run = (v >> (left - 6)) & 15;
                if (run < 4) break;  // a 12- or 16-bit code
                len = 8;
                colour = (v >> (left - 8)) & 3;
            }
            if (pixels + run > 15) break;
            for (unsigned i = pixels; i < 16; ++i) t.bytes[v][i] = static_cast<uint8_t>(colour);
            pixels += run;
            used += len;
        }
        t.pixels[v] = static_cast<uint8_t>(pixels);
        t.bits[v] = static_cast<uint8_t>(used);
    }
    return t;
}

// A constant: built at start-up it would cost every run of the program its
// pages (72 KiB, a fault each on first touch). Clang's evaluation step limit
// is too low for the 4096 x 16 fills; there it is built at start-up.
#ifdef __clang__
const ShortCodes kShortCodes = makeShortCodes();
#else
constexpr ShortCodes kShortCodes = makeShortCodes();
#endif

// Short runs, the most of a line of text, are written as 16 bytes when
// the row has room: the bytes past the run are rewritten by the runs that
// follow in the row (runs of colour 0 write too), and cleared when the data
// ends inside the row.
constexpr int kBlock = 16;

// Draws the whole short codes among the next twelve bits from one table
// look-up, up to four times, while the row has 16 bytes of room from `x`
// (to `lastBlock`), so that the row cannot end inside them. False when the
// next code is not drawn so: a long code, no room, or the data ending.
[[gnu::always_inline]] inline bool drawShortCodes(RunReader& reader, uint8_t* row, int& x,
                                                  int lastBlock) {
    const unsigned avail = reader.bitsLeft();
    if (avail < 4 * kLookupBits) {
        const unsigned v = reader.peek12();
        const unsigned pixels = kShortCodes.pixels[v], bits = kShortCodes.bits[v];
        if (pixels == 0 || x > lastBlock || bits > avail) return false;
        std::memcpy(row + x, kShortCodes.bytes[v].data(), kBlock);
        x += static_cast<int>(pixels);
        reader.skip(bits);
        return true;
    }
    // Four look-ups fit in the window without a refill or a count check.
    for (int k = 0; k < 4; ++k) {
        const unsigned v = reader.peek12();
        const unsigned pixels = kShortCodes.pixels[v];
        if (pixels == 0 || x > lastBlock) return false;
        std::memcpy(row + x, kShortCodes.bytes[v].data(), kBlock);
        x += static_cast<int>(pixels);
        reader.skip(kShortCodes.bits[v]);
    }
    return true;
}

// Draws one run of `colour` at `x`, clipped to the row; a run of 0 reaches
// to the end of the row.
void drawRun(uint8_t* row, int& x, int width, unsigned run, unsigned colour) {
    unsigned r = run == 0 ? static_cast<unsigned>(width - x) : run;
    if (x + static_cast<int>(r) > width) r = static_cast<unsigned>(width - x);
    if (r <= kBlock && x + kBlock <= width) {
        const uint64_t bytes = 0x0101010101010101ull * colour;
        std::memcpy(row + x, &bytes, 8);
        std::memcpy(row + x + 8, &bytes, 8);
    } else {
        std::memset(row + x, static_cast<int>(colour), r);
    }
    x += static_cast<int>(r);
}

// Clears the rows of a field from (x, y) on: the data ended there.
void clearFieldFrom(Image8& numbers, int x, int y, int width, int height) {
    if (y > height) return;
    std::memset(numbers.row(y) + x, 0, static_cast<size_t>(width - x));
    for (y += 2; y < height; y += 2) std::memset(numbers.row(y), 0, static_cast<size_t>(width));
}

// One field's runs drawn as colour numbers, one byte per pixel: a run is a
// memset of its colour number. Every row of the field is written, those
// the data does not reach as background, so the picture needs no clearing
// before. Drawn a step at a time, so that the two fields, each a chain of
// look-ups that wait on one another, can be drawn side by side.
class FieldDrawer {
  public:
    FieldDrawer(std::span<const uint8_t> unit, size_t start, size_t endInclusive, int firstRow,
                int width, int height, Image8& numbers)
        : reader_(unit.data(), std::min(start, unit.size()),
                  std::min(endInclusive + 1, unit.size())),
          numbers_(numbers),
          width_(width),
          height_(height),
          lastBlock_(width - kBlock),
          y_(firstRow),
          row_(numbers.row(firstRow)),
          done_(start >= unit.size()) {}

    bool done() const { return done_; }

    // The short codes of one look-up batch, or one run.
    [[gnu::always_inline]] void step() {
        if (drawShortCodes(reader_, row_, x_, lastBlock_)) return;
        unsigned run, colour;
        if (!reader_.next(run, colour)) {
            done_ = true;
            return;
        }
        drawRun(row_, x_, width_, run, colour);
        if (x_ < width_) return;
        reader_.alignToByte();
        x_ = 0;
        y_ += 2;
        // Row `height` is the spare row; anything below it is discarded.
        if (y_ <= height_)
            row_ = numbers_.row(y_);
        else
            done_ = true;
    }

    // The rest of the field, where the data ends early, is background; the
    // rows drawn up to here hold every one of their pixels.
    void finish() { clearFieldFrom(numbers_, x_, y_, width_, height_); }

  private:
    RunReader reader_;
    Image8& numbers_;
    const int width_, height_, lastBlock_;
    int x_ = 0;
    int y_;
    uint8_t* row_;
    bool done_;
};

// Both fields, a step of each in turn: they write rows of their own.
void decodeFields(std::span<const uint8_t> unit, const ControlSequence& first, size_t bottomEnd,
                  int width, int height, Image8& numbers) {
    FieldDrawer top(unit, first.topFieldOffset, first.bottomFieldOffset, 0, width, height, numbers);
    FieldDrawer bottom(unit, first.bottomFieldOffset, bottomEnd, 1, width, height, numbers);
    while (!top.done() && !bottom.done()) {
        top.step();
        bottom.step();
    }
    while (!top.done()) top.step();
    while (!bottom.done()) bottom.step();
    top.finish();
    bottom.finish();
}

}  // namespace

namespace {

// Reads the commands of one sequence from `c` into `seq` up to its end
// command or `commandLimit`; a command cut short by the data ends it.
void readCommands(ByteCursor& c, size_t commandLimit, ControlSequence& seq) {
    bool ended = false;
    while (!ended && c.position() < commandLimit) {
        const uint8_t cmd = *c.readU8();
        switch (cmd) {
            case spu::kCmdForcedStart:
            case spu::kCmdStart:
                seq.kind = SequenceKind::Start;
                seq.forced = cmd == spu::kCmdForcedStart;
                break;
            case spu::kCmdStop:
                seq.kind = SequenceKind::Stop;
                break;
            case spu::kCmdPalette:
                if (auto v = c.readU16be())
                    seq.palette = *v;
                else
                    ended = true;
                break;
            case spu::kCmdContrast:
                if (auto v = c.readU16be())
                    seq.contrast = *v;
                else
                    ended = true;
                break;
            case spu::kCmdArea:
                if (auto b = c.readBytes(6)) {
                    const auto& a = *b;
                    seq.area.x1 = a[0] * 16 + (a[1] >> 4);
                    seq.area.x2 = (a[1] & 0x0F) * 256 + a[2];
                    seq.area.y1 = a[3] * 16 + (a[4] >> 4);
                    seq.area.y2 = (a[4] & 0x0F) * 256 + a[5];
                } else {
                    ended = true;
                }
                break;
            case spu::kCmdFieldOffsets: {
                auto top = c.readU16be();
                auto bottom = c.readU16be();
                if (top && bottom) {
                    seq.topFieldOffset = *top;
                    seq.bottomFieldOffset = *bottom;
                } else {
                    ended = true;
                }
                break;
            }
            case spu::kCmdExtended: {
                // The length counts its own two bytes; a shorter one
                // still moves past them.
                auto n = c.readU16be();
                if (!n || !c.skip(std::max<size_t>(*n, 2) - 2)) ended = true;
                break;
            }
            case spu::kCmdEnd:
                ended = true;
                break;
            default:
                break;  // unknown command: one byte consumed
        }
    }
}

// The picture's size from the first sequence's area, at least 1 x 1 and
// at most the screen.
void setPictureSize(SubPicture& out) {
    const ControlSequence first = out.sequences.empty() ? ControlSequence{} : out.sequences.front();
    out.area = first.area;
    uint16_t w = static_cast<uint16_t>(first.area.x2 - first.area.x1 + 1);
    uint16_t h = static_cast<uint16_t>(first.area.y2 - first.area.y1 + 1);
    if (w == 0) w = 1;
    if (w > spu::kScreenWidth) w = spu::kScreenWidth;
    if (h == 0) h = 1;
    if (h > spu::kScreenHeight) h = spu::kScreenHeight;
    out.width = w;
    out.height = h;
}

}  // namespace

void parseSubPictureControl(std::span<const uint8_t> unit, SubPicture& out) {
    out.numbersDecoded = false;
    out.bitmapPainted = false;
    out.sequences.clear();
    out.chainTruncated = false;
    ByteCursor head(unit);
    const uint16_t unitSize = head.readU16be().value_or(0);
    const uint16_t firstControl = head.readU16be().value_or(0);
    const size_t commandLimit = std::min<size_t>(unitSize, unit.size());

    ControlSequence carried;  // palette, area and field offsets carry over
    uint32_t offset = firstControl;
    while (true) {
        ByteCursor c(unit);
        if (!c.seek(offset)) break;
        auto delay = c.readU16be();
        auto next = c.readU16be();
        if (!delay || !next) break;
        if (out.sequences.size() == spu::kMaxSequences) {
            // The table is full: the rest of the chain is not parsed.
            out.chainTruncated = true;
            break;
        }
        ControlSequence seq = carried;
        seq.offset = static_cast<uint16_t>(offset);
        seq.delay = spu::delayToMs(*delay);
        seq.next = *next;
        seq.kind = SequenceKind::Start;
        seq.forced = false;
        seq.contrast = spu::kDefaultContrast;
        readCommands(c, commandLimit, seq);
        out.sequences.push_back(seq);
        carried = seq;
        if (*next <= offset) break;  // the last sequence points at itself or back
        offset = *next;
    }
    setPictureSize(out);
}

void decodeSubPictureArea(std::span<const uint8_t> unit, SubPicture& out) {
    parseSubPictureControl(unit, out);
    const ControlSequence first = out.sequences.empty() ? ControlSequence{} : out.sequences.front();
    ByteCursor head(unit);
    head.readU16be();  // the unit size
    // The bottom field ends where the control sequences begin.
    const uint16_t firstControl = head.readU16be().value_or(0);
    const int w = out.width, h = out.height;
    // One spare row below the picture takes the runs of each field's last
    // byte; it is dropped afterwards.
    out.numbers.resize(w, h + 1);
    decodeFields(unit, first, firstControl, w, h, out.numbers);
    out.numbers.setHeight(h);
    out.numbersDecoded = true;
}

void paintSubPicture(SubPicture& out, const PreviewColours& colours) {
    const int w = out.numbers.width(), h = out.numbers.height();
    out.bitmap.resize(w, h);
    // Colour 0 is the background colour as it is; numbers 1..3 take the
    // grey level of their colour's low (red) byte in all three channels.
    uint8_t rgb[4][3];
    rgb[0][0] = static_cast<uint8_t>(colours[0]);
    rgb[0][1] = static_cast<uint8_t>(colours[0] >> 8);
    rgb[0][2] = static_cast<uint8_t>(colours[0] >> 16);
    for (size_t n = 1; n < 4; ++n)
        rgb[n][0] = rgb[n][1] = rgb[n][2] = static_cast<uint8_t>(colours[n]);
    for (int y = 0; y < h; ++y) {
        const uint8_t* n = out.numbers.row(y);
        uint8_t* p = out.bitmap.row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const uint8_t* c = rgb[n[x] & 3];
            p[0] = c[0];
            p[1] = c[1];
            p[2] = c[2];
        }
    }
    out.bitmapPainted = true;
}

void decodeSubPicture(std::span<const uint8_t> unit, SubPicture& out,
                      const PreviewColours& colours) {
    decodeSubPictureArea(unit, out);
    paintSubPicture(out, colours);
}

}  // namespace orvane
