#pragma once

#include <string>

#include "config/ini_file.h"
#include "subpicture/bitmap_export_settings.h"

namespace orvane {

// The three sections of the bitmap export settings, in the configuration
// file and in profile files.
inline constexpr const char* kBmpCroppingSection = "BMP OUT CROPPING";
inline constexpr const char* kBmpColourSection = "BMP OUT COLOR";
inline constexpr const char* kBmpPositioningSection = "BMP OUT POSITIONING";

// Writes the three sections into `path`, replacing their keys and leaving
// everything else in the file alone. Throws IniWriteError.
void saveBitmapSettings(const std::string& path, const BitmapExportSettings& settings);

// Reads the three sections; a missing file, key or non-integer value gives
// that key's default. Values are cut to their field's width; multiples
// outside 1..32, indices above 15 and modes outside their choices are
// clamped to the dialog's ranges.
BitmapExportSettings loadBitmapSettings(const std::string& path);
BitmapExportSettings bitmapSettingsFromIni(const IniFile& ini);

}  // namespace orvane
