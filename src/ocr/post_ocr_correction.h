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
enum class IlLanguage : uint8_t { English = 0, French = 1, German = 2, Spanish = 3 };

// "en", "fr", "de" or "es" (any case); nullopt for anything else.
std::optional<IlLanguage> ilLanguageFromCode(std::string_view code);

// Decides every I and l of one line again from its neighbours: all become
// l, and an l turns back into I where a rule of the language holds.
// `before` is the character taken to stand before the line: the last
// character of the previous line of the same entry, or '.' for a first line
// (as if a sentence had just ended). The Spanish rules are the French ones
// and a lone letter as the numeral I, an l after an opening ¿ or ¡ (or one
// and a blank), and within capitals only an l before a capital, accented
// or not ("El" stays).
std::string repairIl(std::string_view line, char before, IlLanguage language);

// Whether a word (Windows-1252 letters) is spelled right in a language.
class SpellingDictionary {
  public:
    virtual ~SpellingDictionary() = default;
    virtual bool knows(std::string_view word) const = 0;
};

// Whether a word of the line that the dictionary does not know is two
// words it knows run together ("ofyourself"): the space between them lost.
bool hasRunTogetherWords(std::string_view line, const SpellingDictionary& dictionary);

// The I/l repair of one line with a dictionary: the rules first, then
// every word of two letters or more that holds an I or an l is spelled
// with each choice of I or l at those places; when the dictionary knows
// the rules' spelling, or exactly one other, or one nearest to the rules'
// (fewest letters changed), that spelling is kept. Where the dictionary
// knows none, the rules decide. Without a dictionary this is repairIl.
std::string repairIlWithDictionary(std::string_view line, char before, IlLanguage language,
                                   const SpellingDictionary* dictionary);

// The I/l repair of one entry's lines in order, each line seeing the
// previous one already repaired. A line after an empty one is treated like
// a first line.
void repairIlLines(std::vector<std::string>& lines, IlLanguage language,
                   const SpellingDictionary* dictionary = nullptr);

// Digit zero and capital O told apart in one line. In a run of letters and
// digits: among other digits and no letters every O is a zero ("2O1O");
// among letters and no other digits a zero is a letter, a capital O in a
// word of capitals or at the word's start, else a small o: where the
// dictionary knows the word so spelled ("0K", "cl0se"), and without a
// dictionary's answer where every letter is a capital ("B0NJ0UR") or a
// leading zero comes before a small letter ("0ui"); a run of O alone
// joined to a number by one of , . : is zeros ("6,OOO"). Anything else
// stays.
std::string repairZeroO(std::string_view line, const SpellingDictionary* dictionary);

// The choices of the post-OCR correction dialog.
struct PostOcrOptions {
    bool repairQuotes = true;  // CheckBoxCorrectTwiceAp
    bool repairIl = false;     // CheckBoxCorrectIl
    IlLanguage language = IlLanguage::English;
    // Words checked against the language's spelling dictionary (I/l, and
    // 0/O when asked); without it the rules alone decide, as they always did.
    bool useDictionary = false;
    bool repairZeroO = false;  // 0 and O in words and numbers

    bool any() const { return repairQuotes || repairIl || repairZeroO; }
};

// The repairs that the options ask for, on one entry's lines: quotes
// first, then 0/O, then I and l. `dictionary` is the language's when the
// options ask for one and it could be loaded, else null.
void correctEntryLines(std::vector<std::string>& lines, const PostOcrOptions& options,
                       const SpellingDictionary* dictionary = nullptr);

}  // namespace orvane
