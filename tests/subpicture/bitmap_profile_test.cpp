#include "subpicture/bitmap_profile.h"

#include <gtest/gtest.h>

#include <vector>

#include "config/ini_file.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;
using test::writeBytes;

// Settings that differ from the defaults in every field.
BitmapExportSettings everyFieldChanged() {
    BitmapExportSettings s;
    s.cropping = {false, 100, 60, 16, 4, 0, 2, -7, 12};
    s.colours.bitsPerPixel = 8;
    s.colours.roleColour = {0x010203, 0x040506, 0x070809, 0x0A0B0C};
    s.colours.preset = PalettePreset::Free;
    s.colours.paletteIndex = {15, 14, 13, 12};
    s.colours.unusedColour = 0x00FFEEDD;
    s.colours.discColours = true;
    s.positioning = {true, 3, 123, -45, 2, 456, 78};
    return s;
}

TEST(BitmapProfile, EveryKeyRoundTripsInTheWrittenOrder) {
    test::TempDir dir;
    const std::string path = dir.file("profile.ini");
    const BitmapExportSettings s = everyFieldChanged();
    saveBitmapSettings(path, s);
    EXPECT_EQ(loadBitmapSettings(path), s);
    // Sections and keys in their fixed order, numbers in decimal.
    const std::string text = readBytes(path);
    const size_t crop = text.find("[BMP OUT CROPPING]");
    const size_t colour = text.find("[BMP OUT COLOR]");
    const size_t pos = text.find("[BMP OUT POSITIONING]");
    ASSERT_NE(crop, std::string::npos);
    EXPECT_LT(crop, colour);
    EXPECT_LT(colour, pos);
    EXPECT_NE(pos, std::string::npos);
    const IniFile ini(path);
    using Keys = std::vector<std::string>;
    EXPECT_EQ(ini.keys("BMP OUT CROPPING"),
              (Keys{"Enabled", "MinX", "MinY", "DivX", "DivY", "XPosMode", "YPosMode", "PosShift.X",
                    "PosShift.Y"}));
    EXPECT_EQ(ini.keys("BMP OUT COLOR"),
              (Keys{"BitPerPixel", "Color_0", "Color_1", "Color_2", "Color_3",
                    "PresetColorPalIndex", "ColorPalIndex_0", "ColorPalIndex_1", "ColorPalIndex_2",
                    "ColorPalIndex_3", "UnusedColor", "DiscColors"}));
    EXPECT_EQ(ini.keys("BMP OUT POSITIONING"), (Keys{"Enabled", "XPosMode", "SetTo.X", "PosShift.X",
                                                     "YPosMode", "SetTo.Y", "PosShift.Y"}));
    EXPECT_NE(text.find("\r\nColor_0=66051\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nUnusedColor=16772829\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nPosShift.X=-45\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nBitPerPixel=8\r\n"), std::string::npos);
    EXPECT_NE(text.find("[BMP OUT CROPPING]\r\nEnabled=0\r\n"), std::string::npos);
    // The defaults round-trip as well.
    saveBitmapSettings(path, BitmapExportSettings{});
    EXPECT_EQ(loadBitmapSettings(path), BitmapExportSettings{});
}

TEST(BitmapProfile, AMissingFileKeyOrNumberGivesTheDefaults) {
    test::TempDir dir;
    const BitmapExportSettings defaults;
    EXPECT_EQ(loadBitmapSettings(dir.file("none.ini")), defaults);
    EXPECT_EQ(defaults.cropping.minWidth, 16);
    EXPECT_EQ(defaults.colours.roleColour[2], 16711680u);
    EXPECT_EQ(defaults.colours.roleColour[3], 8421504u);
    EXPECT_EQ(defaults.colours.preset, PalettePreset::IAuthor);
    EXPECT_FALSE(defaults.positioning.enabled);

    writeBytes(dir.file("p.ini"),
               "[bmp out cropping]\r\nminx=abc\r\nMinY=0x40\r\n[BMP OUT POSITIONING]\r\n"
               "PosShift.Y=-3\r\n");
    const BitmapExportSettings s = loadBitmapSettings(dir.file("p.ini"));
    EXPECT_EQ(s.cropping.minWidth, 16);   // not an integer
    EXPECT_EQ(s.cropping.minHeight, 64);  // hexadecimal
    EXPECT_EQ(s.positioning.topShift, -3);
    EXPECT_EQ(s.positioning.leftShift, 0);
    EXPECT_EQ(s.colours, defaults.colours);
}

TEST(BitmapProfile, OddValuesAreCutOrClampedToWhatTheDialogAllows) {
    test::TempDir dir;
    writeBytes(dir.file("p.ini"),
               "[BMP OUT CROPPING]\nMinX=65552\nDivX=0\nDivY=99\nXPosMode=7\n"
               "[BMP OUT COLOR]\nBitPerPixel=1\nColorPalIndex_0=16\nColorPalIndex_2=255\n"
               "PresetColorPalIndex=9\n"
               "[BMP OUT POSITIONING]\nYPosMode=4\n");
    const BitmapExportSettings s = loadBitmapSettings(dir.file("p.ini"));
    EXPECT_EQ(s.cropping.minWidth, 16);  // 65552 cut to 16 bits
    EXPECT_EQ(s.cropping.widthMultiple, 1);
    EXPECT_EQ(s.cropping.heightMultiple, 32);
    EXPECT_EQ(s.cropping.alignX, 2);
    EXPECT_EQ(s.colours.bitsPerPixel, 4);  // anything but 8 is 4 bits
    EXPECT_EQ(s.colours.paletteIndex[0], 15);
    EXPECT_EQ(s.colours.paletteIndex[2], 15);
    EXPECT_EQ(s.colours.preset, PalettePreset::Philips);
    EXPECT_EQ(s.positioning.topMode, 3);
}

TEST(BitmapProfile, SavingIntoTheConfigurationLeavesOtherSectionsAlone) {
    test::TempDir dir;
    const std::string path = dir.file("Orvane.ini");
    writeBytes(path,
               "[CONFIG]\r\nActionMode=2\r\n[BMP OUT COLOR]\r\nBitPerPixel=8\r\nExtra=keep\r\n"
               "[PREVIEW CFG]\r\nZoom=1500\r\n");
    BitmapExportSettings s;
    s.colours.bitsPerPixel = 4;
    saveBitmapSettings(path, s);
    const IniFile ini(path);
    EXPECT_EQ(ini.readInteger("CONFIG", "ActionMode", 0), 2);
    EXPECT_EQ(ini.readInteger("PREVIEW CFG", "Zoom", 0), 1500);
    EXPECT_EQ(ini.readString("BMP OUT COLOR", "Extra", ""), "keep");
    EXPECT_EQ(ini.readInteger("BMP OUT COLOR", "BitPerPixel", 0), 4);
    EXPECT_EQ(loadBitmapSettings(path), s);
}

TEST(BitmapProfile, AProfileSharingAPaletteIndexColoursItWithTheHigherRole) {
    test::TempDir dir;
    writeBytes(dir.file("p.ini"),
               "[BMP OUT COLOR]\r\nPresetColorPalIndex=0\r\nColorPalIndex_0=0\r\n"
               "ColorPalIndex_1=2\r\nColorPalIndex_2=2\r\nColorPalIndex_3=3\r\n");
    const BitmapExportSettings s = loadBitmapSettings(dir.file("p.ini"));
    const auto palette = exportPalette(s.colours);
    EXPECT_EQ(palette[2], s.colours.roleColour[2]);
    EXPECT_EQ(palette[1], s.colours.unusedColour);
}

TEST(BitmapProfile, AnUnwritableFileRaisesTheWriteError) {
    test::TempDir dir;
    EXPECT_THROW(saveBitmapSettings(dir.file("no/such/folder/p.ini"), BitmapExportSettings{}),
                 IniWriteError);
}

}  // namespace
}  // namespace orvane
