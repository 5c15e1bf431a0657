#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "subpicture/bitmap_adjust.h"

namespace orvane {

// The adjusted picture as an uncompressed bottom-up Windows bitmap of 4 or
// 8 bits with its 16 palette entries; at 4 bits the left pixel of each
// pair is the high nibble.
std::vector<uint8_t> encodeBmp(const AdjustedPicture& picture);

// Creates or overwrites `path` (extension included by the caller); throws
// IoError.
void saveBmpFile(const std::string& path, const AdjustedPicture& picture);
// The same as one file of a batch, saved when the batch is committed.
void saveBmpFile(SaveBatch& batch, const std::string& path, const AdjustedPicture& picture);

}  // namespace orvane
