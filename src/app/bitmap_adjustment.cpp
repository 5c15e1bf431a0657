#include "app/bitmap_adjustment.h"

#include "app/program_folder.h"
#include "app/session.h"
#include "common/io_error.h"
#include "config/ini_file.h"
#include "subpicture/bitmap_profile.h"

namespace orvane {

namespace {

constexpr const char* kProfileFilter = "Orvane BMP Settings File (*.ini)|*.ini|All|*.*";
constexpr const char* kBmpFilter = "Bitmap File (*.bmp)|*.bmp|All|*.*";

}  // namespace

const BitmapExportSettings& BitmapAdjustment::settings() const {
    return session_.bitmapSettings();
}

const ColourRanking& BitmapAdjustment::colourRoles() const {
    return session_.colourRoles();
}

void BitmapAdjustment::fill() {
    // The roles follow the text colour the OCR would choose, which stays
    // right on outlined letters and on pictures whose text outweighs the
    // background.
    session_.colourRoles() =
        robustColourRoles(session_.picture().bitmap, session_.previewColours());
    session_.colourRolesSet = true;
    applyPalettePreset(session_.bitmapSettings().colours);
}

void BitmapAdjustment::refresh() {
    session_.refreshPreview();
}

void BitmapAdjustment::autoSortColours() {
    session_.colourRoles() =
        robustColourRoles(session_.picture().bitmap, session_.previewColours());
    refresh();
}

void BitmapAdjustment::changeRoleNumber(int role, uint8_t number) {
    session_.colourRoles() = orvane::changeRoleNumber(session_.colourRoles(), role, number);
    refresh();
}

bool BitmapAdjustment::changePaletteIndex(int role, uint8_t index) {
    if (role < 0 || role >= kRoleCount || index >= kExportPaletteSize) return false;
    BitmapColours& colours = session_.bitmapSettings().colours;
    if (!paletteIndexFree(colours, index)) {
        ui_.messageBox(QuestionId::SamePaletteIndex, MessageIcon::Warning,
                       session_.messages().get(msg::kSamePaletteIndex), Buttons::Ok);
        return false;
    }
    colours.paletteIndex[static_cast<size_t>(role)] = index;
    refresh();
    return true;
}

void BitmapAdjustment::choosePreset(PalettePreset preset) {
    BitmapColours& colours = session_.bitmapSettings().colours;
    colours.preset = preset;
    applyPalettePreset(colours);
    refresh();
}

void BitmapAdjustment::setBitsPerPixel(uint8_t bits) {
    session_.bitmapSettings().colours.bitsPerPixel = bits == 8 ? 8 : 4;
    refresh();
}

void BitmapAdjustment::setRoleColour(int role, Colour colour) {
    if (role < 0 || role >= kRoleCount) return;
    session_.bitmapSettings().colours.roleColour[static_cast<size_t>(role)] = colour;
    refresh();
}

void BitmapAdjustment::setUnusedColour(Colour colour) {
    session_.bitmapSettings().colours.unusedColour = colour;
    refresh();
}

void BitmapAdjustment::setDiscColours(bool on) {
    session_.bitmapSettings().colours.discColours = on;
    refresh();
}

void BitmapAdjustment::setCropping(const BitmapCropping& cropping) {
    session_.bitmapSettings().cropping = cropping;
    refresh();
}

void BitmapAdjustment::setPositioning(const BitmapPositioning& positioning) {
    session_.bitmapSettings().positioning = positioning;
    refresh();
}

bool BitmapAdjustment::saveProfile() {
    // Profiles start in the program folder (the home folder of an installed copy).
    const std::string path =
        ui_.askSaveFileName({session_.messages().get(msg::kSaveProfileTitle), kProfileFilter, "ini",
                             session_.folders().documents});
    if (path.empty()) return false;
    try {
        saveBitmapSettings(path, session_.bitmapSettings());
    } catch (const IniWriteError& e) {
        ui_.messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
        return false;
    }
    profile_ = fileNameOf(path);
    return true;
}

bool BitmapAdjustment::loadProfile() {
    const std::string path =
        ui_.askOpenFileName({session_.messages().get(msg::kLoadProfileTitle), kProfileFilter, "ini",
                             session_.folders().documents});
    if (path.empty()) return false;
    session_.bitmapSettings() = loadBitmapSettings(path);
    profile_ = fileNameOf(path);
    fill();
    refresh();
    return true;
}

bool BitmapAdjustment::saveCurrentBmp() {
    const std::string path = ui_.askSaveFileName(
        {session_.messages().get(msg::kSaveCurrentBmpTitle), kBmpFilter, "bmp", {}});
    if (path.empty()) return false;
    try {
        session_.saveAdjustedBmp(path);
    } catch (const IoError& e) {
        ui_.messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
        return false;
    }
    return true;
}

void BitmapAdjustment::ok() {
    switch (session_.bitmapSettings().colours.preset) {
        case PalettePreset::IAuthor:
            session_.document().selectFormat(OutputFormat::IAuthor);
            ui_.showOutputFormat(OutputFormat::IAuthor);
            break;
        case PalettePreset::Philips:
            session_.document().selectFormat(OutputFormat::Philips);
            ui_.showOutputFormat(OutputFormat::Philips);
            break;
        case PalettePreset::Free:
            break;
    }
    session_.showBeforeNextPicture = false;
}

void BitmapAdjustment::skip() {
    session_.saveThisPicture = false;
}

}  // namespace orvane
