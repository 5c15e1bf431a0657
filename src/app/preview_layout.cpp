#include "app/preview_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvane::preview {

Size frameSize(int zoom) {
    return {zoom * kFrameWidth / 1000 + 2 * kFrameInset,
            zoom * kFrameHeight / 1000 + 2 * kFrameInset};
}

Size backgroundSize(int zoom) {
    const Size f = frameSize(zoom);
    return {f.width - 2 * kFrameInset, f.height - 2 * kFrameInset};
}

int autoZoom(int windowWidth, int windowHeight) {
    const int zw = windowWidth <= kWindowExtraWidth
                       ? 1
                       : (windowWidth - kWindowExtraWidth) * 1000 / kFrameWidth;
    const int zh = windowHeight <= kWindowExtraHeight
                       ? 1
                       : (windowHeight - kWindowExtraHeight) * 1000 / kFrameHeight;
    // A window a few pixels over the limit would give 0, which would make
    // an empty frame; the zoom never drops below 1.
    return std::max(1, std::min(zw, zh));
}

int presetBandHeight(int preset) {
    switch (preset) {
        case 0:
            return 85;
        case 1:
            return 94;
        case 2:
            return 135;
        default:
            return 0;
    }
}

bool isBorderRow(int y, int bandHeight) {
    return y < bandHeight || y >= kFrameHeight - bandHeight;
}

Image24 bandedBackground(int bandHeight, Colour border, Colour inner) {
    Image24 img(kFrameWidth, kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y)
        img.fillRect(0, y, kFrameWidth, y + 1, isBorderRow(y, bandHeight) ? border : inner);
    return img;
}

std::string freeRatioText(int bandHeight, char decimalSeparator) {
    if (bandHeight >= kFrameHeight / 2) return "*";
    // Banker's rounding, as the platform's Round does: 72000 / 128 = 562.5
    // shows 5.62.
    const double exact = 72000.0 / (kFrameHeight - 2 * bandHeight);
    const auto hundredths = static_cast<int64_t>(std::nearbyint(exact));
    std::string text = std::to_string(hundredths / 100);
    int frac = static_cast<int>(hundredths % 100);
    if (frac != 0) {
        text += decimalSeparator;
        text += static_cast<char>('0' + frac / 10);
        if (frac % 10 != 0) text += static_cast<char>('0' + frac % 10);
    }
    return text + ":1";
}

Rect picturePlacement(int zoom, int pictureWidth, int pictureHeight, int x1, int y1,
                      bool atTruePosition) {
    Rect r;
    r.width = zoom == 1000 ? pictureWidth : zoom * pictureWidth / 1000;
    r.height = zoom == 1000 ? pictureHeight : zoom * pictureHeight / 1000;
    r.left = kFrameInset + (atTruePosition ? zoom * x1 / 1000 : 0);
    r.top = kFrameInset + (atTruePosition ? zoom * y1 / 1000 : 0);
    return r;
}

}  // namespace orvane::preview
