#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// The split range as the writers see it: while enabled, an entry is written
// only if split start <= start < split stop; its stop is cut at the split
// stop, and both times become relative to the split start. Nothing when the
// entry lies outside; the entry unchanged when the range is disabled.
std::optional<SubtitleEntry> restrictToSplitRange(const SplitRange& range, SubtitleEntry e);

// A time moved into the split range's time base (the split start taken off,
// negative results kept) so that times of entries outside the range can be
// compared with shifted ones.
int64_t splitRelativeMs(const SplitRange& range, const TimeCode& t);

// The end-of-file time of the split dialog: the stop of the last entry, or
// zero for an empty document.
TimeCode splitEndOfFile(const std::vector<SubtitleEntry>& entries);

// The bar of the split dialog: the filled part that will be saved, inside
// the full bar, and the three time labels.
struct SplitBar {
    int64_t fillLeft = 0;
    int64_t fillWidth = 0;
    std::string endText;    // LabelEndOfFile
    std::string startText;  // LabelStartSplit
    std::string stopText;   // LabelStopSplit
};

// Draws the bar for start `a`, stop `b` and end of file `end`, in whole
// seconds clamped to the file: an empty file counts as one second long.
SplitBar splitBar(const TimeCode& a, const TimeCode& b, const TimeCode& end, int64_t fullLeft,
                  int64_t fullWidth);

// Left edge of a label of `width` centred on `edge` (half width toward zero).
inline int64_t centredLabelLeft(int64_t edge, int64_t width) {
    return edge - width / 2;
}

}  // namespace orvane
