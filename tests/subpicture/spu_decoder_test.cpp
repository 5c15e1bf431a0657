#include "subpicture/spu_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "subpicture/disc_colours.h"
#include "subpicture/unit_times.h"
#include "support/spu_encoder.h"

namespace orvane {
namespace {

using test::IndexedPicture;
using test::SpuBuilder;

const PreviewColours kColours;

// The colour number each decoded pixel was painted with.
uint8_t numberAt(const SubPicture& p, int x, int y) {
    const Colour c = p.bitmap.pixel(x, y);
    for (uint8_t n = 0; n < 4; ++n) {
        if (kColours[n] == c) return n;
    }
    ADD_FAILURE() << "pixel " << x << "," << y << " is not a preview colour: " << std::hex << c;
    return 255;
}

IndexedPicture randomPicture(std::mt19937& rng, int w, int h) {
    IndexedPicture pic = IndexedPicture::filled(w, h);
    // Runs of random length so that every code size occurs.
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            const int run = 1 + static_cast<int>(rng() % (rng() % 4 == 0 ? 300 : 20));
            const uint8_t c = static_cast<uint8_t>(rng() % 4);
            for (int i = 0; i < run && x < w; ++i, ++x) pic.set(x, y, c);
        }
    }
    return pic;
}

TEST(SpuDecoder, DecodesBothFieldsIntoInterleavedRows) {
    std::mt19937 rng(7);
    for (auto [w, h] :
         {std::pair{1, 1}, {3, 2}, {17, 5}, {300, 40}, {720, 9}, {255, 3}, {256, 4}}) {
        const IndexedPicture pic = randomPicture(rng, w, h);
        const auto unit = test::makeUnit(pic, 100, 400, 300);
        SubPicture sp;
        decodeSubPicture(unit, sp);
        ASSERT_EQ(sp.width, w);
        ASSERT_EQ(sp.height, h);
        ASSERT_EQ(sp.bitmap.width(), w);
        ASSERT_EQ(sp.bitmap.height(), h);
        EXPECT_EQ(sp.area, (DisplayArea{100, 400, 100 + w - 1, 400 + h - 1}));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(numberAt(sp, x, y), pic.at(x, y))
                    << w << "x" << h << " at " << x << "," << y;
    }
}

TEST(SpuDecoder, PaintsTheFourPreviewGreys) {
    IndexedPicture pic = IndexedPicture::filled(4, 1);
    for (uint8_t c = 0; c < 4; ++c) pic.set(c, 0, c);
    SubPicture sp;
    decodeSubPicture(test::makeUnit(pic, 0, 0), sp);
    EXPECT_EQ(sp.bitmap.pixel(0, 0), 0x000000u);
    EXPECT_EQ(sp.bitmap.pixel(1, 0), 0x555555u);
    EXPECT_EQ(sp.bitmap.pixel(2, 0), 0xAAAAAAu);
    EXPECT_EQ(sp.bitmap.pixel(3, 0), 0xFFFFFFu);
}

TEST(SpuDecoder, SequencesCarryPaletteAreaAndOffsetsButNotKindOrContrast) {
    SpuBuilder b;
    b.setFields({0x00, 0x00}, {0x00, 0x00});
    auto first = SpuBuilder::area(10, 20, 29, 21);
    first.insert(first.begin(), {0x01, 0x03, 0x12, 0x34, 0x04, 0xAB, 0xCD});
    for (uint8_t c : SpuBuilder::fieldOffsets(4, 6)) first.push_back(c);
    b.addSequence(0, first);
    b.addSequence(3000, {0x02});
    b.addSequence(4000, {0x55, 0x07, 0x00, 0x0A, 1, 2, 3, 4, 5, 6, 7, 8, 0x02});
    SubPicture sp;
    decodeSubPicture(b.build(), sp);
    ASSERT_EQ(sp.sequences.size(), 3u);
    EXPECT_EQ(sp.sequences[0].delay, 0);
    EXPECT_EQ(sp.sequences[1].delay, 34133);  // 3000 x 1024 / 90
    EXPECT_EQ(sp.sequences[0].kind, SequenceKind::Start);
    EXPECT_EQ(sp.sequences[1].kind, SequenceKind::Stop);
    EXPECT_EQ(sp.sequences[0].contrast, 0xABCD);
    EXPECT_EQ(sp.sequences[1].contrast, 0xFFF0);  // not carried
    EXPECT_EQ(sp.sequences[1].palette, 0x1234);   // carried
    EXPECT_EQ(sp.sequences[1].area, (DisplayArea{10, 20, 29, 21}));
    EXPECT_EQ(sp.sequences[2].topFieldOffset, 4);
    EXPECT_EQ(sp.sequences[2].bottomFieldOffset, 6);
    // Command 0x07 of length 10 skips eight bytes; the 0x02 after it counts.
    EXPECT_EQ(sp.sequences[2].kind, SequenceKind::Stop);
    EXPECT_EQ(sp.width, 20);
    EXPECT_EQ(sp.height, 2);
}

TEST(SpuDecoder, AreaSizesAreClampedToTheScreen) {
    auto areaOnly = [](int x1, int y1, int x2, int y2) {
        SpuBuilder b;
        auto cmds = SpuBuilder::area(x1, y1, x2, y2);
        cmds.insert(cmds.begin(), 0x01);
        b.addSequence(0, cmds);
        SubPicture sp;
        decodeSubPicture(b.build(), sp);
        return std::pair<int, int>{sp.width, sp.height};
    };
    EXPECT_EQ(areaOnly(0, 0, 719, 575), (std::pair{720, 576}));
    EXPECT_EQ(areaOnly(500, 10, 100, 20), (std::pair{720, 11}));  // x2 < x1 wraps in 16 bits
    EXPECT_EQ(areaOnly(0, 0, 4095, 4095), (std::pair{720, 576}));
    EXPECT_EQ(areaOnly(10, 10, 9, 9), (std::pair{1, 1}));  // width 0 becomes 1
    SpuBuilder none;
    none.addSequence(0, {0x01});
    SubPicture sp;
    decodeSubPicture(none.build(), sp);
    EXPECT_EQ(sp.width, 1);  // no area command
    EXPECT_EQ(sp.height, 1);
}

TEST(SpuDecoder, EndOfRowCodeAndOverlongRunsFillToTheEdge) {
    // Row 0: 100 pixels of colour 1 (runs of 64 and 36), then the
    // to-the-end code in colour 2 gives 200 more. Row 1: two runs of 255 in
    // colour 3; the second passes the 300-pixel edge and is clipped there.
    std::vector<uint8_t> top;
    // 64 x colour 1: 0000 0001 0000 0001 -> 0x01 0x01
    top.insert(top.end(), {0x01, 0x01});
    // 36 x colour 1 (0000 1001 0001), then 14 zero bits and colour 2.
    top.insert(top.end(), {0x09, 0x10, 0x00, 0x20});
    std::vector<uint8_t> bottom;
    // 255 x colour 3 twice: 0000 0011 1111 1111 each.
    bottom.insert(bottom.end(), {0x03, 0xFF, 0x03, 0xFF});
    SpuBuilder b;
    b.setFields(top, bottom);
    auto cmds = SpuBuilder::area(0, 0, 299, 1);
    cmds.insert(cmds.begin(), 0x01);
    for (uint8_t c : SpuBuilder::fieldOffsets(b.topOffset(), b.bottomOffset())) cmds.push_back(c);
    b.addSequence(0, cmds);
    SubPicture sp;
    decodeSubPicture(b.build(), sp);
    ASSERT_EQ(sp.width, 300);
    for (int x = 0; x < 100; ++x) ASSERT_EQ(numberAt(sp, x, 0), 1) << x;
    for (int x = 100; x < 300; ++x) ASSERT_EQ(numberAt(sp, x, 0), 2) << x;
    for (int x = 0; x < 300; ++x) ASSERT_EQ(numberAt(sp, x, 1), 3) << x;
}

TEST(SpuDecoder, MissingPixelOffsetsReadFromTheUnitStartWithinBounds) {
    SpuBuilder b;
    b.setFields(std::vector<uint8_t>(50, 0x5A), std::vector<uint8_t>(50, 0xA5));
    auto cmds = SpuBuilder::area(0, 0, 719, 575);
    cmds.insert(cmds.begin(), 0x01);
    b.addSequence(0, cmds);
    SubPicture sp;
    decodeSubPicture(b.build(), sp);
    EXPECT_EQ(sp.sequences[0].topFieldOffset, 0);
    EXPECT_EQ(sp.width, 720);
    EXPECT_EQ(sp.height, 576);
}

TEST(SpuDecoder, PixelOffsetsOutsideTheUnitDrawNothing) {
    SpuBuilder b;
    b.setFields({0x55, 0x55}, {0xAA, 0xAA});
    auto cmds = SpuBuilder::area(0, 0, 99, 9);
    cmds.insert(cmds.begin(), 0x01);
    for (uint8_t c : SpuBuilder::fieldOffsets(0xFFF0, 0xFFFF)) cmds.push_back(c);
    b.addSequence(0, cmds);
    SubPicture sp;
    decodeSubPicture(b.build(), sp);
    ASSERT_EQ(sp.width, 100);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(numberAt(sp, x, y), 0);
}

TEST(SpuDecoder, ChainsLongerThanTheTableStopAt4096) {
    SpuBuilder b;
    for (int i = 0; i < 5000; ++i) b.addSequence(static_cast<uint16_t>(i), {0x01});
    SubPicture sp;
    const auto unit = b.build();
    ASSERT_LT(unit.size(), 65536u);
    decodeSubPicture(unit, sp);
    EXPECT_EQ(sp.sequences.size(), 4096u);
    EXPECT_TRUE(sp.chainTruncated);
    EXPECT_EQ(sp.sequences.back().delay, 4095 * 1024 / 90);
}

TEST(SpuDecoder, AChainThatPointsBackEnds) {
    SpuBuilder b;
    b.addSequence(0, {0x01});
    b.addSequence(10, {0x02});
    auto unit = b.build();
    // Make the second sequence point back at the first.
    const size_t second = unit.size() - 6;
    unit[second + 2] = unit[2];
    unit[second + 3] = unit[3];
    SubPicture sp;
    decodeSubPicture(unit, sp);
    EXPECT_EQ(sp.sequences.size(), 2u);
    EXPECT_FALSE(sp.chainTruncated);
}

TEST(SpuDecoder, MalformedUnitsStayInBounds) {
    // Random bytes, truncations and single-byte corruptions of real units:
    // under the sanitizers nothing is read or written out of bounds, and the
    // picture always fits the screen.
    std::mt19937 rng(99);
    SubPicture sp;
    std::vector<uint8_t> unit;
    for (int round = 0; round < 3000; ++round) {
        const int kind = round % 3;
        if (kind == 0) {
            unit.resize(rng() % 3000);
            for (auto& b : unit) b = static_cast<uint8_t>(rng());
        } else {
            const IndexedPicture pic = randomPicture(rng, 1 + static_cast<int>(rng() % 200),
                                                     1 + static_cast<int>(rng() % 30));
            unit = test::makeUnit(pic, static_cast<int>(rng() % 500), static_cast<int>(rng() % 500),
                                  100);
            if (kind == 1)
                unit.resize(rng() % (unit.size() + 1));
            else
                for (int k = 0; k < 4; ++k) unit[rng() % unit.size()] = static_cast<uint8_t>(rng());
        }
        decodeSubPicture(unit, sp);
        ASSERT_GE(sp.width, 1);
        ASSERT_LE(sp.width, 720);
        ASSERT_GE(sp.height, 1);
        ASSERT_LE(sp.height, 576);
        ASSERT_LE(sp.sequences.size(), 4096u);
        ASSERT_EQ(sp.bitmap.width(), sp.width);
        ASSERT_EQ(sp.bitmap.height(), sp.height);
    }
}

TEST(SpuDecoder, AreaDecodeAndControlParseAgreeWithTheFullPicture) {
    // Random units, whole and corrupted, of changing sizes: the colour
    // numbers painted give the full decode's picture pixel for pixel, and
    // the control parse alone gives its sequences, area and size. The
    // cheaper decodes reuse one SubPicture, as the dispatch does, so a
    // buffer left from a larger unit must not show through.
    std::mt19937 rng(1234);
    SubPicture area, control;
    for (int round = 0; round < 600; ++round) {
        const IndexedPicture pic = randomPicture(rng, 1 + static_cast<int>(rng() % 720),
                                                 1 + static_cast<int>(rng() % 120));
        auto unit =
            test::makeUnit(pic, static_cast<int>(rng() % 100), static_cast<int>(rng() % 400),
                           static_cast<uint16_t>(rng() % 1000));
        if (round % 4 == 3)
            for (int k = 0; k < 3; ++k) unit[rng() % unit.size()] = static_cast<uint8_t>(rng());
        SubPicture full;
        decodeSubPicture(unit, full, kColours);
        decodeSubPictureArea(unit, area);
        parseSubPictureControl(unit, control);
        ASSERT_TRUE(area.numbersDecoded);
        ASSERT_FALSE(area.bitmapPainted);
        ASSERT_FALSE(control.numbersDecoded);
        for (const SubPicture* sp : {&area, &control}) {
            ASSERT_EQ(sp->width, full.width);
            ASSERT_EQ(sp->height, full.height);
            ASSERT_EQ(sp->area, full.area);
            ASSERT_EQ(sp->chainTruncated, full.chainTruncated);
            ASSERT_EQ(sp->sequences.size(), full.sequences.size());
            for (size_t i = 0; i < full.sequences.size(); ++i) {
                const ControlSequence &a = sp->sequences[i], &b = full.sequences[i];
                ASSERT_EQ(a.delay, b.delay);
                ASSERT_EQ(a.kind, b.kind);
                ASSERT_EQ(a.area, b.area);
                ASSERT_EQ(a.topFieldOffset, b.topFieldOffset);
            }
        }
        ASSERT_EQ(area.numbers.width(), full.bitmap.width());
        ASSERT_EQ(area.numbers.height(), full.bitmap.height());
        for (int y = 0; y < full.height; ++y)
            for (int x = 0; x < full.width; ++x)
                ASSERT_EQ(paintedColourOf(kColours, area.numbers.pixel(x, y)),
                          full.bitmap.pixel(x, y))
                    << "round " << round << " at " << x << "," << y;
        if (round % 4 != 3) {
            // A whole unit decodes to the picture it was made from.
            for (int y = 0; y < full.height; ++y)
                for (int x = 0; x < full.width; ++x)
                    ASSERT_EQ(area.numbers.pixel(x, y), pic.at(x, y))
                        << "round " << round << " at " << x << "," << y;
        }
    }
}

TEST(UnitTimes, StartAndStopComeFromTheFirstAndLastSequence) {
    SubPicture sp;
    sp.sequences.resize(2);
    sp.sequences[0].delay = 40;
    sp.sequences[1].delay = 34133;
    sp.sequences[1].kind = SequenceKind::Stop;
    const UnitTimes t = computeUnitTimes({0, 0, 10, 0}, sp);
    EXPECT_EQ(t.start, (TimeCode{0, 0, 10, 40}));
    EXPECT_EQ(t.stop, (TimeCode{0, 0, 44, 133}));
    EXPECT_TRUE(passesDisplayFilter(sp));

    // A single start sequence: no stop time.
    sp.sequences.resize(1);
    EXPECT_TRUE(computeUnitTimes({0, 0, 10, 0}, sp).stop.isZero());
    EXPECT_TRUE(passesDisplayFilter(sp));
    // The last sequence must be a stop for a stop time.
    sp.sequences.resize(2);
    sp.sequences[1].kind = SequenceKind::Start;
    EXPECT_TRUE(computeUnitTimes({}, sp).stop.isZero());
}

TEST(SpuDecoder, TheForcedStartCommandMarksItsSequenceAndTheUnit) {
    auto unitWith = [](std::vector<uint8_t> first, std::vector<uint8_t> second) {
        SpuBuilder b;
        b.setFields({0x00}, {0x00});
        b.addSequence(0, first);
        b.addSequence(100, second);
        SubPicture sp;
        parseSubPictureControl(b.build(), sp);
        return sp;
    };
    const SubPicture forced = unitWith({0x00}, {0x02});
    ASSERT_EQ(forced.sequences.size(), 2u);
    EXPECT_TRUE(forced.sequences[0].forced);
    EXPECT_EQ(forced.sequences[0].kind, SequenceKind::Start);
    EXPECT_FALSE(forced.sequences[1].forced);  // not carried to the stop
    EXPECT_TRUE(isForcedUnit(forced));
    // A later plain start in the same sequence is no forced start.
    EXPECT_FALSE(unitWith({0x00, 0x01}, {0x02}).sequences[0].forced);
    const SubPicture plain = unitWith({0x01}, {0x02});
    EXPECT_FALSE(isForcedUnit(plain));
    EXPECT_TRUE(isForcedUnit(unitWith({0x01}, {0x00})));
}

TEST(DiscColours, ColourTableEntriesBecomeDisplayColoursByThePaletteWord) {
    // Studio-range black, white, mid grey and a yellow.
    EXPECT_EQ(colourFromYCrCb(0x10, 0x80, 0x80), rgbColour(0, 0, 0));
    EXPECT_EQ(colourFromYCrCb(0xEB, 0x80, 0x80), rgbColour(255, 255, 255));
    EXPECT_EQ(colourFromYCrCb(0x7E, 0x80, 0x80), rgbColour(128, 128, 128));
    EXPECT_EQ(colourFromYCrCb(0xD2, 0x92, 0x10), rgbColour(255, 255, 0));
    // Out-of-range values are clipped, not wrapped.
    EXPECT_EQ(colourFromYCrCb(0xFF, 0xFF, 0x00), rgbColour(255, 225, 20));
    std::array<uint32_t, 16> ycrcb{};
    ycrcb.fill(0x108080);
    ycrcb[1] = 0xEB8080;
    ycrcb[3] = 0xD29210;
    const DiscColourTable table = discColoursFromYCrCb(ycrcb);
    // Colour number n takes the entry in the word's n-th nibble from the low end.
    const PreviewColours unit = unitDiscColours(0x1030, table);
    EXPECT_EQ(unit[0], rgbColour(0, 0, 0));
    EXPECT_EQ(unit[1], rgbColour(255, 255, 0));
    EXPECT_EQ(unit[2], rgbColour(0, 0, 0));
    EXPECT_EQ(unit[3], rgbColour(255, 255, 255));
    EXPECT_EQ(rgbOfDiscColours(table)[3], 0xFFFF00u);
    EXPECT_EQ(discColoursFromRgb(rgbOfDiscColours(table)), table);
    // Alphas in the same nibble order: 0xFFF0 leaves only number 0 unseen.
    EXPECT_TRUE(transparentNumber(0xFFF0, 0));
    EXPECT_FALSE(transparentNumber(0xFFF0, 1));
    EXPECT_TRUE(transparentNumber(0x0FFF, 3));
}

TEST(UnitTimes, DisplayFilterWantsAStartAndMoreThan200Ms) {
    SubPicture sp;
    sp.sequences.resize(2);
    sp.sequences[1].kind = SequenceKind::Stop;
    sp.sequences[1].delay = 150;
    EXPECT_FALSE(passesDisplayFilter(sp));
    sp.sequences[1].delay = 200;
    EXPECT_FALSE(passesDisplayFilter(sp));
    sp.sequences[1].delay = 201;
    EXPECT_TRUE(passesDisplayFilter(sp));
    sp.sequences[0].kind = SequenceKind::Stop;
    EXPECT_FALSE(passesDisplayFilter(sp));
    EXPECT_FALSE(passesDisplayFilter(SubPicture{}));
}

}  // namespace
}  // namespace orvane
