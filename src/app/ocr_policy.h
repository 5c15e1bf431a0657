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
    Auto,         // the touching-letters reading, else the second engine's, else the mark
                  // text; engine readings are learned once confirmed
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
    // The second engine reads what the matrix cannot (ask and auto), when
    // the front end has one.
    bool useEngine = true;
    // Its language: a two-letter ISO 639-1 code or the engine's own; empty:
    // the stream's language in the title set's IFO, else English.
    std::string engineLanguage;
};

// What the policies did during the session's jobs.
struct OcrPolicyCounts {
    int skipped = 0;         // unknown glyphs that dropped their line or picture
    int marked = 0;          // unknown glyphs read as the mark text
    int cutReadings = 0;     // unknown glyphs read as touching known glyphs
    int engineLines = 0;     // lines the second engine read
    int engineReadings = 0;  // unknown glyphs read by the second engine without a question
    int engineLearned = 0;   // of those, glyphs learned once their reading was confirmed
};

}  // namespace orvane
