#include "ocr/char_matrix.h"

#include <gtest/gtest.h>

#include "ocr/matrix_file_format.h"

namespace orvane {
namespace {

MatrixEntry entryWith(const std::string& text, uint8_t w = 10, uint8_t h = 12) {
    MatrixEntry e;
    e.text = text;
    e.width = w;
    e.height = h;
    e.relativeTop = 3;
    for (int r = 0; r < h; r += 2) e.glyph.set(r % w, r);
    return e;
}

TEST(CharMatrix, FileHoldsExactly280Plus277BytesPerEntry) {
    CharMatrix m;
    EXPECT_EQ(m.toBytes().size(), 280u);
    m.add(entryWith("a"));
    const auto one = m.toBytes();
    EXPECT_EQ(one.size(), 557u);
    EXPECT_EQ(std::string(one.begin(), one.begin() + 23), "Orvane_Char_Matrix_File");
    EXPECT_EQ(one[278], 1);
    EXPECT_EQ(one[279], 0);
    EXPECT_EQ(one[280], 3);   // relative top
    EXPECT_EQ(one[281], 10);  // width
    EXPECT_EQ(one[282], 12);  // height
    EXPECT_EQ(one[283], 'a');
    EXPECT_EQ(one[284], 0);
    for (int i = 0; i < 4; ++i) m.add(entryWith("x"));
    EXPECT_EQ(m.toBytes().size(), matrix_file::fileSize(5));
}

TEST(CharMatrix, GlyphBitsAreStoredAsOneRowMajorStream) {
    MatrixEntry e = entryWith("q", 45, 45);
    e.glyph = GlyphBits{};
    e.glyph.set(0, 0);    // bit 0 -> byte 0, 0x80
    e.glyph.set(9, 0);    // bit 9 -> byte 1, 0x40
    e.glyph.set(0, 1);    // bit 45 -> byte 5, 0x04
    e.glyph.set(44, 44);  // bit 2024 -> byte 253, 0x80
    CharMatrix m;
    m.add(e);
    const auto bytes = m.toBytes();
    const uint8_t* g = &bytes[280 + 23];
    EXPECT_EQ(g[0], 0x80);
    EXPECT_EQ(g[1], 0x40);
    EXPECT_EQ(g[5], 0x04);
    EXPECT_EQ(g[253], 0x80);
    int set = 0;
    for (int i = 0; i < 254; ++i) set += __builtin_popcount(g[i]);
    EXPECT_EQ(set, 4);
}

TEST(CharMatrix, FullFieldsAndFullGlyphsSurviveSaveAndLoad) {
    CharMatrix m;
    m.setComment(std::string(255, 'c'));
    MatrixEntry full = entryWith(std::string(20, 't'), 45, 45);
    for (int r = 0; r < 45; ++r)
        for (int c = 0; c < 45; ++c) full.glyph.set(c, r);
    m.add(full);
    m.add(entryWith("\xE9\xE8", 7, 30));
    m.add(entryWith("", 3, 3));  // an empty text: the glyph reads as nothing
    CharMatrix back;
    ASSERT_EQ(CharMatrix::fromBytes(m.toBytes(), back), CharMatrix::ParseResult::Ok);
    EXPECT_EQ(back.comment(), std::string(255, 'c'));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back.entry(1), m.entry(1));
    EXPECT_EQ(back.entry(1).glyph.count(), 2025);
    EXPECT_EQ(back.entry(2), m.entry(2));
    EXPECT_EQ(back.entry(3).text, "");
    EXPECT_EQ(back.toBytes(), m.toBytes());  // reloads byte-identical

    // Texts and comments past their fields are cut.
    m.setComment(std::string(300, 'x'));
    EXPECT_EQ(m.comment().size(), 255u);
    m.setText(1, std::string(25, 'y'));
    EXPECT_EQ(m.entry(1).text.size(), 20u);
}

TEST(CharMatrix, MagicIsComparedByteForByte) {
    CharMatrix m;
    m.add(entryWith("a"));
    auto bytes = m.toBytes();
    CharMatrix out;
    out.add(entryWith("keep"));
    auto lower = bytes;
    lower[0] = 'o';  // "orvane_..."
    EXPECT_EQ(CharMatrix::fromBytes(lower, out), CharMatrix::ParseResult::BadMagic);
    EXPECT_EQ(out.entry(1).text, "keep");
    auto cut = bytes;
    cut.resize(400);
    EXPECT_EQ(CharMatrix::fromBytes(cut, out), CharMatrix::ParseResult::Truncated);
    EXPECT_EQ(CharMatrix::fromBytes(std::span<const uint8_t>(bytes.data(), 10), out),
              CharMatrix::ParseResult::BadMagic);
    EXPECT_EQ(out.size(), 1u);
}

TEST(CharMatrix, DeleteMovesTheLastEntryIntoTheGap) {
    CharMatrix m;
    for (const char* t : {"1", "2", "3", "4", "5"}) m.add(entryWith(t));
    m.setModified(false);
    m.remove(2);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m.entry(1).text, "1");
    EXPECT_EQ(m.entry(2).text, "5");
    EXPECT_EQ(m.entry(3).text, "3");
    EXPECT_EQ(m.entry(4).text, "4");
    EXPECT_TRUE(m.modified());
    m.remove(4);
    EXPECT_EQ(m.size(), 3u);
    EXPECT_EQ(m.entry(3).text, "3");
    m.remove(0);
    m.remove(9);
    EXPECT_EQ(m.size(), 3u);
}

TEST(CharMatrix, HoldsAtMost65535Entries) {
    CharMatrix m;
    const MatrixEntry e = entryWith("z");
    for (size_t i = 0; i < CharMatrix::kMaxEntries; ++i) ASSERT_TRUE(m.add(e));
    EXPECT_FALSE(m.add(e));
    EXPECT_EQ(m.size(), 65535u);
    const auto bytes = m.toBytes();
    EXPECT_EQ(bytes[278], 0xFF);
    EXPECT_EQ(bytes[279], 0xFF);
}

}  // namespace
}  // namespace orvane
