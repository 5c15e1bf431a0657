#include "app/program_folder.h"

#include <unistd.h>

#include <cstdlib>

namespace orvane {

namespace {
std::string withSlash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}
}  // namespace

std::string defaultProgramFolder() {
    if (const char* home = std::getenv("ORVANE_HOME"); home && *home) return withSlash(home);
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
        buf[n] = 0;
        return folderOf(buf);
    }
    return "./";
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace orvane
