#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "ocr/ocr_settings.h"
#include "subpicture/image.h"

namespace orvane {

// The paints of accepted characters: odd ones A, even ones B.
inline constexpr Colour kMarkColourA = 0xFE0000;
inline constexpr Colour kMarkColourB = 0xFD0000;
// The frame drawn around an unknown character.
inline constexpr Colour kCharFrameColour = 0x3333FF;

struct CropRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // inclusive, before cropping
    friend bool operator==(const CropRect&, const CropRect&) = default;
};

enum class CropMode {
    Text,           // content = pixels of the text colour
    NonBackground,  // content = pixels other than the background colour
};

// Crops the picture to the smallest rectangle holding all content, in
// place; nullopt (picture unchanged) when there is no content.
std::optional<CropRect> cropToContent(Image24& picture, CropMode mode, Colour colour);

struct CharBox {
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t relativeTop = 0;  // character top minus line top, modulo 256
    uint8_t italic = 0;
    int right() const { return int{left} + width - 1; }
    int bottom() const { return int{top} + height - 1; }
};

struct TextLine {
    static constexpr size_t kMaxChars = 500;
    uint16_t count = 0;
    std::array<CharBox, kMaxChars> chars;  // 0-based here: character j is chars[j - 1]
    int top = 0;                           // the line band, rows of the cropped picture
    int bottom = 0;
};

struct LineTable {
    static constexpr size_t kMaxLines = 10;
    uint8_t count = 0;
    std::array<TextLine, kMaxLines> lines;
};

// The mark colour of character j (1-based) of a line.
inline Colour markColourOf(int j) {
    return j % 2 == 1 ? kMarkColourA : kMarkColourB;
}

// The OCR's one-byte working picture: text pixels, the two marks of
// accepted characters (as kMarkColourA and B), everything else 0.
inline constexpr uint8_t kLabelText = 1;
inline constexpr uint8_t kLabelMarkA = 2;
inline constexpr uint8_t kLabelMarkB = 3;
inline uint8_t markLabelOf(int j) {
    return j % 2 == 1 ? kLabelMarkA : kLabelMarkB;
}

// The text of a decoded unit straight from its colour numbers: the
// smallest rectangle holding every pixel of number `textNumber`, cut out
// into `labels` (kLabelText or 0). It is the rectangle cropToContent finds
// in the painted picture. Nullopt, `labels` untouched, when no pixel has
// that number (or textNumber is -1, no colour number is the text colour).
std::optional<CropRect> textLabels(const Image8& numbers, int textNumber, Image8& labels);

// Cuts one line band of labels (at most 64 rows) into characters with
// every column of the band held as a bit mask of its rows, so that the
// column scans and the paint of whole regions are mask operations. It
// gives the boxes and the marks of the pixel-by-pixel cut.
class BandCutter {
  public:
    static constexpr int kMaxRows = 64;
    void cut(Image8& labels, int top, int bottom, const OcrSettings& settings, TextLine& line);

  private:
    // The band's text as column masks; the mark planes cleared.
    void loadColumns(const Image8& labels, int top, int bottom);
    // The first text pixel from column x on, painted with its region; its
    // column, or -1.
    int startCharacter(int x, uint8_t paintLabel);
    // Extends the character from `start` column by column; its last column.
    // `nextColumn` gets the first column holding text that did not join.
    int extendCharacter(int start, uint8_t paintLabel, const OcrSettings& settings,
                        int& nextColumn);
    // Character k, a detached part wholly below character k - 1, joins it.
    void joinBelow(TextLine& line, int k, uint8_t paintLabel);
    // Moves the 4-connected region of label `from` holding (col, bit)
    // to label `to` in the masks. A region never leaves the band: the rows
    // just above and below it hold no text.
    void flood(int col, int bit, uint8_t from, uint8_t to);
    // Writes the band's labels from the masks, once it is cut.
    void storeLabels();
    uint64_t* plane(uint8_t label) {
        return planes_.data() + static_cast<size_t>(label - 1) * width_;
    }

    Image8* labels_ = nullptr;
    int top_ = 0;
    int rows_ = 0;
    int width_ = 0;
    std::vector<uint64_t>
        planes_;  // labels 1..3 (text, marks), a mask per column (bit i: row top + i)
    struct Seed {
        int col;
        uint64_t bits;
    };
    std::vector<Seed> stack_;
};

// Cuts a cropped picture into lines and characters, painting every
// character in its mark colour. Keeps scratch buffers between pictures.
class Segmenter {
  public:
    void segment(Image24& picture, Colour textColour, const OcrSettings& settings,
                 LineTable& table);
    // The same on labels (textLabels), marking kLabelMarkA and B.
    void segment(Image8& labels, const OcrSettings& settings, LineTable& table);

  private:
    std::vector<uint32_t> stack_;
    std::vector<int> columnRows_;
    BandCutter bands_;
};

// The italic flags of a line's characters from the gaps between boxes.
void setItalicFlags(TextLine& line, int32_t detectItaWidth);

}  // namespace orvane
