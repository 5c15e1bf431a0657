// The Tesseract module: built as orvane-tesseract.so, the only part of
// Orvane linked to libtesseract (see engine/tesseract_module.h).
#include "engine/tesseract_module.h"

#include <memory>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

namespace orvane {

namespace {

class TesseractEngine : public TextEngine {
  public:
    bool open(const std::string& language) {
        // The data folder is the library's own (or TESSDATA_PREFIX).
        if (api_.Init(nullptr, language.c_str(), tesseract::OEM_LSTM_ONLY) != 0) return false;
        api_.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        // Lines are drawn at a few times their size; say so, or the library
        // guesses the resolution and warns about it on every line.
        api_.SetVariable("user_defined_dpi", "300");
        return true;
    }
    ~TesseractEngine() override { api_.End(); }

    std::vector<EngineSymbol> readLine(const Image8& picture) override {
        std::vector<EngineSymbol> out;
        if (picture.empty()) return out;
        api_.SetImage(picture.row(0), picture.width(), picture.height(), 1, picture.width());
        if (api_.Recognize(nullptr) != 0) return out;
        std::unique_ptr<tesseract::ResultIterator> it(api_.GetIterator());
        if (!it) return out;
        int wordLeft = 0, wordRight = -1;
        do {
            if (it->IsAtBeginningOf(tesseract::RIL_WORD)) {
                int l = 0, t = 0, r = 0, b = 0;
                if (it->BoundingBox(tesseract::RIL_WORD, &l, &t, &r, &b)) {
                    wordLeft = l;
                    wordRight = r - 1;
                } else {
                    wordRight = wordLeft - 1;
                }
            }
            std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_SYMBOL));
            int left = 0, top = 0, right = 0, bottom = 0;
            if (!text || !it->BoundingBox(tesseract::RIL_SYMBOL, &left, &top, &right, &bottom))
                continue;
            EngineSymbol s;
            s.text = text.get();
            s.left = left;
            s.right = right - 1;  // the library's right edge is exclusive
            s.confidence = static_cast<int>(it->Confidence(tesseract::RIL_SYMBOL) + 0.5f);
            s.wordStart = it->IsAtBeginningOf(tesseract::RIL_WORD);
            s.wordLeft = wordLeft;
            s.wordRight = wordRight;
            out.push_back(std::move(s));
        } while (it->Next(tesseract::RIL_SYMBOL));
        return out;
    }

  private:
    tesseract::TessBaseAPI api_;
};

}  // namespace

}  // namespace orvane

extern "C" __attribute__((visibility("default"))) orvane::TextEngine* orvane_tesseract_open_v1(
    const char* language) noexcept {
    // No exception crosses the C entry point: a failure reads as no engine.
    try {
        auto engine = std::make_unique<orvane::TesseractEngine>();
        if (language == nullptr || *language == '\0' || !engine->open(language)) return nullptr;
        return engine.release();
    } catch (...) {
        return nullptr;
    }
}
