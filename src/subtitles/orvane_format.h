#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "subtitles/subtitle_entry.h"

namespace orvane {

// The lines of one entry block of the own format: number, time line, text,
// an empty line.
std::vector<std::string> orvaneEntryLines(const SubtitleEntry& e, size_t number, bool extended);

// "hh:mm:ss,mmm --> hh:mm:ss,mmm", with "  X1:xxx X2:xxx Y1:xxx Y2:xxx" when extended.
std::string orvaneTimeLine(const SubtitleEntry& e, bool extended);

// What the reader does after a block it could not read.
enum class ReadErrorAction { Cancel, Ignore, IgnoreAll };

struct OrvaneReadResult {
    std::vector<SubtitleEntry> entries;
    uint16_t indexOffset = 0;   // first number - 1, within 0..65535
    bool extended = false;      // as the last block read says
    bool extendedSeen = false;  // a time line decided the choice
    bool cancelled = false;     // stopped by Cancel at an error
};

// Reads the blocks of an own-format file from its lines. `onError` is asked
// with the number of the block that failed (the last number read + 1)
// unless an earlier answer was IgnoreAll.
OrvaneReadResult readOrvaneLines(const std::vector<std::string>& lines,
                                 const std::function<ReadErrorAction(unsigned)>& onError);

// Decimal with leading zeros to three digits, then its first three
// characters (1000 keeps "100"): the coordinate fields of the own format
// and the Philips list.
std::string threeDigitField(int32_t v);

// Removes characters of code 32 or less at both ends.
std::string_view trimControls(std::string_view s);

}  // namespace orvane
