#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// What the OCR does with a glyph the matrix does not know. The front end
// chooses; the session applies it, so every front end reads alike.
enum class UnknownGlyphPolicy {
    Ask,          // the new-character dialog, with the touching-letters reading as proposal
    SkipLine,     // the line is dropped
    SkipPicture,  // the picture is dropped
    Mark,         // the touching-letters reading, else the mark text; nothing is learned
};

// How the text colour is chosen when a job has none yet.
enum class TextColourPolicy {
    Ask,        // the font colour dialog, proposing the automatic choice
    Automatic,  // the colour lying deepest inside the letters, without a person
    Fixed,      // the fixed colour number
};

struct OcrPolicy {
    UnknownGlyphPolicy unknown = UnknownGlyphPolicy::Ask;
    std::string mark = "#";  // Windows-1252
    TextColourPolicy textColour = TextColourPolicy::Ask;
    uint8_t fixedColour = 1;  // 0..3
};

// What the policies did during the session's jobs.
struct OcrPolicyCounts {
    int skipped = 0;      // unknown glyphs that dropped their line or picture
    int marked = 0;       // unknown glyphs read as the mark text
    int cutReadings = 0;  // unknown glyphs read as touching known glyphs
};

}  // namespace orvane
