#pragma once

#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// One Sonic DVD Creator entry: "nnnn  start  stop  line 1" (the index with
// four digits, no offset; frame time codes at the Sonic frame rate), the
// further lines one per line, then an empty line.
std::vector<std::string> sonicEntryLines(const SubtitleEntry& e, size_t index,
                                         const OutputSettings& s);

}  // namespace orvane
