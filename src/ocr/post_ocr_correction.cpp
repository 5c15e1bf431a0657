#include "ocr/post_ocr_correction.h"

namespace orvane {

std::string repairQuotes(std::string_view line) {
    std::string work(line);
    std::string result;
    result.reserve(line.size());
    for (size_t j = 0; j < work.size(); ++j) {
        const char c = work[j];
        if ((c == '\'' || c == '"') && j > 0 && work[j - 1] == c) {
            // The first of the pair becomes a double quote, the second goes;
            // this one cannot pair again.
            work[j] = '*';
            result.back() = '"';
            continue;
        }
        result += c;
    }
    return result;
}

}  // namespace orvane
