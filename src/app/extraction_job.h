#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "stream/time_code.h"

namespace orvane {

enum class ActionMode : uint8_t { Ocr = 1, SaveBmp = 2, SaveSup = 3, OnlyShow = 4, SaveVobSub = 5 };

// The job of the main window: which files, which stream, what to do, and
// where reading stands.
struct ExtractionJob {
    static constexpr size_t kMaxFiles = 1024;

    std::vector<std::string> files;                   // full paths, in processing order
    std::array<uint32_t, kMaxFiles + 1> fileSizes{};  // KiB, 1-based
    uint32_t totalSize = 0;                           // KiB
    uint16_t currentFile = 1;                         // 1-based
    uint8_t selectedStream = 0x20;
    bool running = false;
    bool paused = true;
    bool ignoreBadHeaders = false;
    ActionMode actionMode = ActionMode::Ocr;
    bool timingAndPosition = false;
    int32_t resumeSector = 0;
    int32_t unitStartSector = 0;
    bool avoidTimeRestart = false;
    uint8_t textColourIndex = 255;
    TimeCode elapsed;
    int32_t unitsInFile = 0;
    int32_t unitsInJob = 0;
    // Only the units with a forced start are dispatched; the others are
    // passed over as if the stream did not hold them.
    bool forcedOnly = false;

    // KiB of the files before the current one.
    uint64_t sizeBeforeCurrent() const {
        uint64_t s = 0;
        for (size_t i = 1; i < currentFile && i <= files.size(); ++i) s += fileSizes[i];
        return s;
    }
};

// What the job dialog's Start hands over.
struct JobRequest {
    std::vector<std::string> files;  // the checked files, in list order
    int streamIndex = 0;             // 0-based: stream 1 is sub-stream 0x20
    ActionMode action = ActionMode::Ocr;
    bool timing = false;  // "+ TC && Res."
    bool avoidTimeRestart = false;
    bool forcedOnly = false;  // "Forced subtitles only"
};

}  // namespace orvane
