#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace orvane::cli {

// orvane-cli convert: reads an own-format file, runs the time correction,
// then the post-OCR correction, and saves the document in the chosen format
// with the split range. `args` starts after the word "convert".
int runConvert(const std::vector<std::string>& args, std::FILE* out, std::FILE* err, std::FILE* in);

}  // namespace orvane::cli
