#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::bmp {

// BITMAPFILEHEADER followed by BITMAPINFOHEADER, little-endian.
inline constexpr uint16_t kMagic = 0x4D42;  // "BM"
inline constexpr size_t kFileHeaderSize = 14;
inline constexpr size_t kInfoHeaderSize = 40;
inline constexpr size_t kPaletteEntrySize = 4;    // blue, green, red, 0
inline constexpr uint32_t kCompressionNone = 0;   // BI_RGB
inline constexpr int32_t kPixelsPerMetre = 2835;  // 72 dpi
static_assert(kFileHeaderSize + kInfoHeaderSize == 54);

// Rows are padded to whole 32-bit words.
inline constexpr size_t rowStride(int width, int bitsPerPixel) {
    return (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32 * 4;
}

}  // namespace orvane::bmp
