#include "subpicture/spu_decoder.h"

#include <algorithm>

#include "stream/byte_cursor.h"
#include "subpicture/spu_format.h"

namespace orvane {

namespace {

// Reads the pixel data two bits at a time, high bits of each byte first,
// from `pos` up to but excluding `end`.
class PairReader {
public:
    PairReader(const uint8_t* data, size_t pos, size_t end) : data_(data), pos_(pos), end_(end) {}

    bool next(unsigned& pair) {
        if (pos_ >= end_) return false;
        pair = (data_[pos_] >> shift_) & 3u;
        if (shift_ == 0) {
            shift_ = 6;
            ++pos_;
        } else {
            shift_ -= 2;
        }
        return true;
    }
    // Rows start on byte boundaries.
    void alignToByte() {
        if (shift_ != 6) {
            shift_ = 6;
            ++pos_;
        }
    }

private:
    const uint8_t* data_;
    size_t pos_;
    size_t end_;
    int shift_ = 6;
};

// One run-length code. A run of 0 means "to the end of the row".
bool readRun(PairReader& r, unsigned& run, unsigned& colour) {
    unsigned p;
    if (!r.next(p)) return false;
    if (p != 0) {
        run = p;  // n n c c
    } else {
        unsigned zeros = 1;
        unsigned lead = 0;
        while (zeros < 4) {
            if (!r.next(lead)) return false;
            if (lead != 0) break;
            ++zeros;
        }
        // The count has (zeros + 1) pairs for codes of 4, 6 and 8 bits.
        // After four zero pairs the fourth was already the top pair of the
        // 8-bit count; all seven zero means "to the end of the row".
        unsigned pairs = zeros <= 3 ? zeros + 1 : 4;
        unsigned value = zeros <= 3 ? lead : 0;
        for (unsigned i = 1; i < pairs; ++i) {
            if (!r.next(p)) return false;
            value = (value << 2) | p;
        }
        run = value;
    }
    return r.next(colour);
}

void decodeField(std::span<const uint8_t> unit, size_t start, size_t endInclusive, int firstRow,
                 int width, int height, const std::array<uint8_t, 4>& grey, Image24& bmp) {
    if (start >= unit.size()) return;
    const size_t end = std::min(endInclusive + 1, unit.size());
    PairReader reader(unit.data(), start, end);
    int x = 0;
    int y = firstRow;
    unsigned run, colour;
    // Row `height` is the spare row; anything below it is discarded.
    while (y <= height && readRun(reader, run, colour)) {
        unsigned r = run == 0 ? static_cast<unsigned>(width - x) : run;
        if (x + static_cast<int>(r) > width) r = static_cast<unsigned>(width - x);
        if (colour != 0 && r > 0) {
            const uint8_t g = grey[colour];
            std::fill_n(bmp.row(y) + x * 3, r * 3, g);
        }
        x += static_cast<int>(r);
        if (x >= width) {
            reader.alignToByte();
            x = 0;
            y += 2;
        }
    }
}

}  // namespace

void decodeSubPicture(std::span<const uint8_t> unit, SubPicture& out, const PreviewColours& colours) {
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
        seq.contrast = spu::kDefaultContrast;
        bool ended = false;
        while (!ended && c.position() < commandLimit) {
            const uint8_t cmd = *c.readU8();
            switch (cmd) {
                case spu::kCmdForcedStart:
                case spu::kCmdStart:
                    seq.kind = SequenceKind::Start;
                    break;
                case spu::kCmdStop:
                    seq.kind = SequenceKind::Stop;
                    break;
                case spu::kCmdPalette:
                    if (auto v = c.readU16be()) seq.palette = *v; else ended = true;
                    break;
                case spu::kCmdContrast:
                    if (auto v = c.readU16be()) seq.contrast = *v; else ended = true;
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
        out.sequences.push_back(seq);
        carried = seq;
        if (*next <= offset) break;  // the last sequence points at itself or back
        offset = *next;
    }

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

    // One spare row below the picture takes the runs of each field's last
    // byte; it is dropped afterwards.
    out.bitmap.resize(w, h + 1);
    out.bitmap.fill(colours[0]);
    const std::array<uint8_t, 4> grey{0, static_cast<uint8_t>(colours[1]), static_cast<uint8_t>(colours[2]),
                                      static_cast<uint8_t>(colours[3])};
    decodeField(unit, first.topFieldOffset, first.bottomFieldOffset, 0, w, h, grey, out.bitmap);
    decodeField(unit, first.bottomFieldOffset, firstControl, 1, w, h, grey, out.bitmap);
    out.bitmap.setHeight(h);
}

}  // namespace orvane
