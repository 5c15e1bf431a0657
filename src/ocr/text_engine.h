#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "subpicture/image.h"

namespace orvane {

// One character as a general OCR engine read it.
struct EngineSymbol {
    std::string text;  // UTF-8
    int left = 0;      // columns in the picture the engine was given, inclusive
    int right = 0;
    int confidence = 0;      // 0..100
    bool wordStart = false;  // the engine began a word here
    // The columns of the symbol's word (right < left: not given). Engines
    // place a word more surely than the letters in it.
    int wordLeft = 0;
    int wordRight = -1;
};

// A second OCR engine, asked only about glyphs the matrix cannot read. It
// reads one line at a time; the engine behind it stays loaded from one
// line to the next, so its start-up is paid once per job.
class TextEngine {
  public:
    virtual ~TextEngine() = default;
    // Reads a picture of one text line: 8-bit grey, dark text on light.
    virtual std::vector<EngineSymbol> readLine(const Image8& picture) = 0;
};

// Makes an engine for a language (the engine's own code, "eng", "fra"...);
// nullptr when it cannot start (no engine, no data for that language).
using TextEngineFactory = std::function<std::unique_ptr<TextEngine>(const std::string& language)>;

// The engine's code of a language given as a two-letter ISO 639-1 code
// ("en" -> "eng"); a code of three letters or more passes as it is. Empty
// for a two-letter code it does not know.
std::string engineLanguageCode(const std::string& code);

}  // namespace orvane
