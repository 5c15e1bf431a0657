#pragma once

#include <string>

#include "subpicture/image.h"

namespace orvane {

// The arithmetic of the main window's preview: the frame stands for the
// 720 x 576 video frame at a zoom in thousandths (1000 = 100 %).
namespace preview {

inline constexpr int kFrameWidth = 720;
inline constexpr int kFrameHeight = 576;
// The frame's border on each side, and how much of the window lies outside
// the frame (auto zoom keeps the window's design size at 100 %).
inline constexpr int kFrameInset = 2;
inline constexpr int kWindowExtraWidth = 23;
inline constexpr int kWindowExtraHeight = 110;

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The frame (BevelScreen): zoom x 720 / 1000 + 4 by zoom x 576 / 1000 + 4.
Size frameSize(int zoom);
// The background image inside the frame: the frame less 4 each way.
Size backgroundSize(int zoom);
// Auto zoom from the window's outer size; at least 1, no upper limit.
int autoZoom(int windowWidth, int windowHeight);
// Band height, in frame lines, of the preset aspect ratios 0..2 (16/9,
// 1.85:1, 2.35:1); 0 for an unknown preset.
int presetBandHeight(int preset);
// Whether row y of the 720 x 576 background lies in a letterbox band.
bool isBorderRow(int y, int bandHeight);
// The 720 x 576 background with bands of `bandHeight` rows at top and
// bottom in `border`, the rows between in `inner`.
Image24 bandedBackground(int bandHeight, Colour border, Colour inner);
// What PanelRatio shows for a free band height: "*" at 288 and beyond,
// else 72000 / (576 - 2v) rounded half to even, divided by 100, in its
// shortest decimal form with `decimalSeparator`, and ":1".
std::string freeRatioText(int bandHeight, char decimalSeparator = '.');
// Where the picture sits inside the frame: scaled by the zoom, at its
// true position (x1, y1 scaled) or at the frame's top-left, 2 pixels in.
Rect picturePlacement(int zoom, int pictureWidth, int pictureHeight, int x1, int y1,
                      bool atTruePosition);

}  // namespace preview
}  // namespace orvane
