#pragma once

#include <array>
#include <cstdint>

#include "subpicture/image.h"
#include "subpicture/spu_decoder.h"

namespace orvane {

// Colour numbers by role: [0] background (most frequent), [1] the guessed
// text colour, [2] and [3] the others.
using ColourRanking = std::array<uint8_t, 4>;

// Counts the colours of a decoded picture, sorts them by count (stable) and
// swaps the first colour met from the top out of second place: scanning
// from the top meets the outline of outlined letters first.
ColourRanking autoDetectColours(const Image24& picture, const PreviewColours& colours);

// The picture with the chosen colour white and the three others black, as
// the font colour dialog shows it. A pixel of no preview colour takes the
// target of the pixel before it (black for the first).
Image24 recolourForTextChoice(const Image24& picture, const PreviewColours& colours,
                              uint8_t textNumber);

// A choice of the text colour for front ends without the dialog, right
// where the proposal above needs a person (outlines that outnumber the
// letters, or the background): the background is the colour of most of the
// picture's border; the text is the colour lying deepest inside the shapes,
// furthest from the background on average, as the body of outlined or
// antialiased letters does. Returns 255 for a picture of one colour.
uint8_t robustTextColour(const Image24& picture, const PreviewColours& colours);

// The roles of the BMP export chosen as robustly: [0] the background of the
// border, [1] the text as robustTextColour, [2] the outline (the more
// frequent of the other two inside the shapes), [3] the last. Falls back
// to autoDetectColours for a picture of one colour.
ColourRanking robustColourRoles(const Image24& picture, const PreviewColours& colours);

// What the font colour dialog proposes: the ranking of autoDetectColours
// with the robust choice above brought to second place (the detector's
// guess is the background or an outline on dense or outlined text).
ColourRanking proposeTextColours(const Image24& picture, const PreviewColours& colours);

}  // namespace orvane
