#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

// A 45 x 45 one-bit glyph; bit c of row r is column c. Bits outside the
// entry's width x height are kept clear.
class GlyphBits {
  public:
    static constexpr int kSide = 45;

    bool bit(int column, int row) const {
        if (column < 0 || row < 0 || column >= kSide || row >= kSide) return false;
        return (rows_[static_cast<size_t>(row)] >> column) & 1u;
    }
    void set(int column, int row, bool on = true) {
        if (column < 0 || row < 0 || column >= kSide || row >= kSide) return;
        const uint64_t m = uint64_t{1} << column;
        rows_[static_cast<size_t>(row)] =
            on ? (rows_[static_cast<size_t>(row)] | m) : (rows_[static_cast<size_t>(row)] & ~m);
    }
    // Row r as a bit mask (bit c = column c); zero outside the grid.
    uint64_t row(int r) const { return r >= 0 && r < kSide ? rows_[static_cast<size_t>(r)] : 0; }
    void setRow(int r, uint64_t bits) {
        if (r >= 0 && r < kSide)
            rows_[static_cast<size_t>(r)] = bits & ((uint64_t{1} << kSide) - 1);
    }
    const uint64_t* rows() const { return rows_.data(); }
    int count() const;
    friend bool operator==(const GlyphBits&, const GlyphBits&) = default;

  private:
    std::array<uint64_t, kSide> rows_{};
};

// One learned glyph.
struct MatrixEntry {
    GlyphBits glyph;
    uint8_t relativeTop = 0;  // character top minus line top when learned
    uint8_t width = 1;        // 1..45 when built; files may hold more
    uint8_t height = 1;
    std::string text;  // at most 20 Windows-1252 characters
    friend bool operator==(const MatrixEntry&, const MatrixEntry&) = default;
};

// The learned glyph database. Entries are numbered 1..size(); order
// matters, since matching takes the first entry that passes.
class CharMatrix {
  public:
    static constexpr size_t kMaxEntries = 65535;

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // Entry k, 1-based.
    const MatrixEntry& entry(size_t k) const { return entries_[k - 1]; }
    const std::vector<MatrixEntry>& entries() const { return entries_; }

    // Appends an entry; false when the matrix already holds 65535.
    // std::bad_alloc passes through with the matrix unchanged.
    bool add(const MatrixEntry& e);
    // The last entry takes number k; out-of-range k does nothing.
    void remove(size_t k);
    void setText(size_t k, std::string text);
    void setComment(std::string comment);
    // Empty, unnamed, unmodified.
    void clear();

    const std::string& comment() const { return comment_; }
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }
    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }

    // Changes whenever the entries change (unique over all matrices), so
    // that lookup structures built over them know when to rebuild.
    uint64_t generation() const { return generation_; }

    // The file image: 280 + 277 x N bytes.
    std::vector<uint8_t> toBytes() const;
    enum class ParseResult { Ok, BadMagic, Truncated };
    // Fills `out` (entries, comment; not the name or the flag) from a file
    // image. Bytes beyond the last entry are ignored.
    static ParseResult fromBytes(std::span<const uint8_t> data, CharMatrix& out);

  private:
    std::vector<MatrixEntry> entries_;
    std::string comment_;
    std::string fileName_;
    bool modified_ = false;
    uint64_t generation_ = 0;
};

}  // namespace orvane
