#pragma once

#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// "WEBVTT" and the empty line that ends the file header.
std::vector<std::string> webVttHeaderLines();
// "hh:mm:ss.mmm" (at least two hours digits).
std::string webVttTime(const TimeCode& t);
// One cue: its number, the timing line ("line:0" for a picture in the upper
// half of the screen, else the players' default, the bottom), the text
// lines with &, < and > escaped, an empty line. Blank lines are left out:
// they would end the cue. A stop before the start ends the cue at its start.
std::vector<std::string> webVttCueLines(const SubtitleEntry& e, size_t index);

}  // namespace orvane
