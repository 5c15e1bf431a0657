#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::test {

// A PNG read as 8-bit RGBA, for comparing decoded pictures with the
// pictures a disc was made from.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    uint32_t at(int x, int y) const {
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    }
};

// Throws std::runtime_error when the file cannot be read.
RgbaImage loadPng(const std::string& path);

}  // namespace orvane::test
