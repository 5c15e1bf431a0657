// The IFO stream table: 32 names of printable characters, whatever the bytes;
// the title set's language codes, video standard and colour table read
// without ever leaving the data.
#include <cstdlib>
#include <span>

#include "app/ifo_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvane::StreamNames names;
    if (!orvane::parseIfoStreamNames(std::span<const uint8_t>(data, size), names)) return 0;
    for (const std::string& line : orvane::streamListItems(names))
        for (char c : line)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
                std::abort();
    orvane::TitleSetInfo info;
    if (!orvane::parseTitleSetInfo(std::span<const uint8_t>(data, size), info)) std::abort();
    for (const std::string& code : info.languageCodes)
        if (!code.empty() && code.size() != 2) std::abort();
    return 0;
}
