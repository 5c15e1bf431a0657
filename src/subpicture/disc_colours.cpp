#include "subpicture/disc_colours.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

uint8_t clampByte(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Colour colourFromYCrCb(uint8_t y, uint8_t cr, uint8_t cb) {
    // Studio range: Y 16..235, Cr and Cb 16..240 around 128.
    const double l = 1.164383 * (y - 16);
    const double r = cr - 128.0, b = cb - 128.0;
    return rgbColour(clampByte(l + 1.596027 * r), clampByte(l - 0.812968 * r - 0.391762 * b),
                     clampByte(l + 2.017232 * b));
}

DiscColourTable discColoursFromYCrCb(const std::array<uint32_t, 16>& table) {
    DiscColourTable out{};
    for (size_t i = 0; i < out.size(); ++i) {
        const uint32_t e = table[i];
        out[i] = colourFromYCrCb(static_cast<uint8_t>(e >> 16), static_cast<uint8_t>(e >> 8),
                                 static_cast<uint8_t>(e));
    }
    return out;
}

DiscColourTable discColoursFromRgb(const std::array<uint32_t, 16>& table) {
    DiscColourTable out{};
    for (size_t i = 0; i < out.size(); ++i) {
        const uint32_t e = table[i];
        out[i] = rgbColour(static_cast<uint8_t>(e >> 16), static_cast<uint8_t>(e >> 8),
                           static_cast<uint8_t>(e));
    }
    return out;
}

std::array<uint32_t, 16> rgbOfDiscColours(const DiscColourTable& table) {
    std::array<uint32_t, 16> out{};
    for (size_t i = 0; i < out.size(); ++i) {
        const Colour c = table[i];
        out[i] = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    }
    return out;
}

PreviewColours unitDiscColours(uint16_t palette, const DiscColourTable& table) {
    PreviewColours out;
    for (size_t n = 0; n < 4; ++n) out.colour[n] = table[(palette >> (4 * n)) & 0xF];
    return out;
}

void paintInColours(const SubPicture& picture, const PreviewColours& colours, Image24& out) {
    const int w = picture.numbers.width(), h = picture.numbers.height();
    out.resize(w, h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* n = picture.numbers.row(y);
        for (int x = 0; x < w; ++x) out.setPixel(x, y, colours[n[x] & 3]);
    }
}

}  // namespace orvane
