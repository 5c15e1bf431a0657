#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane::test {

using Sector = std::array<uint8_t, 2048>;

// MPEG-2 pack header with the given SCR (32 bits used), 14 bytes.
void writePackHeader(Sector& s, uint32_t scr);
// The five PTS bytes of a PES header at p.
void writePts(uint8_t* p, uint32_t pts);

// A pack holding only a padding packet (like a video pack to the reader).
Sector makeFillerPack(uint32_t scr);
// A NAV pack: system header first, cell elapsed time bytes at 69..72 (the
// frames byte carries the rate flags, e.g. 0x40 | BCD frames for PAL).
Sector makeNavPack(uint32_t scr, uint8_t bcdHours, uint8_t bcdMinutes, uint8_t bcdSeconds,
                   uint8_t framesByte);

struct SpuPacketLayout {
    uint8_t subStream = 0x20;
    std::optional<uint32_t> pts;  // written when set (the first packet of a unit)
    bool padding = true;          // a padding packet follows in the sector
};
// A private-stream-1 pack carrying the payload (at most 2048 - 24 - H).
Sector makeSpuPack(uint32_t scr, std::span<const uint8_t> payload, const SpuPacketLayout& layout);

// Splits a unit into packs of at most `chunk` payload bytes; the first
// carries the PTS, the last is followed by padding.
std::vector<Sector> packetizeUnit(std::span<const uint8_t> unit, uint8_t subStream, uint32_t pts,
                                  uint32_t& scr, size_t chunk = 2000);

// Writes sectors to a file (plus optional trailing bytes).
void writeSectors(const std::string& path, const std::vector<Sector>& sectors,
                  size_t trailingBytes = 0);

struct IndexedPicture;

// A VOB built pack by pack: each pack's SCR is 300 ticks after the one
// before, the first `scr` + 300.
class VobBuilder {
  public:
    explicit VobBuilder(uint32_t scr = 1000) : scr_(scr) {}
    // A PAL NAV pack whose cell time is 0:00:bcdSeconds.
    VobBuilder& nav(uint8_t bcdSeconds = 0);
    VobBuilder& filler(int n = 1);
    // The unit in packs of at most `chunk` payload bytes, its PTS on the first.
    VobBuilder& unit(std::span<const uint8_t> bytes, uint32_t pts, uint8_t subStream = 0x20,
                     size_t chunk = 2000);
    // A typical unit of the picture at (x1, y1) showing for stopDelay (see
    // makeUnit), then a filler.
    VobBuilder& picture(const IndexedPicture& pic, uint32_t pts, int x1 = 100, int y1 = 500,
                        uint16_t stopDelay = 100);
    // Writes the sectors; returns the path.
    std::string write(const std::string& path) const;

    std::vector<Sector> sectors;

  private:
    uint32_t scr_;
};

}  // namespace orvane::test
