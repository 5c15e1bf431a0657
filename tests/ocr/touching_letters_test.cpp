#include "ocr/touching_letters.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/png_image.h"

namespace orvane {
namespace {

constexpr Colour kText = 0xFFFFFF;

// A rendered line (white letters on black) cut into characters.
struct Rendered {
    Image24 painted;
    LineTable lines;
};

Rendered segmentRender(const std::string& name, const OcrSettings& settings) {
    const test::RgbaImage png = test::loadPng(std::string(ORVANE_TEST_DATA) + "/touching/" + name);
    Rendered r{Image24(png.width, png.height), {}};
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x)
            r.painted.setPixel(x, y, (png.at(x, y) >> 24) > 127 ? kText : 0x000000);
    cropToContent(r.painted, CropMode::Text, kText);
    Segmenter().segment(r.painted, kText, settings, r.lines);
    return r;
}

// The letters learned from a render of them standing apart.
CharMatrix learnApart(const OcrSettings& settings) {
    const Rendered r = segmentRender("apart.png", settings);
    const std::string letters = "ftirnwy";
    CharMatrix m;
    EXPECT_EQ(r.lines.count, 1);
    EXPECT_EQ(r.lines.lines[0].count, letters.size());
    for (int j = 1; j <= r.lines.lines[0].count; ++j) {
        MatrixEntry e =
            buildGlyph(r.painted, r.lines.lines[0].chars[static_cast<size_t>(j - 1)], j);
        e.text = std::string(1, letters[static_cast<size_t>(j - 1)]);
        m.add(e);
    }
    return m;
}

TEST(TouchingLetters, RenderedPairsReadAsTheLettersLearnedApart) {
    const OcrSettings settings;
    const CharMatrix m = learnApart(settings);
    const Rendered r = segmentRender("touching.png", settings);
    // The bars of "ff" and "tt" run into each other: the pieces share
    // columns. In "ft" the hook of the f joins the top of the t, which no
    // cut at columns separates: it stays unknown.
    const std::vector<std::string> expected = {"", "ff", "tt", "rn", "yw", "wy"};
    ASSERT_EQ(r.lines.count, 1);
    const TextLine& line = r.lines.lines[0];
    ASSERT_EQ(line.count, expected.size());  // every group touches: one glyph each
    Matcher matcher;
    for (int j = 1; j <= line.count; ++j) {
        const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
        SCOPED_TRACE(j);
        EXPECT_EQ(matcher.match(buildGlyph(r.painted, box, j), box, m, settings), 0u);
        const auto reading = readTouchingLetters(r.painted, box, j, m, settings, matcher);
        ASSERT_EQ(reading.has_value(), !expected[static_cast<size_t>(j - 1)].empty());
        if (!reading) continue;
        EXPECT_EQ(reading->text, expected[static_cast<size_t>(j - 1)]);
        EXPECT_EQ(reading->cuts.size() + 1, reading->text.size());
    }
}

TEST(TouchingLetters, NoReadingWithoutAMatchForEveryPiece) {
    const OcrSettings settings;
    CharMatrix m = learnApart(settings);
    const Rendered r = segmentRender("touching.png", settings);
    Matcher matcher;
    // Without 'n', "rn" has no cut whose pieces all match; pieces that
    // match entries of no text do not count either.
    CharMatrix noN;
    for (const MatrixEntry& e : m.entries()) {
        MatrixEntry copy = e;
        if (copy.text == "n") copy.text.clear();
        noN.add(copy);
    }
    const CharBox& rn = r.lines.lines[0].chars[3];
    EXPECT_FALSE(readTouchingLetters(r.painted, rn, 4, noN, settings, matcher));
    EXPECT_FALSE(readTouchingLetters(r.painted, rn, 4, CharMatrix{}, settings, matcher));
    // The same threshold as single glyphs: at the strictest sensibility a
    // render's pieces differ too much from the letters drawn apart somewhere.
    OcrSettings strict = settings;
    strict.sensibility = 1001;
    EXPECT_FALSE(readTouchingLetters(r.painted, rn, 4, m, strict, matcher));
}

TEST(TouchingLetters, AGlyphBelowARaisedLineTopReadsFromTheLettersTop) {
    // An accent above a capital raises the line top over the letters by
    // more than the matcher's top tolerance: the letters learned in a line
    // without one no longer match at their own tops, but do from the raise.
    const OcrSettings settings;
    const CharMatrix m = learnApart(settings);
    const Rendered r = segmentRender("touching.png", settings);
    const int raise = settings.maxCharDiffTop + 2;
    Matcher matcher;
    CharBox rn = r.lines.lines[0].chars[3];
    rn.relativeTop = static_cast<uint8_t>(rn.relativeTop + raise);
    EXPECT_FALSE(readTouchingLetters(r.painted, rn, 4, m, settings, matcher));
    const auto cut = readTouchingLetters(r.painted, rn, 4, m, settings, matcher, raise);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->text, "rn");
    // A glyph the matrix knows whole reads as one piece.
    const Rendered apart = segmentRender("apart.png", settings);
    CharBox t = apart.lines.lines[0].chars[1];
    t.relativeTop = static_cast<uint8_t>(t.relativeTop + raise);
    EXPECT_EQ(matcher.match(buildGlyph(apart.painted, t, 2), t, m, settings), 0u);
    const auto whole = readTouchingLetters(apart.painted, t, 2, m, settings, matcher, raise);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->text, "t");
    EXPECT_TRUE(whole->cuts.empty());
}

TEST(TouchingLetters, AccentRaiseIsTheTopMostPiecesAsTallAsACapitalShare) {
    // Capitals 22 rows tall in the matrix, a wider one 23.
    CharMatrix m;
    for (const auto& [text, height] : {std::pair{"H", 22}, std::pair{"E", 22}, std::pair{"W", 23},
                                       std::pair{"h", 23}, std::pair{"a", 15}}) {
        MatrixEntry e;
        e.text = text;
        e.height = static_cast<uint8_t>(height);
        m.add(e);
    }
    const OcrSettings settings;
    auto lineOf = [](const std::vector<std::pair<int, int>>& topsAndHeights) {
        TextLine line;
        for (const auto& [top, height] : topsAndHeights) {
            CharBox& b = line.chars[line.count++];
            b.relativeTop = static_cast<uint8_t>(top);
            b.height = static_cast<uint16_t>(height);
        }
        return line;
    };
    // "CHAMBRE 3e ÉTAGE": capitals 7 rows below the accent of the É.
    const TextLine accented = lineOf({{7, 22}, {7, 22}, {0, 29}, {7, 22}, {19, 4}, {12, 15}});
    EXPECT_EQ(accentRaise(accented, m, settings), 7);
    // Small letters and marks do not count; a plain line has its letters at
    // the top, ascenders one row above capitals the higher on a tie.
    EXPECT_EQ(
        accentRaise(lineOf({{1, 22}, {8, 15}, {8, 15}, {8, 15}, {0, 23}, {27, 4}}), m, settings),
        0);
    EXPECT_EQ(accentRaise(lineOf({{1, 22}, {0, 23}, {8, 15}}), m, settings), 0);
    EXPECT_EQ(accentRaise(TextLine{}, m, settings), 0);
    // Without a capital in the matrix nothing says how tall letters are.
    EXPECT_EQ(accentRaise(accented, CharMatrix{}, settings), 0);
}

}  // namespace
}  // namespace orvane
