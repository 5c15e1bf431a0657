#include "config/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::readBytes;
using test::writeBytes;

ControlNode node(ControlKind kind, std::string name, std::string text = {}, std::string hint = {},
                 std::vector<ControlNode> children = {}) {
    ControlNode n;
    n.kind = kind;
    n.name = std::move(name);
    n.text = std::move(text);
    n.hint = std::move(hint);
    n.children = std::move(children);
    return n;
}

ControlNode radioGroup(std::string name, std::string caption, std::vector<std::string> items) {
    ControlNode n = node(ControlKind::RadioGroup, std::move(name), std::move(caption));
    n.items = std::move(items);
    return n;
}

// A few windows as the GUI would describe them, in their English texts.
std::vector<ControlNode> englishWindows() {
    using K = ControlKind;
    ControlNode form1 =
        node(K::Window, "Form1", "Orvane 0.97b", {},
             {
                 node(K::MainMenu, "MainMenu1", {}, {},
                      {
                          node(K::MenuItem, "File1", "&File", {},
                               {node(K::MenuItem, "OpenVob1", "&Open Vob(s)"),
                                node(K::MenuItem, "Quit1", "&Quit")}),
                          node(K::MenuItem, "GUILanguage1", "GUI &Language"),
                      }),
                 node(K::Button, "Button1", "Save Lang"),
                 node(K::BitButton, "BitBtnPause", "&Pause", "Pause the reading"),
                 node(K::ToolButton, "ButtonPreviewOption", {}, "Preview Options"),
                 node(K::Label, "LabelTime", "00:00:00,000"),
                 node(K::SpinEdit, "SpinEditZoom", "100"),
                 node(K::Panel, "PanelPreviewCfg", "", {},
                      {node(K::CheckBox, "CheckBoxTruePos", "Show at true position",
                            "Show picture at its true position ( Only work in BMP mode )")}),
                 node(K::PopupMenu, "PopupMenu1", {}, {}, {node(K::MenuItem, "Copy1", "&Copy")}),
             });
    ControlNode form6 =
        node(K::Window, "Form6", "What To Do ?", {},
             {
                 radioGroup("RadioGroupAction", "Action",
                            {"SubPictures to Text via OCR", "Save SubPictures As BMP",
                             "Save SubPictures As SUP Files", "Only Show SubPictures"}),
                 node(K::CheckBox, "CheckBoxPictTiming", "+ TC && Res.",
                      "Get the timing and image(s) size(s) & position(s)"),
                 node(K::NumericEdit, "Word_uHour", "0", "Entier entre 0 et 23"),
                 node(K::Edit, "EditPath", "C:\\"),
                 node(K::GroupBox, "GroupBoxTime", "Start Time"),
                 node(K::TabSheet, "TabSheet1", "Files"),
                 node(K::RadioButton, "RadioButtonA", "A"),
             });
    // Not a window a language file addresses.
    ControlNode other = node(K::Window, "Form7", "Unlisted");
    return {form6, form1, other};
}

ControlNode& window(std::vector<ControlNode>& ws, const std::string& name) {
    for (auto& w : ws)
        if (w.name == name) return w;
    throw std::runtime_error("no window " + name);
}

// Section and key names in other letter case, Windows-1252 texts.
const char kFrench[] =
    "[form6]\r\n"
    "FORM6.Form6.caption=Que faire ?\r\n"
    "form6.radiogroupaction.items2=Enregistrer en fichiers SUP\r\n"
    "Form6.RadioGroupAction.Items4=no such item\r\n"
    "Form6.CheckBoxPictTiming.Hint=Dur\xE9"
    "e et position\r\n"
    "Form6.Word_uHour.Text=99\r\n"
    "Form6.Word_uHour.Hint=not for numeric entries\r\n"
    "Form6.EditPath.Text=\r\n"
    "Form6.GroupBoxTime.Caption=Heure de d\xE9"
    "but\r\n"
    "Form6.TabSheet1.Caption=Fichiers\r\n"
    "Form6.RadioButtonA.Caption=\xC0\r\n"
    "[Form1]\r\n"
    "Form1.ButtonPreviewOption.Caption=tool buttons have no caption\r\n"
    "Form1.ButtonPreviewOption.Hint=Options d'aper\xE7u\r\n"
    "Form1.SpinEditZoom.Text=5\r\n"
    "Form1.CheckBoxTruePos.Caption=Position r\xE9"
    "elle\r\n"
    "[Form1.MainMenu1]\r\n"
    "Form1.MainMenu1.File1.OpenVob1=&Ouvrir des VOB\r\n"
    "Form1.MainMenu1.GUILanguage1=&Langue\r\n"
    "[form1.popupmenu1]\r\n"
    "Form1.PopupMenu1.Copy1=&Copier\r\n"
    "[Form7]\r\n"
    "Form7.Form7.Caption=never\r\n"
    "[Messages]\r\n"
    "MsgStr_0=Nombre maximum de caract\xE8res atteint : \r\n"
    "MsgStr_1=Une matrice par DVD.\r\n"
    "MsgStr_2=La matrice est vide !\r\n"
    "MsgStr_3=Fichier \r\n"
    "MsgStr_4= existe d\xE9j\xE0 ! Remplacer ?\r\n"
    "MsgStr_6=never read: message 5 is missing\r\n";

class LanguageFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        messages.setDefaultMessages();
        std::filesystem::create_directories(dir.file("lang"));
    }
    std::string folder() const { return dir.path() + "/"; }

    test::TempDir dir;
    MessageTable messages;
    std::vector<ControlNode> windows = englishWindows();
};

TEST_F(LanguageFileTest, TranslatesExactKindsOnlyAndLeavesMissingKeysAlone) {
    const std::string path = languageFilePath(folder(), "Francais");
    EXPECT_EQ(path, folder() + "lang/Francais.lng");
    writeBytes(path, kFrench);
    applyLanguageFile(path, windows, messages);

    ControlNode& f6 = window(windows, "Form6");
    EXPECT_EQ(f6.text, "Que faire ?");
    const ControlNode& action = *findControl(f6, "RadioGroupAction");
    EXPECT_EQ(action.items,
              (std::vector<std::string>{"SubPictures to Text via OCR", "Save SubPictures As BMP",
                                        "Enregistrer en fichiers SUP", "Only Show SubPictures"}));
    EXPECT_EQ(action.text, "Action");
    const ControlNode& timing = *findControl(f6, "CheckBoxPictTiming");
    EXPECT_EQ(timing.text, "+ TC && Res.");
    EXPECT_EQ(timing.hint,
              "Dur\xE9"
              "e et position");
    EXPECT_TRUE(timing.showHint);
    EXPECT_FALSE(action.showHint);
    // A numeric entry derives from an edit box but is not one.
    const ControlNode& hour = *findControl(f6, "Word_uHour");
    EXPECT_EQ(hour.text, "0");
    EXPECT_EQ(hour.hint, "Entier entre 0 et 23");
    // A key present with an empty value empties the text.
    EXPECT_EQ(findControl(f6, "EditPath")->text, "");
    EXPECT_EQ(findControl(f6, "GroupBoxTime")->text,
              "Heure de d\xE9"
              "but");
    EXPECT_EQ(findControl(f6, "TabSheet1")->text, "Fichiers");
    EXPECT_EQ(findControl(f6, "RadioButtonA")->text, "\xC0");

    ControlNode& f1 = window(windows, "Form1");
    EXPECT_EQ(f1.text, "Orvane 0.97b");  // no caption key for it
    const ControlNode& tool = *findControl(f1, "ButtonPreviewOption");
    EXPECT_EQ(tool.text, "");
    EXPECT_EQ(tool.hint, "Options d'aper\xE7u");
    EXPECT_EQ(findControl(f1, "SpinEditZoom")->text, "100");
    // A control inside a panel is still the window's.
    EXPECT_EQ(findControl(f1, "CheckBoxTruePos")->text,
              "Position r\xE9"
              "elle");
    EXPECT_EQ(findControl(f1, "OpenVob1")->text, "&Ouvrir des VOB");
    EXPECT_EQ(findControl(f1, "Quit1")->text, "&Quit");
    EXPECT_EQ(findControl(f1, "File1")->text, "&File");
    EXPECT_EQ(findControl(f1, "GUILanguage1")->text, "&Langue");
    EXPECT_EQ(findControl(f1, "Copy1")->text, "&Copier");
    EXPECT_EQ(window(windows, "Form7").text, "Unlisted");

    // Messages 0 to 4; message 5 is missing, so 6 stays English too.
    EXPECT_EQ(messages.get(0), "Nombre maximum de caract\xE8res atteint : ");
    EXPECT_EQ(messages.get(3), "Fichier ");
    EXPECT_EQ(messages.get(4), " existe d\xE9j\xE0 ! Remplacer ?");
    EXPECT_EQ(messages.get(5), MessageTable::builtIn(5));
    EXPECT_EQ(messages.get(6), MessageTable::builtIn(6));
    EXPECT_EQ(messages.size(), MessageTable::kBuiltInCount);
}

TEST_F(LanguageFileTest, MessagesStopAtTheFirstEmptyOrMissingKeyAndGrowTheTable) {
    std::string file = "[Messages]\r\n";
    for (int n = 0; n <= 60; ++n)
        file += "MsgStr_" + std::to_string(n) + "=m" + std::to_string(n) + "\r\n";
    writeBytes(dir.file("lang/All.lng"), file);
    applyLanguageFile(dir.file("lang/All.lng"), windows, messages);
    ASSERT_EQ(messages.size(), 61u);
    EXPECT_EQ(messages.get(56), "m56");
    EXPECT_EQ(messages.get(60), "m60");

    messages.setDefaultMessages();
    writeBytes(dir.file("lang/Empty.lng"),
               "[Messages]\r\nMsgStr_0=a\r\nMsgStr_1=\r\nMsgStr_2=c\r\n");
    applyLanguageFile(dir.file("lang/Empty.lng"), windows, messages);
    EXPECT_EQ(messages.get(0), "a");
    EXPECT_EQ(messages.get(1), MessageTable::builtIn(1));
    EXPECT_EQ(messages.get(2), MessageTable::builtIn(2));
}

TEST_F(LanguageFileTest, NamelessWindowsAndControlsAreNotReached) {
    writeBytes(dir.file("lang/X.lng"),
               "[]\r\n..Caption=x\r\n.Label.Caption=y\r\n"
               "[Form3]\r\nForm3..Caption=z\r\n");
    ControlNode nameless =
        node(ControlKind::Window, "", "keep", {}, {node(ControlKind::Label, "Label", "keep")});
    ControlNode form3 =
        node(ControlKind::Window, "Form3", "keep", {}, {node(ControlKind::Label, "", "keep")});
    const IniFile file(dir.file("lang/X.lng"), IniFile::Values::Exact);
    applyLanguageToWindow(file, nameless);
    applyLanguageToWindow(file, form3);
    EXPECT_EQ(nameless.text, "keep");
    EXPECT_EQ(nameless.children[0].text, "keep");
    EXPECT_EQ(form3.children[0].text, "keep");
}

TEST_F(LanguageFileTest, AMissingFileChangesNothing) {
    const auto before = windows;
    applyLanguageFile(dir.file("lang/Nowhere.lng"), windows, messages);
    EXPECT_EQ(windows, before);
    EXPECT_EQ(messages.get(26), "Bad Packet Header at LBA: ");
}

TEST_F(LanguageFileTest, SwitchingKeepsTextsTheNewLanguageLacks) {
    writeBytes(dir.file("lang/A.lng"),
               "[Form6]\r\nForm6.CheckBoxPictTiming.Caption=A timing\r\n"
               "Form6.GroupBoxTime.Caption=A time\r\n[Messages]\r\nMsgStr_0=A0\r\nMsgStr_1=A1\r\n");
    writeBytes(dir.file("lang/B.lng"),
               "[Form6]\r\nForm6.GroupBoxTime.Caption=B time\r\n[Messages]\r\nMsgStr_0=B0\r\n");
    applyLanguageFile(dir.file("lang/A.lng"), windows, messages);
    applyLanguageFile(dir.file("lang/B.lng"), windows, messages);
    ControlNode& f6 = window(windows, "Form6");
    EXPECT_EQ(findControl(f6, "CheckBoxPictTiming")->text, "A timing");
    EXPECT_EQ(findControl(f6, "GroupBoxTime")->text, "B time");
    EXPECT_EQ(messages.get(0), "B0");
    EXPECT_EQ(messages.get(1), "A1");
}

TEST_F(LanguageFileTest, TemplateHoldsEveryTextInWindowOrderAndReadsBackTheSame) {
    writeBytes(dir.file("lang/Francais.lng"), kFrench);
    applyLanguageFile(dir.file("lang/Francais.lng"), windows, messages);
    const std::string tpl = languageFilePath(folder(), kTemplateLanguage);
    // An existing template keeps what is not overwritten.
    writeBytes(tpl, "[Extra]\r\nKeep=me\r\n[Messages]\r\nMsgStr_0=old\r\n");
    writeLanguageTemplate(tpl, windows, messages);

    const IniFile written(tpl);
    EXPECT_EQ(written.readString("Extra", "Keep", ""), "me");
    EXPECT_EQ(
        written.keys("Form1"),
        (std::vector<std::string>{"Form1.Form1.Caption", "Form1.Button1.Caption",
                                  "Form1.BitBtnPause.Caption", "Form1.BitBtnPause.Hint",
                                  "Form1.ButtonPreviewOption.Hint", "Form1.LabelTime.Caption",
                                  "Form1.CheckBoxTruePos.Caption", "Form1.CheckBoxTruePos.Hint"}));
    EXPECT_EQ(
        written.keys("Form1.MainMenu1"),
        (std::vector<std::string>{"Form1.MainMenu1.File1", "Form1.MainMenu1.File1.OpenVob1",
                                  "Form1.MainMenu1.File1.Quit1", "Form1.MainMenu1.GUILanguage1"}));
    EXPECT_EQ(written.keys("Form6"),
              (std::vector<std::string>{
                  "Form6.Form6.Caption", "Form6.RadioGroupAction.Caption",
                  "Form6.RadioGroupAction.Items0", "Form6.RadioGroupAction.Items1",
                  "Form6.RadioGroupAction.Items2", "Form6.RadioGroupAction.Items3",
                  "Form6.CheckBoxPictTiming.Caption", "Form6.CheckBoxPictTiming.Hint",
                  "Form6.EditPath.Text", "Form6.GroupBoxTime.Caption", "Form6.TabSheet1.Caption",
                  "Form6.RadioButtonA.Caption"}));
    EXPECT_FALSE(written.hasSection("Form7"));
    EXPECT_EQ(written.keys("Messages").size(), MessageTable::kBuiltInCount);
    // Windows in their fixed order, each followed by its menus, then the messages.
    const std::string bytes = readBytes(tpl);
    EXPECT_LT(bytes.find("[Form1]\r\nForm1.Form1.Caption=Orvane 0.97b\r\n"),
              bytes.find("[Form1.MainMenu1]"));
    EXPECT_LT(bytes.find("[Form1.MainMenu1]"), bytes.find("[Form1.PopupMenu1]"));
    EXPECT_LT(bytes.find("[Form1.PopupMenu1]"), bytes.find("[Form6]"));
    EXPECT_NE(bytes.find("MsgStr_26=Bad Packet Header at LBA: \r\n"), std::string::npos);

    // The template applied to the English windows gives the translated ones.
    std::vector<ControlNode> fresh = englishWindows();
    MessageTable freshMessages;
    freshMessages.setDefaultMessages();
    applyLanguageFile(tpl, fresh, freshMessages);
    for (const char* name : {"Form1", "Form6"}) {
        ControlNode a = window(fresh, name), b = window(windows, name);
        // Applying a hint turns its display on; the texts must agree.
        auto clearShowHint = [](auto& self, ControlNode& n) -> void {
            n.showHint = false;
            for (auto& c : n.children) self(self, c);
        };
        clearShowHint(clearShowHint, a);
        clearShowHint(clearShowHint, b);
        EXPECT_EQ(a, b) << name;
    }
    ASSERT_EQ(freshMessages.size(), messages.size());
    for (size_t n = 0; n < messages.size(); ++n)
        EXPECT_EQ(freshMessages.get(n), messages.get(n)) << n;
}

TEST_F(LanguageFileTest, TemplateWriteFailureIsReported) {
    EXPECT_THROW(
        writeLanguageTemplate(dir.file("no such folder/New_LangFile.lng"), windows, messages),
        IniWriteError);
}

TEST_F(LanguageFileTest, ListsLanguageFilesAndRefusesNamesThatAreNotIdentifiers) {
    EXPECT_TRUE(listLanguages(dir.file("elsewhere/")).names.empty());
    LanguageList none = listLanguages(folder());
    EXPECT_TRUE(none.names.empty());
    EXPECT_TRUE(none.refused.empty());

    for (const char* f : {"Francais.lng", "deutsch.LNG", "Italiano_2.lng", "2bad.lng",
                          "My Lang.lng", "readme.txt", "lng", "x.lng.bak"})
        writeBytes(dir.file(std::string("lang/") + f), "");
    std::filesystem::create_directories(dir.file("lang/folder.lng"));
    const LanguageList list = listLanguages(folder());
    EXPECT_EQ(list.names, (std::vector<std::string>{"deutsch", "Francais", "Italiano_2"}));
    EXPECT_EQ(list.refused, (std::vector<std::string>{"2bad", "My Lang"}));
}

TEST_F(LanguageFileTest, SeveralFoldersListEachLanguageOnceAndTheFirstFolderWins) {
    const std::string user = dir.file("user/"), shipped = dir.file("shipped/");
    std::filesystem::create_directories(user + "lang");
    std::filesystem::create_directories(shipped + "lang");
    for (const char* f : {"Francais.lng", "zz.lng"}) writeBytes(user + "lang/" + f, "");
    for (const char* f : {"Francais.lng", "deutsch.lng", "1x.lng"})
        writeBytes(shipped + "lang/" + f, "");
    const std::vector<std::string> folders{user, dir.file("missing/"), shipped};
    const LanguageList list = listLanguages(folders);
    EXPECT_EQ(list.names, (std::vector<std::string>{"deutsch", "Francais", "zz"}));
    EXPECT_EQ(list.refused, (std::vector<std::string>{"1x"}));
    EXPECT_EQ(languageFilePath(folders, "Francais"), user + "lang/Francais.lng");
    EXPECT_EQ(languageFilePath(folders, "deutsch"), shipped + "lang/deutsch.lng");
    // A language no folder has is looked for (and missed) in the first.
    EXPECT_EQ(languageFilePath(folders, "none"), user + "lang/none.lng");
}

TEST_F(LanguageFileTest, TheStoredLanguageIsCheckedOnlyWithTheSameLetterCase) {
    ControlNode& menu = *findControl(window(windows, "Form1"), "GUILanguage1");
    buildLanguageMenu(menu, {"deutsch", "Francais"}, "francais");
    ASSERT_EQ(menu.children.size(), 2u);
    EXPECT_FALSE(menu.children[0].checked);
    EXPECT_FALSE(menu.children[1].checked);
    EXPECT_EQ(menu.children[1].name, "Francais");
    EXPECT_EQ(menu.children[1].text, "Francais");
    checkLanguageItem(menu, "Francais");
    EXPECT_FALSE(menu.children[0].checked);
    EXPECT_TRUE(menu.children[1].checked);

    ControlNode other = node(ControlKind::MenuItem, "GUILanguage1");
    buildLanguageMenu(other, {"deutsch", "Francais"}, "Francais");
    EXPECT_TRUE(other.children[1].checked);
}

TEST(LanguageName, IsAnIdentifier) {
    EXPECT_TRUE(isValidLanguageName("Francais"));
    EXPECT_TRUE(isValidLanguageName("_x9"));
    EXPECT_FALSE(isValidLanguageName(""));
    EXPECT_FALSE(isValidLanguageName("9x"));
    EXPECT_FALSE(isValidLanguageName("a b"));
    EXPECT_FALSE(
        isValidLanguageName("Fran\xE7"
                            "ais"));
    EXPECT_FALSE(isValidLanguageName("a=b"));
}

}  // namespace
}  // namespace orvane
