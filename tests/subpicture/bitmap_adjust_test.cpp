#include "subpicture/bitmap_adjust.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

namespace orvane {
namespace {

const PreviewColours kPreview;
const Colour kBack = kPreview[0];

// A decoded picture of background with one block of `colour` in it.
Image24 pictureWithBlock(int w, int h, int bx, int by, int bw, int bh,
                         Colour colour = kPreview[3]) {
    Image24 img(w, h);
    img.fill(kBack);
    img.fillRect(bx, by, bx + bw, by + bh, colour);
    return img;
}

// Where the block of non-background indices sits in an adjusted picture.
struct Box {
    int left = -1, top = -1, right = -1, bottom = -1;
};
Box textBox(const AdjustedPicture& p, uint8_t backgroundIndex) {
    Box b;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (p.index(x, y) == backgroundIndex) continue;
            if (b.top < 0) b.top = y;
            b.bottom = y;
            if (b.left < 0 || x < b.left) b.left = x;
            if (x > b.right) b.right = x;
        }
    return b;
}

BitmapExportSettings cropOnly() {
    BitmapExportSettings s;  // cropping on, positioning off by default
    return s;
}

const RoleColours kIdentityRoles = roleDisplayColours({0, 1, 2, 3}, kPreview);

TEST(CropStep, TextAreaIsCentredOnACanvasRoundedToTheMultiples) {
    // A 300 x 40 text area with the defaults (16 x 50, multiples 8 and 2).
    const Image24 pic = pictureWithBlock(400, 60, 30, 10, 300, 40);
    const DisplayArea area{100, 400, 499, 459};
    const AdjustResult r = adjustPicture(pic, area, cropOnly(), kIdentityRoles, kBack);
    EXPECT_EQ(r.picture.width, 304);
    EXPECT_EQ(r.picture.height, 50);
    const Box b = textBox(r.picture, 0);
    EXPECT_EQ(b.left, 2);  // tx
    EXPECT_EQ(b.top, 5);   // ty
    EXPECT_EQ(b.right, 301);
    EXPECT_EQ(b.bottom, 44);
    // The text keeps its screen position: 100 + 30 = 128 + 2.
    EXPECT_EQ(r.area, (DisplayArea{128, 405, 431, 454}));
}

TEST(CropStep, WidthsRoundUpToTheMultipleAndStopAtTheScreen) {
    for (const auto& [textWidth, expected] :
         std::vector<std::pair<int, int>>{{713, 720}, {720, 720}, {17, 24}, {16, 16}, {1, 16}}) {
        SCOPED_TRACE(textWidth);
        const Image24 pic = pictureWithBlock(720, 60, 0, 5, textWidth, 40);
        const AdjustResult r =
            adjustPicture(pic, {0, 500, 719, 559}, cropOnly(), kIdentityRoles, kBack);
        EXPECT_EQ(r.picture.width, expected);
        EXPECT_EQ(r.area.x2 - r.area.x1 + 1, expected);
        EXPECT_GE(r.area.x1, 0);
        EXPECT_LE(r.area.x2, 719);
    }
    // A height multiple that would pass 576 is held at 576.
    BitmapExportSettings s = cropOnly();
    s.cropping.minHeight = 575;
    s.cropping.heightMultiple = 32;
    const AdjustResult r = adjustPicture(pictureWithBlock(10, 10, 0, 0, 10, 10), {5, 5, 14, 14}, s,
                                         kIdentityRoles, kBack);
    EXPECT_EQ(r.picture.height, 576);
    EXPECT_EQ(r.area.y1, 0);
    EXPECT_EQ(r.area.y2, 575);
}

TEST(CropStep, ATextWiderThanTheScreenIsClippedNotOverrun) {
    // Malformed units can be wider than 720 columns.
    const Image24 pic = pictureWithBlock(900, 20, 0, 0, 900, 20);
    const AdjustResult r = adjustPicture(pic, {0, 0, 899, 19}, cropOnly(), kIdentityRoles, kBack);
    EXPECT_EQ(r.picture.width, 720);
    EXPECT_EQ(r.picture.height, 50);
    EXPECT_EQ(r.area.x1, 0);
    EXPECT_EQ(r.area.x2, 719);
    EXPECT_EQ(r.picture.index(719, 10), 3);  // the rest is cut off at the right
}

TEST(CropStep, ShiftMovesTheTextInsideTheCanvasButNotOnTheScreen) {
    BitmapExportSettings s = cropOnly();
    s.cropping.minWidth = 320;  // 10 columns of room each side of a 300-wide text
    const Image24 pic = pictureWithBlock(300, 40, 0, 0, 300, 40);
    const DisplayArea area{200, 450, 499, 489};
    const AdjustResult plain = adjustPicture(pic, area, s, kIdentityRoles, kBack);
    s.cropping.shiftX = 5;
    const AdjustResult shifted = adjustPicture(pic, area, s, kIdentityRoles, kBack);
    EXPECT_EQ(textBox(plain.picture, 0).left, 10);
    EXPECT_EQ(textBox(shifted.picture, 0).left, 5);
    EXPECT_EQ(shifted.area.x1, plain.area.x1 + 5);
    // On the screen the text stays where it was.
    EXPECT_EQ(shifted.area.x1 + 5, 200);
    EXPECT_EQ(plain.area.x1 + 10, 200);

    // A shift larger than the room stops at the canvas edge.
    s.cropping.shiftX = 50;
    EXPECT_EQ(textBox(adjustPicture(pic, area, s, kIdentityRoles, kBack).picture, 0).left, 0);
    s.cropping.shiftX = -50;
    EXPECT_EQ(textBox(adjustPicture(pic, area, s, kIdentityRoles, kBack).picture, 0).left, 20);
}

TEST(CropStep, AlignmentPlacesTheTextInAWiderAndTallerCanvas) {
    BitmapExportSettings s = cropOnly();
    s.cropping.minWidth = 41;   // 41 rounds up to 48: room 8
    s.cropping.minHeight = 21;  // 21 rounds up to 22: room 12
    const Image24 pic = pictureWithBlock(40, 10, 0, 0, 40, 10);
    const DisplayArea area{300, 300, 339, 309};
    struct Case {
        uint8_t ax, ay;
        int left, top;
    };
    for (const Case c : {Case{0, 0, 0, 0}, Case{1, 1, 4, 6}, Case{2, 2, 8, 12}}) {
        s.cropping.alignX = c.ax;
        s.cropping.alignY = c.ay;
        const AdjustResult r = adjustPicture(pic, area, s, kIdentityRoles, kBack);
        ASSERT_EQ(r.picture.width, 48);
        ASSERT_EQ(r.picture.height, 22);
        EXPECT_EQ(textBox(r.picture, 0).left, c.left);
        EXPECT_EQ(textBox(r.picture, 0).top, c.top);
        EXPECT_EQ(r.area.x1 + c.left, 300);
        EXPECT_EQ(r.area.y1 + c.top, 300);
    }
}

TEST(CropStep, ACanvasPastAScreenEdgeIsPulledBackAndTheTextMovesInside) {
    // Left and top edges: the canvas would start at -10 and -5.
    BitmapExportSettings s = cropOnly();
    s.cropping.minWidth = 320;
    s.cropping.minHeight = 50;
    const Image24 pic = pictureWithBlock(300, 40, 0, 0, 300, 40);
    AdjustResult r = adjustPicture(pic, {0, 0, 299, 39}, s, kIdentityRoles, kBack);
    EXPECT_EQ(r.area, (DisplayArea{0, 0, 319, 49}));
    EXPECT_EQ(textBox(r.picture, 0).left, 0);
    EXPECT_EQ(textBox(r.picture, 0).top, 0);
    // Right and bottom edges.
    r = adjustPicture(pic, {420, 536, 719, 575}, s, kIdentityRoles, kBack);
    EXPECT_EQ(r.area, (DisplayArea{400, 526, 719, 575}));
    EXPECT_EQ(textBox(r.picture, 0).left, 20);
    EXPECT_EQ(textBox(r.picture, 0).top, 10);
}

TEST(CropStep, APictureWithoutTextKeepsItsWholeSize) {
    Image24 pic(30, 8);
    pic.fill(kBack);
    const AdjustResult r =
        adjustPicture(pic, {100, 100, 129, 107}, cropOnly(), kIdentityRoles, kBack);
    // 30 x 8 on a 32 x 50 canvas, placed from (0, 0) of the picture.
    EXPECT_EQ(r.picture.width, 32);
    EXPECT_EQ(r.picture.height, 50);
    EXPECT_EQ(r.area, (DisplayArea{99, 79, 130, 128}));
}

TEST(Positioning, ModesAndShiftsKeepThePictureOnTheScreen) {
    BitmapPositioning p;
    p.enabled = true;
    const DisplayArea ntsc{100, 400, 139, 449};  // a 40 x 50 picture on 480-line material
    p.topMode = 2;
    EXPECT_EQ(positioningStep(ntsc, 40, 50, p), (DisplayArea{100, 526, 139, 575}));
    p.topMode = 0;
    p.leftMode = 3;
    p.leftValue = 700;
    EXPECT_EQ(positioningStep(ntsc, 40, 50, p).x1, 680);
    p.leftMode = 1;
    p.topMode = 1;
    EXPECT_EQ(positioningStep(ntsc, 41, 51, p), (DisplayArea{339, 262, 379, 312}));
    p.leftMode = 2;
    p.leftShift = -20;
    p.topMode = 3;
    p.topValue = 10;
    p.topShift = -30;
    EXPECT_EQ(positioningStep(ntsc, 40, 50, p), (DisplayArea{660, 0, 699, 49}));
}

TEST(Positioning, ChangesOnlyTheRectangleNotThePicture) {
    BitmapExportSettings s = cropOnly();
    const Image24 pic = pictureWithBlock(120, 30, 10, 5, 100, 20);
    const DisplayArea area{50, 60, 169, 89};
    const AdjustResult without = adjustPicture(pic, area, s, kIdentityRoles, kBack);
    s.positioning.enabled = true;
    s.positioning.leftMode = 1;
    s.positioning.topMode = 2;
    const AdjustResult with = adjustPicture(pic, area, s, kIdentityRoles, kBack);
    EXPECT_EQ(with.picture.pixels, without.picture.pixels);
    EXPECT_EQ(with.area, (DisplayArea{308, 526, 411, 575}));  // 104 x 50
}

TEST(Conversion, PixelsTakeThePaletteIndexOfTheirRole) {
    // Colour numbers: 0 background, 3 text body, 2 outline, 1 antialiasing.
    Image24 pic(4, 1);
    for (int x = 0; x < 4; ++x) pic.setPixel(x, 0, kPreview[static_cast<size_t>(x)]);
    BitmapExportSettings s;
    s.cropping.enabled = false;
    s.colours.preset = PalettePreset::Free;
    s.colours.paletteIndex = {5, 9, 0, 15};
    const RoleColours roles = roleDisplayColours({0, 3, 2, 1}, kPreview);
    const AdjustResult r = adjustPicture(pic, {0, 0, 3, 0}, s, roles, kBack);
    ASSERT_EQ(r.picture.width, 4);
    // Number 0 -> background (5), 1 -> antialiasing (15), 2 -> outline (0), 3 -> font (9).
    EXPECT_EQ(r.picture.pixels, (std::vector<uint8_t>{5, 15, 0, 9}));
    EXPECT_EQ(r.picture.bitsPerPixel, 4);
    EXPECT_EQ(r.picture.palette[9], s.colours.roleColour[1]);
    EXPECT_EQ(r.picture.palette[1], s.colours.unusedColour);
    // The preview shows the role colours.
    const Image24 shown = toImage24(r.picture);
    EXPECT_EQ(shown.pixel(3, 0), s.colours.roleColour[1]);
    EXPECT_EQ(shown.pixel(1, 0), s.colours.roleColour[3]);
}

TEST(Palette, SharedIndicesGoToTheHighestRoleAndTheRestIsUnused) {
    BitmapColours c;
    c.roleColour = {0x111111, 0x222222, 0x333333, 0x444444};
    c.unusedColour = 0x0000FF;
    c.paletteIndex = {2, 7, 2, 15};
    const auto p = exportPalette(c);
    EXPECT_EQ(p[2], 0x333333u);
    EXPECT_EQ(p[7], 0x222222u);
    EXPECT_EQ(p[15], 0x444444u);
    for (size_t i : {0u, 1u, 3u, 14u}) EXPECT_EQ(p[i], 0x0000FFu) << i;
}

TEST(Palette, PresetsFixIndicesAndDepthFreeKeepsThem) {
    BitmapColours c;
    c.paletteIndex = {4, 3, 2, 1};
    c.bitsPerPixel = 8;
    c.preset = PalettePreset::Free;
    applyPalettePreset(c);
    EXPECT_EQ(c.paletteIndex, (std::array<uint8_t, 4>{4, 3, 2, 1}));
    EXPECT_EQ(c.bitsPerPixel, 8);
    c.preset = PalettePreset::IAuthor;
    applyPalettePreset(c);
    EXPECT_EQ(c.paletteIndex, (std::array<uint8_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(c.bitsPerPixel, 4);
    c.paletteIndex = {4, 3, 2, 1};
    c.preset = PalettePreset::Philips;
    applyPalettePreset(c);
    EXPECT_EQ(c.paletteIndex, (std::array<uint8_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(c.bitsPerPixel, 8);
}

TEST(ColourBoxes, ChoosingAnotherRolesNumberSwapsTheTwo) {
    // Background on 0 and Font on 1; choosing 0 for Font gives Background 1.
    EXPECT_EQ(changeRoleNumber({0, 1, 2, 3}, 1, 0), (ColourRanking{1, 0, 2, 3}));
    EXPECT_EQ(changeRoleNumber({0, 1, 3, 2}, 3, 1), (ColourRanking{0, 2, 3, 1}));
    // The same number again changes nothing.
    EXPECT_EQ(changeRoleNumber({2, 0, 3, 1}, 2, 3), (ColourRanking{2, 0, 3, 1}));
    // Out of range choices are ignored.
    EXPECT_EQ(changeRoleNumber({0, 1, 2, 3}, 1, 4), (ColourRanking{0, 1, 2, 3}));
    EXPECT_EQ(changeRoleNumber({0, 1, 2, 3}, 4, 0), (ColourRanking{0, 1, 2, 3}));
    // Every choice from every permutation keeps a permutation.
    ColourRanking r{0, 1, 2, 3};
    do {
        for (int role = 0; role < 4; ++role)
            for (uint8_t v = 0; v < 4; ++v) {
                ColourRanking out = changeRoleNumber(r, role, v);
                EXPECT_EQ(out[static_cast<size_t>(role)], v);
                ColourRanking sorted = out;
                std::sort(sorted.begin(), sorted.end());
                EXPECT_EQ(sorted, (ColourRanking{0, 1, 2, 3}));
            }
    } while (std::next_permutation(r.begin(), r.end()));
}

TEST(ColourBoxes, APaletteIndexMayBeUsedByOneRoleOnly) {
    BitmapColours c;
    c.paletteIndex = {0, 1, 2, 3};
    EXPECT_FALSE(paletteIndexFree(c, 0));
    EXPECT_FALSE(paletteIndexFree(c, 3));
    EXPECT_TRUE(paletteIndexFree(c, 4));
    EXPECT_TRUE(paletteIndexFree(c, 15));
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

// Random pictures, rectangles and settings (also values no dialog would
// produce, as a hand-edited profile may hold): the adjustment never reads
// or writes outside its images, and its results keep their promises.
TEST(AdjustPicture, RandomInputsKeepTheOutputConsistent) {
    std::mt19937 rng(20240611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int32_t extremes[] = {0,   1,   -1,   719,    720,       721,
                                575, 576, -720, 100000, INT32_MIN, INT32_MAX};
    auto wild = [&]() { return pick(0, 3) == 0 ? extremes[pick(0, 11)] : pick(-800, 800); };
    for (int round = 0; round < 400; ++round) {
        const int w = pick(0, 3) == 0 ? pick(700, 760) : pick(1, 80);
        const int h = pick(0, 3) == 0 ? pick(560, 600) : pick(1, 60);
        Image24 pic(w, h);
        pic.fill(kBack);
        for (int n = pick(0, 6); n > 0; --n) {
            const int x = pick(0, w - 1), y = pick(0, h - 1);
            pic.fillRect(x, y, x + pick(1, 40), y + pick(1, 20),
                         kPreview[static_cast<size_t>(pick(1, 3))]);
        }
        const int x1 = pick(0, 719), y1 = pick(0, 575);
        const DisplayArea area{x1, y1, x1 + w - 1, y1 + h - 1};
        BitmapExportSettings s;
        s.cropping.enabled = pick(0, 3) != 0;
        s.cropping.minWidth = static_cast<uint16_t>(pick(0, 1) ? pick(0, 720) : pick(0, 65535));
        s.cropping.minHeight = static_cast<uint16_t>(pick(0, 1) ? pick(0, 576) : pick(0, 65535));
        s.cropping.widthMultiple = static_cast<uint16_t>(pick(0, 33));
        s.cropping.heightMultiple = static_cast<uint16_t>(pick(0, 33));
        s.cropping.alignX = static_cast<uint8_t>(pick(0, 4));
        s.cropping.alignY = static_cast<uint8_t>(pick(0, 4));
        s.cropping.shiftX = wild();
        s.cropping.shiftY = wild();
        s.colours.bitsPerPixel = pick(0, 1) ? 8 : 4;
        for (auto& i : s.colours.paletteIndex) i = static_cast<uint8_t>(pick(0, 255));
        s.positioning.enabled = pick(0, 1) != 0;
        s.positioning.leftMode = static_cast<uint8_t>(pick(0, 5));
        s.positioning.topMode = static_cast<uint8_t>(pick(0, 5));
        s.positioning.leftValue = wild();
        s.positioning.topValue = wild();
        s.positioning.leftShift = wild();
        s.positioning.topShift = wild();
        ColourRanking roles{0, 1, 2, 3};
        std::shuffle(roles.begin(), roles.end(), rng);

        const AdjustResult r =
            adjustPicture(pic, area, s, roleDisplayColours(roles, kPreview), kBack);
        SCOPED_TRACE(round);
        ASSERT_EQ(r.picture.pixels.size(), static_cast<size_t>(r.picture.width) * r.picture.height);
        for (uint8_t v : r.picture.pixels) ASSERT_LT(v, 16);
        EXPECT_EQ(r.area.x2 - r.area.x1 + 1, r.picture.width);
        EXPECT_EQ(r.area.y2 - r.area.y1 + 1, r.picture.height);
        if (s.cropping.enabled) {
            EXPECT_LE(r.picture.width, 720);
            EXPECT_LE(r.picture.height, 576);
        } else {
            EXPECT_EQ(r.picture.width, w);
            EXPECT_EQ(r.picture.height, h);
        }
        // A picture that fits on the screen ends up on it.
        if (r.picture.width <= 720 && (s.cropping.enabled || s.positioning.enabled)) {
            EXPECT_GE(r.area.x1, 0);
            EXPECT_LE(r.area.x2, 719);
        }
        if (r.picture.height <= 576 && (s.cropping.enabled || s.positioning.enabled)) {
            EXPECT_GE(r.area.y1, 0);
            EXPECT_LE(r.area.y2, 575);
        }
    }
}

}  // namespace
}  // namespace orvane
