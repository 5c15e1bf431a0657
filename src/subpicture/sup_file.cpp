#include "subpicture/sup_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "common/io_error.h"

namespace orvane {

void saveSupFile(const std::string& path, std::span<const uint8_t> unit) {
    errno = 0;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) throw IoError::fromErrno(path);
    if (!unit.empty() && std::fwrite(unit.data(), 1, unit.size(), f.get()) != unit.size()) {
        throw IoError::fromErrno(path);
    }
    if (std::fflush(f.get()) != 0) throw IoError::fromErrno(path);
    FILE* raw = f.release();
    if (std::fclose(raw) != 0) throw IoError::fromErrno(path);
}

std::string numberedFileName(const std::string& base, int64_t number,
                             const std::string& extension) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%06lld", static_cast<long long>(number));
    return base + digits + extension;
}

}  // namespace orvane
