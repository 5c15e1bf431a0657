#pragma once

#include <string>
#include <vector>

#include "app/program_folder.h"
#include "config/language_file.h"
#include "config/profile_table.h"

namespace orvane {

class Session;
struct OcrSettings;

// Section names of the configuration file.
namespace config_section {
inline constexpr const char* kConfig = "CONFIG";
inline constexpr const char* kPreview = "PREVIEW CFG";
inline constexpr const char* kOcr = "OCR SETTING";
inline constexpr const char* kBmpTiming = "BMP OUT TC & RES";
inline constexpr const char* kOrvaneOutput = "ORVANE OUTPUT";
inline constexpr const char* kIAuthorOutput = "IAUTHOR OUTPUT";
inline constexpr const char* kPhilipsOutput = "PHILIPS OUTPUT";
}  // namespace config_section

inline constexpr const char* kConfigurationFileName = "Orvane.ini";

// "Orvane.ini" in the folders' configuration folder: the program folder of
// a portable copy (also a read-only one whose Orvane.ini can be written),
// else $XDG_CONFIG_HOME/orvane/ (or ~/.config/orvane/).
std::string configurationPath(const ProgramFolders& folders);
// configurationPath() of the program folder, whose folder is made if needed.
std::string defaultConfigurationPath(const std::string& programFolder);

// The sections the configuration file holds for the session, bound to its
// records, in file order (the bitmap export sections are kept apart).
std::vector<ProfileSection> configurationSections(Session& session);
ProfileSection ocrSection(OcrSettings& ocr);

// The built-in OCR limits.
void setOcrDefaults(Session& session);
// Reads every section; a missing file, section or key gives the defaults,
// the OCR limits keep the values they hold.
void loadConfiguration(Session& session, const std::string& path);
void loadConfiguration(Session& session);  // the default path
// Writes every section but the OCR limits. Throws IniWriteError.
void saveConfiguration(Session& session, const std::string& path);
// Writes the OCR limits only. Throws IniWriteError.
void saveOcrSettings(Session& session, const std::string& path);

// The main window's first showing, its configuration side: OCR defaults,
// the configuration, the built-in messages, the language list and the
// stored language applied to `windows` and the messages. Returns the
// language list for the menu.
LanguageList startUpConfiguration(Session& session, const std::string& path,
                                  std::vector<ControlNode>& windows);
// The main window's closing, its configuration side: pauses a running
// reader, then saves the configuration. A failed save is reported through
// the session's UI and the closing goes on.
void closeDownConfiguration(Session& session, const std::string& path);

// Switching language from the menu: the choice is remembered for the next
// run and applied to the windows (the "GUI &Language" item's marks too) and
// the messages.
void switchLanguage(Session& session, std::vector<ControlNode>& windows, const std::string& name);
// "Save Lang": lang/New_LangFile.lng from the windows and the messages.
// Throws IniWriteError.
void writeLanguageTemplate(Session& session, const std::vector<ControlNode>& windows);

}  // namespace orvane
