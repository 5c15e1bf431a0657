// The OCR action: from a decoded picture to a subtitle entry, with the
// font colour choice and the new-character dialog.

#include "app/session.h"

#include <algorithm>
#include <map>
#include "common/io_error.h"
#include "common/text_encoding.h"
#include "ocr/character_picture.h"
#include "ocr/line_assembly.h"
#include "ocr/touching_letters.h"
#include "subpicture/colour_ranking.h"
#include "subpicture/image_ops.h"

namespace orvane {

namespace {
constexpr size_t kMaxTextLength = 20;
// Large enough to tell "l" from "I" and "," from "'" on DVD-sized letters.
constexpr int kCloseUpScale = 5;
// In ask mode an engine reading this sure of every symbol is taken without
// a question (then learned once confirmed like any other); a doubtful one
// becomes the question's proposal.
constexpr int kSureConfidence = 75;

uint64_t pictureKey(const MatrixEntry& glyph) {
    uint64_t h = 1469598103934665603ull ^ (uint64_t{glyph.width} << 8 | glyph.height);
    for (int r = 0; r < glyph.height && r < GlyphBits::kSide; ++r) {
        h ^= glyph.glyph.row(r);
        h *= 1099511628211ull;
    }
    return h;
}
}  // namespace

std::string Session::readAhead(const TextLine& line, int j) {
    std::string text;
    if (spaceFollows(line, j, ocrSettings_)) text += ' ';
    for (int k = j + 1; k <= line.count; ++k) {
        const CharBox& box = line.chars[static_cast<size_t>(k - 1)];
        const size_t e = matcher_.match(buildGlyph(ocrLabels_, box, k), box, matrix_, ocrSettings_);
        text += e > 0 ? matrix_.entry(e).text : std::string(1, NewCharacterView::kUnknownAhead);
        if (spaceFollows(line, k, ocrSettings_)) text += ' ';
    }
    return text;
}

TextEngine* Session::lineEngine() {
    if (!engineFactory_ || !ocrPolicy_.useEngine) return nullptr;
    if (engine_ && engineRequested_ == jobEngineLanguage_) return engine_.get();
    if (!engineFailedLanguage_.empty()) return nullptr;
    engine_.reset();
    engineOpenLanguage_.clear();
    engineRequested_ = jobEngineLanguage_;
    std::string opened = jobEngineLanguage_;
    engine_ = engineFactory_(opened);
    // A language whose data is missing reads better as English than not at all.
    if (!engine_ && opened != "eng") engine_ = engineFactory_(opened = "eng");
    if (!engine_) {
        engineFailedLanguage_ = jobEngineLanguage_;
        return nullptr;
    }
    engineOpenLanguage_ = opened;
    return engine_.get();
}

std::vector<EngineSymbol> Session::engineSymbols(TextEngine& engine, const TextLine& line) {
    drawLineForEngine(ocrLabels_, line, engineLine_);
    std::vector<EngineSymbol> symbols =
        symbolsInCrop(engine.readLine(engineLine_.picture), engineLine_);
    // The engine reads an upright stroke standing alone as a bar; subtitles
    // hold none: it is the I or l of the text, which the I/l repair tells
    // apart.
    for (EngineSymbol& s : symbols) std::replace(s.text.begin(), s.text.end(), '|', 'l');
    ++ocrCounts_.engineLines;
    return symbols;
}

bool Session::lostSpaceIn(const std::string& text) {
    if (!runTogetherDictionaryTried_) {
        runTogetherDictionaryTried_ = true;
        static const std::pair<const char*, IlLanguage> kLanguages[] = {
            {"eng", IlLanguage::English},
            {"fra", IlLanguage::French},
            {"deu", IlLanguage::German},
            {"spa", IlLanguage::Spanish}};
        runTogetherDictionary_ = nullptr;
        for (const auto& [code, language] : kLanguages)
            if (jobEngineLanguage_ == code) runTogetherDictionary_ = spellingDictionary(language);
    }
    return runTogetherDictionary_ && hasRunTogetherWords(text, *runTogetherDictionary_);
}

bool Session::spaceLineByEngine(const TextLine& line) {
    TextEngine* engine = lineEngine();
    if (!engine) return false;
    const std::vector<EngineSymbol> symbols = engineSymbols(*engine, line);
    std::vector<AlignGlyph> boxes(line.count);
    for (size_t j = 0; j < boxes.size(); ++j) {
        boxes[j].left = line.chars[j].left;
        boxes[j].right = line.chars[j].right();
    }
    wordBreaks_ = engineWordBreaks(symbols, boxes);
    return true;
}

void Session::readLineByEngine(const TextLine& line, int /*l*/) {
    const size_t n = line.count;
    glyphs_.resize(n);
    matches_.assign(n, 0);
    cuts_.assign(n, std::nullopt);
    readings_.clear();
    wordBreaks_.clear();
    matchedGeneration_ = matrix_.generation();
    bool unknown = false;
    const int raise = accentRaise(line, matrix_, ocrSettings_);
    for (size_t j = 1; j <= n; ++j) {
        const CharBox& box = line.chars[j - 1];
        glyphs_[j - 1] = buildGlyph(ocrLabels_, box, static_cast<int>(j));
        matches_[j - 1] = matcher_.match(glyphs_[j - 1], box, matrix_, ocrSettings_);
        if (matches_[j - 1] != 0) continue;
        cuts_[j - 1] = readTouchingLetters(ocrLabels_, box, static_cast<int>(j), matrix_,
                                           ocrSettings_, matcher_, raise);
        if (!cuts_[j - 1]) unknown = true;
    }
    if (!unknown) return;
    TextEngine* engine = lineEngine();
    if (!engine) return;
    const std::vector<EngineSymbol> symbols = engineSymbols(*engine, line);
    std::vector<AlignGlyph> aligned(n);
    int top = line.chars[0].top, bottom = line.chars[0].bottom();
    for (size_t j = 0; j < n; ++j) {
        const CharBox& box = line.chars[j];
        top = std::min(top, int{box.top});
        bottom = std::max(bottom, box.bottom());
        AlignGlyph& a = aligned[j];
        a.left = box.left;
        a.right = box.right();
        a.pictureKey = pictureKey(glyphs_[j]);
        if (matches_[j] != 0 || cuts_[j]) {
            a.known = true;
            a.cut = matches_[j] == 0;
            a.text =
                cp1252ToUtf8(matches_[j] != 0 ? matrix_.entry(matches_[j]).text : cuts_[j]->text);
        }
    }
    readings_ = alignEngineSymbols(symbols, aligned, bottom - top + 1);
    // One picture reads one way: over this line and what the engine read on
    // earlier lines.
    std::vector<std::map<std::string, int>> earlier(n);
    for (size_t j = 0; j < n; ++j)
        if (readings_[j]) earlier[j] = ledger_.readings(glyphs_[j], line.chars[j], ocrSettings_);
    agreeOnLikePictures(aligned, readings_, earlier);
    // Without a person to ask, a word the engine read is better than marks,
    // and its word breaks better than the gaps between boxes.
    if (ocrPolicy_.unknown == UnknownGlyphPolicy::Auto) {
        readUnplacedWordsWhole(symbols, aligned, readings_);
        wordBreaks_ = engineWordBreaks(symbols, aligned);
    }
    for (std::optional<EngineReading>& r : readings_) {
        if (!r) continue;
        // Windows-1252 holds the matrix's texts; what it cannot hold is no reading.
        std::string text = utf8ToCp1252(r->text);
        if ((!r->wholeWord && text.size() > kMaxTextLength) ||
            (text.find('?') != std::string::npos && r->text.find('?') == std::string::npos)) {
            r.reset();
            continue;
        }
        r->text = std::move(text);
    }
}

std::string Session::takeEngineReading(MatrixEntry& glyph, const CharBox& box,
                                       const std::string& text, int64_t lineId) {
    ++ocrCounts_.engineReadings;
    if (ledger_.record(glyph, box, text, lineId, ocrSettings_) ==
        ProposalLedger::Verdict::Confirmed) {
        glyph.text = text;
        if (addMatrixEntry(glyph)) ++ocrCounts_.engineLearned;
    }
    return text;
}

std::string Session::assembleWithWordsWhole(const TextLine& line,
                                            const std::vector<std::string>& pieces) {
    // A word read whole is one piece: the spaces between words then come
    // from the gaps between whole words, as for any other pieces.
    wordLine_.count = 0;
    wordLine_.top = line.top;
    wordLine_.bottom = line.bottom;
    std::vector<std::string> texts;
    std::vector<WordBreak> breaks;
    for (size_t k = 0; k < pieces.size() && k < line.count; ++k) {
        const WordBreak after = k < wordBreaks_.size() ? wordBreaks_[k] : WordBreak::ByGap;
        const CharBox& b = line.chars[k];
        const bool rest = k < readings_.size() && readings_[k] && readings_[k]->wholeWord &&
                          readings_[k]->text.empty();
        if (rest && wordLine_.count > 0) {
            CharBox& w = wordLine_.chars[wordLine_.count - 1u];
            const int left = std::min(int{w.left}, int{b.left}),
                      right = std::max(w.right(), b.right());
            const int top = std::min(int{w.top}, int{b.top}),
                      bottom = std::max(w.bottom(), b.bottom());
            w.left = static_cast<uint16_t>(left);
            w.width = static_cast<uint16_t>(right - left + 1);
            w.top = static_cast<uint16_t>(top);
            w.height = static_cast<uint16_t>(bottom - top + 1);
            breaks.back() = after;
            continue;
        }
        wordLine_.chars[wordLine_.count++] = b;
        texts.push_back(pieces[k]);
        breaks.push_back(after);
    }
    return assembleLineText(wordLine_, texts, ocrSettings_, breaks);
}

void Session::pauseToReadUnitAgain() {
    job_.resumeSector = job_.unitStartSector;
    buttonPauseClick();
    --job_.unitsInFile;
    --job_.unitsInJob;
}

Session::NewCharOutcome Session::runNewCharacterDialog(const NewCharacterView& view) {
    bool searchFailed = false;
    while (true) {
        NewCharacterView shown = view;
        shown.afterFailedSearch = searchFailed;
        NewCharChoice choice = waitFor([&] { return ui_.newCharacter(shown); });
        if (choice.text.size() > kMaxTextLength) choice.text.resize(kMaxTextLength);
        switch (choice.action) {
            case NewCharAction::Accept:
                return {0, std::move(choice.text)};
            case NewCharAction::SkipLine:
                return {1, {}};
            case NewCharAction::SkipPicture:
                return {2, {}};
            case NewCharAction::Pause:
                pauseToReadUnitAgain();
                return {3, {}};
            case NewCharAction::ChangeColour:
                job_.textColourIndex = 255;
                pauseToReadUnitAgain();
                resumeWhenReaderStops_ = true;
                return {3, {}};
            case NewCharAction::SearchMatrix:
                if (auto found = searchMatrixFolder(view.glyph, view.box))
                    return {found->learn ? 0 : 5, std::move(found->text)};
                searchFailed = true;
                break;  // nothing found: the dialog stays open
            case NewCharAction::UseOnce:
                return {5, std::move(choice.text)};
        }
    }
}

namespace {

// The cropped 24-bit picture of a unit as the preview and the
// new-character dialog show it: the colour numbers in their painted
// colours, and with `labels` the accepted characters in their marks.
void paintCropped(const Image8& numbers, const CropRect& crop, const Image8* labels,
                  const PreviewColours& colours, Image24& out) {
    const int w = crop.right - crop.left + 1, h = crop.bottom - crop.top + 1;
    out.resize(w, h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* n = numbers.row(crop.top + y) + crop.left;
        for (int x = 0; x < w; ++x) out.setPixel(x, y, paintedColourOf(colours, n[x]));
        if (!labels) continue;
        const uint8_t* l = labels->row(y);
        for (int x = 0; x < w; ++x) {
            if (l[x] == kLabelMarkA) out.setPixel(x, y, kMarkColourA);
            if (l[x] == kLabelMarkB) out.setPixel(x, y, kMarkColourB);
        }
    }
}

}  // namespace

bool Session::chooseTextColour(const Image24& picture) {
    std::optional<uint8_t> chosen;
    switch (ocrPolicy_.textColour) {
        case TextColourPolicy::Ask:
            chosen = waitFor([&] {
                return ui_.chooseTextColour(picture, proposeTextColours(picture, previewColours_));
            });
            break;
        case TextColourPolicy::Automatic:
        case TextColourPolicy::Fixed: {
            const bool automatic = ocrPolicy_.textColour == TextColourPolicy::Automatic;
            const uint8_t n =
                automatic ? robustTextColour(picture, previewColours_) : ocrPolicy_.fixedColour;
            if (n > 3) return false;  // a picture of one colour: try the next one
            ui_.textColourChosen(n, automatic, autoDetectColours(picture, previewColours_));
            chosen = n;
            break;
        }
    }
    if (!chosen || *chosen > 3) return false;  // "Skip this Picture": asked again with the next one
    job_.textColourIndex = *chosen;
    textColour_ = previewColours_[*chosen];
    return true;
}

// The picture being read, for the steps of its lines and glyphs.
struct Session::PictureRead {
    SubPicture& picture;
    const CropRect& crop;
    const DisplayArea& area;
    const TimeCode& start;
    const TimeCode& stop;
    bool paintedReady = false;  // ocrPicture_ holds the painted crop
};

void Session::recogniseSubPicture(SubPicture& picture, const TimeCode& start, const TimeCode& stop,
                                  const DisplayArea& area) {
    if (job_.textColourIndex == 255) {
        if (!picture.bitmapPainted) paintSubPicture(picture, previewColours_);
        if (!chooseTextColour(picture.bitmap)) return;
    }
    const std::optional<CropRect> crop = textCrop(picture);
    if (!crop) return;
    segmenter_.segment(ocrLabels_, ocrSettings_, lines_);
    PictureRead read{picture, *crop, area, start, stop};
    std::vector<std::string> text;
    for (int l = 1; l <= lines_.count; ++l) {
        std::string out;
        if (!readTextLine(read, l, out)) return;  // the picture is dropped
        if (!out.empty()) text.push_back(std::move(out));
    }
    if (text.empty()) return;
    if (document_.appendEntry(std::move(text), true, area, stop, start) ==
        SubtitleDocument::AppendResult::Appended) {
        ui_.subtitleAdded(document_, document_.count());
        ui_.documentChanged(document_);
    }
}

std::optional<CropRect> Session::textCrop(SubPicture& picture) {
    // The text is every pixel painted in the text colour: the pixels of
    // the colour number painted so, taken straight from the decoded numbers.
    int textNumber = -1;
    for (uint8_t n = 0; n < 4 && textNumber < 0; ++n) {
        if (paintedColourOf(previewColours_, n) == textColour_) textNumber = n;
    }
    const std::optional<CropRect> crop = textLabels(picture.numbers, textNumber, ocrLabels_);
    if (!crop) {
        // No text: the whole picture is shown and nothing is read.
        if (flags_.showSubPicture) {
            if (!picture.bitmapPainted) paintSubPicture(picture, previewColours_);
            ui_.showPicture(picture.bitmap, DisplayArea{}, true);
        }
        lines_.count = 0;
        return std::nullopt;
    }
    if (flags_.showSubPicture) {
        paintCropped(picture.numbers, *crop, nullptr, previewColours_, ocrPicture_);
        ui_.showPicture(ocrPicture_, DisplayArea{}, true);
    }
    return crop;
}

// The painted cropped picture, made only when a glyph is unknown.
const Image24& Session::paintedCrop(PictureRead& p) {
    if (!p.paintedReady) {
        paintCropped(p.picture.numbers, p.crop, &ocrLabels_, previewColours_, ocrPicture_);
        p.paintedReady = true;
    }
    return ocrPicture_;
}

bool Session::readTextLine(PictureRead& p, int l, std::string& out) {
    const TextLine& line = lines_.lines[static_cast<size_t>(l - 1)];
    std::vector<std::string> pieces;  // what each character reads as
    pieces.reserve(line.count);
    bool wordsRead = false;  // some glyphs took a word the engine read whole
    // Ask and auto read the line's unknown glyphs by the second engine
    // first, matching every glyph once for it.
    const bool engineRead = engineFactory_ && ocrPolicy_.useEngine &&
                            (ocrPolicy_.unknown == UnknownGlyphPolicy::Ask ||
                             ocrPolicy_.unknown == UnknownGlyphPolicy::Auto);
    if (engineRead) readLineByEngine(line, l);
    for (int j = 1; j <= line.count; ++j) {
        std::string piece;
        const GlyphStep step = readGlyph(p, line, l, j, engineRead, pieces, piece, wordsRead);
        if (step == GlyphStep::DropPicture) return false;
        if (step == GlyphStep::SkipLine) {
            pieces.clear();
            break;
        }
        pieces.push_back(std::move(piece));
    }
    const std::span<const WordBreak> breaks =
        engineRead ? std::span<const WordBreak>(wordBreaks_) : std::span<const WordBreak>();
    out = wordsRead ? assembleWithWordsWhole(line, pieces)
                    : assembleLineText(line, pieces, ocrSettings_, breaks);
    // A line the matrix read whole is spaced by its gaps, which in italics
    // can be narrower between words than within them; where a word of it
    // is two run together, the engine's words decide.
    if (engineRead && wordBreaks_.empty() && ocrPolicy_.unknown == UnknownGlyphPolicy::Auto &&
        lostSpaceIn(out) && spaceLineByEngine(line))
        out = assembleLineText(line, pieces, ocrSettings_, wordBreaks_);
    return true;
}

Session::GlyphStep Session::readGlyph(PictureRead& p, const TextLine& line, int l, int j,
                                      bool engineRead, const std::vector<std::string>& pieces,
                                      std::string& piece, bool& wordsRead) {
    const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
    const size_t k = static_cast<size_t>(j - 1);
    // What the engine pass matched stands while the matrix is unchanged.
    const bool matched = engineRead && matrix_.generation() == matchedGeneration_;
    MatrixEntry glyph = matched ? glyphs_[k] : buildGlyph(ocrLabels_, box, j);
    const size_t e = matched ? matches_[k] : matcher_.match(glyph, box, matrix_, ocrSettings_);
    std::optional<TouchingReading> cut;
    if (matched)
        cut = cuts_[k];
    else if (e == 0 && ocrPolicy_.unknown != UnknownGlyphPolicy::SkipLine &&
             ocrPolicy_.unknown != UnknownGlyphPolicy::SkipPicture)
        cut = readTouchingLetters(ocrLabels_, box, j, matrix_, ocrSettings_, matcher_,
                                  accentRaise(line, matrix_, ocrSettings_));
    const EngineReading* reading =
        engineRead && k < readings_.size() && readings_[k] ? &*readings_[k] : nullptr;
    // A word the engine read whole stands for its glyphs, known or not.
    const EngineReading* word = reading && reading->wholeWord ? reading : nullptr;
    if (word || e != 0 || cut) reading = nullptr;
    const bool takeReading =
        reading &&
        (ocrPolicy_.unknown == UnknownGlyphPolicy::Auto ||
         (reading->confidence >= kSureConfidence && !ledger_.contested(glyph, box, ocrSettings_)));
    if (word) {
        piece = word->text;
        wordsRead = true;
    } else if (e > 0) {
        piece = matrix_.entry(e).text;
    } else if (ocrPolicy_.unknown == UnknownGlyphPolicy::SkipLine) {
        ++ocrCounts_.skipped;
        return GlyphStep::SkipLine;
    } else if (ocrPolicy_.unknown == UnknownGlyphPolicy::SkipPicture) {
        ++ocrCounts_.skipped;
        return GlyphStep::DropPicture;
    } else if (takeReading) {
        piece = takeEngineReading(glyph, box, reading->text, int64_t{job_.unitsInJob} * 16 + l);
    } else if (ocrPolicy_.unknown == UnknownGlyphPolicy::Mark ||
               ocrPolicy_.unknown == UnknownGlyphPolicy::Auto) {
        if (cut) {
            ++ocrCounts_.cutReadings;
            piece = cut->text;
        } else {
            ++ocrCounts_.marked;
            piece = ocrPolicy_.mark.substr(0, kMaxTextLength);
        }
    } else {
        const std::string proposal = cut ? cut->text : reading ? reading->text : std::string();
        return askNewGlyph(p, line, l, j, glyph, proposal, pieces, piece);
    }
    return GlyphStep::Next;
}

Session::GlyphStep Session::askNewGlyph(PictureRead& p, const TextLine& line, int l, int j,
                                        MatrixEntry& glyph, const std::string& proposal,
                                        const std::vector<std::string>& pieces,
                                        std::string& piece) {
    const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
    const Image24& shown = paintedCrop(p);
    Image24 framed = shown;
    frameRect(framed, box.left - 1, box.top - 1, box.left + box.width + 1, box.top + box.height + 1,
              kCharFrameColour);
    ui_.showPicture(framed, DisplayArea{}, true);
    const Image24 charPicture = characterPicture(shown, line, j, previewColours_[0]);
    const NewCharacterView view{glyph,
                                box,
                                line,
                                l,
                                j,
                                shown,
                                charPicture,
                                p.crop,
                                p.area,
                                job_.unitsInJob,
                                matrix_.size() + 1,
                                false,
                                proposal,
                                assembleLineText(line, pieces, ocrSettings_),
                                readAhead(line, j),
                                document_.count() + 1,
                                p.start,
                                p.stop,
                                glyphCloseUp(shown, line, j, previewColours_[0], kCloseUpScale),
                                pieceOfNeighbour(line, j)};
    NewCharOutcome outcome = runNewCharacterDialog(view);
    switch (outcome.result) {
        case 0:
            glyph.text = outcome.text;
            addMatrixEntry(glyph);
            piece = std::move(outcome.text);
            return GlyphStep::Next;
        case 1:
            return GlyphStep::SkipLine;
        case 2:
        case 3:
            return GlyphStep::DropPicture;
        default:
            piece = std::move(outcome.text);
            return GlyphStep::Next;
    }
}

}  // namespace orvane
