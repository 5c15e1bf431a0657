#include "ocr/post_ocr_correction.h"

#include <cstdint>
#include <initializer_list>

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

uint16_t rulesOf(IlLanguage language) {
    switch (language) {
        case IlLanguage::French:
            return kFrenchRules;
        case IlLanguage::German:
            return kGermanRules;
        case IlLanguage::English:
            break;
    }
    return kEnglishRules;
}

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

// Whether one of the enabled rules holds for the l at s[p]; p has two
// characters on each side.
bool looksLikeCapitalI(const std::string& s, size_t p, uint16_t enabled) {
    const char p1 = s[p - 1], p2 = s[p - 2], n1 = s[p + 1], n2 = s[p + 2];
    auto on = [enabled](int r) { return (enabled & (1u << (r - 1))) != 0; };
    const bool holds[10] = {
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
    };
    for (int r = 1; r <= 10; ++r) {
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

void repairIlLines(std::vector<std::string>& lines, IlLanguage language) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const char before = (i == 0 || lines[i - 1].empty()) ? '.' : lines[i - 1].back();
        lines[i] = repairIl(lines[i], before, language);
    }
}

void correctEntryLines(std::vector<std::string>& lines, const PostOcrOptions& options) {
    if (options.repairQuotes) {
        for (std::string& l : lines) l = repairQuotes(l);
    }
    if (options.repairIl) repairIlLines(lines, options.language);
}

}  // namespace orvane
