#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/file_io.h"

namespace orvane {

// A SUP file holds one sub-picture unit exactly as collected: no header,
// no time stamp, no padding. Creates or overwrites; throws IoError.
void saveSupFile(const std::string& path, std::span<const uint8_t> unit);
// The same as one file of a batch, saved when the batch is committed.
void saveSupFile(SaveBatch& batch, const std::string& path, std::span<const uint8_t> unit);

// "<base><number, at least 6 digits><extension>", e.g. base000001.sup.
std::string numberedFileName(const std::string& base, int64_t number, const std::string& extension);

}  // namespace orvane
