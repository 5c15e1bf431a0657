#pragma once

#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// An IAuthor time: 100 ms later than held, in seconds with two decimals
// (hundredths truncated): 00:01:02,345 is "62.44".
std::string iauthorTimeText(const TimeCode& t);

// A 0x00BBGGRR colour as IAuthor's "Y, Cr, Cb" (studio range, integer
// arithmetic): black is "16, 128, 128".
std::string yccText(ColourRef colour);

// The whole IAuthor OGT script: a header stamped with `dateTime`, then one
// page per entry that lies in the split range and has text. Pages are
// numbered by the entries' indices. The minimum interval shortens a stop
// that comes too close to the next entry's start. Every page line is
// followed by an empty line.
std::vector<std::string> iauthorScriptLines(const std::vector<SubtitleEntry>& entries,
                                            const SplitRange& split, const OutputSettings& settings,
                                            const std::string& dateTime);

}  // namespace orvane
