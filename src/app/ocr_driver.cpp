// The OCR action: from a decoded picture to a subtitle entry, with the
// font colour choice and the new-character dialog.

#include "app/session.h"
#include "ocr/character_picture.h"
#include "ocr/line_assembly.h"
#include "common/io_error.h"
#include "ocr/touching_letters.h"
#include "subpicture/colour_ranking.h"
#include "subpicture/image_ops.h"

namespace orvane {

namespace {
constexpr size_t kMaxTextLength = 20;
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
        NewCharChoice choice = ui_.newCharacter(shown);
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
            chosen = ui_.chooseTextColour(picture, proposeTextColours(picture, previewColours_));
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

void Session::recogniseSubPicture(SubPicture& picture, const TimeCode& start, const TimeCode& stop,
                                  const DisplayArea& area) {
    if (job_.textColourIndex == 255) {
        if (!picture.bitmapPainted) paintSubPicture(picture, previewColours_);
        if (!chooseTextColour(picture.bitmap)) return;
    }
    // The text is every pixel painted in the text colour: the pixels of
    // the colour number painted so, taken straight from the decoded numbers.
    int textNumber = -1;
    for (uint8_t n = 0; n < 4 && textNumber < 0; ++n) {
        if (paintedColourOf(previewColours_, n) == textColour_) textNumber = n;
    }
    const std::optional<CropRect> crop = textLabels(picture.numbers, textNumber, ocrLabels_);
    if (!crop) {
        // No text: the whole picture is shown and nothing is read.
        if (showSubPicture) {
            if (!picture.bitmapPainted) paintSubPicture(picture, previewColours_);
            ui_.showPicture(picture.bitmap, DisplayArea{}, true);
        }
        lines_.count = 0;
        return;
    }
    if (showSubPicture) {
        paintCropped(picture.numbers, *crop, nullptr, previewColours_, ocrPicture_);
        ui_.showPicture(ocrPicture_, DisplayArea{}, true);
    }
    segmenter_.segment(ocrLabels_, ocrSettings_, lines_);
    // The painted cropped picture, made only when a glyph is unknown.
    bool paintedReady = false;
    auto painted = [&]() -> const Image24& {
        if (!paintedReady) {
            paintCropped(picture.numbers, *crop, &ocrLabels_, previewColours_, ocrPicture_);
            paintedReady = true;
        }
        return ocrPicture_;
    };

    std::vector<std::string> text;
    for (int l = 1; l <= lines_.count; ++l) {
        const TextLine& line = lines_.lines[static_cast<size_t>(l - 1)];
        std::vector<std::string> pieces;  // what each character reads as
        bool skipped = false;
        for (int j = 1; j <= line.count && !skipped; ++j) {
            const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
            MatrixEntry glyph = buildGlyph(ocrLabels_, box, j);
            const size_t e = matcher_.match(glyph, box, matrix_, ocrSettings_);
            std::string piece;
            std::optional<TouchingReading> cut;
            if (e == 0 && ocrPolicy_.unknown != UnknownGlyphPolicy::SkipLine &&
                ocrPolicy_.unknown != UnknownGlyphPolicy::SkipPicture)
                cut = readTouchingLetters(ocrLabels_, box, j, matrix_, ocrSettings_, matcher_);
            if (e > 0) {
                piece = matrix_.entry(e).text;
            } else if (ocrPolicy_.unknown == UnknownGlyphPolicy::SkipLine) {
                ++ocrCounts_.skipped;
                pieces.clear();
                skipped = true;
                continue;
            } else if (ocrPolicy_.unknown == UnknownGlyphPolicy::SkipPicture) {
                ++ocrCounts_.skipped;
                return;
            } else if (ocrPolicy_.unknown == UnknownGlyphPolicy::Mark) {
                if (cut) {
                    ++ocrCounts_.cutReadings;
                    piece = cut->text;
                } else {
                    ++ocrCounts_.marked;
                    piece = ocrPolicy_.mark.substr(0, kMaxTextLength);
                }
            } else {
                const Image24& shown = painted();
                Image24 framed = shown;
                frameRect(framed, box.left - 1, box.top - 1, box.left + box.width + 1,
                          box.top + box.height + 1, kCharFrameColour);
                ui_.showPicture(framed, DisplayArea{}, true);
                const Image24 charPicture = characterPicture(shown, line, j, previewColours_[0]);
                const NewCharacterView view{glyph,
                                            box,
                                            line,
                                            l,
                                            j,
                                            shown,
                                            charPicture,
                                            *crop,
                                            area,
                                            job_.unitsInJob,
                                            matrix_.size() + 1,
                                            false,
                                            cut ? cut->text : std::string()};
                NewCharOutcome outcome = runNewCharacterDialog(view);
                switch (outcome.result) {
                    case 0:
                        glyph.text = outcome.text;
                        addMatrixEntry(glyph);
                        piece = std::move(outcome.text);
                        break;
                    case 1:
                        pieces.clear();
                        skipped = true;
                        continue;
                    case 2:
                    case 3:
                        return;  // the picture is dropped
                    default:
                        piece = std::move(outcome.text);
                        break;
                }
            }
            pieces.push_back(std::move(piece));
        }
        std::string out = assembleLineText(line, pieces, ocrSettings_);
        if (!out.empty()) text.push_back(std::move(out));
    }
    if (text.empty()) return;
    if (document_.appendEntry(std::move(text), true, area, stop, start) ==
        SubtitleDocument::AppendResult::Appended) {
        ui_.subtitleAdded(document_, document_.count());
        ui_.documentChanged(document_);
    }
}

}  // namespace orvane
