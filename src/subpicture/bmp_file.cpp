#include "subpicture/bmp_file.h"

#include <algorithm>

#include "common/byte_writer.h"
#include "common/file_io.h"
#include "subpicture/bmp_format.h"

namespace orvane {

std::vector<uint8_t> encodeBmp(const AdjustedPicture& picture) {
    const int bits = picture.bitsPerPixel == 8 ? 8 : 4;
    const int width = std::max(picture.width, 0);
    const int height = std::max(picture.height, 0);
    const size_t stride = bmp::rowStride(width, bits);
    const size_t paletteBytes = kExportPaletteSize * bmp::kPaletteEntrySize;
    const size_t offset = bmp::kFileHeaderSize + bmp::kInfoHeaderSize + paletteBytes;
    const size_t imageBytes = stride * static_cast<size_t>(height);

    ByteWriter out(offset + imageBytes);
    out.putU16le(bmp::kMagic);
    out.putU32le(static_cast<uint32_t>(offset + imageBytes));
    out.putU32le(0);  // reserved
    out.putU32le(static_cast<uint32_t>(offset));

    out.putU32le(bmp::kInfoHeaderSize);
    out.putU32le(static_cast<uint32_t>(width));
    out.putU32le(static_cast<uint32_t>(height));  // positive: bottom-up rows
    out.putU16le(1);                              // planes
    out.putU16le(static_cast<uint16_t>(bits));
    out.putU32le(bmp::kCompressionNone);
    out.putU32le(static_cast<uint32_t>(imageBytes));
    out.putU32le(static_cast<uint32_t>(bmp::kPixelsPerMetre));
    out.putU32le(static_cast<uint32_t>(bmp::kPixelsPerMetre));
    // Also at 8 bits only the 16 entries the picture can use are listed.
    out.putU32le(static_cast<uint32_t>(kExportPaletteSize));
    out.putU32le(0);  // all colours important

    for (Colour c : picture.palette) {
        out.putU8(static_cast<uint8_t>(c >> 16));  // blue
        out.putU8(static_cast<uint8_t>(c >> 8));   // green
        out.putU8(static_cast<uint8_t>(c));        // red
        out.putU8(0);
    }

    const std::span<uint8_t> image = out.reserveSpan(imageBytes);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &image[static_cast<size_t>(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            // A pixel list shorter than the picture reads as index 0.
            const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + x;
            const uint8_t v = at < picture.pixels.size() ? picture.pixels[at] & 0x0Fu : 0;
            if (bits == 8) {
                row[x] = v;
            } else if (x % 2 == 0) {
                row[x / 2] = static_cast<uint8_t>(v << 4);
            } else {
                row[x / 2] |= v;
            }
        }
    }
    return out.take();
}

void saveBmpFile(const std::string& path, const AdjustedPicture& picture) {
    saveFile(path, encodeBmp(picture));
}

void saveBmpFile(SaveBatch& batch, const std::string& path, const AdjustedPicture& picture) {
    batch.add(path, encodeBmp(picture));
}

}  // namespace orvane
