#pragma once

#include <array>
#include <cstdint>

#include "subpicture/colour_ranking.h"
#include "subpicture/image.h"
#include "subpicture/spu_decoder.h"

namespace orvane {

// Colour roles of a sub-picture in the BMP export: which colour plays the
// background, the letter body, the outline and the antialiasing.
inline constexpr int kRoleCount = 4;
inline constexpr size_t kExportPaletteSize = 16;

enum class PalettePreset : uint8_t { Free = 0, IAuthor = 1, Philips = 2 };

// Cropping to the text area ("BMP OUT CROPPING").
struct BitmapCropping {
    bool enabled = true;
    uint16_t minWidth = 16;
    uint16_t minHeight = 50;
    uint16_t widthMultiple = 8;  // 1..32
    uint16_t heightMultiple = 2;
    uint8_t alignX = 1;  // 0 left, 1 centre, 2 right
    uint8_t alignY = 1;  // 0 top, 1 centre, 2 bottom
    int32_t shiftX = 0;  // subtracted from the aligned text offset
    int32_t shiftY = 0;
    friend bool operator==(const BitmapCropping&, const BitmapCropping&) = default;
};

// Depth, role colours and palette indices ("BMP OUT COLOR").
struct BitmapColours {
    uint8_t bitsPerPixel = 4;  // 4 or 8
    // 0x00BBGGRR: black, white, blue, grey.
    std::array<Colour, kRoleCount> roleColour{0x000000, 0xFFFFFF, 0xFF0000, 0x808080};
    PalettePreset preset = PalettePreset::IAuthor;
    std::array<uint8_t, kRoleCount> paletteIndex{0, 1, 2, 3};  // 0..15
    Colour unusedColour = 0x000000;
    // The roles take the disc's own colours of their colour numbers (the
    // title's colour table) instead of roleColour, when the disc has them.
    bool discColours = false;
    friend bool operator==(const BitmapColours&, const BitmapColours&) = default;
};

// Moving the picture's screen rectangle ("BMP OUT POSITIONING").
struct BitmapPositioning {
    bool enabled = false;
    uint8_t leftMode = 0;  // 0 keep, 1 centre, 2 right edge, 3 leftValue
    int32_t leftValue = 0;
    int32_t leftShift = 0;  // added to the left edge
    uint8_t topMode = 0;    // 0 keep, 1 centre, 2 bottom edge, 3 topValue
    int32_t topValue = 0;
    int32_t topShift = 0;
    friend bool operator==(const BitmapPositioning&, const BitmapPositioning&) = default;
};

// Everything the bitmap adjustment applies; kept in the configuration file
// and in profile files.
struct BitmapExportSettings {
    BitmapCropping cropping;
    BitmapColours colours;
    BitmapPositioning positioning;
    friend bool operator==(const BitmapExportSettings&, const BitmapExportSettings&) = default;
};

// The 24-bit colour each role has in a decoded picture.
using RoleColours = std::array<Colour, kRoleCount>;
RoleColours roleDisplayColours(const ColourRanking& roles, const PreviewColours& colours);

// The 16 palette entries: entry i is the colour of the role whose index is
// i (the highest such role when several share it), else the unused colour.
std::array<Colour, kExportPaletteSize> exportPalette(const BitmapColours& colours);

// A preset fixes the indices to 0..3 and the depth (I-Author 4 bits,
// Philips 8 bits); Free leaves both alone.
void applyPalettePreset(BitmapColours& colours);

// A role's colour-number box changed to `number`: the role that held the
// number before takes the one that is now missing, so the two swap.
ColourRanking changeRoleNumber(const ColourRanking& roles, int role, uint8_t number);

// Whether `index` may be chosen for a role: no role may share an index.
bool paletteIndexFree(const BitmapColours& colours, uint8_t index);

}  // namespace orvane
