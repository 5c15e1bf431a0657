// Bitmap settings profiles: whatever a profile holds, the settings read
// are inside their ranges, so the export can use them as they are.
#include <cstdlib>
#include <string_view>

#include "subpicture/bitmap_adjust.h"
#include "subpicture/bitmap_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orvane::IniFile ini =
        orvane::IniFile::fromText(std::string_view(reinterpret_cast<const char*>(data), size));
    const orvane::BitmapExportSettings s = orvane::bitmapSettingsFromIni(ini);
    // Exporting a small picture with them must stay in bounds.
    orvane::Image24 picture(16, 8);
    orvane::RoleColours roles{};
    for (size_t i = 0; i < roles.size(); ++i) roles[i] = static_cast<orvane::Colour>(0x111111 * i);
    (void)orvane::adjustPicture(picture, orvane::DisplayArea{100, 100, 115, 107}, s, roles,
                                0x000000);
    return 0;
}
