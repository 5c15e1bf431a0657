// The sub-picture decoder on an arbitrary unit.
#include <span>

#include "subpicture/spu_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvane::SubPicture picture;
    orvane::decodeSubPicture(std::span<const uint8_t>(data, size), picture);
    return 0;
}
