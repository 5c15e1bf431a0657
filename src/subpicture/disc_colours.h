#pragma once

#include <array>
#include <cstdint>

#include "subpicture/image.h"
#include "subpicture/spu_decoder.h"

namespace orvane {

// The 16 colours a title's sub-pictures choose from, as display colours.
using DiscColourTable = std::array<Colour, 16>;

// A colour lookup table entry (studio-range YCrCb, ITU-R BT.601) as a
// display colour.
Colour colourFromYCrCb(uint8_t y, uint8_t cr, uint8_t cb);
// 0x00YYCrCb entries, as a title set IFO holds them.
DiscColourTable discColoursFromYCrCb(const std::array<uint32_t, 16>& table);
// 0xRRGGBB entries, as a VobSub index holds them, and back.
DiscColourTable discColoursFromRgb(const std::array<uint32_t, 16>& table);
std::array<uint32_t, 16> rgbOfDiscColours(const DiscColourTable& table);

// The display colours of colour numbers 0..3 of a sequence whose palette
// command says which table entry each number takes (number n in the n-th
// nibble from the low end).
PreviewColours unitDiscColours(uint16_t palette, const DiscColourTable& table);

// Whether colour number n is fully transparent by a sequence's contrast
// word (number n's alpha in the n-th nibble from the low end): the disc
// gives such a number a colour, but it is never seen.
inline bool transparentNumber(uint16_t contrast, unsigned n) {
    return ((contrast >> (4 * (n & 3))) & 0xF) == 0;
}

// The decoded colour numbers of `picture` painted in `colours` as they are
// (not as greys), into `out`.
void paintInColours(const SubPicture& picture, const PreviewColours& colours, Image24& out);

}  // namespace orvane
