#include "subpicture/spu_decoder.h"

#include <algorithm>
#include <cstring>

#include "common/byte_cursor.h"
#include "subpicture/spu_format.h"

namespace orvane {

namespace {

// Reads the run-length codes of one field from `pos` up to but excluding
// `end`. A 32-bit window keeps the next bits, high bits first, so that a
// code is classified by its leading zero pairs in one step.
class RunReader {
  public:
    RunReader(const uint8_t* data, size_t pos, size_t end) : data_(data), pos_(pos), end_(end) {}

    // One code: a run of 0 means "to the end of the row". False when the
    // data ends before the code does.
    bool next(unsigned& run, unsigned& colour) {
        refill();
        if (bits_ < 4) return false;
        const uint32_t v = window_ >> 16;  // the next 16 bits, zero-padded
        unsigned len;
        if (v >= 0x4000) {  // n n c c
            len = 4;
            run = v >> 14;
        } else if (v >= 0x1000) {  // 0 0 n n n n c c
            len = 8;
            run = (v >> 10) & 0x0F;
        } else if (v >= 0x0400) {  // 0 0 0 0 n n n n n n c c
            len = 12;
            run = (v >> 6) & 0x3F;
        } else {  // 0 0 0 0 0 0 n n n n n n n n c c, all-zero n: to the end
            len = 16;
            run = (v >> 2) & 0xFF;
        }
        if (bits_ < len) return false;
        colour = (v >> (16 - len)) & 3u;
        window_ <<= len;
        bits_ -= len;
        return true;
    }

    // Rows start on byte boundaries: drop the bits left of the current byte.
    void alignToByte() {
        const unsigned drop = bits_ % 8;
        window_ <<= drop;
        bits_ -= drop;
    }

  private:
    void refill() {
        while (bits_ <= 24 && pos_ < end_) {
            window_ |= uint32_t{data_[pos_++]} << (24 - bits_);
            bits_ += 8;
        }
    }

    const uint8_t* data_;
    size_t pos_;
    size_t end_;
    uint32_t window_ = 0;
    unsigned bits_ = 0;
};

void decodeField(std::span<const uint8_t> unit, size_t start, size_t endInclusive, int firstRow,
                 int width, int height, const std::array<uint8_t, 4>& grey, Image24& bmp) {
    if (start >= unit.size()) return;
    const size_t end = std::min(endInclusive + 1, unit.size());
    RunReader reader(unit.data(), start, end);
    int x = 0;
    int y = firstRow;
    uint8_t* row = bmp.row(y);
    unsigned run, colour;
    // Row `height` is the spare row; anything below it is discarded.
    while (y <= height && reader.next(run, colour)) {
        unsigned r = run == 0 ? static_cast<unsigned>(width - x) : run;
        if (x + static_cast<int>(r) > width) r = static_cast<unsigned>(width - x);
        // The preview colours are greys: a run is one byte value.
        if (colour != 0) std::memset(row + x * 3, grey[colour], size_t{r} * 3);
        x += static_cast<int>(r);
        if (x >= width) {
            reader.alignToByte();
            x = 0;
            y += 2;
            if (y <= height) row = bmp.row(y);
        }
    }
}

}  // namespace

void decodeSubPicture(std::span<const uint8_t> unit, SubPicture& out,
                      const PreviewColours& colours) {
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
    const std::array<uint8_t, 4> grey{0, static_cast<uint8_t>(colours[1]),
                                      static_cast<uint8_t>(colours[2]),
                                      static_cast<uint8_t>(colours[3])};
    decodeField(unit, first.topFieldOffset, first.bottomFieldOffset, 0, w, h, grey, out.bitmap);
    decodeField(unit, first.bottomFieldOffset, firstControl, 1, w, h, grey, out.bitmap);
    out.bitmap.setHeight(h);
}

}  // namespace orvane
