#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace orvane {

// The writing twin of ByteCursor: appends numbers with their byte order in
// the name, and fixed-size fields.
class ByteWriter {
  public:
    ByteWriter() = default;
    explicit ByteWriter(size_t reserve) { bytes_.reserve(reserve); }

    void putU8(uint8_t v) { bytes_.push_back(v); }
    void putU16le(uint16_t v) {
        putU8(static_cast<uint8_t>(v));
        putU8(static_cast<uint8_t>(v >> 8));
    }
    void putU16be(uint16_t v) {
        putU8(static_cast<uint8_t>(v >> 8));
        putU8(static_cast<uint8_t>(v));
    }
    void putU32le(uint32_t v) {
        for (int i = 0; i < 4; ++i) putU8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void putU32be(uint32_t v) {
        for (int i = 3; i >= 0; --i) putU8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void putBytes(std::span<const uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void putZeros(size_t n) { bytes_.resize(bytes_.size() + n, 0); }
    // `text` cut to `size` bytes, then zeros up to `size`.
    void putField(std::string_view text, size_t size) {
        const size_t n = std::min(text.size(), size);
        bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
        putZeros(size - n);
    }

    size_t size() const { return bytes_.size(); }
    // Room for `n` bytes filled in place (a bitmap's rows).
    std::span<uint8_t> reserveSpan(size_t n) {
        const size_t at = bytes_.size();
        putZeros(n);
        return std::span<uint8_t>(bytes_).subspan(at, n);
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<uint8_t> bytes_;
};

}  // namespace orvane
