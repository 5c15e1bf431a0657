#include "subpicture/image.h"

#include <cstring>

namespace orvane {

void Image24::resize(int width, int height) {
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
    const size_t need = byteSize();
    if (pixels_.size() < need) pixels_.resize(need);
}

void Image24::setHeight(int height) {
    resize(width_, height);
}

void Image24::fill(Colour c) {
    fillRect(0, 0, width_, height_, c);
}

void Image24::crop(int left, int top, int w, int h) {
    if (left < 0 || top < 0 || w <= 0 || h <= 0 || left + w > width_ || top + h > height_) return;
    // Each target row lies at or before its source row: a forward move.
    for (int y = 0; y < h; ++y) {
        std::memmove(&pixels_[static_cast<size_t>(y) * w * 3],
                     &pixels_[(static_cast<size_t>(y + top) * width_ + left) * 3],
                     static_cast<size_t>(w) * 3);
    }
    width_ = w;
    height_ = h;
}

void Image24::fillRect(int x1, int y1, int x2, int y2, Colour c) {
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_);
    y2 = std::min(y2, height_);
    if (x1 >= x2 || y1 >= y2) return;
    const uint8_t r = static_cast<uint8_t>(c), g = static_cast<uint8_t>(c >> 8),
                  b = static_cast<uint8_t>(c >> 16);
    if (r == g && g == b) {
        // Greys (all decoded pictures) fill byte-wise; whole rows at once.
        const size_t len = static_cast<size_t>(x2 - x1) * 3;
        if (x1 == 0 && x2 == width_) {
            std::memset(row(y1), r, len * static_cast<size_t>(y2 - y1));
        } else {
            for (int y = y1; y < y2; ++y) std::memset(row(y) + x1 * 3, r, len);
        }
        return;
    }
    for (int y = y1; y < y2; ++y) {
        uint8_t* p = row(y) + x1 * 3;
        for (int x = x1; x < x2; ++x, p += 3) {
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
    }
}

}  // namespace orvane
