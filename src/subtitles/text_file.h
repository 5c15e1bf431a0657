#pragma once

#include <string>
#include <vector>

namespace orvane {

// Lines of a text file as bytes; CR LF, LF and lone CR all end a line.
// Throws IoError.
std::vector<std::string> readTextLines(const std::string& path);

// Writes each line followed by CR LF, no byte-order mark. Throws IoError.
void writeTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace orvane
