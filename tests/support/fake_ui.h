#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/bitmap_adjustment.h"
#include "app/user_interface.h"

namespace orvane::test {

// A scripted stand-in for a person: records every question and answers
// from a queue (or a default), counts pumps and units.
class FakeUi : public UserInterface {
  public:
    struct Question {
        QuestionId id;
        std::string text;
        Buttons buttons;
    };
    struct Unit {
        int32_t inJob = 0, inFile = 0;
        int64_t startSector = 0;
        std::vector<uint8_t> bytes;
        bool decoded = false;
        DisplayArea area;
        size_t sequences = 0;
        TimeCode unitStart, start, stop;
        std::string savedFile;
    };

    Answer messageBox(QuestionId id, MessageIcon, const std::string& text,
                      Buttons buttons) override {
        questions.push_back({id, text, buttons});
        if (!answers.empty()) {
            Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return defaultAnswer;
    }
    std::string askSaveFileName(const FileDialog& d) override {
        saveTitles.push_back(d.title);
        saveDialogs.push_back(d);
        return saveName;
    }
    std::string askOpenFileName(const FileDialog& d) override {
        openDialogs.push_back(d);
        return openName;
    }
    std::optional<uint8_t> chooseTextColour(const Image24& picture,
                                            const ColourRanking& proposal) override {
        ++colourQuestions;
        proposals.push_back(proposal);
        if (!colourAnswers.empty()) {
            auto a = colourAnswers.front();
            colourAnswers.pop_front();
            return a;
        }
        return defaultColour ? defaultColour
                             : std::optional<uint8_t>(robustTextColour(picture, PreviewColours{}));
    }
    NewCharChoice newCharacter(const NewCharacterView& view) override {
        ++newCharacterQuestions;
        if (onNewCharacter) return onNewCharacter(view);
        return {NewCharAction::SkipPicture, {}};
    }
    void subtitleAdded(const SubtitleDocument&, size_t index) override { added.push_back(index); }
    void matrixEntryAdded(const CharMatrix&, size_t k) override { learned.push_back(k); }
    ProgressionChoice progressionController(int32_t n) override {
        controllerShown.push_back(n);
        if (!progressionChoices.empty()) {
            auto c = progressionChoices.front();
            progressionChoices.pop_front();
            return c;
        }
        return ProgressionChoice::Next;
    }
    void bitmapAdjustment(BitmapAdjustment& dialog) override {
        ++adjustmentDialogs;
        if (onBitmapAdjustment)
            onBitmapAdjustment(dialog);
        else
            dialog.ok();
    }
    void showOutputFormat(OutputFormat format) override { outputFormatsShown.push_back(format); }
    void pump() override {
        ++pumps;
        if (onPump) onPump();
    }
    uint32_t tickCount() override { return ticks += tickStep; }
    void pauseCaption(const std::string& c) override { captions.push_back(c); }
    void progress(const ProgressDisplay& p) override { progressShown.push_back(p); }
    void elapsedTime(const std::string& t) override { elapsed = t; }
    void remainingTime(const std::string& t) override { remaining.push_back(t); }
    void chapters(const std::string& t) override { chapterLabel = t; }
    void frameRate(const std::string& l) override { rateLabel = l; }
    void fileLabels(const std::string& name, int index, int count) override {
        fileLabelsShown.push_back(name + " " + std::to_string(index) + "/" + std::to_string(count));
    }
    void readingControls(bool pauseEnabled, bool openVobEnabled) override {
        pauseButtonEnabled = pauseEnabled;
        openVobEnabled_ = openVobEnabled;
    }
    void showPicture(const Image24&, const DisplayArea& a, bool) override {
        shownAreas.push_back(a);
    }
    void unitCompleted(const UnitReport& r) override {
        Unit u;
        u.inJob = r.unitsInJob;
        u.inFile = r.unitsInFile;
        u.startSector = r.startSector;
        u.bytes.assign(r.bytes.begin(), r.bytes.end());
        u.decoded = r.picture != nullptr;
        if (r.picture) {
            u.area = r.picture->area;
            u.sequences = r.picture->sequences.size();
        }
        u.unitStart = r.unitStart;
        u.start = r.times.start;
        u.stop = r.times.stop;
        u.savedFile = r.savedFile;
        units.push_back(std::move(u));
        if (onUnit) onUnit(units.back());
    }

    // Script.
    std::deque<Answer> answers;
    Answer defaultAnswer = Answer::Ok;
    std::deque<ProgressionChoice> progressionChoices;
    std::string saveName;
    std::string openName;
    std::deque<std::optional<uint8_t>> colourAnswers;
    std::optional<uint8_t> defaultColour;  // unset: the robust automatic choice
    std::function<NewCharChoice(const NewCharacterView&)> onNewCharacter;
    std::function<void()> onPump;
    std::function<void(const Unit&)> onUnit;
    // The bitmap adjustment dialog; unset: OK at once.
    std::function<void(BitmapAdjustment&)> onBitmapAdjustment;
    uint32_t tickStep = 10;

    // Record.
    std::vector<Question> questions;
    std::vector<std::string> saveTitles;
    std::vector<FileDialog> saveDialogs, openDialogs;
    std::vector<ColourRanking> proposals;
    std::vector<size_t> added;
    std::vector<size_t> learned;  // matrix entries appended
    int colourQuestions = 0;
    int newCharacterQuestions = 0;
    int adjustmentDialogs = 0;
    std::vector<OutputFormat> outputFormatsShown;
    std::vector<int32_t> controllerShown;
    std::vector<std::string> captions;
    std::vector<ProgressDisplay> progressShown;
    std::vector<std::string> remaining;
    std::vector<std::string> fileLabelsShown;
    std::vector<DisplayArea> shownAreas;
    std::vector<Unit> units;
    std::string elapsed, chapterLabel, rateLabel;
    bool pauseButtonEnabled = false;
    bool openVobEnabled_ = true;
    int pumps = 0;
    uint32_t ticks = 1000;
};

}  // namespace orvane::test
