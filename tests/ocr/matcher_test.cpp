#include "ocr/matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "support/reference_matcher.h"

namespace orvane {
namespace {

using test::referenceMatch;
using test::referenceScore;

MatrixEntry block(int w, int h, uint8_t top = 0) {
    MatrixEntry e;
    e.width = static_cast<uint8_t>(w);
    e.height = static_cast<uint8_t>(h);
    e.relativeTop = top;
    return e;
}

CharBox boxOf(const MatrixEntry& g) {
    CharBox b;
    b.width = g.width;
    b.height = g.height;
    b.relativeTop = g.relativeTop;
    return b;
}

TEST(Matcher, ScoresFollowTheStepsOfTheMatch) {
    MatrixEntry entry = block(10, 20);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 10; c += 2) entry.glyph.set(c, r, r % 3 != 0);
    // Identical: 1000.
    EXPECT_EQ(scoreGlyph(entry, 10, 20, entry).ratio, 1000);

    // 9 x 20 against 10 x 20, all common pixels equal: 16 + 180 = 196.
    MatrixEntry narrow = block(9, 20);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 9; ++c) narrow.glyph.set(c, r, entry.glyph.bit(c, r));
    const MatchScore s = scoreGlyph(narrow, 9, 20, entry);
    EXPECT_EQ(s.score, 196);
    EXPECT_EQ(s.ratio, 980);

    // Stray pixels where the entry and both neighbours are clear, with
    // matching pixels between them: each costs 1 (the penalty resets).
    MatrixEntry empty = block(10, 20);
    MatrixEntry five = empty;
    for (int i = 0; i < 5; ++i) five.glyph.set(5, i * 4);
    EXPECT_EQ(scoreGlyph(five, 10, 20, empty).score, 190);
    EXPECT_EQ(scoreGlyph(five, 10, 20, empty).ratio, 950);
    MatrixEntry four = empty;
    for (int i = 0; i < 4; ++i) four.glyph.set(5, i * 4);
    EXPECT_EQ(scoreGlyph(four, 10, 20, empty).score, 192);
    EXPECT_EQ(scoreGlyph(four, 10, 20, empty).ratio, 960);
}

TEST(Matcher, PenaltyDoublesUntilAnExactPixel) {
    // E = 11000..., G clear: column 0 misses (no left neighbour, E(1) set),
    // column 1 is tolerated through E(2).
    MatrixEntry e = block(10, 1);
    MatrixEntry g = block(10, 1);
    e.glyph.set(0, 0);
    e.glyph.set(1, 0);
    EXPECT_EQ(scoreGlyph(g, 10, 1, e).score, 10 - 1 - 1);
    // G clear under E set at 2..6: 2 and 6 are tolerated, 3, 4 and 5 miss,
    // costing 1 + 2 + 4.
    MatrixEntry three = block(12, 1);
    MatrixEntry solid = block(12, 1);
    for (int c = 2; c <= 6; ++c) solid.glyph.set(c, 0);
    EXPECT_EQ(scoreGlyph(three, 12, 1, solid).score, 12 - 3 - (1 + 2 + 4));
    // After four misses the penalty stays at 16.
    MatrixEntry longRun = block(20, 1);
    for (int c = 0; c < 20; ++c) longRun.glyph.set(c, 0);
    MatrixEntry clear = block(20, 1);
    EXPECT_EQ(scoreGlyph(clear, 20, 1, longRun).score, -(1 + 2 + 4 + 8 + 16 * 16));
    // The penalty carries over to the next row.
    MatrixEntry twoRows = block(3, 2);
    MatrixEntry setRows = block(3, 2);
    setRows.glyph.setRow(0, 0b111);
    setRows.glyph.setRow(1, 0b111);
    EXPECT_EQ(scoreGlyph(twoRows, 3, 2, setRows).score, -(1 + 2 + 4 + 8 + 16 + 16));
    // A tolerated pixel between misses does not reset the penalty; an
    // exact one does. Checked against the written-out steps.
    std::mt19937 rng(5);
    for (int i = 0; i < 2000; ++i) {
        MatrixEntry a = block(1 + rng() % 45, 1 + rng() % 45),
                    b = block(1 + rng() % 45, 1 + rng() % 45);
        for (int r = 0; r < 45; ++r) {
            a.glyph.setRow(r, (uint64_t{rng()} << 32 | rng()) & ((uint64_t{1} << a.width) - 1));
            b.glyph.setRow(r, (uint64_t{rng()} << 32 | rng()) & ((uint64_t{1} << b.width) - 1));
            if (r >= a.height) a.glyph.setRow(r, 0);
            if (r >= b.height) b.glyph.setRow(r, 0);
        }
        ASSERT_EQ(scoreGlyph(a, a.width, a.height, b).score,
                  referenceScore(a, a.width, a.height, b));
    }
}

TEST(Matcher, PreFilterAndFirstMatchInIndexOrder) {
    OcrSettings s;
    CharMatrix m;
    MatrixEntry wide = block(13, 20);
    m.add(wide);
    MatrixEntry a = block(10, 20);
    a.text = "a";
    for (int r = 0; r < 20; ++r) a.glyph.set(r % 10, r);
    MatrixEntry b = a;
    b.text = "b";
    m.add(a);
    m.add(b);
    Matcher matcher;
    // Identical to both 2 and 3: the lower number wins.
    EXPECT_EQ(matcher.match(a, boxOf(a), m, s), 2u);
    // Three columns wider than every entry of its height: never compared.
    MatrixEntry tooWide = block(16, 20);
    EXPECT_EQ(matcher.match(tooWide, boxOf(tooWide), m, s), 0u);
    // Relative top too far off.
    MatrixEntry low = a;
    low.relativeTop = 7;
    EXPECT_EQ(matcher.match(low, boxOf(low), m, s), 0u);
    low.relativeTop = 6;
    EXPECT_EQ(matcher.match(low, boxOf(low), m, s), 2u);
    // A glyph met before is matched under the settings of the day.
    OcrSettings strict = s;
    strict.maxCharDiffTop = 5;
    EXPECT_EQ(matcher.match(low, boxOf(low), m, strict), 0u);
    // The index follows changes of the matrix.
    m.remove(2);  // entry 3 ("b") takes number 2
    EXPECT_EQ(m.entry(2).text, "b");
    EXPECT_EQ(matcher.match(a, boxOf(a), m, s), 2u);
    m.remove(2);
    EXPECT_EQ(matcher.match(a, boxOf(a), m, s), 0u);
}

// A glyph of the given size with random pixels inside it.
MatrixEntry randomGlyph(std::mt19937& rng, int w, int h, int top) {
    MatrixEntry e = block(w, h, static_cast<uint8_t>(top));
    const uint64_t inside = (uint64_t{1} << std::min(w, GlyphBits::kSide)) - 1;
    for (int r = 0; r < h; ++r) e.glyph.setRow(r, (uint64_t{rng()} << 32 | rng()) & inside);
    return e;
}

// Clears the bits outside w x h, as a glyph of that size has them.
void resize(MatrixEntry& e, int w, int h) {
    e.width = static_cast<uint8_t>(w);
    e.height = static_cast<uint8_t>(h);
    for (int r = 0; r < GlyphBits::kSide; ++r)
        e.glyph.setRow(
            r, r < h ? e.glyph.row(r) & ((uint64_t{1} << std::min(w, GlyphBits::kSide)) - 1) : 0);
}

int pick(std::mt19937& rng, int lo, int hi) {
    return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1));
}

TEST(Matcher, FastAndReferenceAgreeOnRandomMatrices) {
    // Matrices of up to several thousand entries, a third of them near
    // copies of an earlier entry one size step away, so that a glyph often
    // passes several entries of different sizes and the first in index order
    // has to be found across the size lists and past the first 64 entries.
    // Candidates are noisy copies with relative tops on both sides of the
    // filter's limit, boxes that differ from the glyph (clipped at 45), or
    // fresh random glyphs; settings vary per matrix.
    std::mt19937 rng(2026);
    static constexpr int kSensibilities[] = {980, 980, 950, 900, 1000, 800, 0};
    int cases = 0, matched = 0, several = 0, severalSizes = 0, pastFirstWindow = 0, atTopLimit = 0,
        pastTopLimit = 0;
    for (int round = 0; round < 24; ++round) {
        OcrSettings s;
        s.sensibility = kSensibilities[rng() % std::size(kSensibilities)];
        s.maxCharDiffWidth = static_cast<uint8_t>(pick(rng, 0, 3));
        s.maxCharDiffHeight = static_cast<uint8_t>(pick(rng, 0, 3));
        s.maxCharDiffTop = static_cast<uint8_t>(pick(rng, 0, 8));
        const int n = round % 3 == 0 ? pick(rng, 2000, 6000) : pick(rng, 1, 400);
        CharMatrix m;
        for (int i = 0; i < n; ++i) {
            MatrixEntry e;
            if (i > 0 && rng() % 3 == 0) {
                e = m.entry(1 + rng() % m.size());
                resize(e, std::clamp(e.width + pick(rng, -1, 1), 1, 47),
                       std::clamp(e.height + pick(rng, -1, 1), 1, 47));
                e.relativeTop = static_cast<uint8_t>(std::max(0, e.relativeTop + pick(rng, -2, 2)));
                for (int f = pick(rng, 0, 3); f > 0; --f) {
                    const int c = pick(rng, 0, e.width - 1), r = pick(rng, 0, e.height - 1);
                    e.glyph.set(c, r, !e.glyph.bit(c, r));
                }
            } else {
                e = randomGlyph(rng, rng() % 16 == 0 ? pick(rng, 40, 47) : pick(rng, 3, 30),
                                pick(rng, 5, 40), pick(rng, 0, 16));
            }
            e.text = std::to_string(i);
            m.add(e);
        }
        Matcher fast;
        const int candidates = n > 1000 ? 60 : 150;
        for (int k = 0; k < candidates; ++k) {
            MatrixEntry g;
            CharBox box;
            if (rng() % 4 != 0) {
                g = m.entry(1 + rng() % m.size());
                box.width = static_cast<uint16_t>(
                    std::max(1, g.width + (rng() % 3 == 0 ? pick(rng, -1, 1) : 0)));
                box.height = static_cast<uint16_t>(
                    std::max(1, g.height + (rng() % 3 == 0 ? pick(rng, -1, 1) : 0)));
                resize(g, std::min<int>(box.width, GlyphBits::kSide),
                       std::min<int>(box.height, GlyphBits::kSide));
                for (int f = pick(rng, 0, g.width * g.height / 30); f > 0; --f) {
                    const int c = pick(rng, 0, g.width - 1), r = pick(rng, 0, g.height - 1);
                    g.glyph.set(c, r, !g.glyph.bit(c, r));
                }
                g.relativeTop = static_cast<uint8_t>(std::max(
                    0, g.relativeTop + pick(rng, -s.maxCharDiffTop - 2, s.maxCharDiffTop + 2)));
            } else {
                g = randomGlyph(rng, pick(rng, 3, 30), pick(rng, 5, 40), pick(rng, 0, 16));
                box.width = g.width;
                box.height = g.height;
            }
            box.relativeTop = g.relativeTop;
            const std::vector<size_t> all = test::referenceMatches(g, box, m, s);
            const size_t want = all.empty() ? 0 : all.front();
            ASSERT_EQ(fast.match(g, box, m, s), want) << "round " << round << " case " << k;
            ASSERT_EQ(fast.match(g, box, m, s), want) << "again: round " << round << " case " << k;

            ++cases;
            matched += want != 0;
            if (all.size() >= 2) {
                ++several;
                const MatrixEntry& first = m.entry(all[0]);
                severalSizes += std::any_of(all.begin(), all.end(), [&](size_t i) {
                    return m.entry(i).width != first.width || m.entry(i).height != first.height;
                });
            }
            // The first entry the size filter lets through, and the entries
            // that differ from the glyph's top by exactly the limit or by one more.
            size_t firstOfSize = 0;
            bool beyondLimit = false;
            for (size_t i = 1; i <= m.size(); ++i) {
                const MatrixEntry& e = m.entry(i);
                if (std::abs(e.width - box.width) > s.maxCharDiffWidth ||
                    std::abs(e.height - box.height) > s.maxCharDiffHeight)
                    continue;
                if (firstOfSize == 0) firstOfSize = i;
                const int dTop = std::abs(e.relativeTop - g.relativeTop);
                if (dTop == s.maxCharDiffTop + 1 && (want == 0 || i < want)) {
                    const int area =
                        std::max<int>(box.width, e.width) * std::max<int>(box.height, e.height);
                    beyondLimit |=
                        referenceScore(g, box.width, box.height, e) * 1000 / area >= s.sensibility;
                }
            }
            pastFirstWindow += want != 0 && want >= firstOfSize + 64;
            atTopLimit += want != 0 &&
                          std::abs(m.entry(want).relativeTop - g.relativeTop) == s.maxCharDiffTop;
            pastTopLimit += beyondLimit;
        }
        if (round % 4 == 1) m.remove(1 + rng() % m.size());  // the index follows changes
        if (round % 4 == 1 && m.size() > 0) {
            const MatrixEntry g = m.entry(m.size());
            EXPECT_EQ(fast.match(g, boxOf(g), m, s), test::referenceMatch(g, boxOf(g), m, s));
        }
    }
    std::printf(
        "%d cases: %d matched, %d with several matches (%d of different sizes), %d first matches "
        "64 or more "
        "numbers after the first entry of a passing size, %d at the top limit, %d with an earlier "
        "entry that only its top, one past the limit, keeps from matching\n",
        cases, matched, several, severalSizes, pastFirstWindow, atTopLimit, pastTopLimit);
    // The cases that tell a first-match search from a wrong one must occur.
    EXPECT_GT(matched, cases / 4);
    EXPECT_LT(matched, cases * 9 / 10);
    EXPECT_GE(several, cases / 10);
    EXPECT_GE(severalSizes, cases / 10);
    EXPECT_GE(pastFirstWindow, 100);
    EXPECT_GE(atTopLimit, 100);
    EXPECT_GE(pastTopLimit, 100);
}

TEST(Matcher, OversizedEntriesFromFilesAreScoredWithClearBits) {
    MatrixEntry big = block(200, 60);
    MatrixEntry glyph = block(45, 45);
    glyph.glyph.set(3, 3);
    CharMatrix m;
    m.add(big);
    const int ref = referenceScore(glyph, 199, 59, big);
    EXPECT_EQ(scoreGlyph(glyph, 199, 59, big).score, ref);
    CharBox box;
    box.width = 199;
    box.height = 59;
    OcrSettings s;
    Matcher matcher;
    EXPECT_EQ(matcher.match(glyph, box, m, s), referenceMatch(glyph, box, m, s));
}

TEST(Spaces, GapsFromTheSettingsDecide) {
    TextLine line;
    line.count = 3;
    line.chars[0].left = 0;
    line.chars[0].width = 10;  // 0..9
    line.chars[1].left = 17;   // 7 empty columns
    line.chars[1].width = 10;  // 17..26
    line.chars[2].left = 33;   // 6 empty columns
    line.chars[2].width = 10;
    OcrSettings s;
    EXPECT_TRUE(spaceFollows(line, 1, s));
    EXPECT_FALSE(spaceFollows(line, 2, s));
    EXPECT_FALSE(spaceFollows(line, 3, s));  // never after the last
    line.chars[1].italic = 1;
    line.chars[2].italic = 1;
    line.chars[2].left = 32;  // 5 empty columns between two italic characters
    EXPECT_TRUE(spaceFollows(line, 2, s));
    line.chars[2].left = 31;
    EXPECT_FALSE(spaceFollows(line, 2, s));
}

TEST(BuildGlyph, TakesOnlyTheCharactersPaintInsideItsBox) {
    Image24 p(60, 50);
    p.fill(0);
    p.fillRect(2, 2, 6, 8, kMarkColourA);  // character 1 (odd: A)
    p.fillRect(4, 3, 5, 4, kMarkColourB);  // a pixel of character 2 reaching in
    p.fillRect(0, 0, 60, 1, 0xFFFFFF);     // text colour, not painted
    CharBox box;
    box.left = 2;
    box.top = 2;
    box.width = 50;  // wider than 45: clipped
    box.height = 6;
    box.relativeTop = 1;
    const MatrixEntry g = buildGlyph(p, box, 1);
    EXPECT_EQ(g.width, 45);
    EXPECT_EQ(g.height, 6);
    EXPECT_EQ(g.relativeTop, 1);
    EXPECT_TRUE(g.glyph.bit(0, 0));
    EXPECT_FALSE(g.glyph.bit(2, 1));  // the other character's pixel
    EXPECT_TRUE(g.glyph.bit(3, 5));
    EXPECT_FALSE(g.glyph.bit(4, 0));
    EXPECT_EQ(g.glyph.count(), 4 * 6 - 1);
    EXPECT_EQ(buildGlyph(p, box, 2).glyph.count(), 1);
}

}  // namespace
}  // namespace orvane

#include "ocr/post_ocr_correction.h"

namespace orvane {
namespace {

TEST(QuoteRepair, PairsBecomeOneDoubleQuoteFromTheLeft) {
    EXPECT_EQ(repairQuotes("''Hello''"), "\"Hello\"");
    EXPECT_EQ(repairQuotes("\"\"x"), "\"x");
    EXPECT_EQ(repairQuotes("'''"), "\"'");
    EXPECT_EQ(repairQuotes("''''"), "\"\"");
    EXPECT_EQ(repairQuotes("\"''\""), "\"\"\"");
    EXPECT_EQ(repairQuotes("'\"'"), "'\"'");
    EXPECT_EQ(repairQuotes("don't"), "don't");
    EXPECT_EQ(repairQuotes(""), "");
}

}  // namespace
}  // namespace orvane
