#include "common/io_error.h"

#include <cerrno>
#include <cstring>

namespace orvane {

IoError::IoError(std::string path, std::string systemMessage)
    : std::runtime_error(path + ": " + systemMessage),
      path_(std::move(path)),
      systemMessage_(std::move(systemMessage)) {}

IoError IoError::fromErrno(const std::string& path) {
    int e = errno;
    return IoError(path, e != 0 ? std::strerror(e) : "unexpected end of file");
}

}  // namespace orvane
