#include "subpicture/bitmap_adjust.h"

#include <algorithm>
#include <optional>

#include "subpicture/image_ops.h"

namespace orvane {

namespace {

struct Bounds {
    int left, top, right, bottom;  // inclusive
};

// The smallest rectangle holding every pixel that differs from `background`.
std::optional<Bounds> contentBounds(const Image24& image, Colour background) {
    int top = -1, bottom = -1, left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background) continue;
            if (top < 0) top = y;
            bottom = y;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    if (top < 0) return std::nullopt;
    return Bounds{left, top, right, bottom};
}

// Rounds up to a multiple; a multiple of 0 (a hand-edited profile) counts as 1.
int64_t roundUp(int64_t size, uint16_t multiple) {
    if (multiple == 0 || size % multiple == 0) return size;
    return (size / multiple + 1) * multiple;
}

int64_t alignedOffset(uint8_t mode, int64_t room) {
    switch (mode) {
        case 0:
            return 0;
        case 2:
            return room;
        default:
            return room / 2;  // C++ division truncates toward zero
    }
}

// Offset minus shift, kept inside 0..room. A text wider than the canvas
// (room < 0) is clipped by the copy onto the canvas.
int64_t shiftedOffset(int64_t offset, int32_t shift, int64_t room) {
    offset -= shift;
    if (offset < 0) return 0;
    if (offset > room) return room;
    return offset;
}

int64_t placeEdge(uint8_t mode, int64_t keep, int32_t value, int screen, int size) {
    switch (mode) {
        case 1:
            return (int64_t{screen} - size) / 2;
        case 2:
            return int64_t{screen} - size;
        case 3:
            return value;
        default:
            return keep;
    }
}

}  // namespace

void cropStep(Image24& image, DisplayArea& area, const BitmapCropping& c, Colour background) {
    int64_t ox = 0, oy = 0;
    if (const auto b = contentBounds(image, background)) {
        ox = b->left;
        oy = b->top;
        image.crop(b->left, b->top, b->right - b->left + 1, b->bottom - b->top + 1);
    }
    const int64_t w = image.width();
    const int64_t h = image.height();

    // Compared as the 16-bit values the sizes are held in.
    int64_t cw = std::max<uint16_t>(static_cast<uint16_t>(w), c.minWidth);
    int64_t ch = std::max<uint16_t>(static_cast<uint16_t>(h), c.minHeight);
    cw = std::min<int64_t>(roundUp(cw, c.widthMultiple), kExportScreenWidth);
    ch = std::min<int64_t>(roundUp(ch, c.heightMultiple), kExportScreenHeight);

    int64_t tx = shiftedOffset(alignedOffset(c.alignX, cw - w), c.shiftX, cw - w);
    int64_t ty = shiftedOffset(alignedOffset(c.alignY, ch - h), c.shiftY, ch - h);

    // The canvas goes where the text stays put, pulled back onto the screen;
    // the text then moves inside the canvas by what the canvas moved.
    int64_t x1 = area.x1 + ox - tx;
    int64_t y1 = area.y1 + oy - ty;
    if (x1 < 0) {
        tx += x1;
        x1 = 0;
    }
    if (y1 < 0) {
        ty += y1;
        y1 = 0;
    }
    if (x1 + cw > kExportScreenWidth) {
        tx += x1 + cw - kExportScreenWidth;
        x1 = kExportScreenWidth - cw;
    }
    if (y1 + ch > kExportScreenHeight) {
        ty += y1 + ch - kExportScreenHeight;
        y1 = kExportScreenHeight - ch;
    }
    area = DisplayArea{static_cast<int32_t>(x1), static_cast<int32_t>(y1),
                       static_cast<int32_t>(x1 + cw - 1), static_cast<int32_t>(y1 + ch - 1)};

    Image24 canvas(static_cast<int>(cw), static_cast<int>(ch));
    canvas.fill(background);
    // Parts of the text outside the canvas are left out.
    copyBlock(image, 0, 0, static_cast<int>(w), static_cast<int>(h), canvas, static_cast<int>(tx),
              static_cast<int>(ty));
    image = std::move(canvas);
}

DisplayArea positioningStep(const DisplayArea& area, int w, int h, const BitmapPositioning& p) {
    int64_t x1 = placeEdge(p.leftMode, area.x1, p.leftValue, kExportScreenWidth, w);
    int64_t y1 = placeEdge(p.topMode, area.y1, p.topValue, kExportScreenHeight, h);
    x1 += p.leftShift;
    y1 += p.topShift;
    if (x1 < 0) x1 = 0;
    if (x1 + w > kExportScreenWidth) x1 = int64_t{kExportScreenWidth} - w;
    if (y1 < 0) y1 = 0;
    if (y1 + h > kExportScreenHeight) y1 = int64_t{kExportScreenHeight} - h;
    return DisplayArea{static_cast<int32_t>(x1), static_cast<int32_t>(y1),
                       static_cast<int32_t>(x1 + w - 1), static_cast<int32_t>(y1 + h - 1)};
}

AdjustResult adjustPicture(const Image24& picture, const DisplayArea& area,
                           const BitmapExportSettings& settings, const RoleColours& roles,
                           Colour background) {
    AdjustResult result;
    result.area = area;
    Image24 work = picture;
    if (settings.cropping.enabled) cropStep(work, result.area, settings.cropping, background);

    AdjustedPicture& out = result.picture;
    const BitmapColours& colours = settings.colours;
    out.width = work.width();
    out.height = work.height();
    out.bitsPerPixel = colours.bitsPerPixel == 8 ? 8 : 4;
    out.palette = exportPalette(colours);
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    std::array<uint8_t, kRoleCount> value{};
    for (int r = 0; r < kRoleCount; ++r) value[r] = colours.paletteIndex[r] & 0x0Fu;
    size_t at = 0;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const Colour c = work.pixel(x, y);
            // The first role whose display colour matches; a pixel of no
            // role's colour (never in a decoded picture) counts as background.
            int role = 0;
            while (role < kRoleCount && roles[role] != c) ++role;
            out.pixels[at++] = value[role < kRoleCount ? role : 0];
        }
    }

    if (settings.positioning.enabled) {
        result.area = positioningStep(result.area, out.width, out.height, settings.positioning);
    }
    return result;
}

Image24 toImage24(const AdjustedPicture& picture) {
    Image24 image(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            image.setPixel(x, y, picture.palette[picture.index(x, y) & 0x0Fu]);
        }
    }
    return image;
}

}  // namespace orvane
