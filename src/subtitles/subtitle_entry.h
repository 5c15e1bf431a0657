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

// A colour as the configuration stores it: 0x00BBGGRR.
using ColourRef = uint32_t;

// The writers' settings. The first group is copied from the output format
// dialog by "&Convert to this Format" and kept in the configuration; the
// second group is read live from the dialog's pages and never stored.
struct OutputSettings {
    bool ovtExtended = false;  // picture coordinates on the own format's time line
    ColourRef iauthorColour[4] = {0x000000, 0xFFFFFF, 0x000000, 0x808080};
    uint8_t iauthorBlend[4] = {0, 15, 15, 15};
    uint16_t iauthorMinimumInterval = 10;
    uint8_t philipsFrameRate = 0;  // 0 PAL, 1 NTSC
    bool philipsDropFrame = true;
    bool philipsUseBmpColour = true;
    ColourRef philipsColour[4] = {0x000000, 0xFFFFFF, 0x000000, 0x808080};
    uint8_t philipsContrast[4] = {0, 15, 15, 15};
    uint8_t sonicFrameRate = 0;  // 0 PAL, 1 NTSC
    bool sonicDropFrame = false;

    // Live fields.
    uint16_t indexOffset = 0;  // added to the entry numbers written

    friend bool operator==(const OutputSettings&, const OutputSettings&) = default;
};

}  // namespace orvane
