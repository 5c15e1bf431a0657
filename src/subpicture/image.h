#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orvane {

// Colours are 0x00BBGGRR, red in the low byte.
using Colour = uint32_t;

inline constexpr Colour rgbColour(uint8_t r, uint8_t g, uint8_t b) {
    return Colour{r} | (Colour{g} << 8) | (Colour{b} << 16);
}

// A 24-bit working picture: three bytes per pixel (red, green, blue), rows
// top to bottom without padding. Resizing keeps the allocation when it can.
class Image24 {
  public:
    Image24() = default;
    Image24(int width, int height) { resize(width, height); }

    void resize(int width, int height);
    // Changes the height only, keeping the rows that remain.
    void setHeight(int height);
    void fill(Colour c);
    // Keeps the w x h block at (left, top), moved to the origin; the block
    // must lie inside the image.
    void crop(int left, int top, int w, int h);
    void fillRect(int x1, int y1, int x2, int y2, Colour c);  // x2, y2 exclusive, clipped

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    Colour pixel(int x, int y) const {
        const uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
        return rgbColour(p[0], p[1], p[2]);
    }
    void setPixel(int x, int y, Colour c) {
        uint8_t* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 3];
        p[0] = static_cast<uint8_t>(c);
        p[1] = static_cast<uint8_t>(c >> 8);
        p[2] = static_cast<uint8_t>(c >> 16);
    }
    uint8_t* row(int y) { return &pixels_[static_cast<size_t>(y) * width_ * 3]; }
    const uint8_t* row(int y) const { return &pixels_[static_cast<size_t>(y) * width_ * 3]; }

    friend bool operator==(const Image24& a, const Image24& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ &&
               std::equal(a.pixels_.begin(), a.pixels_.begin() + a.byteSize(), b.pixels_.begin());
    }

  private:
    size_t byteSize() const { return static_cast<size_t>(width_) * height_ * 3; }
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

// A picture of one byte per pixel, rows top to bottom without padding: the
// colour numbers 0..3 of a decoded unit, or the labels the OCR works on.
// Resizing keeps the allocation, so a picture reused from unit to unit
// allocates only when it outgrows the earlier ones.
class Image8 {
  public:
    Image8() = default;
    Image8(int width, int height) { resize(width, height); }

    void resize(int width, int height) {
        width_ = width < 0 ? 0 : width;
        height_ = height < 0 ? 0 : height;
        if (pixels_.size() < byteSize()) pixels_.resize(byteSize());
    }
    void setHeight(int height) { resize(width_, height); }
    void fill(uint8_t v) { std::fill_n(pixels_.begin(), byteSize(), v); }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    uint8_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void setPixel(int x, int y, uint8_t v) { pixels_[static_cast<size_t>(y) * width_ + x] = v; }
    uint8_t* row(int y) { return &pixels_[static_cast<size_t>(y) * width_]; }
    const uint8_t* row(int y) const { return &pixels_[static_cast<size_t>(y) * width_]; }

  private:
    size_t byteSize() const { return static_cast<size_t>(width_) * height_; }
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

}  // namespace orvane
