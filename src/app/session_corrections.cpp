// The whole-document corrections of the subtitle window: time correction
// and post-OCR correction.

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

}  // namespace orvane
