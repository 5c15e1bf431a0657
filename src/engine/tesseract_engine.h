#pragma once

#include <memory>
#include <string>

#include "ocr/text_engine.h"

namespace orvane {

// The second engine, Tesseract (libtesseract), reading single lines with its
// LSTM recogniser. nullptr when the library cannot start for `language`
// (its data for that language is not installed).
std::unique_ptr<TextEngine> openTesseractEngine(const std::string& language);

// The factory the front ends give the session.
TextEngineFactory tesseractEngineFactory();

}  // namespace orvane
