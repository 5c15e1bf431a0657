#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stream/time_code.h"
#include "subpicture/spu_decoder.h"

namespace orvane {

struct SubtitleEntry {
    static constexpr size_t kMaxLines = 10;
    TimeCode start;
    TimeCode stop;                   // zero: still open
    std::vector<std::string> lines;  // 1..10, Windows-1252
    DisplayArea rect;
    friend bool operator==(const SubtitleEntry&, const SubtitleEntry&) = default;
};

enum class OutputFormat : uint8_t {
    Orvane = 0,
    SubViewer1 = 1,
    SubViewer2 = 2,
    IAuthor = 3,
    Philips = 4,
    Sonic = 5
};

struct SplitRange {
    bool enabled = false;
    TimeCode start;
    TimeCode stop;
};

// The writers' options that the document needs so far.
struct OutputSettings {
    bool ovtExtended = false;  // picture coordinates on the own format's time line
    uint16_t indexOffset = 0;  // added to the entry numbers written
};

}  // namespace orvane
