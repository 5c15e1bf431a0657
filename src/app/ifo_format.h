#pragma once

#include <cstddef>

// The sub-picture attribute table of a title set IFO file.
namespace orvane::ifo {

inline constexpr size_t kSubPictureAttributesOffset = 600;
inline constexpr size_t kSubPictureRecordSize = 6;  // 2 language bytes, 4 unused
inline constexpr size_t kSubPictureStreams = 32;
inline constexpr size_t kMinimumFileSize =
    kSubPictureAttributesOffset + kSubPictureRecordSize * kSubPictureStreams;  // 792

static_assert(kMinimumFileSize == 792);

inline constexpr size_t kMaxStreamNameLength = 20;

// Beyond the stream table: the video attributes and the title's program
// chains, whose first one holds the colour lookup table of its sub-pictures.
inline constexpr size_t kVideoAttributesOffset = 0x200;  // bits 5-4: 0 NTSC, 1 PAL
inline constexpr size_t kPgcTableSectorOffset = 0xCC;    // sector of the PGC table
inline constexpr size_t kSectorSize = 2048;
inline constexpr size_t kPgcTableHeaderSize = 8;  // count, reserved, end address
inline constexpr size_t kPgcOffsetInEntry = 4;    // each entry: category, offset
inline constexpr size_t kPgcColourTableOffset = 0xA4;
inline constexpr size_t kColourTableEntries = 16;  // 0, Y, Cr, Cb each
inline constexpr size_t kMaxFileSize = size_t{16} << 20;

}  // namespace orvane::ifo
