#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "common/display_area.h"
#include "stream/time_code.h"
#include "subpicture/image.h"

namespace orvane {

enum class SequenceKind : uint8_t { Start = 1, Stop = 2 };

struct ControlSequence {
    uint16_t offset = 0;  // where the sequence sits in the unit
    int32_t delay = 0;    // milliseconds from the unit's presentation time
    uint16_t next = 0;
    SequenceKind kind = SequenceKind::Start;
    bool forced = false;  // a forced start: shown even when subtitles are off
    uint16_t palette = 0;
    uint16_t contrast = 0xFFF0;
    DisplayArea area;
    uint16_t topFieldOffset = 0;
    uint16_t bottomFieldOffset = 0;
};

// The display colours of colour numbers 0..3. They are greys, so every
// decoded pixel equals exactly one of them.
struct PreviewColours {
    std::array<Colour, 4> colour{0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF};
    Colour operator[](size_t i) const { return colour[i]; }
};

// The colour a decoded pixel of colour number n is painted in: colour 0 as
// it is, numbers 1..3 in the grey level of their colour's low byte.
inline Colour paintedColourOf(const PreviewColours& colours, uint8_t n) {
    if (n == 0) return colours[0];
    const Colour g = colours[n & 3] & 0xFF;
    return g | g << 8 | g << 16;
}

// One decoded unit. Reused from unit to unit so that decoding allocates
// only when a picture outgrows the previous ones.
//
// Decoding goes as deep as the caller needs: the control sequences and the
// area (times and place), then the colour numbers of the area, then the
// 24-bit picture that is shown or saved.
struct SubPicture {
    std::vector<ControlSequence> sequences;  // at most 4096, in chain order
    bool chainTruncated = false;             // the chain went on past the table
    uint16_t width = 1;
    uint16_t height = 1;
    DisplayArea area;  // of the first sequence
    Image8 numbers;    // width x height colour numbers 0..3, once decoded
    Image24 bitmap;    // width x height, painted in the preview colours

    // What the last decode filled: the numbers and the bitmap belong to an
    // earlier unit until these are set.
    bool numbersDecoded = false;
    bool bitmapPainted = false;

    // Filled by the dispatch (unit times).
    TimeCode unitStart;
    TimeCode start;
    TimeCode stop;
};

// Parses the control-sequence chain of a unit: sequences, area and size.
// No pixel data is read. Every read stays inside `unit` (the collected
// bytes).
void parseSubPictureControl(std::span<const uint8_t> unit, SubPicture& out);

// The above, then the unit's two fields drawn as colour numbers into
// `out.numbers`. Malformed units give a picture of whatever the data says,
// never a read or write out of bounds.
void decodeSubPictureArea(std::span<const uint8_t> unit, SubPicture& out);

// Paints the decoded colour numbers in the preview colours into `out.bitmap`.
void paintSubPicture(SubPicture& out, const PreviewColours& colours = PreviewColours{});

// All of it: control sequences, colour numbers and the 24-bit picture.
void decodeSubPicture(std::span<const uint8_t> unit, SubPicture& out,
                      const PreviewColours& colours = PreviewColours{});

}  // namespace orvane
