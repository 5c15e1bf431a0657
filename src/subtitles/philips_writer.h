#pragma once

#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// The header of a Philips SVCD Designer list, stamped with `dateTime`: the
// title, frame rate (drop frame only with NTSC), contrasts and, unless the
// colours come from the bitmaps, the palette; it ends with "[LIST]".
std::vector<std::string> philipsHeaderLines(const OutputSettings& s, const std::string& dateTime);

// One list line: "name start stop width height x1 y1", times as frame time
// codes at the Philips frame rate, numbers as three-digit fields.
std::string philipsListLine(const SubtitleEntry& e, const OutputSettings& s);

}  // namespace orvane
