#include "ocr/character_picture.h"

#include <algorithm>
#include <climits>

#include "subpicture/image_ops.h"

namespace orvane {

Image24 characterPicture(const Image24& painted, const TextLine& line, int j, Colour background) {
    constexpr int kW = 150, kH = 50;
    Image24 pic(kW, kH);
    pic.fill(background);
    if (j < 1 || j > line.count) return pic;
    const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
    const int xOff = box.width < kW ? (kW - box.width) / 2 : 0;
    // The band's top is a character standing on the line's top row; when
    // the piece there was dropped, the highest character.
    int lineTop = -1;
    int lowestTop = INT32_MAX;
    int lineBottom = 0;
    for (int i = 0; i < line.count; ++i) {
        const CharBox& c = line.chars[static_cast<size_t>(i)];
        if (c.relativeTop == 0) lineTop = c.top;
        lowestTop = std::min(lowestTop, int{c.top});
        lineBottom = std::max(lineBottom, int{c.top} + int{c.height});
    }
    if (lineTop < 0) lineTop = lowestTop;
    const int rows = lineBottom - lineTop + 1;
    const int yOff = (kH - rows) / 2;
    copyBlock(painted, box.left - xOff, lineTop, kW, rows, pic, 0, yOff);
    frameRect(pic, xOff - 1, yOff + box.relativeTop - 1, xOff + box.width + 1,
              yOff + box.relativeTop + box.height + 1, kCharFrameColour);
    return pic;
}

}  // namespace orvane
