#pragma once

#include "ocr/segmentation.h"
#include "subpicture/image.h"

namespace orvane {

// The 150 x 50 picture of character j (1-based) inside its line, as the
// new-character dialog shows it: the line band around the character, in
// the mark colours, with a frame one pixel outside the character's box.
// Parts of the band outside the painted picture are background.
Image24 characterPicture(const Image24& painted, const TextLine& line, int j, Colour background);

}  // namespace orvane
