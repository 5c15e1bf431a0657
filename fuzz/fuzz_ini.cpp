// The INI reader and writer: every key read back after a write, others
// untouched.
#include <cstdlib>
#include <string>

#include "config/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (auto values : {orvane::IniFile::Values::Profile, orvane::IniFile::Values::Exact}) {
        orvane::IniFile ini = orvane::IniFile::fromText(text, values);
        for (const char* section : {"CONFIG", "OCR SETTING", "Messages"}) {
            for (const std::string& key : ini.keys(section)) {
                (void)ini.readString(section, key, "");
                (void)ini.readInteger(section, key, 7);
            }
        }
        const std::string value = text.substr(0, 40);
        try {
            ini.writeString("CONFIG", "Fuzzed", value);
        } catch (const std::invalid_argument&) {
            std::abort();  // the names are valid
        }
        std::string expected = value;
        for (char& c : expected)
            if (c == '\r' || c == '\n') c = ' ';
        const std::string back = ini.readString("CONFIG", "Fuzzed", "");
        if (values == orvane::IniFile::Values::Exact ? back != expected
                                                     : back.size() > expected.size())
            std::abort();
        (void)ini.lines();
    }
    return 0;
}
