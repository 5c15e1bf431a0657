#pragma once

#include <cstddef>

// Layout of a character matrix file (*.sum); numbers little-endian.
namespace orvane::matrix_file {

inline constexpr char kMagic[] = "Orvane_Char_Matrix_File";
inline constexpr size_t kMagicSize = 23;
inline constexpr size_t kCommentOffset = 23;
inline constexpr size_t kCommentSize = 255;
inline constexpr size_t kCountOffset = 278;
inline constexpr size_t kHeaderSize = 280;

inline constexpr size_t kGlyphSide = 45;
inline constexpr size_t kGlyphBitCount = kGlyphSide * kGlyphSide;  // 2025
inline constexpr size_t kGlyphBytes = 254;
inline constexpr size_t kTextSize = 20;
inline constexpr size_t kEntryTextOffset = 3;
inline constexpr size_t kEntryGlyphOffset = 23;
inline constexpr size_t kEntrySize = 277;

// Bytes counted per slot by the out-of-memory messages.
inline constexpr size_t kSlotBytesInMessages = 294;

inline constexpr size_t kMaxEntries = 65535;

static_assert(sizeof(kMagic) - 1 == kMagicSize);
static_assert(kCommentOffset + kCommentSize == kCountOffset);
static_assert(kEntryGlyphOffset + kGlyphBytes == kEntrySize);
static_assert((kGlyphBitCount + 7) / 8 == kGlyphBytes);

inline constexpr size_t fileSize(size_t entries) {
    return kHeaderSize + kEntrySize * entries;
}

}  // namespace orvane::matrix_file
