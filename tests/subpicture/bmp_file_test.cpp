#include "subpicture/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "common/io_error.h"
#include "subpicture/bitmap_adjust.h"
#include "support/bmp_reader.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

using test::BmpProbe;

// A picture whose indices differ from pixel to pixel, so that any swap of
// nibbles, rows or columns shows.
AdjustedPicture sample(int w, int h, uint8_t bits) {
    AdjustedPicture p;
    p.width = w;
    p.height = h;
    p.bitsPerPixel = bits;
    for (size_t i = 0; i < p.palette.size(); ++i)
        p.palette[i] = rgbColour(static_cast<uint8_t>(0x10 * i), static_cast<uint8_t>(0xFF - i),
                                 static_cast<uint8_t>(i * 3 + 1));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.pixels.push_back(static_cast<uint8_t>((x * 3 + y * 5) % 16));
    return p;
}

// 0x00BBGGRR -> 0xRRGGBB as the reader prints it.
uint32_t rgb(Colour c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

void expectReadBack(const AdjustedPicture& p, const BmpProbe& probe) {
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.width, p.width);
    EXPECT_EQ(probe.height, p.height);
    EXPECT_EQ(probe.bits, p.bitsPerPixel);
    EXPECT_TRUE(probe.bottomUp);
    ASSERT_EQ(probe.palette.size(), 16u);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(probe.palette[i], rgb(p.palette[i])) << "entry " << i;
    ASSERT_EQ(probe.rows.size(), static_cast<size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
        ASSERT_EQ(probe.rows[y].size(), static_cast<size_t>(p.width));
        for (int x = 0; x < p.width; ++x)
            EXPECT_EQ(probe.rows[y][x], p.index(x, y)) << "pixel " << x << "," << y;
    }
}

TEST(BmpFile, AnIndependentReaderSeesSizeDepthPaletteAndPixels) {
    test::TempDir dir;
    // Odd widths exercise the row padding and the half-filled last byte.
    for (const auto& [w, h, bits] : std::vector<std::tuple<int, int, uint8_t>>{
             {1, 1, 4}, {5, 3, 4}, {8, 2, 4}, {13, 7, 4}, {1, 1, 8}, {5, 3, 8}, {13, 7, 8}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " " + std::to_string(bits));
        const AdjustedPicture p = sample(w, h, bits);
        const std::string path = dir.file("p.bmp");
        saveBmpFile(path, p);
        expectReadBack(p, test::probeBmp(path));
        if (test::imageMagickPresent()) {
            EXPECT_EQ(test::identify(path),
                      std::to_string(w) + " " + std::to_string(h) + " PseudoClass");
        }
    }
}

TEST(BmpFile, FourBitRowsHoldTheLeftPixelInTheHighNibbleBottomRowFirst) {
    AdjustedPicture p;
    p.width = 3;
    p.height = 2;
    p.bitsPerPixel = 4;
    p.palette.fill(0x00FF8040);  // blue FF, green 80, red 40
    p.palette[1] = 0x00123456;
    p.pixels = {1, 2, 3,   // top row
                4, 5, 6};  // bottom row
    const std::vector<uint8_t> bytes = encodeBmp(p);
    ASSERT_EQ(bytes.size(), 14u + 40 + 64 + 2 * 4);
    const std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 54);
    const std::vector<uint8_t> expectedHeader{
        'B',  'M',  126, 0, 0,    0,    0, 0, 0, 0, 118, 0, 0, 0,  // file header
        40,   0,    0,   0, 3,    0,    0, 0, 2, 0, 0,   0, 1, 0,
        4,    0,                                // size, width, height, planes, bits
        0,    0,    0,   0, 8,    0,    0, 0,   // no compression, 8 bytes of pixels
        0x13, 0x0B, 0,   0, 0x13, 0x0B, 0, 0,   // 72 dpi
        16,   0,    0,   0, 0,    0,    0, 0};  // 16 colours used, all important
    EXPECT_EQ(header, expectedHeader);
    // Palette entries are blue, green, red, 0.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 54, bytes.begin() + 62),
              (std::vector<uint8_t>{0xFF, 0x80, 0x40, 0, 0x12, 0x34, 0x56, 0}));
    // Bottom row first, each padded to 4 bytes.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 118, bytes.end()),
              (std::vector<uint8_t>{0x45, 0x60, 0, 0, 0x12, 0x30, 0, 0}));
}

TEST(BmpFile, AFailedWriteIsRaisedWithThePath) {
    test::TempDir dir;
    const std::string path = dir.file("missing/folder/x.bmp");
    try {
        saveBmpFile(path, sample(2, 2, 4));
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_FALSE(e.systemMessage().empty());
    }
}

TEST(BmpFile, AdjustedPhilipsPictureHasIndicesZeroToThreeAndUnusedEntries) {
    // Preset Philips: 8 bits, indices 0..3, the other palette entries unused.
    test::TempDir dir;
    const PreviewColours preview;
    Image24 pic(6, 2);
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 2; ++y) pic.setPixel(x, y, preview[static_cast<size_t>((x + y) % 4)]);
    BitmapExportSettings s;
    s.cropping.enabled = false;
    s.colours.preset = PalettePreset::Philips;
    s.colours.paletteIndex = {7, 8, 9, 10};
    s.colours.unusedColour = 0x00ABCDEF;
    applyPalettePreset(s.colours);
    const AdjustResult r =
        adjustPicture(pic, {0, 0, 5, 1}, s, roleDisplayColours({0, 1, 2, 3}, preview), preview[0]);
    saveBmpFile(dir.file("ph.bmp"), r.picture);
    const BmpProbe probe = test::probeBmp(dir.file("ph.bmp"));
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.bits, 8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(probe.rows[y][x], (x + y) % 4);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(probe.palette[i], rgb(s.colours.roleColour[i]));
    for (size_t i = 4; i < 16; ++i) EXPECT_EQ(probe.palette[i], 0xEFCDABu) << i;
}

}  // namespace
}  // namespace orvane
