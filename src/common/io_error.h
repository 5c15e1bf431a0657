#pragma once

#include <stdexcept>
#include <string>

namespace orvane {

// A failed file operation: which file, and what the system said.
class IoError : public std::runtime_error {
  public:
    IoError(std::string path, std::string systemMessage);
    const std::string& path() const { return path_; }
    const std::string& systemMessage() const { return systemMessage_; }

    // Builds an IoError from the current errno.
    static IoError fromErrno(const std::string& path);

  private:
    std::string path_;
    std::string systemMessage_;
};

}  // namespace orvane
