#pragma once

#include "ocr/segmentation.h"
#include "subpicture/image.h"

namespace orvane {

// The 150 x 50 picture of character j (1-based) inside its line, as the
// new-character dialog shows it: the line band around the character, in
// the mark colours, with a frame one pixel outside the character's box.
// Parts of the band outside the painted picture are background.
Image24 characterPicture(const Image24& painted, const TextLine& line, int j, Colour background);

// Rows of a line's baseline (the last row of most characters) and of the
// top of its small letters, in the painted picture's rows.
struct LineGuides {
    int baseline = 0;
    int xHeightTop = 0;
};
LineGuides lineGuides(const TextLine& line);

// Colours of the guide lines of glyphCloseUp.
inline constexpr Colour kBaselineColour = 0x00C000;
inline constexpr Colour kXHeightColour = 0x00B0E0;

// Character j alone, enlarged `scale` times, over the rows of its line, with
// the baseline drawn under the last row of the letters and the x-height over
// their top: what tells "l" from "I" and "," from "'".
Image24 glyphCloseUp(const Image24& painted, const TextLine& line, int j, Colour background,
                     int scale);

// Whether character j looks like a piece of a character next to it (the
// dot of an i, one stroke of a guillemet, a part of %): it shares columns
// with its neighbour, or it is a small mark standing right beside it.
enum class PieceOf { None, Before, After };
PieceOf pieceOfNeighbour(const TextLine& line, int j);

}  // namespace orvane
