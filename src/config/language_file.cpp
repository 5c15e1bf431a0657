#include "config/language_file.h"

#include <algorithm>
#include <filesystem>

namespace orvane {

namespace {

namespace fs = std::filesystem;

bool isMenu(const ControlNode& n) {
    return n.kind == ControlKind::MainMenu || n.kind == ControlKind::PopupMenu;
}

// The translatable properties of a kind, besides the radio group's items.
struct Properties {
    const char* text = nullptr;  // "Caption" or "Text"
    bool hint = false;
    bool items = false;
};

Properties propertiesOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::BitButton:
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
        case ControlKind::GroupBox:
        case ControlKind::TabSheet:
            return {"Caption", true, false};
        case ControlKind::Edit:
            return {"Text", true, false};
        case ControlKind::ToolButton:
            return {nullptr, true, false};
        case ControlKind::RadioGroup:
            return {"Caption", true, true};
        default:
            return {};
    }
}

// Calls f(control) for the window's controls in creation order: each
// control, then its own children. Menus are left to forEachMenu.
template <class Node, class F>
void forEachControl(Node& parent, F&& f) {
    for (auto& c : parent.children) {
        if (isMenu(c)) continue;
        f(c);
        forEachControl(c, f);
    }
}

template <class Node, class F>
void forEachMenu(Node& parent, F&& f) {
    for (auto& c : parent.children) {
        if (isMenu(c))
            f(c);
        else
            forEachMenu(c, f);
    }
}

// Calls f(item, key) for a menu's items depth-first, key being the section
// name followed by the names of the item's path.
template <class Node, class F>
void forEachMenuItem(Node& parent, const std::string& prefix, F&& f) {
    for (auto& item : parent.children) {
        if (item.name.empty()) continue;  // no key can reach it
        const std::string key = prefix + "." + item.name;
        f(item, key);
        forEachMenuItem(item, key, f);
    }
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return static_cast<unsigned char>(lower(x)) < static_cast<unsigned char>(lower(y));
    });
}

}  // namespace

std::string languageFilePath(const std::string& programFolder, const std::string& name) {
    return programFolder + "lang/" + name + ".lng";
}

std::string languageFilePath(const std::vector<std::string>& folders, const std::string& name) {
    for (const std::string& folder : folders) {
        std::error_code ec;
        const std::string path = languageFilePath(folder, name);
        if (fs::is_regular_file(path, ec)) return path;
    }
    return languageFilePath(folders.empty() ? std::string() : folders.front(), name);
}

bool isValidLanguageName(const std::string& name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

LanguageList listLanguages(const std::string& programFolder) {
    LanguageList list;
    std::error_code ec;
    fs::directory_iterator it(programFolder + "lang", ec), end;
    std::vector<std::string> found;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const std::string file = it->path().filename().string();
        if (file.size() < 4) continue;
        std::string ext = file.substr(file.size() - 4);
        std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        });
        if (ext == ".lng") found.push_back(file.substr(0, file.size() - 4));
    }
    // The folder listing has no useful order here; the menu lists by name.
    std::sort(found.begin(), found.end(), lessIgnoringCase);
    for (auto& name : found)
        (isValidLanguageName(name) ? list.names : list.refused).push_back(std::move(name));
    return list;
}

LanguageList listLanguages(const std::vector<std::string>& folders) {
    LanguageList all;
    const auto add = [](std::vector<std::string>& to, std::vector<std::string>& from) {
        for (auto& name : from)
            if (std::find(to.begin(), to.end(), name) == to.end()) to.push_back(std::move(name));
    };
    for (const std::string& folder : folders) {
        LanguageList one = listLanguages(folder);
        add(all.names, one.names);
        add(all.refused, one.refused);
    }
    std::sort(all.names.begin(), all.names.end(), lessIgnoringCase);
    std::sort(all.refused.begin(), all.refused.end(), lessIgnoringCase);
    return all;
}

void applyLanguageToWindow(const IniFile& file, ControlNode& window) {
    if (window.name.empty()) return;
    const std::string& section = window.name;
    const std::string windowKey = section + "." + window.name + ".Caption";
    if (file.hasKey(section, windowKey)) window.text = file.readString(section, windowKey, "");

    forEachControl(window, [&](ControlNode& c) {
        if (c.name.empty()) return;
        const Properties p = propertiesOf(c.kind);
        const std::string prefix = section + "." + c.name + ".";
        if (p.text && file.hasKey(section, prefix + p.text))
            c.text = file.readString(section, prefix + p.text, "");
        if (p.items) {
            // Only the items the group has; keys for more are ignored.
            for (size_t n = 0; n < c.items.size(); ++n) {
                const std::string key = prefix + "Items" + std::to_string(n);
                if (file.hasKey(section, key)) c.items[n] = file.readString(section, key, "");
            }
        }
        if (p.hint && file.hasKey(section, prefix + "Hint")) {
            c.hint = file.readString(section, prefix + "Hint", "");
            c.showHint = true;
        }
    });

    forEachMenu(window, [&](ControlNode& menu) {
        if (menu.name.empty()) return;
        const std::string menuSection = section + "." + menu.name;
        forEachMenuItem(menu, menuSection, [&](ControlNode& item, const std::string& key) {
            if (file.hasKey(menuSection, key)) item.text = file.readString(menuSection, key, "");
        });
    });
}

void loadLanguageMessages(const IniFile& file, MessageTable& messages) {
    for (size_t n = 0;; ++n) {
        std::string text = file.readString(kMessagesSection, "MsgStr_" + std::to_string(n), "");
        if (text.empty()) return;
        if (n < messages.size())
            messages.replace(n, std::move(text));
        else
            messages.append(std::move(text));
    }
}

void applyLanguageFile(const std::string& path, std::vector<ControlNode>& windows,
                       MessageTable& messages) {
    const IniFile file(path, IniFile::Values::Exact);
    for (const char* name : kLanguageWindows)
        for (auto& w : windows)
            if (w.name == name) applyLanguageToWindow(file, w);
    loadLanguageMessages(file, messages);
}

void writeLanguageTemplate(const std::string& path, const std::vector<ControlNode>& windows,
                           const MessageTable& messages) {
    IniFile file(path, IniFile::Values::Exact);
    for (const char* name : kLanguageWindows) {
        for (const auto& w : windows) {
            if (w.name != name) continue;
            const std::string& section = w.name;
            file.writeString(section, section + "." + w.name + ".Caption", w.text);
            forEachControl(w, [&](const ControlNode& c) {
                if (c.name.empty()) return;
                const Properties p = propertiesOf(c.kind);
                const std::string prefix = section + "." + c.name + ".";
                if (p.text) file.writeString(section, prefix + p.text, c.text);
                if (p.items)
                    for (size_t n = 0; n < c.items.size(); ++n)
                        file.writeString(section, prefix + "Items" + std::to_string(n), c.items[n]);
                if (p.hint && !c.hint.empty()) file.writeString(section, prefix + "Hint", c.hint);
            });
            forEachMenu(w, [&](const ControlNode& menu) {
                if (menu.name.empty()) return;
                const std::string menuSection = section + "." + menu.name;
                forEachMenuItem(menu, menuSection,
                                [&](const ControlNode& item, const std::string& key) {
                                    file.writeString(menuSection, key, item.text);
                                });
            });
            // Written back per window, as each window is done.
            file.flush();
        }
    }
    for (size_t n = 0; n < messages.size(); ++n)
        file.writeString(kMessagesSection, "MsgStr_" + std::to_string(n), messages.get(n));
    file.flush();
}

void buildLanguageMenu(ControlNode& languageItem, const std::vector<std::string>& names,
                       const std::string& current) {
    for (const auto& name : names) {
        ControlNode item;
        item.kind = ControlKind::MenuItem;
        item.name = name;
        item.text = name;
        item.checked = name == current;
        languageItem.children.push_back(std::move(item));
    }
}

void checkLanguageItem(ControlNode& languageItem, const std::string& name) {
    for (auto& item : languageItem.children) item.checked = item.name == name;
}

ControlNode* findControl(ControlNode& root, const std::string& name) {
    if (root.name == name) return &root;
    for (auto& c : root.children)
        if (ControlNode* found = findControl(c, name)) return found;
    return nullptr;
}

}  // namespace orvane
