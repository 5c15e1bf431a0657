#include "ocr/char_matrix.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "common/byte_cursor.h"
#include "common/byte_writer.h"
#include "ocr/matrix_file_format.h"

namespace orvane {

namespace mf = matrix_file;

namespace {
// Generations are unique across all matrices, so that a matrix assigned
// over another never looks unchanged to a cached index.
uint64_t nextGeneration() {
    static uint64_t counter = 0;
    return ++counter;
}

// Row r of a stored glyph: 45 bits from bit 45 x r on, the first column in
// the highest bit of a byte, read at once and reversed so that column c
// becomes bit c (bit by bit, loading a matrix cost as much as reading a
// hundred pictures).
uint64_t storedRow(std::span<const uint8_t> bits, int r) {
    const size_t t = static_cast<size_t>(r) * mf::kGlyphSide;
    const size_t first = t / 8;
    uint8_t bytes[8] = {};
    std::memcpy(bytes, bits.data() + first, std::min<size_t>(8, bits.size() - first));
    uint64_t v = 0;
    for (const uint8_t b : bytes) v = v << 8 | b;
    v <<= t % 8;  // column 0 in bit 63
    v = ((v >> 1) & 0x5555555555555555ull) | ((v & 0x5555555555555555ull) << 1);
    v = ((v >> 2) & 0x3333333333333333ull) | ((v & 0x3333333333333333ull) << 2);
    v = ((v >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((v & 0x0F0F0F0F0F0F0F0Full) << 4);
    return __builtin_bswap64(v) & ((uint64_t{1} << mf::kGlyphSide) - 1);
}

}  // namespace

int GlyphBits::count() const {
    int n = 0;
    for (uint64_t r : rows_) n += std::popcount(r);
    return n;
}

bool CharMatrix::add(const MatrixEntry& e) {
    if (entries_.size() >= kMaxEntries) return false;
    entries_.push_back(e);
    if (entries_.back().text.size() > mf::kTextSize) entries_.back().text.resize(mf::kTextSize);
    modified_ = true;
    generation_ = nextGeneration();
    return true;
}

void CharMatrix::remove(size_t k) {
    if (k < 1 || k > entries_.size()) return;
    modified_ = true;
    entries_[k - 1] = entries_.back();
    entries_.pop_back();
    generation_ = nextGeneration();
}

void CharMatrix::setText(size_t k, std::string text) {
    if (k < 1 || k > entries_.size()) return;
    if (text.size() > mf::kTextSize) text.resize(mf::kTextSize);
    entries_[k - 1].text = std::move(text);
    modified_ = true;
}

void CharMatrix::setComment(std::string comment) {
    if (comment.size() > mf::kCommentSize) comment.resize(mf::kCommentSize);
    comment_ = std::move(comment);
    modified_ = true;
}

void CharMatrix::clear() {
    entries_.clear();
    comment_.clear();
    fileName_.clear();
    modified_ = false;
    generation_ = nextGeneration();
}

std::vector<uint8_t> CharMatrix::toBytes() const {
    ByteWriter out(mf::fileSize(entries_.size()));
    out.putField(std::string_view(mf::kMagic, mf::kMagicSize), mf::kMagicSize);
    out.putField(comment_, mf::kCommentSize);
    out.putU16le(static_cast<uint16_t>(entries_.size()));
    for (const MatrixEntry& e : entries_) {
        out.putU8(e.relativeTop);
        out.putU8(e.width);
        out.putU8(e.height);
        out.putField(e.text, mf::kTextSize);
        const std::span<uint8_t> bits = out.reserveSpan(mf::kGlyphBytes);
        for (int r = 0; r < GlyphBits::kSide; ++r) {
            const uint64_t row = e.glyph.row(r);
            if (row == 0) continue;
            for (int c = 0; c < GlyphBits::kSide; ++c) {
                if ((row >> c) & 1u) {
                    const size_t t =
                        static_cast<size_t>(r) * mf::kGlyphSide + static_cast<size_t>(c);
                    bits[t / 8] = static_cast<uint8_t>(bits[t / 8] | (0x80u >> (t % 8)));
                }
            }
        }
    }
    return out.take();
}

CharMatrix::ParseResult CharMatrix::fromBytes(std::span<const uint8_t> data, CharMatrix& out) {
    ByteCursor in(data);
    const auto magic = in.readBytes(mf::kMagicSize);
    if (!magic || std::memcmp(magic->data(), mf::kMagic, mf::kMagicSize) != 0) {
        return ParseResult::BadMagic;
    }
    const auto comment = in.readField(mf::kCommentSize);
    const auto count = in.readU16le();
    if (!comment || !count) return ParseResult::Truncated;
    // Checked before anything is allocated for the entries.
    if (in.remaining() < size_t{*count} * mf::kEntrySize) return ParseResult::Truncated;
    std::vector<MatrixEntry> entries(*count);
    for (MatrixEntry& e : entries) {
        e.relativeTop = *in.readU8();
        e.width = *in.readU8();
        e.height = *in.readU8();
        e.text = *in.readField(mf::kTextSize);
        const std::span<const uint8_t> bits = *in.readBytes(mf::kGlyphBytes);
        for (int r = 0; r < GlyphBits::kSide; ++r) e.glyph.setRow(r, storedRow(bits, r));
    }
    out.entries_ = std::move(entries);
    out.comment_ = *comment;
    out.generation_ = nextGeneration();
    return ParseResult::Ok;
}

}  // namespace orvane
