#include "subtitles/split_range.h"

#include <algorithm>

namespace orvane {

std::optional<SubtitleEntry> restrictToSplitRange(const SplitRange& range, SubtitleEntry e) {
    if (!range.enabled) return e;
    const int64_t s = timeCodeToMs(e.start);
    if (s < timeCodeToMs(range.start) || s >= timeCodeToMs(range.stop)) return std::nullopt;
    if (timeCodeToMs(e.stop) > timeCodeToMs(range.stop)) e.stop = range.stop;
    if (!range.start.isZero()) {
        const int64_t shift = timeCodeToMs(range.start);
        e.start = timeCodeFromMs(timeCodeToMs(e.start) - shift);
        e.stop = timeCodeFromMs(timeCodeToMs(e.stop) - shift);
    }
    return e;
}

int64_t splitRelativeMs(const SplitRange& range, const TimeCode& t) {
    return range.enabled ? timeCodeToMs(t) - timeCodeToMs(range.start) : timeCodeToMs(t);
}

TimeCode splitEndOfFile(const std::vector<SubtitleEntry>& entries) {
    return entries.empty() ? TimeCode{} : entries.back().stop;
}

SplitBar splitBar(const TimeCode& a, const TimeCode& b, const TimeCode& end, int64_t fullLeft,
                  int64_t fullWidth) {
    int64_t sa = timeCodeToMs(a) / 1000;
    int64_t sb = timeCodeToMs(b) / 1000;
    int64_t se = timeCodeToMs(end) / 1000;
    if (se == 0) {
        se = 1;
        sb = 1;
    }
    sa = std::min(sa, se);
    sb = std::min(sb, se);
    sb = std::max(sb, sa);
    const int64_t k = fullWidth * 1000000 / se;
    SplitBar bar;
    bar.fillLeft = sa * k / 1000000 + fullLeft;
    bar.fillWidth = k * (sb - sa) / 1000000;
    bar.endText = formatTimeCode(end);
    bar.startText = formatTimeCode(a);
    bar.stopText = formatTimeCode(b);
    return bar;
}

}  // namespace orvane
