#include "ocr/segmentation.h"

#include <gtest/gtest.h>

#include <random>

namespace orvane {
namespace {

constexpr Colour kText = 0xFFFFFF;
constexpr Colour kOutline = 0x555555;

Image24 blank(int w, int h) {
    Image24 p(w, h);
    p.fill(0);
    return p;
}

void rect(Image24& p, int x, int y, int w, int h, Colour c = kText) {
    p.fillRect(x, y, x + w, y + h, c);
}

LineTable segment(Image24& p, const OcrSettings& s = OcrSettings{}) {
    Segmenter seg;
    LineTable t;
    seg.segment(p, kText, s, t);
    return t;
}

TEST(CropToContent, FindsTheTextOrReportsNone) {
    Image24 p = blank(40, 30);
    EXPECT_FALSE(cropToContent(p, CropMode::Text, kText));
    EXPECT_EQ(p.width(), 40);
    rect(p, 5, 7, 3, 2);
    rect(p, 20, 12, 1, 4);
    rect(p, 30, 2, 2, 2, kOutline);  // not text
    const auto r = cropToContent(p, CropMode::Text, kText);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (CropRect{5, 7, 20, 15}));
    EXPECT_EQ(p.width(), 16);
    EXPECT_EQ(p.height(), 9);
    EXPECT_EQ(p.pixel(0, 0), kText);
    EXPECT_EQ(p.pixel(15, 8), kText);

    Image24 q = blank(40, 30);
    rect(q, 30, 2, 2, 2, kOutline);
    const auto nb = cropToContent(q, CropMode::NonBackground, 0);
    ASSERT_TRUE(nb);
    EXPECT_EQ(*nb, (CropRect{30, 2, 31, 3}));
    EXPECT_EQ(segment(q).count, 0);
}

TEST(Segmentation, DotsAndAccentsAboveJoinTheirLetter) {
    // An i whose dot is one empty row above the stem, and an e-like body
    // with an accent two rows above: each one character; one line.
    Image24 p = blank(40, 20);
    rect(p, 2, 2, 3, 2);   // dot
    rect(p, 2, 5, 3, 10);  // stem
    rect(p, 15, 2, 3, 2);  // accent
    rect(p, 12, 6, 8, 9);  // body
    const LineTable t = segment(p);
    ASSERT_EQ(t.count, 1);
    ASSERT_EQ(t.lines[0].count, 2);
    const CharBox& i = t.lines[0].chars[0];
    EXPECT_EQ(i.left, 2);
    EXPECT_EQ(i.top, 2);
    EXPECT_EQ(i.height, 13);
    EXPECT_EQ(i.width, 3);
    const CharBox& e = t.lines[0].chars[1];
    EXPECT_EQ(e.top, 2);
    EXPECT_EQ(e.left, 12);
    EXPECT_EQ(e.width, 8);
    EXPECT_EQ(p.pixel(2, 2), kMarkColourA);
    EXPECT_EQ(p.pixel(15, 2), kMarkColourB);
    EXPECT_EQ(p.pixel(12, 10), kMarkColourB);
}

TEST(Segmentation, EmptyRowsBetweenBlocksDecideTheLines) {
    // Blocks of 10 rows: one empty row between them joins them (MinInterLine 2).
    Image24 one = blank(20, 30);
    rect(one, 2, 2, 4, 10);
    rect(one, 2, 13, 4, 10);
    EXPECT_EQ(segment(one).count, 1);
    Image24 two = blank(20, 30);
    rect(two, 2, 2, 4, 10);
    rect(two, 2, 14, 4, 10);
    const LineTable t = segment(two);
    ASSERT_EQ(t.count, 2);
    EXPECT_EQ(t.lines[0].top, 2);
    EXPECT_EQ(t.lines[0].bottom, 11);
    EXPECT_EQ(t.lines[1].top, 14);
}

TEST(Segmentation, TallBandsAreSkippedAndOnlyTenLinesRead) {
    Image24 p = blank(20, 120);
    rect(p, 2, 2, 4, 46);   // too tall: not a line, left as text
    rect(p, 2, 60, 4, 45);  // just fits
    const LineTable t = segment(p);
    ASSERT_EQ(t.count, 1);
    EXPECT_EQ(t.lines[0].top, 60);
    EXPECT_EQ(p.pixel(2, 2), kText);

    Image24 many = blank(20, 11 * 12);
    for (int i = 0; i < 11; ++i) rect(many, 2, i * 12, 4, 9);
    const LineTable m = segment(many);
    EXPECT_EQ(m.count, 10);
    EXPECT_EQ(many.pixel(2, 10 * 12), kText);  // the eleventh is not read
}

TEST(Segmentation, SpecksAreDroppedAndKeepTheNextCharactersPaint) {
    Image24 p = blank(30, 12);
    rect(p, 1, 5, 1, 1);  // speck
    rect(p, 5, 1, 4, 10);
    const LineTable t = segment(p);
    ASSERT_EQ(t.count, 1);
    ASSERT_EQ(t.lines[0].count, 1);
    EXPECT_EQ(t.lines[0].chars[0].left, 5);
    EXPECT_EQ(p.pixel(1, 5), kMarkColourA);
    EXPECT_EQ(p.pixel(5, 1), kMarkColourA);
}

TEST(Segmentation, DiagonalStrokesHoldTogetherOnlyWithDetachedCharCheck) {
    auto stroke = [] {
        Image24 p = blank(20, 14);
        for (int i = 0; i < 10; ++i) p.setPixel(2 + i, 11 - i, kText);  // corners only
        return p;
    };
    Image24 on = stroke();
    const LineTable t = segment(on);
    ASSERT_EQ(t.count, 1);
    ASSERT_EQ(t.lines[0].count, 1);
    EXPECT_EQ(t.lines[0].chars[0].width, 10);
    EXPECT_EQ(t.lines[0].chars[0].height, 10);

    Image24 off = stroke();
    OcrSettings s;
    s.checkDetachedChar = false;
    const LineTable u = segment(off, s);
    ASSERT_EQ(u.count, 1);
    EXPECT_EQ(u.lines[0].count, 0);  // one-column pieces are all dropped
}

TEST(Segmentation, ACedillaBelowItsLetterIsMergedIntoIt) {
    Image24 p = blank(30, 20);
    rect(p, 2, 2, 8, 9);   // c
    rect(p, 4, 12, 3, 3);  // cedilla, wholly below and not past its right
    rect(p, 14, 2, 5, 9);  // next letter
    const LineTable t = segment(p);
    ASSERT_EQ(t.count, 1);
    ASSERT_EQ(t.lines[0].count, 2);
    const CharBox& c = t.lines[0].chars[0];
    EXPECT_EQ(c.top, 2);
    EXPECT_EQ(c.height, 13);
    EXPECT_EQ(c.width, 8);
    EXPECT_EQ(p.pixel(5, 13), kMarkColourA);  // repainted in the c's colour
    EXPECT_EQ(p.pixel(15, 5), kMarkColourB);
    EXPECT_EQ(t.lines[0].chars[1].left, 14);
}

TEST(Segmentation, OverlappingBoxesAreItalic) {
    // Two slanted strokes whose boxes share column 7 without touching.
    Image24 p = blank(40, 14);
    for (int r = 0; r < 10; ++r) rect(p, 2 + (9 - r) / 3, 2 + r, 3, 1);  // columns 2..7
    for (int r = 0; r < 10; ++r) rect(p, 7 + (9 - r) / 3, 2 + r, 3, 1);  // columns 7..12
    const LineTable t = segment(p);
    ASSERT_EQ(t.count, 1);
    const TextLine& l = t.lines[0];
    ASSERT_EQ(l.count, 2);
    EXPECT_EQ(l.chars[0].right(), 7);
    EXPECT_EQ(l.chars[1].left, 7);
    EXPECT_EQ(l.chars[0].italic, 1);
    EXPECT_EQ(l.chars[1].italic, 1);
    // Letters one empty column apart are not italic.
    Image24 q = blank(40, 14);
    rect(q, 2, 2, 5, 10);
    rect(q, 8, 2, 5, 10);  // one empty column apart
    const LineTable u = segment(q);
    ASSERT_EQ(u.lines[0].count, 2);
    EXPECT_EQ(u.lines[0].chars[0].italic, 0);
    EXPECT_EQ(u.lines[0].chars[1].italic, 0);

    TextLine manual;
    manual.count = 3;
    manual.chars[0].left = 0;
    manual.chars[0].width = 6;  // 0..5
    manual.chars[1].left = 5;   // overlaps by one column
    manual.chars[1].width = 6;  // 5..10
    manual.chars[2].left = 12;  // one empty column
    manual.chars[2].width = 4;
    setItalicFlags(manual, -1);
    EXPECT_EQ(manual.chars[0].italic, 1);
    EXPECT_EQ(manual.chars[1].italic, 1);
    EXPECT_EQ(manual.chars[2].italic, 1);  // a copy of the one before
    setItalicFlags(manual, -2);
    EXPECT_EQ(manual.chars[0].italic, 0);
}

TEST(Segmentation, ALineStopsAt500Characters) {
    Image24 p = blank(1300, 6);
    for (int i = 0; i < 640; ++i) rect(p, i * 2, 1, 1, 4);
    OcrSettings s;
    s.minCharWidth = 1;
    const LineTable t = segment(p, s);
    ASSERT_EQ(t.count, 1);
    EXPECT_EQ(t.lines[0].count, 500);
    EXPECT_EQ(t.lines[0].chars[499].left, 998);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(Segmentation, LabelsFromColourNumbersSegmentLikeThePaintedPicture) {
    // The OCR cuts its labels straight from the colour numbers; random
    // pictures of strokes, dots and outlines give the crop, the lines and
    // boxes, and the marks of segmenting the painted picture, with the
    // settings that steer the cut varied (bands of labels up to 64 rows are
    // cut by column masks, taller ones pixel by pixel).
    const std::array<Colour, 4> paint{0x000000, kOutline, 0xAAAAAA, kText};
    std::mt19937 rng(42);
    Segmenter segmenter;
    Image8 labels;
    for (int round = 0; round < 600; ++round) {
        OcrSettings settings;
        settings.checkDetachedChar = round % 3 != 2;
        settings.minCharWidth = static_cast<uint8_t>(1 + rng() % 4);
        settings.minCharHeight = static_cast<uint8_t>(1 + rng() % 4);
        settings.maxLineHeight = static_cast<uint8_t>(round % 5 == 4 ? 100 : 45);
        const int w = 20 + static_cast<int>(rng() % 300), h = 10 + static_cast<int>(rng() % 120);
        Image8 numbers(w, h);
        numbers.fill(0);
        for (int k = static_cast<int>(rng() % 60); k > 0; --k) {
            const int x = static_cast<int>(rng() % w), y = static_cast<int>(rng() % h);
            const int rw = 1 + static_cast<int>(rng() % 12), rh = 1 + static_cast<int>(rng() % 30);
            const auto c = static_cast<uint8_t>(rng() % 4);
            for (int yy = y; yy < std::min(h, y + rh); ++yy)
                for (int xx = x; xx < std::min(w, x + rw); ++xx) numbers.setPixel(xx, yy, c);
        }
        Image24 painted(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) painted.setPixel(x, y, paint[numbers.pixel(x, y)]);

        const auto cropped = cropToContent(painted, CropMode::Text, kText);
        const auto cut = textLabels(numbers, 3, labels);
        ASSERT_EQ(cropped, cut) << "round " << round;
        if (!cut) continue;
        LineTable fromPicture, fromLabels;
        segmenter.segment(painted, kText, settings, fromPicture);
        segmenter.segment(labels, settings, fromLabels);
        ASSERT_EQ(fromPicture.count, fromLabels.count) << "round " << round;
        for (int l = 0; l < fromPicture.count; ++l) {
            const TextLine &a = fromPicture.lines[static_cast<size_t>(l)],
                           &b = fromLabels.lines[static_cast<size_t>(l)];
            ASSERT_EQ(a.count, b.count);
            for (int j = 0; j < a.count; ++j) {
                const CharBox &p = a.chars[static_cast<size_t>(j)],
                              &q = b.chars[static_cast<size_t>(j)];
                ASSERT_EQ(std::tie(p.left, p.top, p.width, p.height, p.relativeTop, p.italic),
                          std::tie(q.left, q.top, q.width, q.height, q.relativeTop, q.italic));
            }
        }
        for (int y = 0; y < labels.height(); ++y) {
            for (int x = 0; x < labels.width(); ++x) {
                const Colour c = painted.pixel(x, y);
                const uint8_t l = labels.pixel(x, y);
                ASSERT_EQ(l == kLabelMarkA, c == kMarkColourA);
                ASSERT_EQ(l == kLabelMarkB, c == kMarkColourB);
                ASSERT_EQ(l == kLabelText, c == kText);
            }
        }
    }
}

}  // namespace
}  // namespace orvane
