#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ocr/text_engine.h"

namespace orvane::test {

// A second engine that reads each run of dark columns of the drawn line as
// one symbol, its text chosen by `name` from the run's pixels, and puts runs
// closer than `wordGap` columns in one word; counts lines read and engines
// made.
struct FakeEngineScript {
    // The text of a run of columns [left, right] of the picture.
    std::function<std::string(const Image8&, int left, int right)> name;
    int confidence = 95;
    int wordGap = -1;  // -1: a quarter of the picture's height
    // The runs of a word read as one symbol over all of them (its text
    // their names joined), as an engine that places only whole words.
    bool wordsAsOneSymbol = false;
    int linesRead = 0;
    int enginesMade = 0;
    std::vector<std::string> languages;  // asked for, in order
};

class FakeEngine : public TextEngine {
  public:
    explicit FakeEngine(FakeEngineScript& script) : script_(script) {}
    std::vector<EngineSymbol> readLine(const Image8& picture) override {
        ++script_.linesRead;
        std::vector<EngineSymbol> out;
        auto dark = [&](int x) {
            for (int y = 0; y < picture.height(); ++y)
                if (picture.pixel(x, y) < 128) return true;
            return false;
        };
        for (int x = 0; x < picture.width();) {
            if (!dark(x)) {
                ++x;
                continue;
            }
            int r = x;
            while (r + 1 < picture.width() && dark(r + 1)) ++r;
            std::string text = script_.name(picture, x, r);
            const int wordGap = script_.wordGap >= 0 ? script_.wordGap : picture.height() / 4;
            if (out.empty() || x - out.back().right > wordGap) {
                out.push_back({std::move(text), x, r, script_.confidence, true, x, r});
            } else if (script_.wordsAsOneSymbol) {
                out.back().text += text;
                out.back().right = out.back().wordRight = r;
            } else {
                out.push_back({std::move(text), x, r, script_.confidence, false, 0, r});
                // Every letter of the word carries the word's columns.
                for (auto s = out.rbegin(); s != out.rend(); ++s) {
                    s->wordRight = r;
                    if (s->wordStart) {
                        out.back().wordLeft = s->wordLeft;
                        break;
                    }
                }
            }
            x = r + 1;
        }
        return out;
    }

  private:
    FakeEngineScript& script_;
};

inline TextEngineFactory fakeEngineFactory(FakeEngineScript& script) {
    return [&script](const std::string& language) -> std::unique_ptr<TextEngine> {
        script.languages.push_back(language);
        ++script.enginesMade;
        return std::make_unique<FakeEngine>(script);
    };
}

}  // namespace orvane::test
