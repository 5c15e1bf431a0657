#include "app/ifo_reader.h"


#include "app/ifo_format.h"
#include "common/byte_cursor.h"
#include "common/file_io.h"
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
    // A byte that is no printable ASCII character (a control byte would
    // reach the terminal or break the list's lines) shows as '?'.
    auto shown = [](uint8_t b) { return b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : '?'; };
    std::string s;
    if (first != 0) s += shown(first);
    if (second != 0) s += shown(second);
    return s;
}

bool parseIfoStreamNames(std::span<const uint8_t> data, StreamNames& names) {
    ByteCursor in(data);
    if (data.size() < ifo::kMinimumFileSize || !in.seek(ifo::kSubPictureAttributesOffset))
        return false;
    for (size_t k = 0; k < ifo::kSubPictureStreams; ++k) {
        const uint8_t first = *in.readU8();
        const uint8_t second = *in.readU8();
        in.skip(ifo::kSubPictureRecordSize - 2);
        names[k] = languageName(first, second).substr(0, ifo::kMaxStreamNameLength);
    }
    return true;
}

StreamNames readIfoStreamNames(const std::string& path) {
    // Only the start matters, however large the file is.
    const std::vector<uint8_t> start = readFileStart(path, ifo::kMinimumFileSize);
    StreamNames names;
    if (!parseIfoStreamNames(start, names)) {
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

namespace orvane {

std::string vobStreamLanguage(const std::string& vobPath, int streamIndex) {
    const size_t slash = vobPath.find_last_of('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    std::string ifo = vobPath;
    // VTS_nn_k.VOB: the IFO is VTS_nn_0.IFO, in the file name's own case.
    if (ifo.size() - nameAt != 12 || ifo[nameAt + 6] != '_' || ifo[nameAt + 8] != '.') return {};
    const bool lower = ifo[nameAt + 9] == 'v';
    ifo[nameAt + 7] = '0';
    ifo.replace(nameAt + 9, 3, lower ? "ifo" : "IFO");
    if (streamIndex < 0 || streamIndex >= static_cast<int>(ifo::kSubPictureStreams)) return {};
    try {
        const std::vector<uint8_t> start = readFileStart(ifo, ifo::kMinimumFileSize);
        if (start.size() < ifo::kMinimumFileSize) return {};
        const size_t at =
            ifo::kSubPictureAttributesOffset + static_cast<size_t>(streamIndex) * ifo::kSubPictureRecordSize;
        const auto letter = [](uint8_t b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); };
        if (!letter(start[at]) || !letter(start[at + 1])) return {};
        return {static_cast<char>(start[at]), static_cast<char>(start[at + 1])};
    } catch (const IoError&) {
        return {};
    }
}

}  // namespace orvane
