#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

using StreamNames = std::array<std::string, 32>;

// The name of a two-letter language code: the table's name, an empty name
// for two zero bytes, else the letters themselves.
std::string languageName(uint8_t first, uint8_t second);

// The 32 stream names from the bytes of an IFO file. False when the data
// is shorter than the table (792 bytes).
bool parseIfoStreamNames(std::span<const uint8_t> data, StreamNames& names);

// Reads a title set IFO file. Throws IoError when it cannot be read or is
// shorter than 792 bytes.
StreamNames readIfoStreamNames(const std::string& path);

// "1  - English", ..., "10 - French": the 32 lines of the stream list.
std::vector<std::string> streamListItems(const StreamNames& names);

}  // namespace orvane

namespace orvane {

// The two-letter language code of subtitle stream `streamIndex` (0..31) in
// the IFO of the title set a VOB file belongs to ("VTS_01_1.VOB" reads
// "VTS_01_0.IFO" beside it); empty when there is none, it cannot be read or
// the code is not two letters.
std::string vobStreamLanguage(const std::string& vobPath, int streamIndex);

}  // namespace orvane
