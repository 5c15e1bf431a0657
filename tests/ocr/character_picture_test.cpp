// What the new-character dialog draws around an unknown glyph: the line's
// baseline and x-height, the enlarged glyph, and which glyphs look like a
// piece of their neighbour.

#include <gtest/gtest.h>

#include "ocr/character_picture.h"

namespace orvane {
namespace {

CharBox box(int left, int top, int width, int height) {
    CharBox b;
    b.left = static_cast<uint16_t>(left);
    b.top = static_cast<uint16_t>(top);
    b.width = static_cast<uint16_t>(width);
    b.height = static_cast<uint16_t>(height);
    return b;
}

// "Hox,i" with the dot of the i cut apart: capital H (rows 0..19), x-height
// letters o and x (rows 8..19), a comma on the baseline, the i's stem and
// its dot above it, sharing its columns.
TextLine sampleLine() {
    TextLine line;
    const CharBox boxes[] = {box(0, 0, 10, 20), box(12, 8, 9, 12), box(23, 8, 9, 12),
                             box(34, 17, 3, 5), box(40, 8, 3, 12), box(40, 2, 3, 3)};
    for (const CharBox& b : boxes) line.chars[line.count++] = b;
    line.top = 0;
    line.bottom = 21;
    return line;
}

TEST(CharacterPicture, GuidesCloseUpAndPieces) {
    const TextLine line = sampleLine();
    const LineGuides g = lineGuides(line);
    EXPECT_EQ(g.baseline, 19);
    EXPECT_EQ(g.xHeightTop, 8);

    // The o, five times larger, over the line's rows with a margin of 2.
    Image24 painted(50, 24);
    painted.fill(0x000000);
    painted.fillRect(12, 8, 21, 20, 0x0000FF);
    const Image24 big = glyphCloseUp(painted, line, 2, 0x000000, 5);
    EXPECT_EQ(big.width(), (9 + 4) * 5);
    EXPECT_EQ(big.height(), (22 + 4) * 5);               // rows -2..23
    EXPECT_EQ(big.pixel(2 * 5 + 2, 12 * 5), 0x0000FFu);  // inside the o
    EXPECT_EQ(big.pixel(0, (19 + 1 + 2) * 5), kBaselineColour);
    EXPECT_EQ(big.pixel(0, (8 + 2) * 5), kXHeightColour);

    // The dot shares the stem's columns; the comma stands on the baseline.
    EXPECT_EQ(pieceOfNeighbour(line, 6), PieceOf::Before);
    EXPECT_EQ(pieceOfNeighbour(line, 5), PieceOf::After);
    EXPECT_EQ(pieceOfNeighbour(line, 4), PieceOf::None);
    EXPECT_EQ(pieceOfNeighbour(line, 2), PieceOf::None);

    // "H«..": the second stroke of the guillemet belongs to the first; the
    // round dots of the ellipsis do not.
    TextLine marks;
    for (const CharBox& b : {box(0, 0, 10, 20), box(12, 8, 5, 7), box(19, 8, 5, 7),
                             box(26, 16, 4, 4), box(32, 16, 4, 4)})
        marks.chars[marks.count++] = b;
    EXPECT_EQ(pieceOfNeighbour(marks, 2), PieceOf::None);
    EXPECT_EQ(pieceOfNeighbour(marks, 3), PieceOf::Before);
    EXPECT_EQ(pieceOfNeighbour(marks, 5), PieceOf::None);
}

}  // namespace
}  // namespace orvane
