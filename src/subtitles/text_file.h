#pragma once

#include <string>
#include <vector>

namespace orvane {

// Lines of a text file as bytes; CR LF, LF and lone CR all end a line.
// Throws IoError (also for what is not a regular file, or a file larger
// than file_limits::kSubtitleText).
std::vector<std::string> readTextLines(const std::string& path);

// Each line followed by CR LF.
std::string joinTextLines(const std::vector<std::string>& lines);

// Saves each line followed by CR LF, no byte-order mark, through saveFile:
// a failed save leaves the old file as it was. Throws IoError.
void writeTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace orvane
