#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_encoding.h"

namespace orvane {

// A text file's bytes as Orvane holds texts (Windows-1252). They are UTF-8
// when they begin with its byte-order mark (which is dropped) or are valid
// UTF-8 with a byte above 127; otherwise Windows-1252.
struct DecodedText {
    std::string text;
    std::optional<TextEncoding> encoding;  // nothing for plain ASCII: both read it alike
    size_t unmappable = 0;                 // UTF-8 characters Windows-1252 lacks, read as '?'
};
DecodedText decodeText(std::string_view bytes);

// Lines of a text; CR LF, LF and lone CR all end a line.
std::vector<std::string> splitTextLines(std::string_view text);

struct TextFileLines {
    std::vector<std::string> lines;  // Windows-1252
    std::optional<TextEncoding> encoding;
    size_t unmappable = 0;
};
// Reads a text file in either encoding into lines. Throws IoError (also for
// what is not a regular file, holds zero bytes, or is larger than
// file_limits::kSubtitleText).
TextFileLines readTextFile(const std::string& path);
inline std::vector<std::string> readTextLines(const std::string& path) {
    return readTextFile(path).lines;
}

// Each line followed by CR LF.
std::string joinTextLines(const std::vector<std::string>& lines);

// Saves each line followed by CR LF, no byte-order mark, through saveFile:
// a failed save leaves the old file as it was. Throws IoError.
void writeTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace orvane
