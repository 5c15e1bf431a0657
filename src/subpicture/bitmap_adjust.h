#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "subpicture/bitmap_export_settings.h"
#include "subpicture/image.h"
#include "subpicture/spu_decoder.h"

namespace orvane {

// The screen every export position refers to, also for 480-line material.
inline constexpr int kExportScreenWidth = 720;
inline constexpr int kExportScreenHeight = 576;

// A paletted picture of 4 or 8 bits: one palette index per pixel, rows
// top to bottom.
struct AdjustedPicture {
    int width = 0;
    int height = 0;
    uint8_t bitsPerPixel = 4;
    std::array<Colour, kExportPaletteSize> palette{};
    std::vector<uint8_t> pixels;

    uint8_t index(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct AdjustResult {
    AdjustedPicture picture;
    DisplayArea area;
};

// Cuts `image` down to its pixels other than `background`, puts them on a
// canvas sized by the minimums and multiples (at most 720 x 576) at the
// aligned and shifted offset, and moves `area` so that the text keeps its
// screen position wherever the canvas fits on the screen.
void cropStep(Image24& image, DisplayArea& area, const BitmapCropping& cropping, Colour background);

// The rectangle of a w x h picture placed by the positioning modes and
// shifts, kept on the screen.
DisplayArea positioningStep(const DisplayArea& area, int w, int h,
                            const BitmapPositioning& positioning);

// The whole adjustment of a decoded picture: optional crop, conversion to
// palette indices by role (pixels compared with the roles' display colours
// in role order), optional positioning.
AdjustResult adjustPicture(const Image24& picture, const DisplayArea& area,
                           const BitmapExportSettings& settings, const RoleColours& roles,
                           Colour background);

// The adjusted picture in its palette colours, for the preview.
Image24 toImage24(const AdjustedPicture& picture);

}  // namespace orvane
