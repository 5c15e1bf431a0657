// The IFO stream table: 32 names of printable characters, whatever the bytes.
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
    return 0;
}
