#include "subpicture/image_ops.h"

#include <algorithm>
#include <cstring>

namespace orvane {

namespace {

template <class Image, class Value>
size_t floodFillOf(Image& image, int x, int y, Value paint, std::vector<uint32_t>& stack) {
    const int w = image.width(), h = image.height();
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    const Value seed = image.pixel(x, y);
    if (seed == paint) return 0;
    size_t painted = 0;
    stack.clear();
    stack.push_back(static_cast<uint32_t>(y) * static_cast<uint32_t>(w) + static_cast<uint32_t>(x));
    // Scanline fill: paint a whole run of a row, then queue the runs of the
    // rows above and below that touch it.
    while (!stack.empty()) {
        const uint32_t at = stack.back();
        stack.pop_back();
        const int py = static_cast<int>(at / static_cast<uint32_t>(w));
        int px = static_cast<int>(at % static_cast<uint32_t>(w));
        if (image.pixel(px, py) != seed) continue;
        int left = px;
        while (left > 0 && image.pixel(left - 1, py) == seed) --left;
        int right = px;
        while (right + 1 < w && image.pixel(right + 1, py) == seed) ++right;
        for (int i = left; i <= right; ++i) image.setPixel(i, py, paint);
        painted += static_cast<size_t>(right - left + 1);
        for (int ny : {py - 1, py + 1}) {
            if (ny < 0 || ny >= h) continue;
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool match = image.pixel(i, ny) == seed;
                if (match && !inRun) {
                    stack.push_back(static_cast<uint32_t>(ny) * static_cast<uint32_t>(w) +
                                    static_cast<uint32_t>(i));
                }
                inRun = match;
            }
        }
    }
    return painted;
}

}  // namespace

size_t floodFill(Image24& image, int x, int y, Colour paint, std::vector<uint32_t>& stack) {
    return floodFillOf(image, x, y, paint, stack);
}

size_t floodFill(Image8& image, int x, int y, uint8_t paint, std::vector<uint32_t>& stack) {
    // The same scanline fill on row pointers: the OCR's labels are filled
    // once per character.
    const int w = image.width(), h = image.height();
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    const uint8_t seed = image.pixel(x, y);
    if (seed == paint) return 0;
    size_t painted = 0;
    stack.clear();
    stack.push_back(static_cast<uint32_t>(y) * static_cast<uint32_t>(w) + static_cast<uint32_t>(x));
    while (!stack.empty()) {
        const uint32_t at = stack.back();
        stack.pop_back();
        const int py = static_cast<int>(at / static_cast<uint32_t>(w));
        const int px = static_cast<int>(at % static_cast<uint32_t>(w));
        uint8_t* row = image.row(py);
        if (row[px] != seed) continue;
        int left = px;
        while (left > 0 && row[left - 1] == seed) --left;
        int right = px;
        while (right + 1 < w && row[right + 1] == seed) ++right;
        std::memset(row + left, paint, static_cast<size_t>(right - left + 1));
        painted += static_cast<size_t>(right - left + 1);
        for (int ny : {py - 1, py + 1}) {
            if (ny < 0 || ny >= h) continue;
            const uint8_t* next = image.row(ny);
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool match = next[i] == seed;
                if (match && !inRun) {
                    stack.push_back(static_cast<uint32_t>(ny) * static_cast<uint32_t>(w) +
                                    static_cast<uint32_t>(i));
                }
                inRun = match;
            }
        }
    }
    return painted;
}

void frameRect(Image24& image, int left, int top, int right, int bottom, Colour colour) {
    if (right <= left || bottom <= top) return;
    for (int x = left; x < right; ++x) {
        if (x < 0 || x >= image.width()) continue;
        if (top >= 0 && top < image.height()) image.setPixel(x, top, colour);
        if (bottom - 1 >= 0 && bottom - 1 < image.height()) image.setPixel(x, bottom - 1, colour);
    }
    for (int y = top; y < bottom; ++y) {
        if (y < 0 || y >= image.height()) continue;
        if (left >= 0 && left < image.width()) image.setPixel(left, y, colour);
        if (right - 1 >= 0 && right - 1 < image.width()) image.setPixel(right - 1, y, colour);
    }
}

void copyBlock(const Image24& src, int sx, int sy, int w, int h, Image24& dst, int dx, int dy) {
    for (int r = 0; r < h; ++r) {
        const int ys = sy + r, yd = dy + r;
        if (ys < 0 || ys >= src.height() || yd < 0 || yd >= dst.height()) continue;
        int x0 = 0, x1 = w;
        x0 = std::max({x0, -sx, -dx});
        x1 = std::min({x1, src.width() - sx, dst.width() - dx});
        if (x0 >= x1) continue;
        std::memcpy(dst.row(yd) + (dx + x0) * 3, src.row(ys) + (sx + x0) * 3,
                    static_cast<size_t>(x1 - x0) * 3);
    }
}

}  // namespace orvane
