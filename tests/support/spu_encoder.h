#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::test {

// A picture of colour numbers 0..3, row-major.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void set(int x, int y, uint8_t c) { pixels[static_cast<size_t>(y) * width + x] = c; }
    static IndexedPicture filled(int w, int h, uint8_t c = 0) {
        return {w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, c)};
    }
};

// Run-length codes of one field (every second row from firstRow), each
// row byte-aligned. Trailing runs use the to-end-of-row code when
// `endOfRowCode` is set.
std::vector<uint8_t> encodeField(const IndexedPicture& pic, int firstRow, bool endOfRowCode = true);

// Builds a sub-picture unit control sequence by sequence.
class SpuBuilder {
  public:
    // Pixel data placed after the 4-byte header: top field then bottom.
    void setFields(std::vector<uint8_t> top, std::vector<uint8_t> bottom);
    // A sequence with its delay (in 1024/90000 s) and raw command bytes
    // (0xFF is appended).
    void addSequence(uint16_t delay, std::vector<uint8_t> commands);
    // The unit; the last sequence points at itself.
    std::vector<uint8_t> build() const;

    // Command byte helpers.
    static std::vector<uint8_t> area(int x1, int y1, int x2, int y2);
    static std::vector<uint8_t> fieldOffsets(uint16_t top, uint16_t bottom);

    uint16_t topOffset() const { return 4; }
    uint16_t bottomOffset() const { return static_cast<uint16_t>(4 + top_.size()); }

  private:
    std::vector<uint8_t> top_, bottom_;
    struct Seq {
        uint16_t delay;
        std::vector<uint8_t> commands;
    };
    std::vector<Seq> seqs_;
};

// A typical unit: start at delay 0 with palette, contrast, area and field
// offsets; a stop sequence at stopDelay when it is non-zero.
std::vector<uint8_t> makeUnit(const IndexedPicture& pic, int x1, int y1, uint16_t stopDelay = 0,
                              uint16_t startDelay = 0);

}  // namespace orvane::test
