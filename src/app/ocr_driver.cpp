// The OCR action: from a decoded picture to a subtitle entry, with the
// font colour choice and the new-character dialog.

#include "app/session.h"
#include "ocr/character_picture.h"
#include "common/io_error.h"
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

void Session::recogniseSubPicture(Image24& picture, const TimeCode& start, const TimeCode& stop,
                                  const DisplayArea& area) {
    if (job_.textColourIndex == 255) {
        const ColourRanking proposal = autoDetectColours(picture, previewColours_);
        const std::optional<uint8_t> chosen = ui_.chooseTextColour(picture, proposal);
        if (!chosen || *chosen > 3) return;  // "Skip this Picture": asked again with the next one
        job_.textColourIndex = *chosen;
        textColour_ = previewColours_[*chosen];
    }
    const std::optional<CropRect> crop = cropToContent(picture, CropMode::Text, textColour_);
    if (showSubPicture) ui_.showPicture(picture, DisplayArea{}, true);
    segmenter_.segment(picture, textColour_, ocrSettings_, lines_);

    std::vector<std::string> text;
    for (int l = 1; l <= lines_.count; ++l) {
        const TextLine& line = lines_.lines[static_cast<size_t>(l - 1)];
        std::string out;
        bool skipped = false;
        for (int j = 1; j <= line.count && !skipped; ++j) {
            const CharBox& box = line.chars[static_cast<size_t>(j - 1)];
            MatrixEntry glyph = buildGlyph(picture, box, j);
            const size_t e = matcher_.match(glyph, box, matrix_, ocrSettings_);
            std::string piece;
            if (e > 0) {
                piece = matrix_.entry(e).text;
            } else {
                Image24 framed = picture;
                frameRect(framed, box.left - 1, box.top - 1, box.left + box.width + 1,
                          box.top + box.height + 1, kCharFrameColour);
                ui_.showPicture(framed, DisplayArea{}, true);
                const Image24 charPicture = characterPicture(picture, line, j, previewColours_[0]);
                const NewCharacterView view{glyph,
                                            box,
                                            line,
                                            l,
                                            j,
                                            picture,
                                            charPicture,
                                            crop.value_or(CropRect{}),
                                            area,
                                            job_.unitsInJob,
                                            matrix_.size() + 1};
                NewCharOutcome outcome = runNewCharacterDialog(view);
                switch (outcome.result) {
                    case 0:
                        glyph.text = outcome.text;
                        addMatrixEntry(glyph);
                        piece = std::move(outcome.text);
                        break;
                    case 1:
                        out.clear();
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
            out += piece;
            if (spaceFollows(line, j, ocrSettings_)) out += ' ';
        }
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
