#pragma once

#include "app/user_interface.h"
#include "config/message_table.h"
#include "ocr/post_ocr_correction.h"
#include "subtitles/subtitle_document.h"
#include "subtitles/time_correction.h"

namespace orvane {

// The post-OCR correction over every entry of the document, then the
// display is rebuilt. Options that ask for nothing leave the document (and
// its modified flag) alone; false then. `dictionary` decides words where
// the options ask for it (null: the rules alone).
bool correctDocumentText(SubtitleDocument& doc, const PostOcrOptions& options,
                         const SpellingDictionary* dictionary = nullptr);

// The time correction's questions as message boxes of the UI port, their
// texts composed from the message table (messages 31 to 35, 58).
class UiTimeCorrectionQuestions : public TimeCorrectionQuestions {
  public:
    UiTimeCorrectionQuestions(UserInterface& ui, const MessageTable& messages)
        : ui_(ui), messages_(messages) {}
    bool confirmStartReducedToZero(const TimeCode& start) override;
    void minusStretchTooLarge() override;
    void stretchWithoutLength() override;

  private:
    UserInterface& ui_;
    const MessageTable& messages_;
};

}  // namespace orvane
