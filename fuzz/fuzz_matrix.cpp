// The character matrix file: what loads must save back to the same bytes
// it was read from (up to the parts a load drops).
#include <cstdlib>
#include <span>

#include "ocr/char_matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvane::CharMatrix m;
    if (orvane::CharMatrix::fromBytes(std::span<const uint8_t>(data, size), m) !=
        orvane::CharMatrix::ParseResult::Ok)
        return 0;
    // A loaded matrix saves and loads again to the same entries.
    const std::vector<uint8_t> saved = m.toBytes();
    orvane::CharMatrix again;
    if (orvane::CharMatrix::fromBytes(saved, again) != orvane::CharMatrix::ParseResult::Ok ||
        again.size() != m.size() || again.toBytes() != saved)
        std::abort();
    return 0;
}
