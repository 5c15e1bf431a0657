#pragma once

#include <memory>
#include <string>

#include "ocr/text_engine.h"

namespace orvane {

// The second engine, Tesseract (libtesseract), reading single lines with its
// LSTM recogniser. nullptr when the library cannot start for `language`
// (its data for that language is not installed) or its module cannot be
// loaded. The module, orvane-tesseract.so, is loaded on the first call only,
// so that programs which never ask for the engine do not pay the start-up of
// libtesseract and its libraries. It is looked for at
// $ORVANE_TESSERACT_MODULE when set; else, for a program in the build tree,
// in the build's own output; else in lib/orvane/ of the program's install,
// or beside the program (a portable copy).
std::unique_ptr<TextEngine> openTesseractEngine(const std::string& language);

// The factory the front ends give the session.
TextEngineFactory tesseractEngineFactory();

// Why the module could not be loaded (its path and the loader's message);
// empty when it was loaded or has not been asked for.
std::string tesseractModuleError();

}  // namespace orvane
