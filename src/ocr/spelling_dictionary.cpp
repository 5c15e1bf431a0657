#include "ocr/spelling_dictionary.h"

#include <hunspell.hxx>

#include <filesystem>

namespace orvane {

namespace {

// Windows-1252 to UTF-8 for the dictionary's questions (the OCR layer keeps
// to itself; bytes Windows-1252 leaves undefined become '?').
std::string toUtf8(std::string_view text) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const char32_t u = c < 0x80 ? c : c < 0xA0 ? kHigh[c - 0x80] : c;
        if (u == 0) {
            out += '?';
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

}  // namespace

struct HunspellDictionary::Engine {
    Engine(const std::string& aff, const std::string& dic) : hunspell(aff.c_str(), dic.c_str()) {}
    Hunspell hunspell;
    bool utf8 = true;
};

HunspellDictionary::HunspellDictionary(const std::string& affPath, const std::string& dicPath)
    : engine_(std::make_unique<Engine>(affPath, dicPath)) {
    engine_->utf8 = engine_->hunspell.get_dict_encoding() == "UTF-8";
}

HunspellDictionary::~HunspellDictionary() = default;

bool HunspellDictionary::knows(std::string_view word) const {
    // Texts are Windows-1252; the Debian dictionaries are UTF-8. A
    // dictionary in a legacy 8-bit set is asked with the bytes as they are,
    // which is right for its ASCII words.
    const std::string asked = engine_->utf8 ? toUtf8(word) : std::string(word);
    return engine_->hunspell.spell(asked);
}

namespace {

struct DictionaryFiles {
    const char* names[2];  // file names without extension, the second may be null
    const char* languageName;
    const char* debianPackage;
};

DictionaryFiles filesOf(IlLanguage language) {
    switch (language) {
        case IlLanguage::French:
            return {{"fr_FR", "fr"}, "French", "hunspell-fr"};
        case IlLanguage::German:
            return {{"de_DE", nullptr}, "German", "hunspell-de-de"};
        case IlLanguage::Spanish:
            return {{"es_ES", nullptr}, "Spanish", "hunspell-es"};
        case IlLanguage::English:
            break;
    }
    return {{"en_US", nullptr}, "English", "hunspell-en-us"};
}

}  // namespace

DictionaryLoad loadSpellingDictionary(IlLanguage language, const std::string& folder) {
    namespace fs = std::filesystem;
    const DictionaryFiles files = filesOf(language);
    std::string tried;
    for (const char* name : files.names) {
        if (!name) break;
        const fs::path aff = fs::path(folder) / (std::string(name) + ".aff");
        const fs::path dic = fs::path(folder) / (std::string(name) + ".dic");
        std::error_code ec;
        if (fs::is_regular_file(aff, ec) && fs::is_regular_file(dic, ec))
            return {std::make_unique<HunspellDictionary>(aff.string(), dic.string()), {}};
        if (!tried.empty()) tried += " or ";
        tried += name;
        tried += ".aff/.dic";
    }
    return {nullptr, std::string("No ") + files.languageName + " spelling dictionary: " + tried + " not found in " +
                         folder + " (Debian package " + files.debianPackage + ")"};
}

}  // namespace orvane
