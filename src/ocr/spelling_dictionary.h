#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ocr/post_ocr_correction.h"

namespace orvane {

// Where Debian installs the hunspell dictionaries (hunspell-en-us, ...).
inline constexpr const char* kDefaultDictionaryFolder = "/usr/share/hunspell";

// A spelling dictionary loaded from a hunspell .aff/.dic pair.
class HunspellDictionary : public SpellingDictionary {
  public:
    HunspellDictionary(const std::string& affPath, const std::string& dicPath);
    ~HunspellDictionary() override;
    HunspellDictionary(const HunspellDictionary&) = delete;
    HunspellDictionary& operator=(const HunspellDictionary&) = delete;

    bool knows(std::string_view word) const override;

  private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
};

// The dictionary of a language, or why there is none.
struct DictionaryLoad {
    std::unique_ptr<SpellingDictionary> dictionary;
    std::string error;  // set when `dictionary` is null
};

// Loads the hunspell dictionary of the language from `folder`: en_US, fr_FR
// (or fr), de_DE, es_ES. The error names the files looked for and the
// Debian package that holds them.
DictionaryLoad loadSpellingDictionary(IlLanguage language,
                                      const std::string& folder = kDefaultDictionaryFolder);

}  // namespace orvane
