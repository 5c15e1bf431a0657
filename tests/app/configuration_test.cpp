#include "app/configuration.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <cstring>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/session.h"
#include "support/fake_ui.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;
using test::writeBytes;

using test::FakeUi;

// The part of a file from a section's header to the next header.
std::string sectionText(const std::string& bytes, const std::string& header) {
    const size_t b = bytes.find(header);
    if (b == std::string::npos) return {};
    const size_t e = bytes.find("\r\n[", b + header.size());
    return bytes.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

class ConfigurationTest : public ::testing::Test {
  protected:
    void SetUp() override { session.setProgramFolder(dir.path()); }
    std::string folder() const { return dir.path() + "/"; }

    test::TempDir dir;
    std::string path = dir.file("Orvane.ini");
    FakeUi ui;
    Session session{ui};
};

// Every field away from its default, each with its own value.
void changeEverything(Session& s) {
    ConfigSettings& c = s.settings();
    c.openDialogCharMatrix = "/m/open/";
    c.saveDialogCharMatrix = "/m/save/";
    c.saveDialogBmpSup = "/bmp sup/";
    c.openDialogVob = "/VIDEO_TS/";
    c.openDialogOrvaneText = "/ovt/";
    c.saveDialogText = " /text with blanks/ ";
    c.languageFileName = "Francais";
    c.autoScrollDown = false;
    c.actionMode = 3;
    c.avoidTimeRestart = true;
    c.pictTiming = false;

    PreviewOptions& p = s.previewOptions();
    p.atTruePosition = false;
    p.transparentBackground = true;
    p.zoom = 1500;
    p.autoZoom = true;
    p.borderColour = 0x00123456;
    p.innerColour = 0x00FEDCBA;
    p.backMode = 3;
    p.aspectRatioMode = 2;
    p.freeBandHeight = 288;
    p.backImageName = "/images/back ground.jpg";

    OutputSettings& o = s.document().settings();
    o.ovtExtended = true;
    o.ovtEncoding = TextEncoding::Utf8;
    for (int i = 0; i < 4; ++i) {
        o.iauthorColour[i] = 0x00010203u * static_cast<uint32_t>(i + 1);
        o.iauthorBlend[i] = static_cast<uint8_t>(3 + i);
        o.philipsColour[i] = 0x00303030u + static_cast<uint32_t>(i);
        o.philipsContrast[i] = static_cast<uint8_t>(9 + i);
    }
    o.iauthorMinimumInterval = 40;
    o.philipsFrameRate = 1;
    o.philipsDropFrame = false;
    o.philipsUseBmpColour = false;

    OcrSettings& r = s.ocrSettings();
    r.minLineHeight = 9;
    r.maxLineHeight = 40;
    r.minInterLine = 3;
    r.minCharWidth = 4;
    r.minCharHeight = 5;
    r.spaceWidth = -10;
    r.itaSpaceWidth = 45;
    r.detectItaWidth = 10;
    r.checkDetachedChar = false;
    r.sensibility = 995;
    r.maxCharDiffWidth = 11;
    r.maxCharDiffHeight = 12;
    r.maxCharDiffTop = 13;
}

TEST_F(ConfigurationTest, AMissingFileGivesEveryDefault) {
    changeEverything(session);
    std::vector<ControlNode> windows;
    const LanguageList languages = startUpConfiguration(session, path, windows);
    EXPECT_TRUE(languages.names.empty());
    EXPECT_TRUE(ui.questions.empty());  // no message for a missing file
    EXPECT_FALSE(std::filesystem::exists(path));

    const ConfigSettings& c = session.settings();
    EXPECT_EQ(c.openDialogCharMatrix, folder() + "ChMatrix/");
    EXPECT_EQ(c.saveDialogCharMatrix, folder() + "ChMatrix/");
    EXPECT_EQ(c.saveDialogBmpSup, folder());
    EXPECT_EQ(c.openDialogVob, folder());
    EXPECT_EQ(c.openDialogOrvaneText, folder());
    EXPECT_EQ(c.saveDialogText, folder());
    EXPECT_EQ(c.languageFileName, "");
    EXPECT_TRUE(c.autoScrollDown);
    EXPECT_EQ(c.actionMode, 0);  // OCR
    EXPECT_FALSE(c.avoidTimeRestart);
    EXPECT_TRUE(c.pictTiming);

    const PreviewOptions& p = session.previewOptions();
    EXPECT_TRUE(p.atTruePosition);
    EXPECT_FALSE(p.transparentBackground);
    EXPECT_EQ(p.zoom, 1000);
    EXPECT_FALSE(p.autoZoom);
    EXPECT_EQ(p.borderColour, 7171979u);
    EXPECT_EQ(p.borderColour, (109u << 16) | (111u << 8) | 139u);
    EXPECT_EQ(p.innerColour, 13089467u);
    EXPECT_EQ(p.backMode, 1);         // preset
    EXPECT_EQ(p.aspectRatioMode, 0);  // 16:9
    EXPECT_EQ(p.freeBandHeight, 30);
    EXPECT_EQ(p.backImageName, "");

    const OcrSettings& r = session.ocrSettings();
    EXPECT_EQ(r.minLineHeight, 8);
    EXPECT_EQ(r.maxLineHeight, 45);
    EXPECT_EQ(r.minInterLine, 2);
    EXPECT_EQ(r.minCharWidth, 2);
    EXPECT_EQ(r.minCharHeight, 2);
    EXPECT_EQ(r.spaceWidth, 7);
    EXPECT_EQ(r.itaSpaceWidth, 5);
    EXPECT_EQ(r.detectItaWidth, -1);
    EXPECT_TRUE(r.checkDetachedChar);
    EXPECT_EQ(r.sensibility, 980);
    EXPECT_EQ(r.maxCharDiffWidth, 2);
    EXPECT_EQ(r.maxCharDiffHeight, 2);
    EXPECT_EQ(r.maxCharDiffTop, 6);

    const OutputSettings& o = session.document().settings();
    EXPECT_FALSE(o.ovtExtended);
    EXPECT_EQ(o.ovtEncoding, TextEncoding::Windows1252);
    const uint32_t colours[4] = {0, 16777215, 0, 8421504};
    const uint8_t blends[4] = {0, 15, 15, 15};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(o.iauthorColour[i], colours[i]);
        EXPECT_EQ(o.philipsColour[i], colours[i]);
        EXPECT_EQ(o.iauthorBlend[i], blends[i]);
        EXPECT_EQ(o.philipsContrast[i], blends[i]);
    }
    EXPECT_EQ(o.iauthorMinimumInterval, 10);
    EXPECT_EQ(o.philipsFrameRate, 0);
    EXPECT_TRUE(o.philipsDropFrame);
    EXPECT_TRUE(o.philipsUseBmpColour);

    // English texts.
    EXPECT_EQ(session.messages().get(26), "Bad Packet Header at LBA: ");
}

TEST_F(ConfigurationTest, SavedSettingsReadBackTheSame) {
    changeEverything(session);
    saveConfiguration(session, path);
    saveOcrSettings(session, path);

    FakeUi otherUi;
    Session other(otherUi);
    other.setProgramFolder(dir.path());
    setOcrDefaults(other);
    loadConfiguration(other, path);
    EXPECT_EQ(other.settings(), session.settings());
    EXPECT_EQ(other.previewOptions(), session.previewOptions());
    EXPECT_EQ(other.ocrSettings(), session.ocrSettings());
    EXPECT_EQ(other.document().settings(), session.document().settings());
}

TEST_F(ConfigurationTest, ClosingAndStartingAgainKeepTheBitmapExportSettings) {
    session.bitmapSettings().cropping.minWidth = 40;
    session.bitmapSettings().colours.preset = PalettePreset::Philips;
    session.bitmapSettings().colours.bitsPerPixel = 8;
    session.bitmapSettings().positioning.enabled = true;
    session.bitmapSettings().positioning.topMode = 2;
    closeDownConfiguration(session, path);

    FakeUi otherUi;
    Session other(otherUi);
    other.setProgramFolder(dir.path());
    std::vector<ControlNode> windows;
    startUpConfiguration(other, path, windows);
    EXPECT_EQ(other.bitmapSettings(), session.bitmapSettings());
    EXPECT_NE(other.bitmapSettings(), BitmapExportSettings{});
}

// Every key of the tables, given its own value in the file, is loaded into a
// field of its own and saved from it: two keys sharing a field, or a key
// that is loaded but not saved, lose a value here.
TEST_F(ConfigurationTest, EveryKeyHasItsOwnField) {
    std::string file;
    int value = 1;
    for (const auto& section : configurationSections(session)) {
        file += "[" + section.name + "]\r\n";
        for (const auto& key : section.keys) {
            const std::string v = key.type() == ProfileType::Text      ? "t" + std::to_string(value)
                                  : key.type() == ProfileType::Boolean ? "1"
                                                                       : std::to_string(value);
            file += key.key() + "=" + v + "\r\n";
            ++value;
        }
    }
    writeBytes(path, file);
    loadConfiguration(session, path);
    const std::string copy = dir.file("copy.ini");
    saveConfiguration(session, copy);
    saveOcrSettings(session, copy);

    const IniFile original(path), saved(copy);
    size_t keys = 0;
    for (const auto& section : configurationSections(session)) {
        EXPECT_EQ(saved.keys(section.name).size(), section.keys.size()) << section.name;
        for (const auto& key : section.keys) {
            EXPECT_EQ(saved.readString(section.name, key.key(), "<missing>"),
                      original.readString(section.name, key.key(), ""))
                << section.name << " " << key.key();
            ++keys;
        }
    }
    EXPECT_EQ(keys, 15u + 10u + 13u + 1u + 2u + 9u + 11u);

    // Booleans: each one set alone, the others cleared.
    struct Flag {
        std::string section, key;
    };
    std::vector<Flag> flags;
    for (const auto& section : configurationSections(session))
        for (const auto& key : section.keys)
            if (key.type() == ProfileType::Boolean) flags.push_back({section.name, key.key()});
    EXPECT_EQ(flags.size(), 12u);
    const std::string out = dir.file("flip.ini");
    for (const auto& on : flags) {
        std::string flipped, section;
        for (const auto& f : flags) {
            if (f.section != section) flipped += "[" + (section = f.section) + "]\r\n";
            flipped += f.key + "=" + (&f == &on ? "1" : "0") + "\r\n";
        }
        writeBytes(path, flipped);
        loadConfiguration(session, path);
        std::filesystem::remove(out);
        saveConfiguration(session, out);
        saveOcrSettings(session, out);
        const IniFile back(out);
        for (const auto& f : flags) {
            EXPECT_EQ(back.readBool(f.section, f.key, &f != &on), &f == &on)
                << on.section << " " << on.key << " vs " << f.key;
        }
    }
}

TEST_F(ConfigurationTest, AFreshFileHoldsTheSectionsAndKeysInOrderWithoutTheOcrLimits) {
    std::vector<ControlNode> windows;
    startUpConfiguration(session, path, windows);
    closeDownConfiguration(session, path);
    EXPECT_TRUE(ui.questions.empty());
    const IniFile ini(path);
    EXPECT_FALSE(ini.hasSection("OCR SETTING"));
    for (const char* bitmap : {"BMP OUT CROPPING", "BMP OUT COLOR", "BMP OUT POSITIONING"})
        EXPECT_TRUE(ini.hasSection(bitmap)) << bitmap;
    EXPECT_EQ(ini.keys("CONFIG"),
              (std::vector<std::string>{"OpenDialogCharMatrix", "SaveDialogCharMatrix",
                                        "SaveDialogBmpSup", "OpenDialogVob", "OpenDialogOrvaneText",
                                        "SaveDialogText", "LanguageFileName", "AutoScrollDown",
                                        "ActionMode", "AvoidTimeRestart", "JobFolder", "JobStream",
                                        "JobMatrix", "AttentionSignal", "OcrEngine"}));
    EXPECT_EQ(ini.keys("PREVIEW CFG"),
              (std::vector<std::string>{"AtTruePos", "TransparentBkGrd", "Zoom", "AutoZoom",
                                        "BorderColor", "InnerColor", "BackMode", "AspectRatioMode",
                                        "FreeAspectRatio", "BackImageName"}));
    EXPECT_EQ(ini.keys("IAUTHOR OUTPUT"),
              (std::vector<std::string>{"Color_0", "Color_1", "Color_2", "Color_3", "Blend_0",
                                        "Blend_1", "Blend_2", "Blend_3", "MinimumInterval"}));
    EXPECT_EQ(ini.keys("PHILIPS OUTPUT"),
              (std::vector<std::string>{"FrameRate", "DropFrame", "UseBmpColor", "Color_0",
                                        "Color_1", "Color_2", "Color_3", "Contrast_0", "Contrast_1",
                                        "Contrast_2", "Contrast_3"}));
    const std::string bytes = readBytes(path);
    size_t at = 0;
    for (const char* header : {"[CONFIG]", "[PREVIEW CFG]", "[BMP OUT TC & RES]", "[ORVANE OUTPUT]",
                               "[IAUTHOR OUTPUT]", "[PHILIPS OUTPUT]"}) {
        const size_t found = bytes.find(header);
        ASSERT_NE(found, std::string::npos) << header;
        EXPECT_GE(found, at) << header;
        at = found;
    }
    EXPECT_EQ(sectionText(bytes, "[PREVIEW CFG]"),
              "[PREVIEW CFG]\r\nAtTruePos=1\r\nTransparentBkGrd=0\r\nZoom=1000\r\nAutoZoom=0\r\n"
              "BorderColor=7171979\r\nInnerColor=13089467\r\nBackMode=1\r\nAspectRatioMode=0\r\n"
              "FreeAspectRatio=30\r\nBackImageName=\r\n");
    EXPECT_EQ(
        sectionText(bytes, "[IAUTHOR OUTPUT]"),
        "[IAUTHOR OUTPUT]\r\nColor_0=0\r\nColor_1=16777215\r\nColor_2=0\r\nColor_3=8421504\r\n"
        "Blend_0=0\r\nBlend_1=15\r\nBlend_2=15\r\nBlend_3=15\r\nMinimumInterval=10\r\n");
}

TEST_F(ConfigurationTest, StoredValuesAreCutToTheirFieldsAndReadAsTheProfileReaderDoes) {
    writeBytes(path,
               "[PREVIEW CFG]\r\nZoom=1500\r\nFreeAspectRatio=70000\r\nBackMode=0x103\r\n"
               "BorderColor=0x00FF00\r\nInnerColor=-1\r\n"
               "[config]\r\nActionMode=0x2\r\nAutoScrollDown=yes\r\nAvoidTimeRestart=2\r\n"
               "[OCR SETTING]\r\nSensibility=40000\r\nMinLineHeight=300\r\nSpaceWidth=bad\r\n"
               "[IAUTHOR OUTPUT]\r\nMinimumInterval=-1\r\n");
    session.ocrSettings().spaceWidth = 3;  // held now: the default of a bad OCR value
    loadConfiguration(session, path);
    EXPECT_EQ(session.previewOptions().zoom, 1500);            // 150 %
    EXPECT_EQ(session.previewOptions().freeBandHeight, 4464);  // 70000 & 0xFFFF
    EXPECT_EQ(session.previewOptions().backMode, 3);           // 0x103 & 0xFF
    EXPECT_EQ(session.previewOptions().borderColour, 0x00FF00u);
    EXPECT_EQ(session.previewOptions().innerColour, 0xFFFFFFFFu);
    EXPECT_EQ(session.settings().actionMode, 2);
    EXPECT_TRUE(session.settings().autoScrollDown);  // "yes" is not an integer: the default
    EXPECT_TRUE(session.settings().avoidTimeRestart);
    EXPECT_EQ(session.ocrSettings().sensibility, 40000);
    EXPECT_EQ(session.ocrSettings().minLineHeight, 300 & 0xFF);
    EXPECT_EQ(session.ocrSettings().spaceWidth, 3);
    EXPECT_EQ(session.document().settings().iauthorMinimumInterval, 0xFFFF);

    // A zoom beyond the int16 range is cut to 16 bits, to a negative value.
    writeBytes(path, "[PREVIEW CFG]\r\nZoom=40000\r\n");
    loadConfiguration(session, path);
    EXPECT_EQ(session.previewOptions().zoom, 40000 - 65536);

    // Colours are written as signed 32-bit decimals, and read back.
    saveConfiguration(session, path);
    EXPECT_EQ(IniFile(path).readString("PREVIEW CFG", "InnerColor", ""), "13089467");
    session.previewOptions().innerColour = 0xFFFFFFFFu;
    saveConfiguration(session, path);
    EXPECT_EQ(IniFile(path).readString("PREVIEW CFG", "InnerColor", ""), "-1");
    session.previewOptions().innerColour = 0;
    loadConfiguration(session, path);
    EXPECT_EQ(session.previewOptions().innerColour, 0xFFFFFFFFu);
}

TEST_F(ConfigurationTest, ClosingLeavesTheOcrSectionUntouchedAndKeepsFolders) {
    const std::string ocr =
        "[OCR SETTING]\r\n"
        "; tuned by hand\r\n"
        "Sensibility = 0x3E8\r\n"
        "MinLineHeight=12\r\n";
    writeBytes(path, "[CONFIG]\r\nOpenDialogVob=/media/gone/VIDEO_TS/\r\n\r\n" + ocr +
                         "\r\n[UNKNOWN]\r\nKeep=this\r\n");
    std::vector<ControlNode> windows;
    startUpConfiguration(session, path, windows);
    EXPECT_EQ(session.ocrSettings().sensibility, 1000);
    EXPECT_EQ(session.settings().openDialogVob, "/media/gone/VIDEO_TS/");
    session.ocrSettings().sensibility = 500;  // changed but not saved by the OCR setup
    session.settings().actionMode = 1;
    closeDownConfiguration(session, path);

    const std::string bytes = readBytes(path);
    EXPECT_NE(bytes.find("\r\n" + ocr + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[UNKNOWN]\r\nKeep=this\r\n"), std::string::npos);
    const IniFile ini(path);
    EXPECT_EQ(ini.readString("CONFIG", "OpenDialogVob", ""), "/media/gone/VIDEO_TS/");
    EXPECT_EQ(ini.readInteger("CONFIG", "ActionMode", -1), 1);

    // The OCR setup's save writes all thirteen limits and nothing else.
    saveOcrSettings(session, path);
    const IniFile after(path);
    EXPECT_EQ(after.keys("OCR SETTING").size(), 13u);
    EXPECT_EQ(after.readInteger("OCR SETTING", "Sensibility", 0), 500);
    EXPECT_EQ(after.readString("UNKNOWN", "Keep", ""), "this");
    EXPECT_EQ(after.readInteger("CONFIG", "ActionMode", -1), 1);
}

TEST_F(ConfigurationTest, ReloadingTheOcrDefaultsResetsOnlyTheOcrLimits) {
    changeEverything(session);
    const ConfigSettings before = session.settings();
    setOcrDefaults(session);
    EXPECT_EQ(session.ocrSettings(), OcrSettings{});
    EXPECT_EQ(session.ocrSettings().sensibility, 980);
    EXPECT_EQ(session.settings(), before);
}

TEST_F(ConfigurationTest, AFailedSaveAtClosingIsReportedAndTheReaderIsPaused) {
    const std::string bad = dir.file("read-only/Orvane.ini");
    session.job().running = true;
    session.job().paused = false;
    closeDownConfiguration(session, bad);
    EXPECT_TRUE(session.job().paused);
    // The configuration's save and then the bitmap settings' save each fail.
    ASSERT_EQ(ui.questions.size(), 2u);
    for (const auto& q : ui.questions) {
        EXPECT_EQ(q.id, QuestionId::IoFailure);
        EXPECT_EQ(q.text,
                  "Impossible d'\xE9"
                  "crire dans " +
                      bad + " (" + std::strerror(ENOENT) + ")");
    }
    EXPECT_THROW(saveOcrSettings(session, bad), IniWriteError);
}

TEST_F(ConfigurationTest, TheStoredLanguageIsAppliedAtStartAndSwitchingIsRemembered) {
    std::filesystem::create_directories(dir.file("lang"));
    writeBytes(dir.file("lang/Francais.lng"),
               "[Form6]\r\nForm6.CheckBoxPictTiming.Caption=+ Temps\r\n"
               "[Form1.MainMenu1]\r\nForm1.MainMenu1.GUILanguage1=&Langue\r\n"
               "[Messages]\r\nMsgStr_0=Trop de caract\xE8res : \r\n");
    writeBytes(dir.file("lang/Deutsch.lng"), "[Messages]\r\nMsgStr_0=Zu viele Zeichen: \r\n");
    writeBytes(dir.file("lang/2nd try.lng"), "[Messages]\r\nMsgStr_0=x\r\n");
    writeBytes(path, "[CONFIG]\r\nLanguageFileName=Francais\r\n");

    ControlNode form1{ControlKind::Window, "Form1", "Orvane 0.97b", {}, false, false, {}, {}};
    ControlNode menu{ControlKind::MainMenu, "MainMenu1", {}, {}, false, false, {}, {}};
    menu.children.push_back(
        {ControlKind::MenuItem, "GUILanguage1", "GUI &Language", {}, false, false, {}, {}});
    form1.children.push_back(menu);
    ControlNode form6{ControlKind::Window, "Form6", "What To Do ?", {}, false, false, {}, {}};
    form6.children.push_back(
        {ControlKind::CheckBox, "CheckBoxPictTiming", "+ TC && Res.", {}, false, false, {}, {}});
    std::vector<ControlNode> windows{form1, form6};

    const LanguageList list = startUpConfiguration(session, path, windows);
    EXPECT_EQ(list.names, (std::vector<std::string>{"Deutsch", "Francais"}));
    // The file whose name cannot name a menu item is reported; start-up went on.
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "'2nd try' is not a valid component name");
    EXPECT_EQ(session.messages().get(0), "Trop de caract\xE8res : ");
    EXPECT_EQ(findControl(windows[1], "CheckBoxPictTiming")->text, "+ Temps");
    ControlNode& languageMenu = *findControl(windows[0], "GUILanguage1");
    EXPECT_EQ(languageMenu.text, "&Langue");
    ASSERT_EQ(languageMenu.children.size(), 2u);
    EXPECT_FALSE(languageMenu.children[0].checked);
    EXPECT_TRUE(languageMenu.children[1].checked);

    switchLanguage(session, windows, "Deutsch");
    EXPECT_EQ(session.messages().get(0), "Zu viele Zeichen: ");
    EXPECT_EQ(findControl(windows[1], "CheckBoxPictTiming")->text, "+ Temps");  // Deutsch lacks it
    EXPECT_TRUE(languageMenu.children[0].checked);
    EXPECT_FALSE(languageMenu.children[1].checked);
    closeDownConfiguration(session, path);
    EXPECT_EQ(IniFile(path).readString("CONFIG", "LanguageFileName", ""), "Deutsch");

    // "Save Lang" writes the template beside the other languages.
    writeLanguageTemplate(session, windows);
    const IniFile tpl(dir.file("lang/New_LangFile.lng"), IniFile::Values::Exact);
    EXPECT_EQ(tpl.readString("Form6", "Form6.CheckBoxPictTiming.Caption", ""), "+ Temps");
    EXPECT_EQ(tpl.readString("Form1.MainMenu1", "Form1.MainMenu1.GUILanguage1.Deutsch", ""),
              "Deutsch");
    EXPECT_EQ(tpl.readString("Messages", "MsgStr_0", ""), "Zu viele Zeichen: ");
}

TEST(ConfigurationPath, IsTheProgramFolderWhenWritableElseTheUserConfigFolder) {
    test::TempDir dir;
    const std::string program = dir.path() + "/";
    EXPECT_EQ(defaultConfigurationPath(program), program + "Orvane.ini");
    // A folder that cannot be written (here: one that is not there).
    const std::string unwritable = dir.file("missing") + "/";
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", dir.file("xdg").c_str(), 1);
    const std::string chosen = defaultConfigurationPath(unwritable);
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(chosen, dir.file("xdg") + "/orvane/Orvane.ini");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("xdg/orvane")));
}

}  // namespace
}  // namespace orvane
