#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/program_folder.h"
#include "app/session_flags.h"
#include "subpicture/bitmap_export_settings.h"
#include "subpicture/colour_ranking.h"
#include "subtitles/output_formats.h"

namespace orvane {

class UserInterface;

// What the bitmap adjustment works on, given by its owner: the settings and
// colour roles it edits, the flags it answers with, and the few things it
// asks the owner to do. The session is the one owner.
class BitmapAdjustmentHost {
  public:
    virtual BitmapExportSettings& bitmapSettings() = 0;
    virtual ColourRanking& colourRoles() = 0;
    virtual SessionFlags& flags() = 0;
    // The roles the OCR would choose for the picture on show.
    virtual ColourRanking sortedColourRoles() const = 0;
    // Adjusts the picture on show again and shows the result.
    virtual void refreshPreview() = 0;
    // Writes the adjusted picture to `path`; throws IoError.
    virtual void saveAdjustedBmp(const std::string& path) = 0;
    // The document's output format, chosen by a palette preset.
    virtual void selectOutputFormat(OutputFormat format) = 0;
    virtual const std::string& message(size_t id) const = 0;
    virtual const ProgramFolders& folders() const = 0;

  protected:
    ~BitmapAdjustmentHost() = default;
};

// What the "Bitmap adjustment" dialog does, without its window: the view
// copies settings() and colourRoles() into its controls and calls one of
// these for each change; every change adjusts the current picture again
// and shows it in the preview.
class BitmapAdjustment {
  public:
    BitmapAdjustment(BitmapAdjustmentHost& host, UserInterface& ui) : host_(host), ui_(ui) {}

    // The part of filling the controls that computes: the colours are sorted
    // automatically on the current picture and the preset is applied.
    void fill();

    const BitmapExportSettings& settings() const;
    const ColourRanking& colourRoles() const;
    // The four palette index boxes can be changed under "Free" only.
    bool indexBoxesEnabled() const { return settings().colours.preset == PalettePreset::Free; }
    // LabelCurrentProfile: "None" until a profile is saved or loaded.
    const std::string& currentProfile() const { return profile_; }

    // "Colors" tab.
    void autoSortColours();
    void changeRoleNumber(int role, uint8_t number);
    // Refused, with message 36, when another role has the index already;
    // the box then goes back to the role's index.
    bool changePaletteIndex(int role, uint8_t index);
    void choosePreset(PalettePreset preset);
    void setBitsPerPixel(uint8_t bits);
    void setRoleColour(int role, Colour colour);
    void setUnusedColour(Colour colour);
    // "Disc colours": the roles in the disc's own colours.
    void setDiscColours(bool on);
    // "Cropping" and "Positioning" tabs: the whole tab at once.
    void setCropping(const BitmapCropping& cropping);
    void setPositioning(const BitmapPositioning& positioning);

    // "Profiles" tab. Each asks for a file; a cancelled dialog does
    // nothing, a failed write or read is reported and the dialog stays.
    bool saveProfile();
    bool loadProfile();
    bool saveCurrentBmp();

    // OK: the settings hold for the rest of the job (and an I-Author or
    // Philips preset brings its output format along). Skip: this picture
    // is not saved and the dialog comes back with the next one.
    void ok();
    void skip();

  private:
    void refresh();

    BitmapAdjustmentHost& host_;
    UserInterface& ui_;
    std::string profile_ = "None";
};

}  // namespace orvane
