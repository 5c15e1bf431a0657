#include "subtitles/text_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "common/io_error.h"

namespace orvane {

namespace {
using File = std::unique_ptr<FILE, int (*)(FILE*)>;
}

std::vector<std::string> readTextLines(const std::string& path) {
    errno = 0;
    File f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) throw IoError::fromErrno(path);
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) data.append(buf, n);
    if (std::ferror(f.get())) throw IoError::fromErrno(path);
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(std::move(cur));
    return lines;
}

void writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    errno = 0;
    File f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) throw IoError::fromErrno(path);
    for (const std::string& l : lines) {
        if ((!l.empty() && std::fwrite(l.data(), 1, l.size(), f.get()) != l.size()) ||
            std::fwrite("\r\n", 1, 2, f.get()) != 2) {
            throw IoError::fromErrno(path);
        }
    }
    if (std::fflush(f.get()) != 0) throw IoError::fromErrno(path);
    FILE* raw = f.release();
    if (std::fclose(raw) != 0) throw IoError::fromErrno(path);
}

}  // namespace orvane
