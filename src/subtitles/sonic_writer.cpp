#include "subtitles/sonic_writer.h"

#include <cstdio>

#include "subtitles/frame_time_code.h"

namespace orvane {

std::vector<std::string> sonicEntryLines(const SubtitleEntry& e, size_t index,
                                         const OutputSettings& s) {
    auto frames = [&s](const TimeCode& t) {
        return formatFrameTimeCode(toFrameTimeCode(t, s.sonicFrameRate, s.sonicDropFrame));
    };
    char number[24];
    std::snprintf(number, sizeof number, "%04zu", index);
    std::vector<std::string> out;
    out.push_back(std::string(number) + "  " + frames(e.start) + "  " + frames(e.stop) + "  " +
                  (e.lines.empty() ? std::string() : e.lines.front()));
    for (size_t i = 1; i < e.lines.size(); ++i) out.push_back(e.lines[i]);
    out.emplace_back();
    return out;
}

}  // namespace orvane
