#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "config/message_table.h"

namespace orvane {

// The kinds of controls a language file knows. Kinds are matched exactly:
// a numeric entry is not an edit box, a bitmap button is not a button.
enum class ControlKind : uint8_t {
    Window,
    MainMenu,
    PopupMenu,
    MenuItem,
    Label,
    Edit,
    Button,
    BitButton,
    ToolButton,
    RadioButton,
    RadioGroup,
    CheckBox,
    GroupBox,
    TabSheet,
    // Never translated.
    NumericEdit,
    SpinEdit,
    ComboBox,
    Panel,
    ListBox,
    Other,
};

// A window, menu or control as language files see it: a Qt-free model that
// the GUI builds from its widgets (object names are the control names) and
// copies back after a language is applied.
struct ControlNode {
    ControlKind kind = ControlKind::Other;
    std::string name;
    std::string text;  // caption, or an edit box's text
    std::string hint;
    bool showHint = false;
    bool checked = false;            // menu items: the language menu's mark
    std::vector<std::string> items;  // a radio group's items
    // A window: the controls it owns in creation order (a control's own
    // children follow it). A menu: its items; an item: its sub-items.
    std::vector<ControlNode> children;

    friend bool operator==(const ControlNode&, const ControlNode&) = default;
};

// The windows a language file addresses, in the order they are applied and
// written.
inline constexpr std::array<const char*, 14> kLanguageWindows = {
    "Form1",  "Form2",  "Form3",  "Form4",  "Form5",  "Form6",  "Form9",
    "Form10", "Form11", "Form12", "Form13", "Form14", "Form17", "Form18",
};
inline constexpr const char* kMessagesSection = "Messages";
inline constexpr const char* kTemplateLanguage = "New_LangFile";

// "lang/" + name + ".lng" in the program folder (which ends with '/').
std::string languageFilePath(const std::string& programFolder, const std::string& name);
// The language's file in the first of `folders` (each holding lang/) that
// has it; the first folder's path when none has.
std::string languageFilePath(const std::vector<std::string>& folders, const std::string& name);

// Letters, digits and '_', not beginning with a digit: a name that can
// identify a menu item and sit in a key.
bool isValidLanguageName(const std::string& name);

struct LanguageList {
    std::vector<std::string> names;    // usable languages
    std::vector<std::string> refused;  // files whose names are not valid language names
};
// The "*.lng" files of the program folder's lang/, without the extension,
// in name order (case-insensitive). A missing folder lists nothing.
LanguageList listLanguages(const std::string& programFolder);
// The languages of several folders, each holding lang/: a name is listed
// once however many folders have it (names compared as the menu does).
LanguageList listLanguages(const std::vector<std::string>& folders);

// Applies one window's section and menu sections; a window with an empty
// name is skipped.
void applyLanguageToWindow(const IniFile& file, ControlNode& window);
// Replaces messages 0, 1, 2, ... up to the first missing or empty key,
// appending those past the table's end.
void loadLanguageMessages(const IniFile& file, MessageTable& messages);
// Applies the file to the windows in the order of kLanguageWindows (windows
// found by name; others are left alone), then loads the messages. A missing
// file changes nothing.
void applyLanguageFile(const std::string& path, std::vector<ControlNode>& windows,
                       MessageTable& messages);

// Writes the windows' current texts and every message into `path`, keeping
// what the file held otherwise. Throws IniWriteError.
void writeLanguageTemplate(const std::string& path, const std::vector<ControlNode>& windows,
                           const MessageTable& messages);

// The language menu under "GUI &Language": one item per language, named and
// captioned with it, the one equal to `current` (exact case) checked.
void buildLanguageMenu(ControlNode& languageItem, const std::vector<std::string>& names,
                       const std::string& current);
// Checks the item named `name` and unchecks the others.
void checkLanguageItem(ControlNode& languageItem, const std::string& name);

// Depth-first search by name (the node itself included); nullptr if absent.
ControlNode* findControl(ControlNode& root, const std::string& name);

}  // namespace orvane
