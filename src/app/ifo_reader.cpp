#include "app/ifo_reader.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "app/ifo_format.h"
#include "common/io_error.h"

namespace orvane {

namespace {

struct Language {
    const char* code;
    const char* name;
};

constexpr Language kLanguages[] = {
    {"en", "English"},   {"de", "German"},    {"es", "Spanish"}, {"nl", "Dutch"},
    {"sv", "Swedish"},   {"no", "Norwegian"}, {"da", "Danish"},  {"fi", "Finnish"},
    {"pt", "Portugese"}, {"it", "Italian"},   {"iw", "Hebrew"},  {"pl", "Polish"},
    {"el", "Greek"},     {"cs", "Czech"},     {"tr", "Turkish"}, {"hu", "Hungarian"},
    {"is", "Icelandic"}, {"hr", "Croatian"},  {"fr", "French"},  {"hi", "Hindi"},
};

}  // namespace

std::string languageName(uint8_t first, uint8_t second) {
    if (first == 0 && second == 0) return {};
    for (const Language& l : kLanguages) {
        if (static_cast<uint8_t>(l.code[0]) == first && static_cast<uint8_t>(l.code[1]) == second)
            return l.name;
    }
    // Unknown codes show as their letters; a lone zero byte is not shown.
    std::string s;
    if (first != 0) s += static_cast<char>(first);
    if (second != 0) s += static_cast<char>(second);
    return s;
}

bool parseIfoStreamNames(std::span<const uint8_t> data, StreamNames& names) {
    if (data.size() < ifo::kMinimumFileSize) return false;
    for (size_t k = 0; k < ifo::kSubPictureStreams; ++k) {
        const size_t at = ifo::kSubPictureAttributesOffset + k * ifo::kSubPictureRecordSize;
        names[k] = languageName(data[at], data[at + 1]).substr(0, ifo::kMaxStreamNameLength);
    }
    return true;
}

StreamNames readIfoStreamNames(const std::string& path) {
    errno = 0;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) throw IoError::fromErrno(path);
    uint8_t buf[ifo::kMinimumFileSize];
    const size_t got = std::fread(buf, 1, sizeof buf, f.get());
    if (std::ferror(f.get())) throw IoError::fromErrno(path);
    StreamNames names;
    if (!parseIfoStreamNames(std::span<const uint8_t>(buf, got), names)) {
        throw IoError(path, "read beyond end of file (an IFO file has at least 792 bytes)");
    }
    return names;
}

std::vector<std::string> streamListItems(const StreamNames& names) {
    std::vector<std::string> items;
    items.reserve(names.size());
    for (size_t n = 1; n <= names.size(); ++n) {
        items.push_back(std::to_string(n) + (n <= 9 ? "  - " : " - ") + names[n - 1]);
    }
    return items;
}

}  // namespace orvane
