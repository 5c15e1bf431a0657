#include "support/spu_encoder.h"

namespace orvane::test {

namespace {

class NibbleWriter {
  public:
    explicit NibbleWriter(std::vector<uint8_t>& out) : out_(out) {}
    void pair(unsigned p) {
        if (shift_ == 6) out_.push_back(0);
        out_.back() = static_cast<uint8_t>(out_.back() | ((p & 3u) << shift_));
        shift_ = shift_ == 0 ? 6 : shift_ - 2;
    }
    void bits(unsigned value, int count) {  // count is even
        for (int i = count - 2; i >= 0; i -= 2) pair(value >> i);
    }
    void align() { shift_ = 6; }

  private:
    std::vector<uint8_t>& out_;
    int shift_ = 6;
};

void writeRun(NibbleWriter& w, unsigned run, unsigned colour) {
    if (run == 0)
        w.bits(colour, 16);  // to the end of the row
    else if (run < 4)
        w.bits(run << 2 | colour, 4);
    else if (run < 16)
        w.bits(run << 2 | colour, 8);
    else if (run < 64)
        w.bits(run << 2 | colour, 12);
    else
        w.bits(run << 2 | colour, 16);
}

}  // namespace

std::vector<uint8_t> encodeField(const IndexedPicture& pic, int firstRow, bool endOfRowCode) {
    std::vector<uint8_t> out;
    NibbleWriter w(out);
    for (int y = firstRow; y < pic.height; y += 2) {
        int x = 0;
        while (x < pic.width) {
            const uint8_t c = pic.at(x, y);
            int run = 1;
            while (x + run < pic.width && pic.at(x + run, y) == c) ++run;
            if (x + run == pic.width && endOfRowCode) {
                writeRun(w, 0, c);
                x += run;
                break;
            }
            int left = run;
            while (left > 0) {
                const int piece = left > 255 ? 255 : left;
                writeRun(w, static_cast<unsigned>(piece), c);
                left -= piece;
            }
            x += run;
        }
        w.align();
    }
    return out;
}

void SpuBuilder::setFields(std::vector<uint8_t> top, std::vector<uint8_t> bottom) {
    top_ = std::move(top);
    bottom_ = std::move(bottom);
}

void SpuBuilder::addSequence(uint16_t delay, std::vector<uint8_t> commands) {
    commands.push_back(0xFF);
    seqs_.push_back({delay, std::move(commands)});
}

std::vector<uint8_t> SpuBuilder::build() const {
    std::vector<uint8_t> u(4);
    u.insert(u.end(), top_.begin(), top_.end());
    u.insert(u.end(), bottom_.begin(), bottom_.end());
    const size_t firstControl = u.size();
    std::vector<size_t> offsets;
    size_t at = firstControl;
    for (const Seq& s : seqs_) {
        offsets.push_back(at);
        at += 4 + s.commands.size();
    }
    for (size_t i = 0; i < seqs_.size(); ++i) {
        const size_t next = i + 1 < seqs_.size() ? offsets[i + 1] : offsets[i];
        u.push_back(static_cast<uint8_t>(seqs_[i].delay >> 8));
        u.push_back(static_cast<uint8_t>(seqs_[i].delay));
        u.push_back(static_cast<uint8_t>(next >> 8));
        u.push_back(static_cast<uint8_t>(next));
        u.insert(u.end(), seqs_[i].commands.begin(), seqs_[i].commands.end());
    }
    u[0] = static_cast<uint8_t>(u.size() >> 8);
    u[1] = static_cast<uint8_t>(u.size());
    u[2] = static_cast<uint8_t>(firstControl >> 8);
    u[3] = static_cast<uint8_t>(firstControl);
    return u;
}

std::vector<uint8_t> SpuBuilder::area(int x1, int y1, int x2, int y2) {
    return {0x05,
            static_cast<uint8_t>(x1 >> 4),
            static_cast<uint8_t>(((x1 & 0xF) << 4) | ((x2 >> 8) & 0xF)),
            static_cast<uint8_t>(x2),
            static_cast<uint8_t>(y1 >> 4),
            static_cast<uint8_t>(((y1 & 0xF) << 4) | ((y2 >> 8) & 0xF)),
            static_cast<uint8_t>(y2)};
}

std::vector<uint8_t> SpuBuilder::fieldOffsets(uint16_t top, uint16_t bottom) {
    return {0x06, static_cast<uint8_t>(top >> 8), static_cast<uint8_t>(top),
            static_cast<uint8_t>(bottom >> 8), static_cast<uint8_t>(bottom)};
}

std::vector<uint8_t> makeUnit(const IndexedPicture& pic, int x1, int y1, uint16_t stopDelay,
                              uint16_t startDelay) {
    SpuBuilder b;
    b.setFields(encodeField(pic, 0), encodeField(pic, 1));
    std::vector<uint8_t> start{0x01, 0x03, 0x32, 0x10, 0x04, 0xFF, 0xF0};
    for (uint8_t c : SpuBuilder::area(x1, y1, x1 + pic.width - 1, y1 + pic.height - 1))
        start.push_back(c);
    for (uint8_t c : SpuBuilder::fieldOffsets(b.topOffset(), b.bottomOffset())) start.push_back(c);
    b.addSequence(startDelay, start);
    if (stopDelay != 0) b.addSequence(stopDelay, {0x02});
    return b.build();
}

}  // namespace orvane::test
