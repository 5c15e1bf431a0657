#include "subtitles/text_file.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/io_error.h"

namespace orvane {

DecodedText decodeText(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    DecodedText d;
    const bool bom = bytes.substr(0, kBom.size()) == kBom;
    if (bom) bytes.remove_prefix(kBom.size());
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        d.text = bytes;
        if (bom) d.encoding = TextEncoding::Utf8;
    } else if (bom || isValidUtf8(bytes)) {
        d.text = utf8ToCp1252(bytes, &d.unmappable);
        d.encoding = TextEncoding::Utf8;
    } else {
        d.text = bytes;
        d.encoding = TextEncoding::Windows1252;
    }
    return d;
}

std::vector<std::string> splitTextLines(std::string_view data) {
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

TextFileLines readTextFile(const std::string& path) {
    const std::string data = readWholeFileText(path, file_limits::kSubtitleText);
    // No text file holds zero bytes; reading one as lines would only give a
    // flood of errors.
    if (data.find('\0') != std::string::npos)
        throw IoError(path, "not a text file (it holds binary data)");
    DecodedText d = decodeText(data);
    return {splitTextLines(d.text), d.encoding, d.unmappable};
}

std::string joinTextLines(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const std::string& l : lines) size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    saveFile(path, joinTextLines(lines));
}

}  // namespace orvane
