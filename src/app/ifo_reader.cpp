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

bool parseTitleSetInfo(std::span<const uint8_t> data, TitleSetInfo& info) {
    info = TitleSetInfo{};
    if (!parseIfoStreamNames(data, info.names)) return false;
    for (size_t k = 0; k < ifo::kSubPictureStreams; ++k) {
        const size_t at = ifo::kSubPictureAttributesOffset + k * ifo::kSubPictureRecordSize;
        const auto letter = [](uint8_t b) { return b >= 'a' && b <= 'z'; };
        if (letter(data[at]) && letter(data[at + 1]))
            info.languageCodes[k] =
                std::string{static_cast<char>(data[at]), static_cast<char>(data[at + 1])};
    }
    ByteCursor in(data);
    if (in.seek(ifo::kVideoAttributesOffset)) {
        if (auto v = in.readU8()) info.pal = ((*v >> 4) & 0x3) == 1;
    }
    // The first program chain of the title table: its colour lookup table.
    if (!in.seek(ifo::kPgcTableSectorOffset)) return true;
    const auto sector = in.readU32be();
    if (!sector || *sector == 0) return true;
    const uint64_t table = uint64_t{*sector} * ifo::kSectorSize;
    if (table > data.size() || !in.seek(static_cast<size_t>(table))) return true;
    const auto count = in.readU16be();
    if (!count || *count == 0 ||
        !in.seek(static_cast<size_t>(table) + ifo::kPgcTableHeaderSize + ifo::kPgcOffsetInEntry))
        return true;
    const auto pgc = in.readU32be();
    if (!pgc) return true;
    const uint64_t clut = table + *pgc + ifo::kPgcColourTableOffset;
    if (clut + 4 * ifo::kColourTableEntries > data.size() || !in.seek(static_cast<size_t>(clut)))
        return true;
    for (size_t i = 0; i < ifo::kColourTableEntries; ++i)
        info.colourTable[i] = *in.readU32be() & 0xFFFFFF;
    info.hasColourTable = true;
    return true;
}

TitleSetInfo readTitleSetInfo(const std::string& path) {
    const std::vector<uint8_t> data = readFileStart(path, ifo::kMaxFileSize);
    TitleSetInfo info;
    if (!parseTitleSetInfo(data, info)) {
        throw IoError(path, "read beyond end of file (an IFO file has at least 792 bytes)");
    }
    return info;
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
