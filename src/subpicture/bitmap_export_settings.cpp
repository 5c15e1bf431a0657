#include "subpicture/bitmap_export_settings.h"

namespace orvane {

RoleColours roleDisplayColours(const ColourRanking& roles, const PreviewColours& colours) {
    RoleColours out{};
    for (int r = 0; r < kRoleCount; ++r) out[r] = colours[roles[r] & 3u];
    return out;
}

std::array<Colour, kExportPaletteSize> exportPalette(const BitmapColours& colours) {
    std::array<Colour, kExportPaletteSize> palette;
    palette.fill(colours.unusedColour);
    // Later roles overwrite earlier ones: the highest role sharing an index wins.
    for (int r = 0; r < kRoleCount; ++r) {
        palette[colours.paletteIndex[r] & 0x0Fu] = colours.roleColour[r];
    }
    return palette;
}

void applyPalettePreset(BitmapColours& colours) {
    switch (colours.preset) {
        case PalettePreset::IAuthor:
            colours.paletteIndex = {0, 1, 2, 3};
            colours.bitsPerPixel = 4;
            break;
        case PalettePreset::Philips:
            colours.paletteIndex = {0, 1, 2, 3};
            colours.bitsPerPixel = 8;
            break;
        case PalettePreset::Free:
            break;
    }
}

ColourRanking changeRoleNumber(const ColourRanking& roles, int role, uint8_t number) {
    if (role < 0 || role >= kRoleCount || number > 3) return roles;
    int previous = -1;
    for (int r = 0; r < kRoleCount; ++r) {
        if (r != role && roles[r] == number) previous = r;
    }
    ColourRanking out = roles;
    out[role] = number;
    if (previous < 0) return out;
    // The role that held the number takes the smallest one now unused.
    for (uint8_t n = 0; n < 4; ++n) {
        bool used = false;
        for (uint8_t held : out) used = used || held == n;
        if (!used) {
            out[previous] = n;
            break;
        }
    }
    return out;
}

bool paletteIndexFree(const BitmapColours& colours, uint8_t index) {
    for (uint8_t i : colours.paletteIndex) {
        if (i == index) return false;
    }
    return true;
}

}  // namespace orvane
