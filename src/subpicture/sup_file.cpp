#include "subpicture/sup_file.h"

#include <cstdio>

namespace orvane {

void saveSupFile(const std::string& path, std::span<const uint8_t> unit) {
    saveFile(path, unit);
}

void saveSupFile(SaveBatch& batch, const std::string& path, std::span<const uint8_t> unit) {
    batch.add(path, unit);
}

std::string numberedFileName(const std::string& base, int64_t number,
                             const std::string& extension) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%06lld", static_cast<long long>(number));
    return base + digits + extension;
}

}  // namespace orvane
