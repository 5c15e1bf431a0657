#include "ocr/character_picture.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>

#include "ocr/line_assembly.h"
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

namespace {

int modeOf(const std::map<int, int>& counts, int fallback) {
    int best = fallback, bestCount = 0;
    for (const auto& [value, count] : counts) {
        if (count > bestCount) {
            best = value;
            bestCount = count;
        }
    }
    return best;
}

}  // namespace

LineGuides lineGuides(const TextLine& line) {
    LineGuides g;
    if (line.count == 0) return {line.bottom, line.top};
    std::map<int, int> bottoms;
    for (int i = 0; i < line.count; ++i) ++bottoms[line.chars[static_cast<size_t>(i)].bottom()];
    g.baseline = modeOf(bottoms, line.bottom);
    // The letters standing on the baseline; the shorter ones among them
    // (a, e, o beside capitals and ascenders) give the x-height.
    int tallest = 0;
    for (int i = 0; i < line.count; ++i) {
        const CharBox& c = line.chars[static_cast<size_t>(i)];
        if (std::abs(c.bottom() - g.baseline) <= 1) tallest = std::max(tallest, int{c.height});
    }
    std::map<int, int> shortTops, allTops;
    for (int i = 0; i < line.count; ++i) {
        const CharBox& c = line.chars[static_cast<size_t>(i)];
        if (std::abs(c.bottom() - g.baseline) > 1) continue;
        ++allTops[c.top];
        if (c.height * 5 <= tallest * 4) ++shortTops[c.top];
    }
    g.xHeightTop = shortTops.empty() ? modeOf(allTops, line.top) : modeOf(shortTops, line.top);
    return g;
}

Image24 glyphCloseUp(const Image24& painted, const TextLine& line, int j, Colour background,
                     int scale) {
    if (j < 1 || j > line.count || scale < 1) return {};
    const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
    constexpr int kMargin = 2;
    const int top = std::min(line.top, int{box.top}) - kMargin;
    const int bottom = std::max(line.bottom, box.bottom()) + kMargin;
    const int left = box.left - kMargin, right = box.right() + kMargin;
    const int w = right - left + 1, h = bottom - top + 1;
    Image24 out(w * scale, h * scale);
    out.fill(background);
    for (int y = 0; y < h; ++y) {
        const int sy = top + y;
        if (sy < 0 || sy >= painted.height()) continue;
        for (int x = 0; x < w; ++x) {
            const int sx = left + x;
            if (sx < 0 || sx >= painted.width()) continue;
            out.fillRect(x * scale, y * scale, (x + 1) * scale, (y + 1) * scale,
                         painted.pixel(sx, sy));
        }
    }
    // Guides on the pixel edges: under the baseline row, over the x-height row.
    const LineGuides g = lineGuides(line);
    // Two pixels thick at every scale that allows it, dashed so that the
    // letter shows through.
    const int thick = scale >= 4 ? 2 : 1;
    const auto guide = [&](int edge, Colour c) {
        const int y0 = std::clamp(edge * scale - thick / 2, 0, out.height() - thick);
        for (int y = y0; y < y0 + thick; ++y)
            for (int x = 0; x < out.width(); ++x)
                if (x % 6 < 4) out.setPixel(x, y, c);
    };
    guide(g.baseline + 1 - top, kBaselineColour);
    guide(g.xHeightTop - top, kXHeightColour);
    return out;
}

PieceOf pieceOfNeighbour(const TextLine& line, int j) {
    if (j < 1 || j > line.count) return PieceOf::None;
    const CharBox& c = line.chars[static_cast<size_t>(j - 1)];
    const LineGuides g = lineGuides(line);
    const int xHeight = std::max(1, g.baseline - g.xHeightTop + 1);
    // A small mark floating above the baseline: a dot or an accent; commas
    // and full stops stand on the baseline and are characters of their own.
    const bool small = c.height * 2 <= xHeight && c.bottom() < g.baseline - xHeight / 2;
    const auto joined = [&](const CharBox& n) {
        const int gap = n.left > c.right() ? n.left - c.right() - 1 : c.left - n.right() - 1;
        // Shared columns, or a floating mark right beside its neighbour.
        return gap < 0 || (small && gap <= 1);
    };
    if (j > 1 && joined(line.chars[static_cast<size_t>(j - 2)])) return PieceOf::Before;
    // The second stroke of a double mark (« " „) cut apart: the first stroke
    // is answered with the whole mark. Strokes stand taller than wide; the
    // round dots of an ellipsis are characters of their own.
    int tallest = 0;
    for (int k = 0; k < line.count; ++k)
        tallest = std::max(tallest, int{line.chars[static_cast<size_t>(k)].height});
    const bool stroke = c.height * 4 >= c.width * 5;
    if (j > 1 && stroke && likeStrokes(line.chars[static_cast<size_t>(j - 2)], c, tallest))
        return PieceOf::Before;
    if (j < line.count && joined(line.chars[static_cast<size_t>(j)])) return PieceOf::After;
    return PieceOf::None;
}

}  // namespace orvane
