#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// How the main window's preview shows a sub-picture. Colours are 0x00BBGGRR.
struct PreviewOptions {
    enum BackMode : uint8_t { None = 0, Preset = 1, Free = 2, Image = 3 };

    bool atTruePosition = true;
    bool transparentBackground = false;
    int16_t zoom = 1000;  // thousandths: 1000 is 100 %
    bool autoZoom = false;
    uint32_t borderColour = 7171979;  // red 139, green 111, blue 109: the letterbox bands
    uint32_t innerColour = 13089467;  // red 187, green 186, blue 199: between the bands
    uint8_t backMode = Preset;
    uint8_t aspectRatioMode = 0;  // 0 "16/9 - 1.77:1", 1 "1.85:1", 2 "2.35:1"
    int16_t freeBandHeight = 30;  // frame lines, for the free background
    std::string backImageName;    // the image of the image background

    friend bool operator==(const PreviewOptions&, const PreviewOptions&) = default;
};

}  // namespace orvane
