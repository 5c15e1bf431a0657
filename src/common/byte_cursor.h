#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvane {

// Bounds-checked reader over untrusted binary input. Every read either
// succeeds and advances, or fails and leaves the position where it was.
class ByteCursor {
  public:
    explicit ByteCursor(std::span<const uint8_t> data, size_t pos = 0) : data_(data), pos_(pos) {}

    size_t position() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
    bool atEnd() const { return remaining() == 0; }

    bool seek(size_t pos) {
        if (pos > data_.size()) return false;
        pos_ = pos;
        return true;
    }
    bool skip(size_t n) {
        if (n > remaining()) return false;
        pos_ += n;
        return true;
    }

    std::optional<uint8_t> readU8() {
        if (remaining() < 1) return std::nullopt;
        return data_[pos_++];
    }
    std::optional<uint16_t> readU16be() {
        if (remaining() < 2) return std::nullopt;
        uint16_t v = static_cast<uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    std::optional<uint16_t> readU16le() {
        if (remaining() < 2) return std::nullopt;
        uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::optional<uint32_t> readU32le() {
        if (remaining() < 4) return std::nullopt;
        uint32_t v = uint32_t{data_[pos_]} | (uint32_t{data_[pos_ + 1]} << 8) |
                     (uint32_t{data_[pos_ + 2]} << 16) | (uint32_t{data_[pos_ + 3]} << 24);
        pos_ += 4;
        return v;
    }
    std::optional<uint32_t> readU32be() {
        if (remaining() < 4) return std::nullopt;
        uint32_t v = (uint32_t{data_[pos_]} << 24) | (uint32_t{data_[pos_ + 1]} << 16) |
                     (uint32_t{data_[pos_ + 2]} << 8) | uint32_t{data_[pos_ + 3]};
        pos_ += 4;
        return v;
    }
    std::optional<std::span<const uint8_t>> readBytes(size_t n) {
        if (n > remaining()) return std::nullopt;
        auto s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }

    // A fixed-size text field: the bytes before the first zero.
    std::optional<std::string> readField(size_t size) {
        if (size > remaining()) return std::nullopt;
        size_t n = 0;
        while (n < size && data_[pos_ + n] != 0) ++n;
        std::string s(reinterpret_cast<const char*>(data_.data() + pos_), n);
        pos_ += size;
        return s;
    }

  private:
    std::span<const uint8_t> data_;
    size_t pos_;
};

// Fixed-offset big-endian loads for buffers whose size is known to cover
// the offset (a whole 2048-byte sector); callers check the bound once.
inline uint16_t loadU16be(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline uint32_t loadU32be(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

}  // namespace orvane
