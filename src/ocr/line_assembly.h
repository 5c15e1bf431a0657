#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ocr/ocr_settings.h"
#include "ocr/segmentation.h"

namespace orvane {

// The text of one line from the readings of its pieces (texts[j - 1] is
// what character j of the line reads as): a space after a piece where the
// gap calls for one, and a mark that the segmenter cut into its strokes
// read once.
//
// A double quote, a guillemet, a low quote or the diaeresis of a letter is
// drawn as two like strokes side by side; where the blank columns between
// them reach the cutting width, each stroke is a piece and matches an entry
// on its own: the one-stroke mark ("'" for a stroke of '"', "," for one of
// the low quote, a single guillemet) or the whole mark itself. Two
// neighbouring pieces are read as one mark when they read the same mark,
// both are small beside the line's letters (at most 3/5 of its tallest
// piece), they sit level (their rows overlap) and alike in size, and the
// blank between them is at most 3/10 of that letter height: in fonts at
// subtitle sizes the strokes of one mark stand at most about 1/5 of a
// capital's height apart, while a word space between two marks is at least
// about 2/5 of it. For a letter with a diaeresis one of the two may be the
// letter carrying the other dot (the dot level with its top, in its upper
// half). Pieces that read as nothing may lie between them. The
// pair then reads as the double mark (two apostrophes as '"', two commas as
// the low double quote, ...) or, when each stroke read as the whole mark,
// as that mark once, without a space between.
//
// A double quote (straight, low or curly; not a guillemet, which French
// sets off by spaces) belongs to the word on one side of it, but its wide
// side bearings can make the gaps on both sides reach the space width: then
// only the space on the wider side stays, and at the start or the end of
// the line the space between the quote and its one neighbour goes.
//
// `breaks[j]`, where given, says whether a space follows piece j + 1 as
// another reader of the line placed its words; ByGap (and any piece past
// its end) leaves it to the gap. Its spaces stand, and its joins over gaps
// narrower than a space; over a wider gap a join stands only between two
// pieces of digits ("11" in figures of one width) or beside an apostrophe
// (its side bearing, wide in italics, makes the gap): other readers may
// merge two words, set off no mark by a space (the French « » ! ? ; :) and
// run a number into its unit ("10 h").
enum class WordBreak : uint8_t { ByGap, Space, Joined };
std::string assembleLineText(const TextLine& line, const std::vector<std::string>& texts,
                             const OcrSettings& settings, std::span<const WordBreak> breaks = {});

// Whether pieces a and b (a left of b) are drawn like the two strokes of
// one mark, by the rule above: small beside the line's tallest piece
// (letterHeight), level, alike in size and at most 3/10 of letterHeight apart.
bool likeStrokes(const CharBox& a, const CharBox& b, int letterHeight);

}  // namespace orvane
