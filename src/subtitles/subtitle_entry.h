#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/display_area.h"
#include "common/text_encoding.h"
#include "stream/time_code.h"

namespace orvane {

struct SubtitleEntry {
    static constexpr size_t kMaxLines = 10;
    TimeCode start;
    TimeCode stop;                   // zero: still open
    std::vector<std::string> lines;  // 1..10, Windows-1252
    DisplayArea rect;
    friend bool operator==(const SubtitleEntry&, const SubtitleEntry&) = default;
};

struct SplitRange {
    bool enabled = false;
    TimeCode start;
    TimeCode stop;
};

// A colour as the configuration stores it: 0x00BBGGRR.
using ColourRef = uint32_t;

// What the writers' "Source" fields start with.
inline constexpr char kDefaultSubViewerSource[] = "Subtitles captured by Orvane 0.97b";

// A font as the SubViewer 2 header describes it.
struct FontDescription {
    std::string face = "Arial";
    int sizePoints = 18;
    bool bold = true;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    ColourRef colour = 0xFFFFFF;
    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// The SubViewer 1 page: header texts and entry options.
struct SubViewer1Settings {
    std::string title;
    std::string author;
    std::string source = kDefaultSubViewerSource;
    std::string program;
    std::string filePath;
    int32_t delay = 0;                  // -65535..65535, header only
    bool joinLinesBeyondSecond = true;  // lines 3.. follow line 2 after a blank
    bool roundToSeconds = true;
    friend bool operator==(const SubViewer1Settings&, const SubViewer1Settings&) = default;
};

// The SubViewer 2 page: header texts and the font line.
struct SubViewer2Settings {
    std::string title;
    std::string author;
    std::string source = kDefaultSubViewerSource;
    std::string program;
    std::string filePath;
    std::string comment;
    uint16_t delay = 0;  // header only
    uint8_t cdTrack = 0;
    FontDescription font;
    friend bool operator==(const SubViewer2Settings&, const SubViewer2Settings&) = default;
};

// The writers' settings. The first group is copied from the output format
// dialog by "&Convert to this Format" and kept in the configuration; the
// second group is read live from the dialog's pages and never stored.
struct OutputSettings {
    bool ovtExtended = false;  // picture coordinates on the own format's time line
    TextEncoding ovtEncoding = TextEncoding::Windows1252;  // of the own format's files
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
    SubViewer1Settings subViewer1;
    SubViewer2Settings subViewer2;
    std::string philipsTitle;

    friend bool operator==(const OutputSettings&, const OutputSettings&) = default;
};

}  // namespace orvane
