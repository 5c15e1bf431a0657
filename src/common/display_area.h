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

inline constexpr int32_t kScreenHeight = 576;

// Whether the area's middle lies in the upper half of the screen. The zero
// area stands for a place not known (an own-format file without picture
// coordinates): it is not in the upper half.
inline bool inUpperHalf(const DisplayArea& a) {
    if (a == DisplayArea{}) return false;
    return int64_t{a.y1} + a.y2 < kScreenHeight;
}

}  // namespace orvane
