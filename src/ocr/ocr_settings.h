#pragma once

#include <cstdint>

namespace orvane {

// The thirteen limits of segmentation and matching, with their defaults.
struct OcrSettings {
    // Segmentation.
    uint8_t minLineHeight = 8;      // an empty row ends a block only this far below its first row
    uint8_t minInterLine = 2;       // blocks closer than this many empty rows form one line
    uint8_t maxLineHeight = 45;     // taller lines are not read
    uint8_t minCharWidth = 2;       // narrower pieces are dropped
    uint8_t minCharHeight = 2;      // shorter pieces are dropped
    bool checkDetachedChar = true;  // join text pixels touching a character diagonally
    int32_t detectItaWidth = -1;    // a gap at or below this marks italics
    // Matching.
    uint16_t sensibility = 980;  // minimum score in thousandths
    uint8_t maxCharDiffWidth = 2;
    uint8_t maxCharDiffHeight = 2;
    uint8_t maxCharDiffTop = 6;
    int32_t spaceWidth = 7;     // empty columns from which a space is inserted
    int32_t itaSpaceWidth = 5;  // the same between two italic characters

    friend bool operator==(const OcrSettings&, const OcrSettings&) = default;
};

}  // namespace orvane
