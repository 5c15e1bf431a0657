#include "subpicture/bmp_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "common/io_error.h"
#include "subpicture/bmp_format.h"

namespace orvane {

namespace {

void putU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> encodeBmp(const AdjustedPicture& picture) {
    const int bits = picture.bitsPerPixel == 8 ? 8 : 4;
    const int width = std::max(picture.width, 0);
    const int height = std::max(picture.height, 0);
    const size_t stride = bmp::rowStride(width, bits);
    const size_t paletteBytes = kExportPaletteSize * bmp::kPaletteEntrySize;
    const size_t offset = bmp::kFileHeaderSize + bmp::kInfoHeaderSize + paletteBytes;
    const size_t imageBytes = stride * static_cast<size_t>(height);

    std::vector<uint8_t> out;
    out.reserve(offset + imageBytes);
    putU16(out, bmp::kMagic);
    putU32(out, static_cast<uint32_t>(offset + imageBytes));
    putU32(out, 0);  // reserved
    putU32(out, static_cast<uint32_t>(offset));

    putU32(out, bmp::kInfoHeaderSize);
    putU32(out, static_cast<uint32_t>(width));
    putU32(out, static_cast<uint32_t>(height));  // positive: bottom-up rows
    putU16(out, 1);                              // planes
    putU16(out, static_cast<uint16_t>(bits));
    putU32(out, bmp::kCompressionNone);
    putU32(out, static_cast<uint32_t>(imageBytes));
    putU32(out, static_cast<uint32_t>(bmp::kPixelsPerMetre));
    putU32(out, static_cast<uint32_t>(bmp::kPixelsPerMetre));
    // Also at 8 bits only the 16 entries the picture can use are listed.
    putU32(out, static_cast<uint32_t>(kExportPaletteSize));
    putU32(out, 0);  // all colours important

    for (Colour c : picture.palette) {
        out.push_back(static_cast<uint8_t>(c >> 16));  // blue
        out.push_back(static_cast<uint8_t>(c >> 8));   // green
        out.push_back(static_cast<uint8_t>(c));        // red
        out.push_back(0);
    }

    out.resize(offset + imageBytes, 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &out[offset + static_cast<size_t>(height - 1 - y) * stride];
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
    return out;
}

void saveBmpFile(const std::string& path, const AdjustedPicture& picture) {
    const std::vector<uint8_t> bytes = encodeBmp(picture);
    errno = 0;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) throw IoError::fromErrno(path);
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
        throw IoError::fromErrno(path);
    }
    if (std::fflush(f.get()) != 0) throw IoError::fromErrno(path);
    FILE* raw = f.release();
    if (std::fclose(raw) != 0) throw IoError::fromErrno(path);
}

}  // namespace orvane
