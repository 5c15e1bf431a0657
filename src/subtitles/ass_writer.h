#pragma once

#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// [Script Info] for a 720 x 576 frame, one "Default" style (white Arial
// with a black outline, bottom centre) and the [Events] format line.
std::vector<std::string> assHeaderLines();
// "h:mm:ss.cc", the hundredths truncated.
std::string assTime(const TimeCode& t);
// One "Dialogue:" line: the lines joined with \N, "{\an8}" first for a
// picture in the upper half of the screen, braces escaped so that they are
// not read as override blocks. A stop before the start ends the event at
// its start. The OCR does not tell italics apart, so no {\i1} is written.
std::string assDialogueLine(const SubtitleEntry& e);

}  // namespace orvane
