#pragma once

#include "ocr/text_engine.h"

// The one entry point of the Tesseract module (orvane-tesseract.so), which
// alone links libtesseract: the programs open it with dlopen on their first
// engine request (engine/tesseract_engine.h). The module is built with the
// programs by the same compiler and shipped beside them, so the C++
// TextEngine itself crosses the boundary; the version in the name keeps a
// module of another interface from being taken for this one.
extern "C" orvane::TextEngine* orvane_tesseract_open_v1(const char* language) noexcept;

namespace orvane {

// A new engine for `language` (the engine's code, "eng"), owned by the
// caller; nullptr when the library cannot start for it.
using TesseractModuleOpen = decltype(&orvane_tesseract_open_v1);
inline constexpr char kTesseractModuleOpen[] = "orvane_tesseract_open_v1";

}  // namespace orvane
