#include "ocr/spelling_dictionary.h"

#include <hunspell.hxx>

#include <filesystem>

#include "common/text_encoding.h"

namespace orvane {

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
    const std::string asked = engine_->utf8 ? cp1252ToUtf8(word) : std::string(word);
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
    return {nullptr, std::string("No ") + files.languageName + " spelling dictionary: " + tried +
                         " not found in " + folder + " (Debian package " + files.debianPackage +
                         ")"};
}

}  // namespace orvane
