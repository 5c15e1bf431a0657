#include "ocr/line_assembly.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "ocr/matcher.h"

namespace orvane {

namespace {

// ä ë ï ö ü ÿ Ä Ë Ï Ö Ü Ÿ.
bool isDiaeresisLetter(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 0xE4:
        case 0xEB:
        case 0xEF:
        case 0xF6:
        case 0xFC:
        case 0xFF:
        case 0xC4:
        case 0xCB:
        case 0xCF:
        case 0xD6:
        case 0xDC:
        case 0x9F:
            return true;
        default:
            return false;
    }
}

// What two strokes of one mark read as together, for a piece that reads as
// `text`; 0 when `text` is no mark that can be cut into two like strokes.
char doubledMark(const std::string& text) {
    if (text.size() != 1) return 0;
    switch (static_cast<unsigned char>(text[0])) {
        case '\'':
            return '"';
        case ',':
            return static_cast<char>(0x84);  // „
        case 0x91:                           // ‘
            return static_cast<char>(0x93);  // “
        case 0x92:                           // ’
            return static_cast<char>(0x94);  // ”
        case 0x8B:                           // ‹
            return static_cast<char>(0xAB);  // «
        case 0x9B:                           // ›
            return static_cast<char>(0xBB);  // »
        // The whole mark, matched by each stroke: read once.
        case '"':
        case 0x84:
        case 0x93:
        case 0x94:
        case 0xAB:
        case 0xBB:
            return text[0];
        default:
            return isDiaeresisLetter(text[0]) ? text[0] : 0;
    }
}

struct LineMeasure {
    int letterHeight = 0;  // the tallest piece
};

bool isSmall(const CharBox& b, const LineMeasure& m) {
    return b.height * 5 <= m.letterHeight * 3;
}

// The letter of a diaeresis letter's text without its case; 0 for
// anything else.
char diaeresisLetter(const std::string& text) {
    if (text.size() != 1 || !isDiaeresisLetter(text[0])) return 0;
    const auto c = static_cast<unsigned char>(text[0]);
    if (c == 0x9F) return static_cast<char>(0xFF);  // Ÿ: ÿ
    return static_cast<char>(c >= 0xE0 ? c : c + 0x20);
}

enum class Join {
    None,
    Strokes,      // two like strokes: one mark
    DotOfLetter,  // a dot beside the letter that carries the other
};

// How pieces a and b (a left of b), read as ta and tb, belong together.
Join joinOf(const CharBox& a, const std::string& ta, const CharBox& b, const std::string& tb,
            const LineMeasure& m) {
    const int gap = int{b.left} - a.right() - 1;
    if (gap * 10 > m.letterHeight * 3) return Join::None;
    const char letter = diaeresisLetter(ta);
    const bool sameLetter = letter != 0 && letter == diaeresisLetter(tb);
    if (likeStrokes(a, b, m.letterHeight) && (ta == tb || sameLetter) && doubledMark(ta) != 0)
        return Join::Strokes;
    if (!sameLetter) return Join::None;
    const CharBox& dot = a.height <= b.height ? a : b;
    const CharBox& body = a.height <= b.height ? b : a;
    if (!isSmall(dot, m) || dot.height * 2 > body.height) return Join::None;
    // The dot stands level with the letter's top or above it (a dotless
    // stem starts lower), within the letter's upper half.
    const bool placed = dot.top <= body.top + 2 && dot.bottom() < body.top + body.height / 2;
    return placed ? Join::DotOfLetter : Join::None;
}

}  // namespace

namespace {

bool isDoubleQuote(char c) {
    const auto u = static_cast<unsigned char>(c);
    return c == '"' || u == 0x84 || u == 0x93 || u == 0x94;  // " „ “ ”
}

// A double quote in the assembled text: where it is, its first and last
// pieces, and the nearest pieces with text before and after it (-1: none).
struct QuoteAt {
    size_t position;
    int first, last, before, after;
};

LineMeasure measureOf(const TextLine& line) {
    LineMeasure m;
    for (int j = 0; j < line.count; ++j)
        m.letterHeight = std::max(m.letterHeight, int{line.chars[static_cast<size_t>(j)].height});
    return m;
}

// The line's text as it is put together piece by piece.
struct Assembly {
    std::string out;
    // The last piece that read as a mark and may take a second stroke, and
    // the length of `out` right after its text.
    int mark = -1;
    size_t afterMark = 0;
    int lastText = -1;  // the last piece with text
    std::vector<QuoteAt> quotes;
};

// The second stroke: no space between, the pair as one mark.
void addSecondStroke(Assembly& a, const std::string& markText, int j) {
    a.out.resize(a.afterMark);
    a.out.back() = doubledMark(markText);
    if (!a.quotes.empty() && a.quotes.back().last == a.mark)
        a.quotes.back().last = j;
    else if (isDoubleQuote(a.out.back()))
        a.quotes.push_back({a.out.size() - 1, a.mark, j, -1, -1});
    a.mark = -1;
}

// The letter's reading stands; it may take its other dot too.
void addOtherDot(Assembly& a, const TextLine& line, const std::string& text, int j) {
    a.out.resize(a.afterMark);
    if (line.chars[static_cast<size_t>(j)].height >
        line.chars[static_cast<size_t>(a.mark)].height) {
        a.out.back() = text[0];
        a.mark = j;
    }
}

void addPiece(Assembly& a, const std::string& text, int j) {
    a.out += text;
    a.mark = doubledMark(text) != 0 ? j : -1;
    a.afterMark = a.out.size();
    if (text.size() == 1 && isDoubleQuote(text[0]))
        a.quotes.push_back({a.out.size() - 1, j, j, -1, -1});
}

bool isApostrophe(const std::string& text) {
    return text == "'" || text == "\x92" || text == "\x91";  // ' ’ ‘
}

bool isNumber(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether a space follows piece j (1-based): see assembleLineText.
bool breakAfter(const TextLine& line, int j, const std::vector<std::string>& texts,
                std::span<const WordBreak> breaks, const OcrSettings& settings) {
    if (j < 1 || j >= line.count) return false;
    const auto k = static_cast<size_t>(j - 1);
    const WordBreak b = k < breaks.size() ? breaks[k] : WordBreak::ByGap;
    if (b == WordBreak::Space) return true;
    const bool gap = spaceFollows(line, j, settings);
    if (b == WordBreak::ByGap || !gap) return gap;
    const std::string& before = texts[k];
    const std::string none;
    const std::string& after = k + 1 < texts.size() ? texts[k + 1] : none;
    if (isApostrophe(before) || isApostrophe(after)) return false;
    return !isNumber(before) || !isNumber(after);
}

Assembly readPieces(const TextLine& line, const std::vector<std::string>& texts,
                    const OcrSettings& settings, std::span<const WordBreak> breaks) {
    const LineMeasure m = measureOf(line);
    Assembly a;
    const int k = std::min<int>(line.count, static_cast<int>(texts.size()));
    for (int j = 0; j < k; ++j) {
        const std::string& text = texts[static_cast<size_t>(j)];
        const Join join = a.mark >= 0 ? joinOf(line.chars[static_cast<size_t>(a.mark)],
                                               texts[static_cast<size_t>(a.mark)],
                                               line.chars[static_cast<size_t>(j)], text, m)
                                      : Join::None;
        if (join == Join::Strokes)
            addSecondStroke(a, texts[static_cast<size_t>(a.mark)], j);
        else if (join == Join::DotOfLetter)
            addOtherDot(a, line, text, j);
        else if (!text.empty())
            addPiece(a, text, j);
        if (!text.empty()) a.lastText = j;
        if (breakAfter(line, j + 1, texts, breaks, settings)) a.out += ' ';
    }
    return a;
}

void findQuoteNeighbours(std::vector<QuoteAt>& quotes, const std::vector<std::string>& texts,
                         int lastText) {
    for (QuoteAt& q : quotes) {
        for (int j = q.first - 1; j >= 0 && q.before < 0; --j)
            if (!texts[static_cast<size_t>(j)].empty()) q.before = j;
        for (int j = q.last + 1; j <= lastText && q.after < 0; ++j)
            if (!texts[static_cast<size_t>(j)].empty()) q.after = j;
    }
}

// A double quote belongs to the word on one side of it. Its side bearings
// can make both gaps reach the space width; then the space on the nearer
// side goes, and at either end of the line the space between it and the
// line's only word beside it.
void dropSpacesBesideQuotes(std::string& out, const std::vector<QuoteAt>& quotes,
                            const TextLine& line) {
    auto gap = [&](int left, int right) {
        const CharBox& a = line.chars[static_cast<size_t>(left)];
        return int{line.chars[static_cast<size_t>(right)].left} - a.right() - 1;
    };
    for (auto q = quotes.rbegin(); q != quotes.rend(); ++q) {
        const size_t p = q->position;
        const bool spaceBefore = p > 0 && out[p - 1] == ' ';
        const bool spaceAfter = p + 1 < out.size() && out[p + 1] == ' ';
        if (spaceAfter && q->after >= 0 &&
            (q->before < 0 || (spaceBefore && gap(q->last, q->after) < gap(q->before, q->first))))
            out.erase(p + 1, 1);
        else if (spaceBefore && q->before >= 0 &&
                 (q->after < 0 ||
                  (spaceAfter && gap(q->before, q->first) < gap(q->last, q->after))))
            out.erase(p - 1, 1);
    }
}

}  // namespace

std::string assembleLineText(const TextLine& line, const std::vector<std::string>& texts,
                             const OcrSettings& settings, std::span<const WordBreak> breaks) {
    Assembly a = readPieces(line, texts, settings, breaks);
    findQuoteNeighbours(a.quotes, texts, a.lastText);
    dropSpacesBesideQuotes(a.out, a.quotes, line);
    return std::move(a.out);
}

bool likeStrokes(const CharBox& a, const CharBox& b, int letterHeight) {
    const LineMeasure m{letterHeight};
    const int gap = int{b.left} - a.right() - 1;
    const bool level = a.top <= b.bottom() && b.top <= a.bottom();
    const bool alike =
        std::abs(int{a.width} - int{b.width}) <= 2 && std::abs(int{a.height} - int{b.height}) <= 2;
    return gap * 10 <= letterHeight * 3 && isSmall(a, m) && isSmall(b, m) && level && alike;
}

}  // namespace orvane
