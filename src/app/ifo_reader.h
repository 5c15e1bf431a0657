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

// What a title set IFO says of its pictures and subtitles beyond the names.
struct TitleSetInfo {
    StreamNames names;
    std::array<std::string, 32> languageCodes;  // the two letters, empty for none
    bool pal = true;                            // else NTSC (720 x 480)
    bool hasColourTable = false;
    // The title's colour lookup table: 0x00YYCrCb per entry.
    std::array<uint32_t, 16> colourTable{};
};

// Parses what it can: the names need 792 bytes (false without them); the
// video standard and colour table are taken when the data holds them.
bool parseTitleSetInfo(std::span<const uint8_t> data, TitleSetInfo& info);

// Reads it from a file (at most 16 MiB). Throws IoError as readIfoStreamNames.
TitleSetInfo readTitleSetInfo(const std::string& path);

// "1  - English", ..., "10 - French": the 32 lines of the stream list.
std::vector<std::string> streamListItems(const StreamNames& names);

}  // namespace orvane

namespace orvane {}  // namespace orvane
