#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ocr/line_assembly.h"
#include "ocr/segmentation.h"
#include "ocr/text_engine.h"
#include "subpicture/image.h"

namespace orvane {

// A line drawn for the second engine: its text pixels dark on a
// light ground, scaled up with a margin. Column x of the cropped picture
// is column (x - left) * scale + margin of the drawing.
struct EngineLinePicture {
    Image8 picture;
    int left = 0;
    int scale = 1;
    int margin = 0;
};

// Draws line `line` of the segmenter's labels: every text pixel of the band
// its characters span, marked or not.
void drawLineForEngine(const Image8& labels, const TextLine& line, EngineLinePicture& out);

// A segmented glyph as the alignment sees it.
struct AlignGlyph {
    int left = 0;  // columns of the cropped picture, inclusive
    int right = 0;
    uint64_t pictureKey = 0;  // equal for glyphs of the same picture
    bool known = false;       // the matrix read it as `text`
    std::string text;         // UTF-8
    bool cut = false;         // known as touching glyphs cut apart: less surely
};

// A glyph's text as the engine read it.
struct EngineReading {
    std::string text;    // UTF-8
    int confidence = 0;  // the lowest of its symbols
    // The text of a whole word of the engine's, given to its first glyph
    // (its other glyphs read as nothing): to be used for this line only.
    bool wholeWord = false;
    // The glyph's picture read so elsewhere, not what the engine read here.
    bool agreed = false;
};

// Aligns the engine's symbols (columns of the cropped picture) to the
// segmented glyphs of the line, in order. A glyph may take one to three
// symbols (letters touching in the picture), two or three glyphs may share
// one symbol (a straight double quote read as one mark over its two
// strokes), a glyph may get nothing and a symbol may fall on no glyph; each
// costs by how far the spans disagree, and known glyphs read otherwise cost
// a little more. The engine's word breaks play no part: it may join or
// split words without moving a letter. Every glyph that is not known gets
// the text of the cheapest alignment when every alignment giving it
// another text (or none) costs clearly more; otherwise nullopt.
std::vector<std::optional<EngineReading>> alignEngineSymbols(std::span<const EngineSymbol> symbols,
                                                             std::span<const AlignGlyph> glyphs,
                                                             int lineHeight);

// Glyphs of one picture are one character. Where glyphs of the line with
// equal `pictureKey` got different readings, the text with the most votes
// stands for all of them: one per glyph, and `earlier[j]` (how often each
// text was read for glyph j's picture on earlier lines, counted once per
// picture); on a tie, the text this line read most surely.
void agreeOnLikePictures(std::span<const AlignGlyph> glyphs,
                         std::vector<std::optional<EngineReading>>& readings,
                         std::span<const std::map<std::string, int>> earlier);

// Where the alignment left a glyph that is not known without a reading
// (the engine read more or fewer letters in its word than the word has
// glyphs, and no placement is clearly best), or where a word holding a
// glyph the matrix did not read surely (not known, or cut) does not spell
// the engine's word, the engine's text of that word stands for all of the
// word's glyphs, known ones too: the first glyph whose middle lies in the
// word takes it, the others read as nothing. Each glyph belongs to the
// first word that holds it: whose columns hold its middle, or one of
// whose letters has its middle in the glyph. A glyph the matrix matched (not
// cut), or whose reading was agreed on its picture, spells the word
// whatever the engine read in its place, in as many characters: the engine
// misread it here.
void readUnplacedWordsWhole(std::span<const EngineSymbol> symbols,
                            std::span<const AlignGlyph> glyphs,
                            std::vector<std::optional<EngineReading>>& readings);

// Where the engine broke the line into words, between each glyph and the
// next: each glyph belongs to the first of the engine's words whose columns
// hold its middle; a space between glyphs of two words, none between glyphs
// of one, and ByGap where either lies in no word. The engine places words
// by their letters' shapes and its language, which tells a word space from
// the gap of a letter's wide side bearing or the slant of italics better
// than the width of the blank between boxes.
std::vector<WordBreak> engineWordBreaks(std::span<const EngineSymbol> symbols,
                                        std::span<const AlignGlyph> glyphs);

// The symbols of a drawing mapped back to columns of the cropped picture.
std::vector<EngineSymbol> symbolsInCrop(std::vector<EngineSymbol> symbols,
                                        const EngineLinePicture& drawn);

}  // namespace orvane
