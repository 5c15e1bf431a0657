// VobSub indexes: any text reads to streams of sub-stream indexes 0..31,
// and what is read writes out and reads back the same.
#include <cstdlib>
#include <string_view>

#include "stream/vobsub.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvane::vobsub::Index index;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!orvane::vobsub::parseIndex(text, index, error)) return 0;
    for (const auto& s : index.streams)
        if (s.index < 0 || s.index > 31) std::abort();
    orvane::vobsub::Index back;
    if (!orvane::vobsub::parseIndex(orvane::vobsub::indexText(index), back, error)) std::abort();
    if (back.streams.size() != index.streams.size() || back.palette != index.palette) std::abort();
    return 0;
}
