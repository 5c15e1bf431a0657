#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// VobSub pairs: an index text file (.idx) naming the streams, the palette,
// the frame size and, per unit, its time and its place in the .sub file, a
// program stream of sub-picture packets in 2048-byte packs.
namespace orvane::vobsub {

inline constexpr size_t kPalette = 16;
inline constexpr const char* kIndexHeader = "# VobSub index file, v7 (do not modify this line!)";

struct IndexEntry {
    int64_t ms = 0;        // start of the unit's packet
    uint64_t filePos = 0;  // byte offset of its first pack in the .sub
};

struct IndexStream {
    std::string language;  // two letters ("en"), as on the id: line
    int index = 0;         // sub-stream 0x20 + index in the .sub
    std::vector<IndexEntry> entries;
};

struct Index {
    int width = 720;
    int height = 576;
    // 0xRRGGBB as the index writes them.
    std::array<uint32_t, kPalette> palette{};
    std::vector<IndexStream> streams;

    // The stream of sub-stream index `index`, or null.
    const IndexStream* stream(int index) const;
};

// Reads an index. Lines it does not know are ignored; a file whose first
// line is not the VobSub header, or that names no stream, gives false with
// the reason in `error`.
bool parseIndex(std::string_view text, Index& out, std::string& error);

// The index text, lines ending in CR LF.
std::string indexText(const Index& index);

// The .sub file under way: each unit starts a new pack, its first packet
// carries the presentation time, and the last pack is padded to 2048 bytes.
class SubFileWriter {
  public:
    // Appends one unit of sub-stream 0x20 + index; returns its file position.
    uint64_t addUnit(std::span<const uint8_t> unit, uint8_t subStream, uint32_t pts90k);
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    void clear() { bytes_.clear(); }

  private:
    std::vector<uint8_t> bytes_;
};

// "hh:mm:ss:mmm" of the index's timestamp lines.
std::string formatIndexTime(int64_t ms);

}  // namespace orvane::vobsub
