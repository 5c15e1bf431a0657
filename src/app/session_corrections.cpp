// The whole-document operations of the subtitle window: time correction,
// post-OCR correction, the choice of output format and the split range.

#include "app/document_corrections.h"
#include "app/session.h"

namespace orvane {

TimeCorrectionReport Session::correctTimes(const TimeCorrectionSettings& settings) {
    UiTimeCorrectionQuestions questions(ui_, messages_);
    const TimeCorrectionReport report = orvane::correctTimes(document_, settings, questions);
    if (report.corrected) ui_.documentChanged(document_);
    return report;
}

const SpellingDictionary* Session::spellingDictionary(IlLanguage language, std::string* error) {
    auto& slot = dictionaries_[static_cast<size_t>(language)];
    if (!slot) {
        DictionaryLoad load = loadSpellingDictionary(language, dictionaryFolder_);
        if (!load.dictionary) {
            if (error) *error = std::move(load.error);
            return nullptr;
        }
        slot = std::move(load.dictionary);
    }
    return slot.get();
}

void Session::setDictionaryFolder(std::string folder) {
    dictionaryFolder_ = std::move(folder);
    for (auto& d : dictionaries_) d.reset();
    runTogetherDictionaryTried_ = false;
}

bool Session::postOcrCorrection(const PostOcrOptions& options) {
    const SpellingDictionary* dictionary = nullptr;
    if (options.useDictionary && options.any()) {
        std::string error;
        dictionary = spellingDictionary(options.language, &error);
        if (!dictionary)
            ui_.messageBox(QuestionId::DictionaryMissing, MessageIcon::Warning,
                           error + ". The I/l and 0/O choices are made by the rules alone.",
                           Buttons::Ok);
    }
    if (!correctDocumentText(document_, options, dictionary)) return false;
    ui_.documentChanged(document_);
    return true;
}

void Session::convertToFormat(OutputFormat page, const OutputSettings& dialog) {
    document_.convertToFormat(page, dialog);
    ui_.documentChanged(document_);
}

bool Session::applySplitRange(bool enabled, const TimeCode& start, const TimeCode& stop) {
    if (!document_.applySplitRange(enabled, start, stop)) {
        ui_.messageBox(QuestionId::SplitStopBeforeStart, MessageIcon::Warning,
                       messages_.get(msg::kStopBeforeStart), Buttons::Ok);
        return false;
    }
    ui_.documentChanged(document_);
    return true;
}

}  // namespace orvane
