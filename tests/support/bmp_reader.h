#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::test {

// What tests/tools/bmp_probe.py, a BMP reader written with Python's
// standard library alone, found in a file.
struct BmpProbe {
    bool ok = false;
    std::string error;  // the reader's complaint when not ok
    int width = 0;
    int height = 0;
    int bits = 0;
    bool bottomUp = false;
    std::vector<uint32_t> palette;       // 0xRRGGBB
    std::vector<std::vector<int>> rows;  // indices, top row first
};

BmpProbe probeBmp(const std::string& path);

// ImageMagick's view of a file, "W H Class" (e.g. "5 3 PseudoClass"), when
// `identify` is installed.
bool imageMagickPresent();
std::string identify(const std::string& path);

}  // namespace orvane::test
