#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "ocr/spelling_dictionary.h"

namespace orvane::test {

// The Debian hunspell dictionary of a language (scripts/install-deps.sh
// installs them), loaded once.
inline const SpellingDictionary& dictionary(IlLanguage language) {
    static std::unique_ptr<SpellingDictionary> loaded[4];
    auto& d = loaded[static_cast<size_t>(language)];
    if (!d) {
        DictionaryLoad load = loadSpellingDictionary(language);
        EXPECT_TRUE(load.dictionary) << load.error;
        d = std::move(load.dictionary);
    }
    return *d;
}

}  // namespace orvane::test
