#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A pair of apostrophes or of double quotes becomes one double quote, pairs
// taken from left to right without overlap: the OCR reads a double quote
// as two apostrophes when its strokes are cut apart.
std::string repairQuotes(std::string_view line);

// The rule set that decides between capital I and small l.
enum class IlLanguage : uint8_t { English = 0, French = 1, German = 2 };

// "en", "fr" or "de" (any case); nullopt for anything else.
std::optional<IlLanguage> ilLanguageFromCode(std::string_view code);

// Decides every I and l of one line again from its neighbours: all become
// l, and an l turns back into I where a rule of the language holds.
// `before` is the character taken to stand before the line: the last
// character of the previous line of the same entry, or '.' for a first line
// (as if a sentence had just ended).
std::string repairIl(std::string_view line, char before, IlLanguage language);

// The I/l repair of one entry's lines in order, each line seeing the
// previous one already repaired. A line after an empty one is treated like
// a first line.
void repairIlLines(std::vector<std::string>& lines, IlLanguage language);

// The choices of the post-OCR correction dialog.
struct PostOcrOptions {
    bool repairQuotes = true;  // CheckBoxCorrectTwiceAp
    bool repairIl = false;     // CheckBoxCorrectIl
    IlLanguage language = IlLanguage::English;

    bool any() const { return repairQuotes || repairIl; }
};

// Both repairs that the options ask for, on one entry's lines: quotes
// first, then I and l.
void correctEntryLines(std::vector<std::string>& lines, const PostOcrOptions& options);

}  // namespace orvane
