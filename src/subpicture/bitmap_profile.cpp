#include "subpicture/bitmap_profile.h"

#include <algorithm>

#include "config/ini_file.h"

namespace orvane {

namespace {

using S = BitmapExportSettings;

// One key: where it is, how it is written (from the settings) and how a
// read integer goes into the settings (cut to the field's width first).
struct KeyEntry {
    const char* section;
    const char* key;
    int64_t (*get)(const S&);
    void (*set)(S&, int32_t);
};

template <typename T>
T cut(int32_t v) {
    return static_cast<T>(v);
}

uint16_t multiple(int32_t v) {
    return std::clamp<uint16_t>(cut<uint16_t>(v), 1, 32);
}
uint8_t mode(int32_t v, uint8_t last) {
    return std::min(cut<uint8_t>(v), last);
}
uint8_t paletteIndex(int32_t v) {
    return std::min<uint8_t>(cut<uint8_t>(v), 15);
}

constexpr const char* kCrop = kBmpCroppingSection;
constexpr const char* kColour = kBmpColourSection;
constexpr const char* kPos = kBmpPositioningSection;

// The keys in the order they are written.
const KeyEntry kKeys[] = {
    {kCrop, "Enabled", [](const S& s) -> int64_t { return s.cropping.enabled; },
     [](S& s, int32_t v) { s.cropping.enabled = v != 0; }},
    {kCrop, "MinX", [](const S& s) -> int64_t { return s.cropping.minWidth; },
     [](S& s, int32_t v) { s.cropping.minWidth = cut<uint16_t>(v); }},
    {kCrop, "MinY", [](const S& s) -> int64_t { return s.cropping.minHeight; },
     [](S& s, int32_t v) { s.cropping.minHeight = cut<uint16_t>(v); }},
    {kCrop, "DivX", [](const S& s) -> int64_t { return s.cropping.widthMultiple; },
     [](S& s, int32_t v) { s.cropping.widthMultiple = multiple(v); }},
    {kCrop, "DivY", [](const S& s) -> int64_t { return s.cropping.heightMultiple; },
     [](S& s, int32_t v) { s.cropping.heightMultiple = multiple(v); }},
    {kCrop, "XPosMode", [](const S& s) -> int64_t { return s.cropping.alignX; },
     [](S& s, int32_t v) { s.cropping.alignX = mode(v, 2); }},
    {kCrop, "YPosMode", [](const S& s) -> int64_t { return s.cropping.alignY; },
     [](S& s, int32_t v) { s.cropping.alignY = mode(v, 2); }},
    {kCrop, "PosShift.X", [](const S& s) -> int64_t { return s.cropping.shiftX; },
     [](S& s, int32_t v) { s.cropping.shiftX = v; }},
    {kCrop, "PosShift.Y", [](const S& s) -> int64_t { return s.cropping.shiftY; },
     [](S& s, int32_t v) { s.cropping.shiftY = v; }},

    {kColour, "BitPerPixel",
     [](const S& s) -> int64_t { return s.colours.bitsPerPixel == 8 ? 8 : 4; },
     [](S& s, int32_t v) { s.colours.bitsPerPixel = v == 8 ? 8 : 4; }},
    {kColour, "Color_0", [](const S& s) -> int64_t { return s.colours.roleColour[0]; },
     [](S& s, int32_t v) { s.colours.roleColour[0] = cut<Colour>(v); }},
    {kColour, "Color_1", [](const S& s) -> int64_t { return s.colours.roleColour[1]; },
     [](S& s, int32_t v) { s.colours.roleColour[1] = cut<Colour>(v); }},
    {kColour, "Color_2", [](const S& s) -> int64_t { return s.colours.roleColour[2]; },
     [](S& s, int32_t v) { s.colours.roleColour[2] = cut<Colour>(v); }},
    {kColour, "Color_3", [](const S& s) -> int64_t { return s.colours.roleColour[3]; },
     [](S& s, int32_t v) { s.colours.roleColour[3] = cut<Colour>(v); }},
    {kColour, "PresetColorPalIndex",
     [](const S& s) -> int64_t { return static_cast<uint8_t>(s.colours.preset); },
     [](S& s, int32_t v) { s.colours.preset = static_cast<PalettePreset>(mode(v, 2)); }},
    {kColour, "ColorPalIndex_0", [](const S& s) -> int64_t { return s.colours.paletteIndex[0]; },
     [](S& s, int32_t v) { s.colours.paletteIndex[0] = paletteIndex(v); }},
    {kColour, "ColorPalIndex_1", [](const S& s) -> int64_t { return s.colours.paletteIndex[1]; },
     [](S& s, int32_t v) { s.colours.paletteIndex[1] = paletteIndex(v); }},
    {kColour, "ColorPalIndex_2", [](const S& s) -> int64_t { return s.colours.paletteIndex[2]; },
     [](S& s, int32_t v) { s.colours.paletteIndex[2] = paletteIndex(v); }},
    {kColour, "ColorPalIndex_3", [](const S& s) -> int64_t { return s.colours.paletteIndex[3]; },
     [](S& s, int32_t v) { s.colours.paletteIndex[3] = paletteIndex(v); }},
    {kColour, "UnusedColor", [](const S& s) -> int64_t { return s.colours.unusedColour; },
     [](S& s, int32_t v) { s.colours.unusedColour = cut<Colour>(v); }},
    {kColour, "DiscColors", [](const S& s) -> int64_t { return s.colours.discColours; },
     [](S& s, int32_t v) { s.colours.discColours = v != 0; }},

    {kPos, "Enabled", [](const S& s) -> int64_t { return s.positioning.enabled; },
     [](S& s, int32_t v) { s.positioning.enabled = v != 0; }},
    {kPos, "XPosMode", [](const S& s) -> int64_t { return s.positioning.leftMode; },
     [](S& s, int32_t v) { s.positioning.leftMode = mode(v, 3); }},
    {kPos, "SetTo.X", [](const S& s) -> int64_t { return s.positioning.leftValue; },
     [](S& s, int32_t v) { s.positioning.leftValue = v; }},
    {kPos, "PosShift.X", [](const S& s) -> int64_t { return s.positioning.leftShift; },
     [](S& s, int32_t v) { s.positioning.leftShift = v; }},
    {kPos, "YPosMode", [](const S& s) -> int64_t { return s.positioning.topMode; },
     [](S& s, int32_t v) { s.positioning.topMode = mode(v, 3); }},
    {kPos, "SetTo.Y", [](const S& s) -> int64_t { return s.positioning.topValue; },
     [](S& s, int32_t v) { s.positioning.topValue = v; }},
    {kPos, "PosShift.Y", [](const S& s) -> int64_t { return s.positioning.topShift; },
     [](S& s, int32_t v) { s.positioning.topShift = v; }},
};

}  // namespace

void saveBitmapSettings(const std::string& path, const BitmapExportSettings& settings) {
    IniFile ini(path);
    for (const KeyEntry& k : kKeys) ini.writeInteger(k.section, k.key, k.get(settings));
    ini.flush();
}

BitmapExportSettings loadBitmapSettings(const std::string& path) {
    return bitmapSettingsFromIni(IniFile(path));
}

BitmapExportSettings bitmapSettingsFromIni(const IniFile& ini) {
    const BitmapExportSettings defaults;
    BitmapExportSettings s;
    for (const KeyEntry& k : kKeys) {
        k.set(s, ini.readInteger(k.section, k.key, static_cast<int32_t>(k.get(defaults))));
    }
    return s;
}

}  // namespace orvane
