#include "ocr/engine_alignment.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>

namespace orvane {

namespace {

// Costs in line heights of span disagreement.
constexpr double kSkippedGlyph = 1.0;     // the engine read nothing there
constexpr double kStraySymbol = 1.0;      // a symbol on no glyph
constexpr double kSharedSymbol = 0.3;     // one symbol over several glyphs
constexpr double kUnreadableShare = 0.7;  // ... that are not all the same picture
constexpr double kExtraSymbol = 0.1;      // each symbol beyond the first of a glyph
constexpr double kKnownMisread = 0.25;    // a known glyph read as another text
constexpr double kClearMargin = 0.25;     // how much cheaper the proposal must be
constexpr int kMaxSymbolsPerGlyph = 3;
constexpr int kMaxGlyphsPerSymbol = 3;
constexpr int kSmallestLine = 24;  // pixels the engine is given at least
constexpr double kInf = std::numeric_limits<double>::infinity();

double spanCost(int l1, int r1, int l2, int r2, int lineHeight) {
    return double(std::abs(l1 - l2) + std::abs(r1 - r2)) / lineHeight;
}

// What each of `k` glyphs reads when one symbol lies over all of them: a
// straight double quote over its two like strokes gives each an apostrophe
// (two in a row read back as the quote), any other mark over pictures that
// are all the same repeats on each; otherwise nothing can be told.
std::optional<std::string> sharedText(const std::string& symbol,
                                      std::span<const AlignGlyph> group) {
    for (const AlignGlyph& g : group)
        if (g.pictureKey != group.front().pictureKey) return std::nullopt;
    if (symbol == "\"" && group.size() == 2) return std::string("'");
    return symbol;
}

// The symbols that stand for text: the engine's spaces and empty boxes
// place nothing.
std::vector<EngineSymbol> readableSymbols(std::span<const EngineSymbol> all) {
    std::vector<EngineSymbol> symbols;
    for (const EngineSymbol& s : all)
        if (!s.text.empty() && s.text != " ") symbols.push_back(s);
    return symbols;
}

// One of the engine's words: symbols [first, last) and its columns as the
// engine gave them, else its symbols' span.
struct EngineWord {
    size_t first, last;
    int left, right;
};

std::vector<EngineWord> wordsOf(const std::vector<EngineSymbol>& symbols) {
    std::vector<EngineWord> words;
    for (size_t first = 0; first < symbols.size();) {
        size_t last = first + 1;
        while (last < symbols.size() && !symbols[last].wordStart) ++last;
        EngineWord w{first, last, symbols[first].wordLeft, symbols[first].wordRight};
        if (w.right < w.left) {
            w.left = symbols[first].left;
            w.right = symbols[first].right;
            for (size_t k = first; k < last; ++k) {
                w.left = std::min(w.left, symbols[k].left);
                w.right = std::max(w.right, symbols[k].right);
            }
        }
        words.push_back(w);
        first = last;
    }
    return words;
}

bool holdsMiddle(const EngineWord& w, const AlignGlyph& g) {
    const int centre2 = g.left + g.right;
    return centre2 >= 2 * w.left && centre2 <= 2 * w.right;
}

// Whether a glyph is one of the word's: its middle lies in the word, or the
// middle of one of the word's letters lies in it (the engine's word box
// may leave out part of its first or last letter).
bool holdsGlyph(const std::vector<EngineSymbol>& symbols, const EngineWord& w,
                const AlignGlyph& g) {
    if (holdsMiddle(w, g)) return true;
    for (size_t k = w.first; k < w.last; ++k) {
        const int centre2 = symbols[k].left + symbols[k].right;
        if (centre2 >= 2 * g.left && centre2 <= 2 * g.right) return true;
    }
    return false;
}

// Within a word, the engine's letter columns drift (towards its end most);
// where the word holds as many glyphs as the engine read letters, each
// letter takes its glyph's columns.
void snapWordsToGlyphs(std::vector<EngineSymbol>& symbols, std::span<const AlignGlyph> glyphs) {
    const int m = static_cast<int>(symbols.size());
    for (int first = 0; first < m;) {
        int last = first + 1;
        while (last < m && !symbols[static_cast<size_t>(last)].wordStart) ++last;
        const EngineSymbol& w = symbols[static_cast<size_t>(first)];
        if (w.wordRight >= w.wordLeft) {
            std::vector<size_t> inside;
            for (size_t j = 0; j < glyphs.size(); ++j) {
                const int centre2 = glyphs[j].left + glyphs[j].right;
                if (centre2 >= 2 * w.wordLeft && centre2 <= 2 * w.wordRight) inside.push_back(j);
            }
            if (static_cast<int>(inside.size()) == last - first)
                for (int k = first; k < last; ++k) {
                    symbols[static_cast<size_t>(k)].left =
                        glyphs[inside[static_cast<size_t>(k - first)]].left;
                    symbols[static_cast<size_t>(k)].right =
                        glyphs[inside[static_cast<size_t>(k - first)]].right;
                }
        }
        first = last;
    }
}

// One step of an alignment: glyphs [i, i + g) take symbols [p, p + t).
struct Step {
    int g, t;
};

// The glyphs of a line, the symbols to lay over them, and the steps an
// alignment may take. Cost tables are (n + 1) x (m + 1), indexed by `at`.
struct Alignment {
    std::span<const AlignGlyph> glyphs;
    std::span<const EngineSymbol> symbols;
    int h;  // line height, at least 1
    int n, m;
    std::vector<Step> steps;

    const AlignGlyph& glyph(int i) const { return glyphs[static_cast<size_t>(i)]; }
    const EngineSymbol& symbol(int p) const { return symbols[static_cast<size_t>(p)]; }
    bool fits(int i, int p, Step st) const { return i + st.g <= n && p + st.t <= m; }
    size_t at(int i, int p) const {
        return static_cast<size_t>(i) * static_cast<size_t>(m + 1) + static_cast<size_t>(p);
    }
};

std::vector<Step> alignmentSteps() {
    std::vector<Step> steps{{0, 1}, {1, 0}};
    for (int t = 1; t <= kMaxSymbolsPerGlyph; ++t) steps.push_back({1, t});
    for (int g = 2; g <= kMaxGlyphsPerSymbol; ++g) steps.push_back({g, 1});
    return steps;
}

// `c` plus what it costs to lay symbol `p`, spanning [sl, sr], over the
// `g` glyphs from `i`.
double sharedSymbolCost(const Alignment& a, int i, int p, int g, int sl, int sr, double c) {
    // One symbol over several glyphs covers at least half of each.
    for (int k = 0; k < g; ++k) {
        const AlignGlyph& gk = a.glyph(i + k);
        const int overlap = std::min(gk.right, sr) - std::max(gk.left, sl) + 1;
        if (2 * overlap < gk.right - gk.left + 1) return kInf;
    }
    c += kSharedSymbol;
    const auto text = sharedText(a.symbol(p).text,
                                 a.glyphs.subspan(static_cast<size_t>(i), static_cast<size_t>(g)));
    if (!text) c += kUnreadableShare;
    for (int k = 0; k < g; ++k) {
        const AlignGlyph& gk = a.glyph(i + k);
        if (gk.known && (!text || *text != gk.text)) c += kKnownMisread;
    }
    return c;
}

// `c` plus what it costs to lay the `t` symbols from `p` over glyph `i`.
double symbolsInGlyphCost(const Alignment& a, int i, int p, int t, double c) {
    c += kExtraSymbol * (t - 1);
    const AlignGlyph& g = a.glyph(i);
    // Letters touching in one glyph lie within it, each of them.
    for (int k = 0; t > 1 && k < t; ++k) {
        const EngineSymbol& sk = a.symbol(p + k);
        const int centre2 = sk.left + sk.right;
        if (centre2 < 2 * g.left - a.h / 2 || centre2 > 2 * g.right + a.h / 2) return kInf;
    }
    if (g.known) {
        std::string read;
        for (int k = 0; k < t; ++k) read += a.symbol(p + k).text;
        if (read != g.text) c += kKnownMisread;
    }
    return c;
}

double stepCost(const Alignment& a, int i, int p, Step st) {
    if (st.g == 0) return kStraySymbol;
    if (st.t == 0) return kSkippedGlyph;
    const int gl = a.glyph(i).left, gr = a.glyph(i + st.g - 1).right;
    const int sl = a.symbol(p).left, sr = a.symbol(p + st.t - 1).right;
    const double c = spanCost(gl, gr, sl, sr, a.h);
    if (st.g > 1) return sharedSymbolCost(a, i, p, st.g, sl, sr, c);
    return symbolsInGlyphCost(a, i, p, st.t, c);
}

// The cheapest cost of aligning glyphs [0, i) with symbols [0, p).
std::vector<double> costsFromStart(const Alignment& a) {
    std::vector<double> fwd(static_cast<size_t>(a.n + 1) * static_cast<size_t>(a.m + 1), kInf);
    fwd[a.at(0, 0)] = 0;
    for (int i = 0; i <= a.n; ++i)
        for (int p = 0; p <= a.m; ++p) {
            const double f = fwd[a.at(i, p)];
            if (f == kInf) continue;
            for (Step st : a.steps) {
                if (!a.fits(i, p, st)) continue;
                double& to = fwd[a.at(i + st.g, p + st.t)];
                to = std::min(to, f + stepCost(a, i, p, st));
            }
        }
    return fwd;
}

// The cheapest cost of aligning glyphs [i, n) with symbols [p, m).
std::vector<double> costsToEnd(const Alignment& a) {
    std::vector<double> bwd(static_cast<size_t>(a.n + 1) * static_cast<size_t>(a.m + 1), kInf);
    bwd[a.at(a.n, a.m)] = 0;
    for (int i = a.n; i >= 0; --i)
        for (int p = a.m; p >= 0; --p) {
            double& b = bwd[a.at(i, p)];
            for (Step st : a.steps) {
                if (!a.fits(i, p, st)) continue;
                const double rest = bwd[a.at(i + st.g, p + st.t)];
                if (rest != kInf) b = std::min(b, stepCost(a, i, p, st) + rest);
            }
        }
    return bwd;
}

// For each glyph, the cheapest whole alignment giving it each text
// (nullopt: no text), with the lowest confidence of its symbols.
struct Option {
    double cost = kInf;
    int confidence = 0;
};
using GlyphOptions = std::vector<std::map<std::optional<std::string>, Option>>;

void offer(GlyphOptions& options, int j, std::optional<std::string> text, double cost,
           int confidence) {
    Option& o = options[static_cast<size_t>(j)][std::move(text)];
    if (cost < o.cost) o = {cost, confidence};
}

// Offers what step `st` from (i, p) gives its glyphs, in a whole alignment
// costing `total`.
void offerStep(const Alignment& a, int i, int p, Step st, double total, GlyphOptions& options) {
    if (st.t == 0) {
        offer(options, i, std::nullopt, total, 0);
    } else if (st.g == 1) {
        std::string read;
        int conf = 100;
        for (int k = 0; k < st.t; ++k) {
            read += a.symbol(p + k).text;
            conf = std::min(conf, a.symbol(p + k).confidence);
        }
        offer(options, i, std::move(read), total, conf);
    } else {
        const EngineSymbol& s = a.symbol(p);
        const auto text =
            sharedText(s.text, a.glyphs.subspan(static_cast<size_t>(i), static_cast<size_t>(st.g)));
        for (int k = 0; k < st.g; ++k) offer(options, i + k, text, total, s.confidence);
    }
}

GlyphOptions readingOptions(const Alignment& a, const std::vector<double>& fwd,
                            const std::vector<double>& bwd) {
    GlyphOptions options(a.glyphs.size());
    for (int i = 0; i < a.n; ++i)
        for (int p = 0; p <= a.m; ++p) {
            const double f = fwd[a.at(i, p)];
            if (f == kInf) continue;
            for (Step st : a.steps) {
                if (st.g == 0 || !a.fits(i, p, st)) continue;
                const double rest = bwd[a.at(i + st.g, p + st.t)];
                if (rest == kInf) continue;
                const double total = f + stepCost(a, i, p, st) + rest;
                if (total == kInf) continue;
                offerStep(a, i, p, st, total, options);
            }
        }
    return options;
}

// Each glyph the matrix did not know takes its cheapest text, when every
// other text (or none) costs clearly more.
std::vector<std::optional<EngineReading>> clearReadings(std::span<const AlignGlyph> glyphs,
                                                        const GlyphOptions& options) {
    std::vector<std::optional<EngineReading>> result(glyphs.size());
    for (size_t j = 0; j < glyphs.size(); ++j) {
        if (glyphs[j].known) continue;
        const auto& opts = options[j];
        auto best = opts.end();
        for (auto it = opts.begin(); it != opts.end(); ++it)
            if (best == opts.end() || it->second.cost < best->second.cost) best = it;
        if (best == opts.end() || !best->first) continue;
        bool clear = true;
        for (auto it = opts.begin(); it != opts.end(); ++it)
            if (it != best && it->second.cost < best->second.cost + kClearMargin) clear = false;
        if (clear) result[j] = EngineReading{*best->first, best->second.confidence};
    }
    return result;
}

}  // namespace

void drawLineForEngine(const Image8& labels, const TextLine& line, EngineLinePicture& out) {
    if (line.count == 0) {
        out.picture.resize(0, 0);
        return;
    }
    // The line's band as the segmenter found it, and every box in it.
    int left = std::numeric_limits<int>::max(), right = -1, top = line.top, bottom = line.bottom;
    for (int j = 1; j <= line.count; ++j) {
        const CharBox& b = line.chars[static_cast<size_t>(j - 1)];
        left = std::min(left, int{b.left});
        right = std::max(right, b.right());
        top = std::min(top, int{b.top});
        bottom = std::max(bottom, b.bottom());
    }
    top = std::max(0, top);
    bottom = std::min(bottom, labels.height() - 1);
    const int h = bottom - top + 1;
    // The engine reads subtitle letters best at their own size: blown up
    // pixel by pixel their steps look like serifs, and it loses accents and
    // tells g from q less well. Only a line lower than some 24 pixels is
    // enlarged.
    out.scale = std::clamp((kSmallestLine + h - 1) / h, 1, 4);
    out.margin = std::max(8, h * out.scale / 2);
    out.left = left;
    const int s = out.scale, m = out.margin;
    out.picture.resize((right - left + 1) * s + 2 * m, h * s + 2 * m);
    out.picture.fill(255);
    // Every text pixel of the band: also marks the segmenter left out of
    // the characters (the dots of an umlaut too small to be a glyph).
    for (int y = top; y <= bottom && y < labels.height(); ++y) {
        const uint8_t* row = labels.row(y);
        for (int x = left; x <= right && x < labels.width(); ++x) {
            if (row[x] == 0) continue;
            const int ox = (x - left) * s + m, oy = (y - top) * s + m;
            for (int dy = 0; dy < s; ++dy) std::fill_n(out.picture.row(oy + dy) + ox, s, 0);
        }
    }
}

std::vector<EngineSymbol> symbolsInCrop(std::vector<EngineSymbol> symbols,
                                        const EngineLinePicture& drawn) {
    const int s = std::max(1, drawn.scale);
    auto back = [&](int x) { return std::max(0, x - drawn.margin) / s + drawn.left; };
    for (EngineSymbol& sym : symbols) {
        sym.left = back(sym.left);
        sym.right = std::max(sym.left, back(sym.right));
        if (sym.wordRight >= sym.wordLeft) {
            sym.wordLeft = back(sym.wordLeft);
            sym.wordRight = std::max(sym.wordLeft, back(sym.wordRight));
        }
    }
    return symbols;
}

std::vector<std::optional<EngineReading>> alignEngineSymbols(std::span<const EngineSymbol> all,
                                                             std::span<const AlignGlyph> glyphs,
                                                             int lineHeight) {
    std::vector<EngineSymbol> symbols = readableSymbols(all);
    snapWordsToGlyphs(symbols, glyphs);
    if (glyphs.empty()) return {};
    const Alignment a{glyphs,
                      symbols,
                      std::max(1, lineHeight),
                      static_cast<int>(glyphs.size()),
                      static_cast<int>(symbols.size()),
                      alignmentSteps()};
    const std::vector<double> fwd = costsFromStart(a);
    const std::vector<double> bwd = costsToEnd(a);
    return clearReadings(glyphs, readingOptions(a, fwd, bwd));
}

void agreeOnLikePictures(std::span<const AlignGlyph> glyphs,
                         std::vector<std::optional<EngineReading>>& readings,
                         std::span<const std::map<std::string, int>> earlier) {
    // Per picture, per text: the votes, and the surest reading of this line.
    std::map<uint64_t, std::map<std::string, std::pair<int, int>>> votes;
    for (size_t j = 0; j < glyphs.size() && j < readings.size(); ++j) {
        if (!readings[j]) continue;
        auto& texts = votes[glyphs[j].pictureKey];
        if (texts.empty() && j < earlier.size())
            for (const auto& [text, count] : earlier[j]) texts[text].first += count;
        auto& [count, confidence] = texts[readings[j]->text];
        ++count;
        confidence = std::max(confidence, readings[j]->confidence);
    }
    for (size_t j = 0; j < glyphs.size() && j < readings.size(); ++j) {
        if (!readings[j]) continue;
        const auto& texts = votes[glyphs[j].pictureKey];
        auto best = texts.begin();
        for (auto it = texts.begin(); it != texts.end(); ++it)
            if (it->second > best->second) best = it;
        if (best->first == readings[j]->text) continue;
        readings[j]->text = best->first;
        readings[j]->confidence = std::min(readings[j]->confidence, best->second.second);
        readings[j]->agreed = true;
    }
}

namespace {

// A glyph's text in a word, and whether it may read otherwise there: the
// matrix matched it, or the reading is its picture's from elsewhere.
struct SpeltPart {
    std::string text;
    bool matched;
};

// The characters (UTF-8 code points) of a text.
size_t characters(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Whether the engine's word reads as the glyphs spell it, where a glyph
// that may read otherwise does so in as many characters: a difference there
// is the engine's misreading, not a misplaced letter.
bool spellsAlike(const std::string& word, const std::vector<SpeltPart>& spelt) {
    size_t at = 0;
    for (const SpeltPart& part : spelt) {
        if (!part.matched) {
            if (word.compare(at, part.text.size(), part.text) != 0) return false;
            at += part.text.size();
            continue;
        }
        for (size_t n = characters(part.text); n > 0; --n) {
            if (at >= word.size()) return false;
            do ++at;
            while (at < word.size() && (word[at] & 0xC0) == 0x80);
        }
    }
    return at == word.size();
}

}  // namespace

void readUnplacedWordsWhole(std::span<const EngineSymbol> all, std::span<const AlignGlyph> glyphs,
                            std::vector<std::optional<EngineReading>>& readings) {
    const std::vector<EngineSymbol> symbols = readableSymbols(all);
    readings.resize(glyphs.size());
    std::vector<bool> taken(glyphs.size(), false);
    for (const EngineWord& w : wordsOf(symbols)) {
        std::string text;
        int confidence = 100;
        for (size_t k = w.first; k < w.last; ++k) {
            text += symbols[k].text;
            confidence = std::min(confidence, symbols[k].confidence);
        }
        std::vector<size_t> inside;
        bool unplaced = false, unsure = false;
        std::vector<SpeltPart> spelt;
        for (size_t j = 0; j < glyphs.size(); ++j) {
            if (taken[j] || !holdsGlyph(symbols, w, glyphs[j])) continue;
            inside.push_back(j);
            if (!glyphs[j].known && !readings[j]) unplaced = true;
            if (!glyphs[j].known || glyphs[j].cut) unsure = true;
            if (glyphs[j].known)
                spelt.push_back({glyphs[j].text, !glyphs[j].cut});
            else if (readings[j])
                spelt.push_back({readings[j]->text, readings[j]->agreed});
        }
        for (size_t j : inside) taken[j] = true;
        if (unplaced || (unsure && !spellsAlike(text, spelt)))
            for (size_t j : inside)
                readings[j] =
                    EngineReading{j == inside.front() ? text : std::string(), confidence, true};
    }
}

std::vector<WordBreak> engineWordBreaks(std::span<const EngineSymbol> all,
                                        std::span<const AlignGlyph> glyphs) {
    const std::vector<EngineWord> words = wordsOf(readableSymbols(all));
    std::vector<int> wordOf(glyphs.size(), -1);
    for (size_t j = 0; j < glyphs.size(); ++j)
        for (size_t w = 0; w < words.size() && wordOf[j] < 0; ++w)
            if (holdsMiddle(words[w], glyphs[j])) wordOf[j] = static_cast<int>(w);
    std::vector<WordBreak> breaks(glyphs.size(), WordBreak::ByGap);
    for (size_t j = 0; j + 1 < glyphs.size(); ++j)
        if (wordOf[j] >= 0 && wordOf[j + 1] >= 0)
            breaks[j] = wordOf[j] == wordOf[j + 1] ? WordBreak::Joined : WordBreak::Space;
    return breaks;
}

std::string engineLanguageCode(const std::string& code) {
    if (code.size() >= 3) return code;
    static const std::map<std::string, std::string> kCodes = {
        {"en", "eng"}, {"fr", "fra"}, {"de", "deu"}, {"es", "spa"}, {"it", "ita"},
        {"nl", "nld"}, {"pt", "por"}, {"sv", "swe"}, {"no", "nor"}, {"nb", "nor"},
        {"da", "dan"}, {"fi", "fin"}, {"pl", "pol"}, {"cs", "ces"}, {"tr", "tur"},
        {"hu", "hun"}, {"el", "ell"}, {"is", "isl"}, {"hr", "hrv"}, {"he", "heb"},
        {"iw", "heb"}, {"hi", "hin"}, {"ru", "rus"}, {"ro", "ron"}, {"ca", "cat"},
        {"sk", "slk"}, {"sl", "slv"}, {"bg", "bul"}, {"uk", "ukr"}, {"et", "est"},
        {"lv", "lav"}, {"lt", "lit"}, {"sr", "srp"}, {"ja", "jpn"}, {"zh", "chi_sim"},
        {"ko", "kor"}, {"ar", "ara"}, {"th", "tha"}, {"vi", "vie"}, {"id", "ind"}};
    std::string lower;
    for (char c : code) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const auto it = kCodes.find(lower);
    return it == kCodes.end() ? std::string() : it->second;
}

}  // namespace orvane
