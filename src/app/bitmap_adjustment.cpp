#include "app/bitmap_adjustment.h"

#include "app/program_folder.h"
#include "app/user_interface.h"
#include "common/io_error.h"
#include "config/ini_file.h"
#include "config/message_table.h"
#include "subpicture/bitmap_profile.h"

namespace orvane {

namespace {

constexpr const char* kProfileFilter = "Orvane BMP Settings File (*.ini)|*.ini|All|*.*";
constexpr const char* kBmpFilter = "Bitmap File (*.bmp)|*.bmp|All|*.*";

}  // namespace

const BitmapExportSettings& BitmapAdjustment::settings() const {
    return host_.bitmapSettings();
}

const ColourRanking& BitmapAdjustment::colourRoles() const {
    return host_.colourRoles();
}

void BitmapAdjustment::fill() {
    // The roles follow the text colour the OCR would choose, which stays
    // right on outlined letters and on pictures whose text outweighs the
    // background.
    host_.colourRoles() = host_.sortedColourRoles();
    host_.flags().colourRolesSet = true;
    applyPalettePreset(host_.bitmapSettings().colours);
}

void BitmapAdjustment::refresh() {
    host_.refreshPreview();
}

void BitmapAdjustment::autoSortColours() {
    host_.colourRoles() = host_.sortedColourRoles();
    refresh();
}

void BitmapAdjustment::changeRoleNumber(int role, uint8_t number) {
    host_.colourRoles() = orvane::changeRoleNumber(host_.colourRoles(), role, number);
    refresh();
}

bool BitmapAdjustment::changePaletteIndex(int role, uint8_t index) {
    if (role < 0 || role >= kRoleCount || index >= kExportPaletteSize) return false;
    BitmapColours& colours = host_.bitmapSettings().colours;
    if (!paletteIndexFree(colours, index)) {
        ui_.messageBox(QuestionId::SamePaletteIndex, MessageIcon::Warning,
                       host_.message(msg::kSamePaletteIndex), Buttons::Ok);
        return false;
    }
    colours.paletteIndex[static_cast<size_t>(role)] = index;
    refresh();
    return true;
}

void BitmapAdjustment::choosePreset(PalettePreset preset) {
    BitmapColours& colours = host_.bitmapSettings().colours;
    colours.preset = preset;
    applyPalettePreset(colours);
    refresh();
}

void BitmapAdjustment::setBitsPerPixel(uint8_t bits) {
    host_.bitmapSettings().colours.bitsPerPixel = bits == 8 ? 8 : 4;
    refresh();
}

void BitmapAdjustment::setRoleColour(int role, Colour colour) {
    if (role < 0 || role >= kRoleCount) return;
    host_.bitmapSettings().colours.roleColour[static_cast<size_t>(role)] = colour;
    refresh();
}

void BitmapAdjustment::setUnusedColour(Colour colour) {
    host_.bitmapSettings().colours.unusedColour = colour;
    refresh();
}

void BitmapAdjustment::setDiscColours(bool on) {
    host_.bitmapSettings().colours.discColours = on;
    refresh();
}

void BitmapAdjustment::setCropping(const BitmapCropping& cropping) {
    host_.bitmapSettings().cropping = cropping;
    refresh();
}

void BitmapAdjustment::setPositioning(const BitmapPositioning& positioning) {
    host_.bitmapSettings().positioning = positioning;
    refresh();
}

bool BitmapAdjustment::saveProfile() {
    // Profiles start in the program folder (the home folder of an installed copy).
    const std::string path = ui_.askSaveFileName(
        {host_.message(msg::kSaveProfileTitle), kProfileFilter, "ini", host_.folders().documents});
    if (path.empty()) return false;
    try {
        saveBitmapSettings(path, host_.bitmapSettings());
    } catch (const IniWriteError& e) {
        ui_.messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
        return false;
    }
    profile_ = fileNameOf(path);
    return true;
}

bool BitmapAdjustment::loadProfile() {
    const std::string path = ui_.askOpenFileName(
        {host_.message(msg::kLoadProfileTitle), kProfileFilter, "ini", host_.folders().documents});
    if (path.empty()) return false;
    host_.bitmapSettings() = loadBitmapSettings(path);
    profile_ = fileNameOf(path);
    fill();
    refresh();
    return true;
}

bool BitmapAdjustment::saveCurrentBmp() {
    const std::string path =
        ui_.askSaveFileName({host_.message(msg::kSaveCurrentBmpTitle), kBmpFilter, "bmp", {}});
    if (path.empty()) return false;
    try {
        host_.saveAdjustedBmp(path);
    } catch (const IoError& e) {
        ui_.messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
        return false;
    }
    return true;
}

void BitmapAdjustment::ok() {
    switch (host_.bitmapSettings().colours.preset) {
        case PalettePreset::IAuthor:
            host_.selectOutputFormat(OutputFormat::IAuthor);
            ui_.showOutputFormat(OutputFormat::IAuthor);
            break;
        case PalettePreset::Philips:
            host_.selectOutputFormat(OutputFormat::Philips);
            ui_.showOutputFormat(OutputFormat::Philips);
            break;
        case PalettePreset::Free:
            break;
    }
    host_.flags().showBeforeNextPicture = false;
}

void BitmapAdjustment::skip() {
    host_.flags().saveThisPicture = false;
}

}  // namespace orvane
