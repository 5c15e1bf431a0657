#include "support/pack_builder.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "support/spu_encoder.h"

namespace orvane::test {

void writePackHeader(Sector& s, uint32_t scr) {
    s[0] = 0x00;
    s[1] = 0x00;
    s[2] = 0x01;
    s[3] = 0xBA;
    s[4] = static_cast<uint8_t>(0x40 | (((scr >> 30) & 0x7) << 3) | 0x04 | ((scr >> 28) & 0x3));
    s[5] = static_cast<uint8_t>((scr >> 20) & 0xFF);
    s[6] = static_cast<uint8_t>((((scr >> 15) & 0x1F) << 3) | 0x04 | ((scr >> 13) & 0x3));
    s[7] = static_cast<uint8_t>((scr >> 5) & 0xFF);
    s[8] = static_cast<uint8_t>(((scr & 0x1F) << 3) | 0x04);
    s[9] = 0x01;
    s[10] = 0x01;  // mux rate
    s[11] = 0x89;
    s[12] = 0xC3;
    s[13] = 0xF8;  // no stuffing
}

void writePts(uint8_t* p, uint32_t pts) {
    p[0] = static_cast<uint8_t>(0x21 | (((pts >> 30) & 0x3) << 1));
    const uint32_t mid = ((pts >> 15) & 0x7FFF) << 1 | 1;
    const uint32_t low = (pts & 0x7FFF) << 1 | 1;
    p[1] = static_cast<uint8_t>(mid >> 8);
    p[2] = static_cast<uint8_t>(mid);
    p[3] = static_cast<uint8_t>(low >> 8);
    p[4] = static_cast<uint8_t>(low);
}

namespace {

void writePadding(Sector& s, size_t at) {
    if (at + 6 > s.size()) return;
    s[at] = 0x00;
    s[at + 1] = 0x00;
    s[at + 2] = 0x01;
    s[at + 3] = 0xBE;
    const size_t len = s.size() - at - 6;
    s[at + 4] = static_cast<uint8_t>(len >> 8);
    s[at + 5] = static_cast<uint8_t>(len);
    std::memset(&s[at + 6], 0xFF, len);
}

}  // namespace

Sector makeFillerPack(uint32_t scr) {
    Sector s{};
    writePackHeader(s, scr);
    writePadding(s, 14);
    return s;
}

Sector makeNavPack(uint32_t scr, uint8_t h, uint8_t m, uint8_t sec, uint8_t frames) {
    Sector s{};
    writePackHeader(s, scr);
    s[14] = 0x00;
    s[15] = 0x00;
    s[16] = 0x01;
    s[17] = 0xBB;
    s[18] = 0x00;
    s[19] = 0x12;
    s[69] = h;
    s[70] = m;
    s[71] = sec;
    s[72] = frames;
    return s;
}

Sector makeSpuPack(uint32_t scr, std::span<const uint8_t> payload, const SpuPacketLayout& layout) {
    Sector s{};
    writePackHeader(s, scr);
    const size_t h = layout.pts ? 5 : 0;
    if (24 + h + payload.size() > s.size())
        throw std::length_error("payload too large for one pack");
    s[14] = 0x00;
    s[15] = 0x00;
    s[16] = 0x01;
    s[17] = 0xBD;
    const size_t l = h + 4 + payload.size();
    s[18] = static_cast<uint8_t>(l >> 8);
    s[19] = static_cast<uint8_t>(l);
    s[20] = 0x81;
    s[21] = layout.pts ? 0x80 : 0x00;
    s[22] = static_cast<uint8_t>(h);
    if (layout.pts) writePts(&s[23], *layout.pts);
    s[23 + h] = layout.subStream;
    if (!payload.empty()) std::memcpy(&s[24 + h], payload.data(), payload.size());
    if (layout.padding) writePadding(s, 20 + l);
    return s;
}

std::vector<Sector> packetizeUnit(std::span<const uint8_t> unit, uint8_t subStream, uint32_t pts,
                                  uint32_t& scr, size_t chunk) {
    std::vector<Sector> out;
    size_t pos = 0;
    bool first = true;
    do {
        const size_t n = std::min(chunk, unit.size() - pos);
        SpuPacketLayout layout;
        layout.subStream = subStream;
        if (first) layout.pts = pts;
        layout.padding = pos + n == unit.size();
        out.push_back(makeSpuPack(scr, unit.subspan(pos, n), layout));
        scr += 300;
        pos += n;
        first = false;
    } while (pos < unit.size());
    return out;
}

void writeSectors(const std::string& path, const std::vector<Sector>& sectors,
                  size_t trailingBytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path);
    for (const Sector& s : sectors)
        f.write(reinterpret_cast<const char*>(s.data()), static_cast<std::streamsize>(s.size()));
    const std::vector<char> tail(trailingBytes, 0x55);
    f.write(tail.data(), static_cast<std::streamsize>(tail.size()));
}

VobBuilder& VobBuilder::nav(uint8_t bcdSeconds) {
    sectors.push_back(makeNavPack(scr_ += 300, 0, 0, bcdSeconds, 0x40));
    return *this;
}

VobBuilder& VobBuilder::filler(int n) {
    for (int i = 0; i < n; ++i) sectors.push_back(makeFillerPack(scr_ += 300));
    return *this;
}

VobBuilder& VobBuilder::unit(std::span<const uint8_t> bytes, uint32_t pts, uint8_t subStream,
                             size_t chunk) {
    uint32_t scr = scr_ + 300;
    for (Sector& s : packetizeUnit(bytes, subStream, pts, scr, chunk)) sectors.push_back(s);
    scr_ = scr - 300;  // packetizeUnit steps past its last pack
    return *this;
}

VobBuilder& VobBuilder::picture(const IndexedPicture& pic, uint32_t pts, int x1, int y1,
                                uint16_t stopDelay) {
    return unit(makeUnit(pic, x1, y1, stopDelay), pts).filler();
}

std::string VobBuilder::write(const std::string& path) const {
    writeSectors(path, sectors);
    return path;
}

}  // namespace orvane::test
