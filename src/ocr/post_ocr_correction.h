#pragma once

#include <string>
#include <string_view>

namespace orvane {

// A pair of apostrophes or of double quotes becomes one double quote, pairs
// taken from left to right without overlap: the OCR reads a double quote
// as two apostrophes when its strokes are cut apart.
std::string repairQuotes(std::string_view line);

}  // namespace orvane
