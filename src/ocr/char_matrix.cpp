#include "ocr/char_matrix.h"

#include <algorithm>
#include <bit>
#include <cstring>

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
    std::vector<uint8_t> out(mf::fileSize(entries_.size()), 0);
    std::memcpy(out.data(), mf::kMagic, mf::kMagicSize);
    std::memcpy(&out[mf::kCommentOffset], comment_.data(),
                std::min(comment_.size(), mf::kCommentSize));
    out[mf::kCountOffset] = static_cast<uint8_t>(entries_.size());
    out[mf::kCountOffset + 1] = static_cast<uint8_t>(entries_.size() >> 8);
    size_t at = mf::kHeaderSize;
    for (const MatrixEntry& e : entries_) {
        out[at] = e.relativeTop;
        out[at + 1] = e.width;
        out[at + 2] = e.height;
        std::memcpy(&out[at + mf::kEntryTextOffset], e.text.data(),
                    std::min(e.text.size(), mf::kTextSize));
        uint8_t* bits = &out[at + mf::kEntryGlyphOffset];
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
        at += mf::kEntrySize;
    }
    return out;
}

namespace {

// Bytes before the first zero, at most `max`.
std::string zeroTerminated(const uint8_t* p, size_t max) {
    size_t n = 0;
    while (n < max && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

CharMatrix::ParseResult CharMatrix::fromBytes(std::span<const uint8_t> data, CharMatrix& out) {
    if (data.size() < mf::kMagicSize || std::memcmp(data.data(), mf::kMagic, mf::kMagicSize) != 0) {
        return ParseResult::BadMagic;
    }
    if (data.size() < mf::kHeaderSize) return ParseResult::Truncated;
    const size_t n = data[mf::kCountOffset] | (size_t{data[mf::kCountOffset + 1]} << 8);
    if (data.size() < mf::fileSize(n)) return ParseResult::Truncated;
    std::vector<MatrixEntry> entries(n);
    size_t at = mf::kHeaderSize;
    for (MatrixEntry& e : entries) {
        const uint8_t* rec = &data[at];
        e.relativeTop = rec[0];
        e.width = rec[1];
        e.height = rec[2];
        e.text = zeroTerminated(rec + mf::kEntryTextOffset, mf::kTextSize);
        const uint8_t* bits = rec + mf::kEntryGlyphOffset;
        for (int r = 0; r < GlyphBits::kSide; ++r) {
            uint64_t row = 0;
            for (int c = 0; c < GlyphBits::kSide; ++c) {
                const size_t t = static_cast<size_t>(r) * mf::kGlyphSide + static_cast<size_t>(c);
                if (bits[t / 8] & (0x80u >> (t % 8))) row |= uint64_t{1} << c;
            }
            e.glyph.setRow(r, row);
        }
        at += mf::kEntrySize;
    }
    out.entries_ = std::move(entries);
    out.comment_ = zeroTerminated(&data[mf::kCommentOffset], mf::kCommentSize);
    out.generation_ = nextGeneration();
    return ParseResult::Ok;
}

}  // namespace orvane
