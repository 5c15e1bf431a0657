// A language file applied to a window and the message table.
#include <string>

#include "config/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using orvane::ControlKind;
    using orvane::ControlNode;
    const orvane::IniFile file =
        orvane::IniFile::fromText(std::string_view(reinterpret_cast<const char*>(data), size),
                                  orvane::IniFile::Values::Exact);
    ControlNode item{ControlKind::MenuItem, "Open1", "&Open", {}, false, false, {}, {}};
    ControlNode menu{ControlKind::MainMenu, "MainMenu1", {}, {}, false, false, {}, {item}};
    ControlNode group{ControlKind::RadioGroup,
                      "RadioGroupAction",
                      "Action",
                      {},
                      false,
                      false,
                      {"OCR", "BMP", "SUP"},
                      {}};
    ControlNode button{ControlKind::Button, "Button1", "OK", {}, false, false, {}, {}};
    ControlNode window{ControlKind::Window,  "Form1", "Orvane", {}, false, false, {},
                       {menu, group, button}};
    orvane::applyLanguageToWindow(file, window);
    orvane::MessageTable messages;
    messages.setDefaultMessages();
    orvane::loadLanguageMessages(file, messages);
    return 0;
}
