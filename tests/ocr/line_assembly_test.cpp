#include "ocr/line_assembly.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "ocr/matcher.h"
#include "ocr/touching_letters.h"
#include "support/file_bytes.h"
#include "support/png_image.h"

namespace orvane {
namespace {

constexpr Colour kText = 0xFFFFFF;

CharMatrix shippedMatrix(const std::string& name) {
    CharMatrix m;
    CharMatrix::fromBytes(test::readByteVector(std::string(ORVANE_SHIPPED_MATRICES) + "/" + name),
                          m);
    return m;
}

// A rendered line (white on black) read with a matrix as `--unknown mark`
// reads it: each piece's first match, else touching known glyphs, else '#'.
// `joined` gets the pieces' texts as they are, spaces left out.
std::string readRender(const std::string& png, const CharMatrix& matrix, std::string& joined) {
    const test::RgbaImage image = test::loadPng(std::string(ORVANE_TEST_DATA) + "/marks/" + png);
    Image24 painted(image.width, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            painted.setPixel(x, y, (image.at(x, y) >> 24) > 127 ? kText : 0x000000);
    cropToContent(painted, CropMode::Text, kText);
    const OcrSettings settings;
    LineTable lines;
    Segmenter().segment(painted, kText, settings, lines);
    EXPECT_EQ(lines.count, 1) << png;
    if (lines.count != 1) return {};
    const TextLine& line = lines.lines[0];
    Matcher matcher;
    std::vector<std::string> texts;
    for (int j = 1; j <= line.count; ++j) {
        const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
        const size_t e = matcher.match(buildGlyph(painted, box, j), box, matrix, settings);
        if (e > 0)
            texts.push_back(matrix.entry(e).text);
        else if (auto cut = readTouchingLetters(painted, box, j, matrix, settings, matcher))
            texts.push_back(cut->text);
        else
            texts.push_back("#");
        joined += texts.back();
    }
    return assembleLineText(line, texts, settings);
}

// The marks of a text (quotes, apostrophes, guillemets, commas, ï), in order.
std::string marksOf(const std::string& text) {
    std::string marks;
    for (const char c : text)
        if (std::string_view("'\",\xAB\xBB\x84\x93\xEF\xCF").find(c) != std::string_view::npos)
            marks += c;
    return marks;
}

std::string ilFree(std::string text) {
    for (char& c : text)
        if (c == 'I') c = 'l';
    return text;
}

// Each font of the shipped matrices, upright and (where the training disc
// teaches it) italic: make_marks.sh draws marks/*_N.png.
struct Style {
    int number;
    const char* matrix;
};
constexpr Style kStyles[] = {
    {1, "dejavu-sans-bold-30.sum"},     {2, "dejavu-sans-bold-30.sum"},
    {3, "liberation-sans-bold-32.sum"}, {4, "dejavu-serif-bold-28.sum"},
    {5, "dejavu-serif-bold-28.sum"},    {6, "liberation-serif-bold-32.sum"},
};

TEST(LineAssembly, MarksCutIntoStrokesReadOnceAndSingleMarksStay) {
    const std::string doubled =
        utf8ToCp1252("\"Oui,\" dit Zo\u00eb, na\u00eff \u00ab non \u00bb \u201eja\u201c");
    const std::string single = utf8ToCp1252("rock 'n' roll, l'\u00e9t\u00e9 ' ' ... No\u00ebl");
    int piecesReadTwice = 0;
    for (const Style& s : kStyles) {
        SCOPED_TRACE(s.number);
        const CharMatrix m = shippedMatrix(s.matrix);
        std::string joined;
        // The strokes of `"`, « », „ “ and the dots of ï: one mark each,
        // without a space between the strokes.
        const std::string read =
            readRender("doubled_" + std::to_string(s.number) + ".png", m, joined);
        EXPECT_EQ(marksOf(read), marksOf(doubled)) << cp1252ToUtf8(read);
        EXPECT_NE(read.find(utf8ToCp1252("\u00ab non \u00bb \u201eja\u201c")), std::string::npos)
            << cp1252ToUtf8(read);
        EXPECT_NE(read.find(utf8ToCp1252("na\u00ef")), std::string::npos) << cp1252ToUtf8(read);
        piecesReadTwice += marksOf(joined).size() > marksOf(doubled).size();
        // Apostrophes a space apart, and single marks, stay as they are.
        joined.clear();
        EXPECT_EQ(ilFree(readRender("single_" + std::to_string(s.number) + ".png", m, joined)),
                  ilFree(single));
    }
    // The pictures do cut marks into pieces that each read as a mark.
    EXPECT_EQ(piecesReadTwice, static_cast<int>(std::size(kStyles)));
}

TEST(LineAssembly, SpacesAndThePairsALineOfBoxesMakes) {
    // Boxes on a line of letters 22 rows tall: two strokes 3 columns apart,
    // then the same strokes a word space (10 columns) apart.
    TextLine line;
    auto add = [&](int left, int top, int width, int height) {
        line.chars[line.count++] = CharBox{static_cast<uint16_t>(left),
                                           static_cast<uint16_t>(top),
                                           static_cast<uint16_t>(width),
                                           static_cast<uint16_t>(height),
                                           0,
                                           0};
    };
    add(0, 0, 16, 22);   // H
    add(24, 0, 3, 8);    // '
    add(30, 0, 3, 8);    // '  3 blank columns: one mark
    add(36, 0, 16, 22);  // H
    add(60, 0, 3, 8);    // '
    add(73, 0, 3, 8);    // '  10 blank columns: two marks and a space
    add(84, 0, 16, 22);  // H
    const OcrSettings settings;
    EXPECT_EQ(assembleLineText(line, {"H", "'", "'", "H", "'", "'", "H"}, settings), "H \"H ' ' H");
    EXPECT_EQ(assembleLineText(line, {"H", ",", ",", "H", "\x8B", "\x8B", "H"}, settings),
              "H \x84H \x8B \x8B H");
    // (Two quotes a word space apart each keep the space on their wider side.)
    EXPECT_EQ(assembleLineText(line, {"H", "\"", "\"", "H", "\"", "\"", "H"}, settings),
              "H \"H\" \"H");
    // Different marks, or a stroke and a letter, are not joined.
    EXPECT_EQ(assembleLineText(line, {"H", "'", "\"", "H", "'", "'", "H"}, settings),
              "H '\"H ' ' H");
    EXPECT_EQ(assembleLineText(line, {"H", "'", "", "H", "'", "'", "H"}, settings), "H 'H ' ' H");
    // Where another reader placed the words: its spaces stand, and its
    // joins, over a gap as wide as a space only beside an apostrophe or
    // between digits.
    using B = WordBreak;
    const std::vector<B> joined(7, B::Joined);
    const std::vector<std::string> words = {"W", "'", "l", "H", "!", "x", "H"};
    EXPECT_EQ(assembleLineText(line, words, settings, joined), "W'lH ! x H");
    EXPECT_EQ(assembleLineText(line, words, settings, std::vector<B>(7, B::Space)),
              "W ' l H ! x H");
    EXPECT_EQ(assembleLineText(line, {"1", "!", "x", "1", "1", "h", "1"}, settings, joined),
              "1 !x11 h 1");
}

TEST(LineAssembly, ADoubleQuoteKeepsTheSpaceOnItsWiderSideOnly) {
    // Boxes 8 rows tall for quotes, 22 for letters; left and width each.
    auto lineOf = [](std::initializer_list<std::pair<int, int>> boxes) {
        TextLine line;
        for (const auto& [left, width] : boxes) {
            const uint16_t height = width == 8 ? 8 : 22;
            line.chars[line.count++] =
                CharBox{static_cast<uint16_t>(left), 0, static_cast<uint16_t>(width), height, 0, 0};
        }
        return line;
    };
    const OcrSettings settings;  // a space from 7 blank columns
    // 8 blank columns before the quote, 7 after: the word after it is its own.
    const TextLine between = lineOf({{0, 16}, {24, 8}, {39, 16}});
    EXPECT_EQ(assembleLineText(between, {"H", "\"", "H"}, settings), "H \"H");
    EXPECT_EQ(assembleLineText(between, {"H", "\x84", "H"}, settings), "H \x84H");
    EXPECT_EQ(assembleLineText(between, {"H", "\xAB", "H"}, settings),
              "H \xAB H");  // guillemets stand apart
    // As wide on both sides: nothing tells, both stay.
    EXPECT_EQ(assembleLineText(lineOf({{0, 16}, {24, 8}, {40, 16}}), {"H", "\"", "H"}, settings),
              "H \" H");
    // At the start and the end of the line.
    EXPECT_EQ(assembleLineText(lineOf({{0, 8}, {15, 16}}), {"\"", "H"}, settings), "\"H");
    EXPECT_EQ(assembleLineText(lineOf({{0, 16}, {23, 8}}), {"H", "\x93"}, settings), "H\x93");
}

}  // namespace
}  // namespace orvane
