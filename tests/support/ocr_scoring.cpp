#include "support/ocr_scoring.h"

#include <algorithm>

namespace orvane::test {

std::string joinLines(const std::vector<std::string>& lines) {
    std::string s;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) s += '\n';
        s += lines[i];
    }
    return s;
}

int editDistance(const std::string& a, const std::string& b, bool iAndL) {
    auto norm = [iAndL](char c) { return iAndL && c == 'l' ? 'I' : c; };
    std::vector<int> prev(b.size() + 1), cur(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) prev[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        cur[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            const int sub = prev[j - 1] + (norm(a[i - 1]) == norm(b[j - 1]) ? 0 : 1);
            cur[j] = std::min({sub, prev[j] + 1, cur[j - 1] + 1});
        }
        std::swap(prev, cur);
    }
    return prev[b.size()];
}

}  // namespace orvane::test
