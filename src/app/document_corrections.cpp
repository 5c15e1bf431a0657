#include "app/document_corrections.h"

namespace orvane {

namespace {
constexpr char kLineBreak = '\r';
}

bool correctDocumentText(SubtitleDocument& doc, const PostOcrOptions& options,
                         const SpellingDictionary* dictionary) {
    if (!options.any()) return false;
    for (size_t i = 1; i <= doc.count(); ++i)
        correctEntryLines(doc.entry(i).lines, options, dictionary);
    doc.rebuildDisplay();
    return true;
}

bool UiTimeCorrectionQuestions::confirmStartReducedToZero(const TimeCode& start) {
    const std::string text = messages_.get(msg::kTimeCodeWarning) + formatTimeCode(start) +
                             messages_.get(msg::kReducedToZero) + kLineBreak +
                             messages_.get(msg::kContinueNoUndo);
    return ui_.messageBox(QuestionId::TimeCodeReduced, MessageIcon::Warning, text,
                          Buttons::YesNo) == Answer::Yes;
}

void UiTimeCorrectionQuestions::minusStretchTooLarge() {
    const std::string text =
        messages_.get(msg::kMinusStretch) + kLineBreak + messages_.get(msg::kStretchLargerThanFile);
    ui_.messageBox(QuestionId::MinusStretchTooLarge, MessageIcon::Warning, text, Buttons::Ok);
}

void UiTimeCorrectionQuestions::stretchWithoutLength() {
    ui_.messageBox(QuestionId::StretchNoLength, MessageIcon::Warning,
                   messages_.get(msg::kStretchNoLength), Buttons::Ok);
}

}  // namespace orvane
