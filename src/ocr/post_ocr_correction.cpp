#include "ocr/post_ocr_correction.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace orvane {

std::string repairQuotes(std::string_view line) {
    std::string work(line);
    std::string result;
    result.reserve(line.size());
    for (size_t j = 0; j < work.size(); ++j) {
        const char c = work[j];
        if ((c == '\'' || c == '"') && j > 0 && work[j - 1] == c) {
            // The first of the pair becomes a double quote, the second goes;
            // this one cannot pair again.
            work[j] = '*';
            result.back() = '"';
            continue;
        }
        result += c;
    }
    return result;
}

std::optional<IlLanguage> ilLanguageFromCode(std::string_view code) {
    auto is = [&](const char* want) {
        if (code.size() != 2) return false;
        for (size_t i = 0; i < 2; ++i) {
            const char c = code[i];
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            if (lower != want[i]) return false;
        }
        return true;
    };
    if (is("en")) return IlLanguage::English;
    if (is("fr")) return IlLanguage::French;
    if (is("de")) return IlLanguage::German;
    if (is("es")) return IlLanguage::Spanish;
    return std::nullopt;
}

namespace {

// The rules that say an l is really a capital I; bit r-1 for rule r.
constexpr uint16_t rules(std::initializer_list<int> numbers) {
    uint16_t m = 0;
    for (int r : numbers) m = static_cast<uint16_t>(m | (1u << (r - 1)));
    return m;
}
constexpr uint16_t kEnglishRules = rules({1, 2, 3, 4, 5, 6, 7, 8, 9});
constexpr uint16_t kFrenchRules = rules({4, 5, 6, 8, 9});
constexpr uint16_t kGermanRules = rules({1, 2, 3, 4, 5, 6, 8, 9, 10});
// Spanish: no elision and no lone-letter word but the numeral I, a
// sentence also begins after an opening ¿ or ¡, and within capitals only
// the letter after counts (accented capitals too): "El" begins so many
// sentences that a capital before an l says nothing.
constexpr uint16_t kSpanishRules = rules({2, 4, 5, 6, 9, 11, 12});

uint16_t rulesOf(IlLanguage language) {
    switch (language) {
        case IlLanguage::French:
            return kFrenchRules;
        case IlLanguage::German:
            return kGermanRules;
        case IlLanguage::Spanish:
            return kSpanishRules;
        case IlLanguage::English:
            break;
    }
    return kEnglishRules;
}

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

// Capitals with the accented ones of Windows-1252 (À..Þ less ×, Š Œ Ž Ÿ),
// which Spanish writes on capitals (Ó, Á, Ñ).
bool isCapitalWithAccents(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return isCapital(ch) || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C ||
           c == 0x8E || c == 0x9F;
}

constexpr char kInvertedQuestion = static_cast<char>(0xBF);     // ¿
constexpr char kInvertedExclamation = static_cast<char>(0xA1);  // ¡

bool opensSpanishSentence(char c) {
    return c == kInvertedQuestion || c == kInvertedExclamation;
}

// Whether one of the enabled rules holds for the l at s[p]; p has two
// characters on each side.
bool looksLikeCapitalI(const std::string& s, size_t p, uint16_t enabled) {
    const char p1 = s[p - 1], p2 = s[p - 2], n1 = s[p + 1], n2 = s[p + 2];
    auto on = [enabled](int r) { return (enabled & (1u << (r - 1))) != 0; };
    const bool holds[12] = {
        // 1: "I'm", "I'll" after a blank
        (n1 == '\'' || n2 == '\'') && p1 == ' ',
        // 2: a lone letter
        p1 == ' ' && n1 == ' ',
        // 3: " It "
        p1 == ' ' && n1 == 't' && n2 == ' ',
        // 4: after a full stop (not an ellipsis)
        (p1 == '.' && p2 != '.') || (p1 == ' ' && p2 == '.'),
        // 5: after a dash of dialogue
        (p1 == '-' && (p2 == ' ' || p2 == '-')) || (p1 == ' ' && p2 == '-'),
        // 6: after an opening bracket
        p1 == '[' || (p2 == '[' && p1 == ' '),
        // 7: after a double quote
        p1 == '"' || (p2 == '"' && p1 == ' '),
        // 8: within capitals
        isCapital(n1) || (isCapital(p1) && p1 != 'I' && n1 == ' '),
        // 9: "Ill", "Ile"
        n1 == 'l' && (n2 == 'l' || (p1 == ' ' && n2 == ' ')),
        // 10: German words beginning "In", "Id", "Ih", "Ic", "Ir", "Is"
        p1 == ' ' && (n1 == 'n' || n1 == 'd' || n1 == 'h' || n1 == 'c' || n1 == 'r' || n1 == 's'),
        // 11: after an opening ¿ or ¡
        opensSpanishSentence(p1) || (p1 == ' ' && opensSpanishSentence(p2)),
        // 12: before a capital, accented ones too
        isCapitalWithAccents(n1),
    };
    for (int r = 1; r <= 12; ++r) {
        if (on(r) && holds[r - 1]) return true;
    }
    return false;
}

}  // namespace

std::string repairIl(std::string_view line, char before, IlLanguage language) {
    const uint16_t enabled = rulesOf(language);
    // Two characters of context on each side: `before` and a blank in front,
    // two blanks behind.
    std::string s;
    s.reserve(line.size() + 4);
    s += before;
    s += ' ';
    for (char c : line) s += c == 'I' ? 'l' : c;
    s += "  ";
    // Left to right on the text as it changes: an I set here is seen by the
    // next position.
    for (size_t p = 2; p + 2 < s.size(); ++p) {
        if (s[p] == 'l' && looksLikeCapitalI(s, p, enabled)) s[p] = 'I';
    }
    return s.substr(2, line.size());
}

namespace {

// Letters of Windows-1252: ASCII, Š Œ Ž š œ ž Ÿ and À..ÿ less × and ÷.
bool isLetter(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    switch (c) {
        case 0x8A:
        case 0x8C:
        case 0x8E:
        case 0x9A:
        case 0x9C:
        case 0x9E:
        case 0x9F:
            return true;
        default:
            return c >= 0xC0 && c != 0xD7 && c != 0xF7;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The words of a line: runs of letters, with an apostrophe between two
// letters kept inside ("I'll", "l'ami"), as [begin, end) offsets.
std::vector<std::pair<size_t, size_t>> wordsOf(std::string_view line) {
    std::vector<std::pair<size_t, size_t>> words;
    size_t i = 0;
    while (i < line.size()) {
        if (!isLetter(line[i])) {
            ++i;
            continue;
        }
        const size_t begin = i;
        while (i < line.size() && (isLetter(line[i]) || (line[i] == '\'' && i + 1 < line.size() &&
                                                         isLetter(line[i + 1]))))
            ++i;
        words.emplace_back(begin, i);
    }
    return words;
}

// At most this many I/l in one word are tried (2^n spellings).
constexpr size_t kMaxIlChoices = 8;

}  // namespace

namespace {

// The word, or one of its I/l spellings, is known: the I/l repair comes
// later, and "lt" (It) is no "l" and "t" run together.
bool knowsSomeIlSpelling(std::string_view word, const SpellingDictionary& dictionary) {
    if (dictionary.knows(word)) return true;
    std::vector<size_t> places;
    for (size_t i = 0; i < word.size(); ++i)
        if (word[i] == 'I' || word[i] == 'l') places.push_back(i);
    if (places.empty() || places.size() > kMaxIlChoices) return false;
    std::string spelling(word);
    for (uint32_t choice = 1; choice < (1u << places.size()); ++choice) {
        for (size_t k = 0; k < places.size(); ++k) {
            const char c = word[places[k]];
            spelling[places[k]] = (choice >> k) & 1u ? (c == 'I' ? 'l' : 'I') : c;
        }
        if (dictionary.knows(spelling)) return true;
    }
    return false;
}

}  // namespace

bool hasRunTogetherWords(std::string_view line, const SpellingDictionary& dictionary) {
    for (const auto& [begin, end] : wordsOf(line)) {
        const std::string_view word = line.substr(begin, end - begin);
        if (knowsSomeIlSpelling(word, dictionary)) continue;
        for (size_t cut = 1; cut < word.size(); ++cut)
            if (word[cut - 1] != '\'' && word[cut] != '\'' &&
                dictionary.knows(word.substr(0, cut)) && dictionary.knows(word.substr(cut)))
                return true;
    }
    return false;
}

std::string repairIlWithDictionary(std::string_view line, char before, IlLanguage language,
                                   const SpellingDictionary* dictionary) {
    std::string result = repairIl(line, before, language);
    if (!dictionary) return result;
    for (const auto& [begin, end] : wordsOf(line)) {
        std::vector<size_t> places;
        for (size_t i = begin; i < end; ++i)
            if (line[i] == 'I' || line[i] == 'l') places.push_back(i - begin);
        // A lone letter is a word in some languages either way: the
        // neighbours (the rules) decide it.
        if (places.empty() || end - begin < 2 || places.size() > kMaxIlChoices) continue;
        const std::string ruled = result.substr(begin, end - begin);
        if (dictionary->knows(ruled)) continue;
        std::string best;
        int bestChanges = 0, atBest = 0;
        for (uint32_t choice = 0; choice < (1u << places.size()); ++choice) {
            std::string word = ruled;
            int changes = 0;
            for (size_t k = 0; k < places.size(); ++k) {
                word[places[k]] = (choice >> k) & 1u ? 'I' : 'l';
                changes += word[places[k]] != ruled[places[k]];
            }
            if (changes == 0 || !dictionary->knows(word)) continue;
            if (atBest == 0 || changes < bestChanges) {
                best = std::move(word);
                bestChanges = changes;
                atBest = 1;
            } else if (changes == bestChanges) {
                ++atBest;
            }
        }
        if (atBest == 1) result.replace(begin, end - begin, best);
    }
    return result;
}

void repairIlLines(std::vector<std::string>& lines, IlLanguage language,
                   const SpellingDictionary* dictionary) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const char before = (i == 0 || lines[i - 1].empty()) ? '.' : lines[i - 1].back();
        lines[i] = repairIlWithDictionary(lines[i], before, language, dictionary);
    }
}

namespace {

// A run of letters and digits, [first, second).
using Run = std::pair<size_t, size_t>;

std::vector<Run> alphanumericRunsOf(std::string_view line) {
    std::vector<Run> runs;
    for (size_t i = 0; i < line.size();) {
        if (!isLetter(line[i]) && !isDigit(line[i])) {
            ++i;
            continue;
        }
        const size_t begin = i;
        while (i < line.size() && (isLetter(line[i]) || isDigit(line[i]))) ++i;
        runs.emplace_back(begin, i);
    }
    return runs;
}

bool hasOtherDigit(std::string_view line, const Run& run) {
    for (size_t i = run.first; i < run.second; ++i)
        if (isDigit(line[i]) && line[i] != '0') return true;
    return false;
}

bool onlyOs(std::string_view line, const Run& run) {
    for (size_t i = run.first; i < run.second; ++i)
        if (line[i] != 'O') return false;
    return true;
}

bool isNumberSeparator(char c) {
    return c == ',' || c == '.' || c == ':';
}

struct RunCounts {
    size_t otherLetters = 0, os = 0, zeros = 0, smallLetters = 0;
};

RunCounts countsOf(std::string_view line, const Run& run) {
    RunCounts c;
    for (size_t i = run.first; i < run.second; ++i) {
        if (line[i] == 'O')
            ++c.os;
        else if (line[i] == '0')
            ++c.zeros;
        else if (isLetter(line[i])) {
            ++c.otherLetters;
            if (line[i] >= 'a' && line[i] <= 'z') ++c.smallLetters;
        }
    }
    return c;
}

void readOsAsZeros(std::string& result, const Run& run) {
    for (size_t i = run.first; i < run.second; ++i)
        if (result[i] == 'O') result[i] = '0';
}

// "OOO" joined to a number: "6,OOO", "10:OO".
bool joinedToNumber(std::string_view line, const std::vector<Run>& runs, size_t r) {
    auto numberAt = [&](size_t other) {
        return hasOtherDigit(line, runs[other]) && !onlyOs(line, runs[other]);
    };
    const auto [begin, end] = runs[r];
    const bool after = r > 0 && runs[r - 1].second + 1 == begin &&
                       isNumberSeparator(line[begin - 1]) && numberAt(r - 1);
    const bool beforeNumber = r + 1 < runs.size() && end + 1 == runs[r + 1].first &&
                              isNumberSeparator(line[end]) && numberAt(r + 1);
    return after || beforeNumber;
}

// A zero reads as a capital O in a word of capitals or at its start, else
// as a small o ("0K", "cl0se").
void readZerosAsLetters(std::string& result, std::string_view line, const Run& run,
                        size_t smallLetters, const SpellingDictionary* dictionary) {
    const auto [begin, end] = run;
    std::string word = result.substr(begin, end - begin);
    for (size_t i = 0; i < word.size(); ++i)
        if (word[i] == '0') word[i] = smallLetters == 0 || i == 0 ? 'O' : 'o';
    bool change;
    if (dictionary && dictionary->knows(word))
        change = true;
    else if (dictionary && dictionary->knows(result.substr(begin, end - begin)))
        change = false;
    else
        change = smallLetters == 0 || (line[begin] == '0' && end > begin + 1 &&
                                       line[begin + 1] >= 'a' && line[begin + 1] <= 'z');
    if (change) result.replace(begin, end - begin, word);
}

}  // namespace

std::string repairZeroO(std::string_view line, const SpellingDictionary* dictionary) {
    std::string result(line);
    const std::vector<Run> runs = alphanumericRunsOf(line);
    for (size_t r = 0; r < runs.size(); ++r) {
        const RunCounts c = countsOf(line, runs[r]);
        if (c.os + c.zeros == 0) continue;
        const bool otherDigits = hasOtherDigit(line, runs[r]);
        if (otherDigits && c.otherLetters == 0) {
            readOsAsZeros(result, runs[r]);  // "2O1O", "1O0": a number.
        } else if (!otherDigits && c.otherLetters == 0 && c.zeros == 0) {
            if (joinedToNumber(line, runs, r)) readOsAsZeros(result, runs[r]);
        } else if (!otherDigits && c.zeros > 0 && c.otherLetters > 0) {
            readZerosAsLetters(result, line, runs[r], c.smallLetters, dictionary);
        }
    }
    return result;
}

void correctEntryLines(std::vector<std::string>& lines, const PostOcrOptions& options,
                       const SpellingDictionary* dictionary) {
    if (!options.useDictionary) dictionary = nullptr;
    if (options.repairQuotes) {
        for (std::string& l : lines) l = repairQuotes(l);
    }
    if (options.repairZeroO) {
        for (std::string& l : lines) l = repairZeroO(l, dictionary);
    }
    if (options.repairIl) repairIlLines(lines, options.language, dictionary);
}

}  // namespace orvane
