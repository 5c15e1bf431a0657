#include <gtest/gtest.h>

#include "ocr/engine_alignment.h"
#include "ocr/proposal_ledger.h"

namespace orvane {
namespace {

using Readings = std::vector<std::optional<std::string>>;

// Glyph columns of a line, all unknown unless given a text; glyphs of equal
// `key` have the same picture.
AlignGlyph glyph(int left, int right, uint64_t key = 0, std::string known = {}) {
    return {left, right, key == 0 ? uint64_t(left) + 1000 : key, !known.empty(), std::move(known)};
}
EngineSymbol sym(std::string text, int left, int right, bool wordStart = false) {
    return {std::move(text), left, right, 90, wordStart};
}
Readings align(const std::vector<EngineSymbol>& symbols, const std::vector<AlignGlyph>& glyphs) {
    Readings out;
    for (const auto& r : alignEngineSymbols(symbols, glyphs, 20))
        out.push_back(r ? std::optional<std::string>(r->text) : std::nullopt);
    return out;
}

// "ab cd" as the segmenter cut it.
const std::vector<AlignGlyph> kWords = {glyph(0, 9), glyph(12, 21), glyph(34, 43), glyph(46, 55)};
const Readings kWordsRead = {"a", "b", "c", "d"};

TEST(EngineAlignment, WordsTheEngineJoinsOrSplitsKeepEveryLetterOnItsGlyph) {
    // As segmented; joined into one word; split into four with boxes a
    // little off, as the engine's boxes are at the end of words.
    EXPECT_EQ(
        align({sym("a", 0, 9, true), sym("b", 12, 21), sym("c", 34, 43, true), sym("d", 46, 55)},
              kWords),
        kWordsRead);
    EXPECT_EQ(
        align({sym("a", 0, 9, true), sym("b", 12, 21), sym("c", 34, 43), sym("d", 46, 55)}, kWords),
        kWordsRead);
    EXPECT_EQ(align({sym("a", 1, 8, true), sym("b", 10, 24, true), sym("c", 31, 44, true),
                     sym("d", 45, 60, true)},
                    kWords),
              kWordsRead);
    // Letters drifting towards the end of a word the engine placed surely.
    std::vector<EngineSymbol> drifting = {sym("a", 0, 9, true), sym("b", 10, 30), sym("c", 25, 40),
                                          sym("d", 38, 60)};
    for (EngineSymbol& s : drifting) s.wordLeft = 0, s.wordRight = 55;
    EXPECT_EQ(align(drifting, kWords), kWordsRead);
    // A letter the engine did not see leaves its glyph without a reading,
    // and a speck it read where there is no glyph changes nothing.
    EXPECT_EQ(align({sym("a", 0, 9), sym("c", 34, 43), sym("d", 46, 55), sym(".", 70, 72)}, kWords),
              (Readings{"a", std::nullopt, "c", "d"}));
}

TEST(EngineAlignment, GlyphsSpacedAsTheEnginesWordsWhereItPlacedBoth) {
    using B = WordBreak;
    auto breaks = [](const std::vector<EngineSymbol>& symbols) {
        return engineWordBreaks(symbols, kWords);
    };
    // As segmented, joined into one word, split into four; the engine's
    // word columns where given, else its letters'.
    EXPECT_EQ(
        breaks({sym("a", 0, 9, true), sym("b", 12, 21), sym("c", 34, 43, true), sym("d", 46, 55)}),
        (std::vector<B>{B::Joined, B::Space, B::Joined, B::ByGap}));
    EXPECT_EQ(breaks({sym("a", 0, 9, true), sym("b", 12, 21), sym("c", 34, 43), sym("d", 46, 55)}),
              (std::vector<B>{B::Joined, B::Joined, B::Joined, B::ByGap}));
    std::vector<EngineSymbol> split = {sym("a", 0, 9, true), sym("b", 12, 21, true),
                                       sym("c", 34, 43, true), sym("d", 46, 55, true)};
    EXPECT_EQ(breaks(split), (std::vector<B>{B::Space, B::Space, B::Space, B::ByGap}));
    split[0].wordLeft = 0, split[0].wordRight = 21;  // "ab" as one word, its "b" misplaced
    EXPECT_EQ(breaks(split), (std::vector<B>{B::Joined, B::Space, B::Space, B::ByGap}));
    // A glyph the engine read nothing on leaves both its gaps to the boxes.
    EXPECT_EQ(breaks({sym("a", 0, 9, true), sym("c", 34, 43, true), sym("d", 46, 55)}),
              (std::vector<B>{B::ByGap, B::ByGap, B::Joined, B::ByGap}));
}

TEST(EngineAlignment, GlyphsOfOnePictureTakeTheReadingWithTheMostVotes) {
    // Two like glyphs read "1" and "7" on this line, a third glyph apart.
    const std::vector<AlignGlyph> glyphs = {glyph(0, 9, 5), glyph(20, 29, 5), glyph(40, 49)};
    auto agree = [&](std::vector<std::map<std::string, int>> earlier) {
        std::vector<std::optional<EngineReading>> r = {
            EngineReading{"1", 90}, EngineReading{"7", 80}, EngineReading{"x", 60}};
        agreeOnLikePictures(glyphs, r, earlier);
        Readings out;
        for (const auto& x : r) out.push_back(x->text);
        return out;
    };
    // A tie goes to the surer reading; earlier lines' votes count too.
    EXPECT_EQ(agree({}), (Readings{"1", "1", "x"}));
    EXPECT_EQ(agree({{{"7", 2}}, {{"7", 2}}, {}}), (Readings{"7", "7", "x"}));
}

TEST(EngineAlignment, TouchingLettersTakeTheirSymbolsAndADoubleQuoteGivesEachStrokeAnApostrophe) {
    // "ft" touching in one glyph, then "x"; known glyphs get no reading.
    EXPECT_EQ(align({sym("f", 0, 8), sym("t", 10, 19), sym("x", 22, 30), sym("y", 33, 40)},
                    {glyph(0, 19), glyph(22, 30), glyph(33, 40, 0, "y")}),
              (Readings{"ft", "x", std::nullopt}));
    // The two strokes of '"' (the same picture) under one symbol.
    EXPECT_EQ(
        align({sym("\"", 0, 9), sym("a", 12, 21)}, {glyph(0, 2, 7), glyph(6, 8, 7), glyph(12, 21)}),
        (Readings{"'", "'", "a"}));
    // Another double mark repeats on each of its like pieces.
    EXPECT_EQ(align({sym("»", 0, 11)}, {glyph(0, 4, 7), glyph(6, 10, 7)}), (Readings{"»", "»"}));
}

TEST(EngineAlignment, AnAmbiguousPlacementGivesNoReading) {
    // One symbol midway between two different glyphs: either may be it.
    EXPECT_EQ(align({sym("m", 5, 16)}, {glyph(0, 9), glyph(12, 21)}),
              (Readings{std::nullopt, std::nullopt}));
    // Two symbols over two different glyphs that the engine read as one
    // stroke each: the glyphs keep nothing they could not be told apart by.
    EXPECT_EQ(align({sym("\"", 0, 9)}, {glyph(0, 2, 7), glyph(6, 8, 8)}),
              (Readings{std::nullopt, std::nullopt}));
}

// The readings after the alignment and the words read whole, as text
// (a whole word's other glyphs read "").
Readings alignWords(const std::vector<EngineSymbol>& symbols,
                    const std::vector<AlignGlyph>& glyphs) {
    auto readings = alignEngineSymbols(symbols, glyphs, 20);
    readUnplacedWordsWhole(symbols, glyphs, readings);
    Readings out;
    for (const auto& r : readings)
        out.push_back(r ? std::optional<std::string>(r->wholeWord ? "[" + r->text + "]" : r->text)
                        : std::nullopt);
    return out;
}

TEST(EngineAlignment, AWordThatCannotBePlacedLetterByLetterIsTakenWhole) {
    // "ab cd": the engine read "ab" as one symbol over two different
    // glyphs, which neither may take; "cd" stays as placed.
    EXPECT_EQ(
        alignWords({sym("ab", 0, 21, true), sym("c", 34, 43, true), sym("d", 46, 55)}, kWords),
        (Readings{"[ab]", "[]", "c", "d"}));
    // Four letters over three glyphs, the last two touching and cut by the
    // matrix into "tt" where the engine read "ta": the word does not spell
    // the engine's, so the engine's word stands, the cut glyph's too.
    std::vector<AlignGlyph> word = {glyph(0, 9), glyph(12, 21, 0, "s"), glyph(24, 45, 0, "tt")};
    word[2].cut = true;
    std::vector<EngineSymbol> read = {sym("E", 0, 9, true), sym("s", 12, 21), sym("t", 24, 33),
                                      sym("a", 36, 45)};
    for (EngineSymbol& s : read) s.wordLeft = 0, s.wordRight = 45;
    EXPECT_EQ(alignWords(read, word), (Readings{"[Esta]", "[]", "[]"}));
    // Spelt alike, or unlike only where the matrix matched a glyph ("tt",
    // read "ta"; its entry outweighs the engine's one reading), or with
    // every glyph matched, the letters stay.
    read[3].text = "t";
    EXPECT_EQ(alignWords(read, word), (Readings{"E", std::nullopt, std::nullopt}));
    word[2].cut = false;
    read[3].text = "a";
    EXPECT_EQ(alignWords(read, word), (Readings{"E", std::nullopt, std::nullopt}));
    word[0] = glyph(0, 9, 0, "F");
    EXPECT_EQ(alignWords(read, word), (Readings{std::nullopt, std::nullopt, std::nullopt}));
    // Letters drifting so that a glyph took its neighbour's too ("mi" and a
    // matched "i"): the word is spelt longer than the engine's, which stands.
    const std::vector<EngineSymbol> miss = {sym("m", 0, 19, true), sym("i", 12, 24),
                                            sym("s", 22, 25), sym("s", 28, 49)};
    EXPECT_EQ(alignWords(miss, {glyph(0, 19), glyph(22, 25, 0, "i"), glyph(28, 37), glyph(40, 49)}),
              (Readings{"[miss]", "[]", "[]", "[]"}));
    // A word whose box leaves out most of its first letter still holds it.
    std::vector<EngineSymbol> ook = {sym("o", 34, 39, true), sym("o", 42, 56), sym("k", 59, 71)};
    for (EngineSymbol& s : ook) s.wordLeft = 34, s.wordRight = 71;
    EXPECT_EQ(alignWords(ook, {glyph(25, 39, 0, "o"), glyph(42, 56, 0, "o"), glyph(59, 73)}),
              (Readings{std::nullopt, std::nullopt, "k"}));
}

TEST(EngineAlignment, LinesAreDrawnDarkOnLightScaledAndMappedBack) {
    Image8 labels(20, 10);
    labels.fill(0);
    TextLine line;
    line.count = 2;
    line.top = 1;
    line.bottom = 8;
    line.chars[0] = CharBox{2, 1, 3, 8, 0, 0};
    line.chars[1] = CharBox{9, 1, 4, 8, 0, 0};
    for (int y = 1; y <= 8; ++y) {
        for (int x = 2; x <= 4; ++x) labels.setPixel(x, y, markLabelOf(1));
        for (int x = 9; x <= 12; ++x) labels.setPixel(x, y, markLabelOf(2));
    }
    labels.setPixel(6, 4, kLabelText);  // text of no character too
    labels.setPixel(6, 9, kLabelText);  // not below the band
    EngineLinePicture drawn;
    drawLineForEngine(labels, line, drawn);
    const int s = drawn.scale, m = drawn.margin;
    EXPECT_EQ(drawn.picture.width(), 11 * s + 2 * m);
    EXPECT_EQ(drawn.picture.height(), 8 * s + 2 * m);
    EXPECT_EQ(drawn.picture.pixel(m, m), 0);
    EXPECT_EQ(drawn.picture.pixel(m + 4 * s, m + 3 * s), 0);
    EXPECT_EQ(drawn.picture.pixel(m + 4 * s, m + 3 * s + s), 255);
    EXPECT_EQ(drawn.picture.pixel(m - 1, m), 255);
    EXPECT_EQ(s, 3);  // a line of 8 rows is enlarged to 24; taller ones are not
    const auto back = symbolsInCrop({sym("b", m + 7 * s, m + 11 * s - 1)}, drawn);
    EXPECT_EQ(back[0].left, 9);
    EXPECT_EQ(back[0].right, 12);
    EXPECT_EQ(engineLanguageCode("fr"), "fra");
    EXPECT_EQ(engineLanguageCode("DE"), "deu");
    EXPECT_EQ(engineLanguageCode("spa"), "spa");
    EXPECT_EQ(engineLanguageCode("zz"), "");
}

MatrixEntry bar(int w, int h) {
    MatrixEntry e;
    e.width = static_cast<uint8_t>(w);
    e.height = static_cast<uint8_t>(h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) e.glyph.set(c, r);
    return e;
}

TEST(ProposalLedger, AReadingIsConfirmedWhenReadTheSameWayOnTwoLines) {
    ProposalLedger ledger;
    const OcrSettings settings;
    const MatrixEntry l = bar(3, 20), dot = bar(4, 4);
    const CharBox lb{0, 0, 3, 20, 0, 0}, db{0, 0, 4, 4, 16, 0};
    using V = ProposalLedger::Verdict;
    EXPECT_EQ(ledger.record(l, lb, "l", 1, settings), V::Pending);
    EXPECT_EQ(ledger.record(l, lb, "l", 1, settings), V::Pending);    // the same line again
    EXPECT_EQ(ledger.record(dot, db, ".", 1, settings), V::Pending);  // another glyph
    EXPECT_EQ(ledger.record(l, lb, "l", 2, settings), V::Confirmed);
    EXPECT_EQ(ledger.size(), 2u);
}

TEST(ProposalLedger, AnEarlierMisreadingMustBeOutvotedByTwo) {
    ProposalLedger ledger;
    const OcrSettings settings;
    const MatrixEntry l = bar(3, 20);
    const CharBox lb{0, 0, 3, 20, 0, 0};
    using V = ProposalLedger::Verdict;
    EXPECT_EQ(ledger.record(l, lb, "I", 1, settings), V::Pending);
    EXPECT_FALSE(ledger.contested(l, lb, settings));
    EXPECT_EQ(ledger.record(l, lb, "l", 2, settings), V::Contested);
    EXPECT_TRUE(ledger.contested(l, lb, settings));
    EXPECT_EQ(ledger.record(l, lb, "l", 3, settings), V::Contested);
    EXPECT_EQ(ledger.record(l, lb, "l", 4, settings), V::Confirmed);
    EXPECT_EQ(ledger.readings(l, lb, settings), (std::map<std::string, int>{{"I", 1}, {"l", 3}}));
    ledger.clear();
    EXPECT_EQ(ledger.record(l, lb, "l", 5, settings), V::Pending);
}

}  // namespace
}  // namespace orvane
