#pragma once

#include <cstdint>

namespace orvane {

// A sub-picture's place on the 720 x 576 screen, inclusive corners.
struct DisplayArea {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    friend bool operator==(const DisplayArea&, const DisplayArea&) = default;
};

}  // namespace orvane
