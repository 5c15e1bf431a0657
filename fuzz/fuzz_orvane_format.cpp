// The own-format reader on arbitrary text; what it reads is written and
// read again to the same entries.
#include <cstdlib>
#include <string>
#include <vector>

#include "subtitles/orvane_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(std::move(cur));
    const auto ignore = [](unsigned) { return orvane::ReadErrorAction::Ignore; };
    const orvane::OrvaneReadResult r = orvane::readOrvaneLines(lines, ignore);
    std::vector<std::string> written;
    for (size_t i = 0; i < r.entries.size(); ++i) {
        const auto block = orvane::orvaneEntryLines(r.entries[i], i + 1, true);
        written.insert(written.end(), block.begin(), block.end());
    }
    bool failed = false;
    const orvane::OrvaneReadResult again = orvane::readOrvaneLines(written, [&](unsigned) {
        failed = true;
        return orvane::ReadErrorAction::Ignore;
    });
    if (failed || again.entries.size() != r.entries.size()) std::abort();
    for (size_t i = 0; i < r.entries.size(); ++i)
        if (again.entries[i].lines != r.entries[i].lines ||
            again.entries[i].start != r.entries[i].start ||
            again.entries[i].stop != r.entries[i].stop)
            std::abort();
    return 0;
}
