#include "app/configuration.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/session.h"
#include "config/ini_file.h"
#include "subpicture/bitmap_profile.h"

namespace orvane {

namespace {

ProfileSection configSection(ConfigSettings& c, OcrPolicy& policy, const ProgramFolders& folders) {
    // Matrices are saved in the user's folder and opened from the first
    // folder of the search that has any.
    const std::string saveMatrixFolder = folders.userData + "ChMatrix/";
    std::string openMatrixFolder = saveMatrixFolder;
    for (const std::string& f : folders.searchOrder()) {
        std::error_code ec;
        if (std::filesystem::is_directory(f + "ChMatrix", ec)) {
            openMatrixFolder = f + "ChMatrix/";
            break;
        }
    }
    const std::string& documents = folders.documents;
    const ConfigSettings d;
    return {config_section::kConfig,
            {
                ProfileKey::text("OpenDialogCharMatrix", c.openDialogCharMatrix, openMatrixFolder),
                ProfileKey::text("SaveDialogCharMatrix", c.saveDialogCharMatrix, saveMatrixFolder),
                ProfileKey::text("SaveDialogBmpSup", c.saveDialogBmpSup, documents),
                ProfileKey::text("OpenDialogVob", c.openDialogVob, documents),
                ProfileKey::text("OpenDialogOrvaneText", c.openDialogOrvaneText, documents),
                ProfileKey::text("SaveDialogText", c.saveDialogText, documents),
                ProfileKey::text("LanguageFileName", c.languageFileName, d.languageFileName),
                ProfileKey::boolean("AutoScrollDown", c.autoScrollDown, d.autoScrollDown),
                ProfileKey::int32("ActionMode", c.actionMode, d.actionMode),
                ProfileKey::boolean("AvoidTimeRestart", c.avoidTimeRestart, d.avoidTimeRestart),
                ProfileKey::text("JobFolder", c.jobFolder, d.jobFolder),
                ProfileKey::int32("JobStream", c.jobStream, d.jobStream),
                ProfileKey::text("JobMatrix", c.jobMatrix, d.jobMatrix),
                ProfileKey::boolean("AttentionSignal", c.attentionSignal, d.attentionSignal),
                // The OCR setup's engine box; kept with the window settings, so
                // that the limits' own save still writes only the limits.
                ProfileKey::boolean("OcrEngine", policy.useEngine, OcrPolicy{}.useEngine),
            }};
}

ProfileSection previewSection(PreviewOptions& p) {
    const PreviewOptions d;
    return {config_section::kPreview,
            {
                ProfileKey::boolean("AtTruePos", p.atTruePosition, d.atTruePosition),
                ProfileKey::boolean("TransparentBkGrd", p.transparentBackground,
                                    d.transparentBackground),
                ProfileKey::int16("Zoom", p.zoom, d.zoom),
                ProfileKey::boolean("AutoZoom", p.autoZoom, d.autoZoom),
                ProfileKey::colour("BorderColor", p.borderColour, d.borderColour),
                ProfileKey::colour("InnerColor", p.innerColour, d.innerColour),
                ProfileKey::byte("BackMode", p.backMode, d.backMode),
                ProfileKey::byte("AspectRatioMode", p.aspectRatioMode, d.aspectRatioMode),
                ProfileKey::int16("FreeAspectRatio", p.freeBandHeight, d.freeBandHeight),
                ProfileKey::text("BackImageName", p.backImageName, d.backImageName),
            }};
}

ProfileSection bmpTimingSection(ConfigSettings& c) {
    return {config_section::kBmpTiming,
            {ProfileKey::boolean("Enabled", c.pictTiming, ConfigSettings{}.pictTiming)}};
}

ProfileSection orvaneOutputSection(OutputSettings& o) {
    return {config_section::kOrvaneOutput,
            {ProfileKey::boolean("Extended", o.ovtExtended, OutputSettings{}.ovtExtended),
             // 0 Windows-1252, 1 UTF-8; every byte is a value of the enum.
             ProfileKey::byte("Encoding", reinterpret_cast<uint8_t&>(o.ovtEncoding),
                              static_cast<uint8_t>(OutputSettings{}.ovtEncoding))}};
}

ProfileSection iauthorOutputSection(OutputSettings& o) {
    const OutputSettings d;
    ProfileSection s{config_section::kIAuthorOutput, {}};
    for (int i = 0; i < 4; ++i)
        s.keys.push_back(
            ProfileKey::colour(indexedKey("Color_", i), o.iauthorColour[i], d.iauthorColour[i]));
    for (int i = 0; i < 4; ++i)
        s.keys.push_back(
            ProfileKey::byte(indexedKey("Blend_", i), o.iauthorBlend[i], d.iauthorBlend[i]));
    s.keys.push_back(
        ProfileKey::int16("MinimumInterval", o.iauthorMinimumInterval, d.iauthorMinimumInterval));
    return s;
}

ProfileSection philipsOutputSection(OutputSettings& o) {
    const OutputSettings d;
    ProfileSection s{
        config_section::kPhilipsOutput,
        {
            ProfileKey::byte("FrameRate", o.philipsFrameRate, d.philipsFrameRate),
            ProfileKey::boolean("DropFrame", o.philipsDropFrame, d.philipsDropFrame),
            ProfileKey::boolean("UseBmpColor", o.philipsUseBmpColour, d.philipsUseBmpColour),
        }};
    for (int i = 0; i < 4; ++i)
        s.keys.push_back(
            ProfileKey::colour(indexedKey("Color_", i), o.philipsColour[i], d.philipsColour[i]));
    for (int i = 0; i < 4; ++i)
        s.keys.push_back(ProfileKey::byte(indexedKey("Contrast_", i), o.philipsContrast[i],
                                          d.philipsContrast[i]));
    return s;
}

bool isOcrSection(const ProfileSection& s) {
    return s.name == config_section::kOcr;
}

}  // namespace

ProfileSection ocrSection(OcrSettings& o) {
    const OcrSettings d;
    return {config_section::kOcr,
            {
                ProfileKey::byte("MinLineHeight", o.minLineHeight, d.minLineHeight),
                ProfileKey::byte("MaxLineHeight", o.maxLineHeight, d.maxLineHeight),
                ProfileKey::byte("MinInterLine", o.minInterLine, d.minInterLine),
                ProfileKey::byte("MinCharWidth", o.minCharWidth, d.minCharWidth),
                ProfileKey::byte("MinCharHeight", o.minCharHeight, d.minCharHeight),
                ProfileKey::int32("SpaceWidth", o.spaceWidth, d.spaceWidth),
                ProfileKey::int32("ItaSpaceWidth", o.itaSpaceWidth, d.itaSpaceWidth),
                ProfileKey::int32("DetectItaWidth", o.detectItaWidth, d.detectItaWidth),
                ProfileKey::boolean("CheckDetachedChar", o.checkDetachedChar, d.checkDetachedChar),
                ProfileKey::int16("Sensibility", o.sensibility, d.sensibility),
                ProfileKey::byte("MaxCharDiffWidth", o.maxCharDiffWidth, d.maxCharDiffWidth),
                ProfileKey::byte("MaxCharDiffHeight", o.maxCharDiffHeight, d.maxCharDiffHeight),
                ProfileKey::byte("MaxCharDiffTop", o.maxCharDiffTop, d.maxCharDiffTop),
            }};
}

std::vector<ProfileSection> configurationSections(Session& session) {
    OutputSettings& out = session.document().settings();
    std::vector<ProfileSection> sections;
    sections.push_back(configSection(session.settings(), session.ocrPolicy(), session.folders()));
    sections.push_back(previewSection(session.previewOptions()));
    sections.push_back(ocrSection(session.ocrSettings()));
    sections.push_back(bmpTimingSection(session.settings()));
    sections.push_back(orvaneOutputSection(out));
    sections.push_back(iauthorOutputSection(out));
    sections.push_back(philipsOutputSection(out));
    return sections;
}

std::string configurationPath(const ProgramFolders& folders) {
    const std::string inProgramFolder = folders.program + kConfigurationFileName;
    if (folders.config == folders.program) return inProgramFolder;
    // A read-only portable copy whose own Orvane.ini may be written keeps it.
    const bool readOnlyCopy = std::find(folders.readOnly.begin(), folders.readOnly.end(),
                                        folders.program) != folders.readOnly.end();
    if (readOnlyCopy && ::access(inProgramFolder.c_str(), W_OK) == 0) return inProgramFolder;
    return folders.config + kConfigurationFileName;
}

std::string defaultConfigurationPath(const std::string& programFolder) {
    const ProgramFolders folders = programFolders(programFolder);
    const std::string path = configurationPath(folders);
    std::error_code ec;
    std::filesystem::create_directories(folderOf(path), ec);  // a failure shows at the save
    return path;
}

void setOcrDefaults(Session& session) {
    ocrSection(session.ocrSettings()).setDefaults();
}

void loadConfiguration(Session& session, const std::string& path) {
    const IniFile ini(path);
    // The OCR limits' defaults are the values they hold: the built-in ones
    // set just before at start.
    for (const auto& section : configurationSections(session))
        section.load(ini, isOcrSection(section));
}

void loadConfiguration(Session& session) {
    loadConfiguration(session, defaultConfigurationPath(session.programFolder()));
}

void saveConfiguration(Session& session, const std::string& path) {
    IniFile ini(path);
    // The OCR limits reach the file only through the OCR setup's own save.
    for (const auto& section : configurationSections(session))
        if (!isOcrSection(section)) section.save(ini);
    ini.flush();
}

void saveOcrSettings(Session& session, const std::string& path) {
    IniFile ini(path);
    ocrSection(session.ocrSettings()).save(ini);
    ini.flush();
}

LanguageList startUpConfiguration(Session& session, const std::string& path,
                                  std::vector<ControlNode>& windows) {
    setOcrDefaults(session);
    // A settings file that is there but cannot be read leaves the defaults;
    // say why (closing then refuses to write over it).
    if (const IniFile probe(path); !probe.loadError().empty())
        session.ui().messageBox(QuestionId::IoFailure, MessageIcon::Error,
                                path + ": " + probe.loadError(), Buttons::Ok);
    loadConfiguration(session, path);
    session.bitmapSettings() = loadBitmapSettings(path);
    // The user's matrix folder outside the program folder is made now, so
    // that the matrix save dialog opens in it.
    if (const ProgramFolders& f = session.folders(); f.userData != f.program) {
        std::error_code ec;
        std::filesystem::create_directories(f.userData + "ChMatrix", ec);
    }
    session.messages().setDefaultMessages();
    const std::vector<std::string> languageFolders = session.folders().searchOrder();
    LanguageList languages = listLanguages(languageFolders);
    // A file whose name cannot name a menu item is left out of the menu and
    // reported, as a control named after it would be refused; start-up goes on.
    for (const std::string& name : languages.refused)
        session.ui().messageBox(QuestionId::IoFailure, MessageIcon::Error,
                                "'" + name + "' is not a valid component name", Buttons::Ok);
    const std::string& current = session.settings().languageFileName;
    for (auto& w : windows)
        if (w.name == kLanguageWindows[0])
            if (ControlNode* menu = findControl(w, "GUILanguage1"))
                buildLanguageMenu(*menu, languages.names, current);
    if (!current.empty())
        applyLanguageFile(languageFilePath(languageFolders, current), windows, session.messages());
    return languages;
}

void closeDownConfiguration(Session& session, const std::string& path) {
    if (session.job().running && !session.job().paused) session.buttonPauseClick();
    // Each save runs even when the one before failed.
    const auto report = [&](const std::exception& e) {
        session.ui().messageBox(QuestionId::IoFailure, MessageIcon::Error, e.what(), Buttons::Ok);
    };
    try {
        saveConfiguration(session, path);
    } catch (const std::exception& e) {
        report(e);
    }
    try {
        saveBitmapSettings(path, session.bitmapSettings());
    } catch (const std::exception& e) {
        report(e);
    }
}

void switchLanguage(Session& session, std::vector<ControlNode>& windows, const std::string& name) {
    for (auto& w : windows)
        if (w.name == kLanguageWindows[0])
            if (ControlNode* menu = findControl(w, "GUILanguage1")) checkLanguageItem(*menu, name);
    session.settings().languageFileName = name;
    applyLanguageFile(languageFilePath(session.folders().searchOrder(), name), windows,
                      session.messages());
}

void writeLanguageTemplate(Session& session, const std::vector<ControlNode>& windows) {
    const std::string& folder = session.folders().userData;
    std::error_code ec;
    std::filesystem::create_directories(folder + "lang", ec);  // a failure shows at the write
    writeLanguageTemplate(languageFilePath(folder, kTemplateLanguage), windows, session.messages());
}

}  // namespace orvane
