#pragma once

#include <cstdint>
#include <vector>

#include "subpicture/image.h"

namespace orvane {

// Replaces the 4-connected region of the seed pixel's colour by `paint`,
// as a surface flood fill does; diagonal contact does not connect. Returns
// the number of pixels painted. `stack` is scratch space kept by the caller.
size_t floodFill(Image24& image, int x, int y, Colour paint, std::vector<uint32_t>& stack);
size_t floodFill(Image8& image, int x, int y, uint8_t paint, std::vector<uint32_t>& stack);

// The outline of a rectangle, right and bottom exclusive, clipped to the image.
void frameRect(Image24& image, int left, int top, int right, int bottom, Colour colour);

// Copies a w x h block from `src` at (sx, sy) to `dst` at (dx, dy); parts
// outside either image are left out.
void copyBlock(const Image24& src, int sx, int sy, int w, int h, Image24& dst, int dx, int dy);

}  // namespace orvane
