#pragma once

#include <optional>
#include <string>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// The 16 header lines of a SubViewer 1 file.
std::vector<std::string> subViewer1HeaderLines(const SubViewer1Settings& s);

// The display lines of one SubViewer 1 entry. `previousStop` is the stop of
// the entry before it in the same time base, or nothing for the first entry
// written; when that stop lies before the entry's start, two gap lines end
// the previous subtitle first. The entry's own stop is never written.
std::vector<std::string> subViewer1EntryLines(const SubtitleEntry& e,
                                              const std::optional<TimeCode>& previousStop,
                                              const SubViewer1Settings& s);

// "[END]" and the closing script line, written after the display lines.
std::vector<std::string> subViewer1FooterLines();

// Rounds to whole seconds: more than 500 ms goes up, 500 ms and less down.
TimeCode roundToSeconds(const TimeCode& tc);

// The 15 header lines of a SubViewer 2 file, font line included.
std::vector<std::string> subViewer2HeaderLines(const SubViewer2Settings& s);
// "[COLF]&HBBGGRR,[STYLE]xx,[SIZE]n,[FONT]face"
std::string subViewer2FontLine(const FontDescription& font);
// Time line ("hh:mm:ss.cc,hh:mm:ss.cc", hundredths truncated), the lines
// joined with "[br]", an empty line.
std::vector<std::string> subViewer2EntryLines(const SubtitleEntry& e);

}  // namespace orvane
