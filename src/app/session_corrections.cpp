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

bool Session::postOcrCorrection(const PostOcrOptions& options) {
    if (!correctDocumentText(document_, options)) return false;
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
