#pragma once

#include <cstddef>
#include <cstdint>

#include "stream/time_code.h"
#include "subtitles/subtitle_document.h"

namespace orvane {

// How the duration pass computes a subtitle's length.
enum class DurationMethod : uint8_t {
    Fixed = 0,         // "Fixed Time"
    Proportional = 1,  // "Subtitle Length Prop. Time": offset + ms per character
};

// The fields of the time correction dialog.
struct TimeCorrectionSettings {
    TimeCode offset;  // 0..24 h, 0..59 min, 0..59 s, 0..999 ms
    bool minusOffset = false;
    TimeCode stretch;
    bool minusStretch = false;
    bool modifyDuration = false;
    DurationMethod durationMethod = DurationMethod::Proportional;
    uint16_t fixedDuration = 4000;  // ms
    uint16_t offsetDuration = 500;  // ms
    uint16_t msPerCharacter = 50;   // ms
    uint16_t minimumInterval = 0;   // ms; 0 = pass off

    void resetOffset() { offset = {}; }
    void resetStretch() { stretch = {}; }
    // The dialog starts with no offset, no stretch and durations untouched;
    // the Minus boxes, duration fields and minimum interval keep their values.
    void prepareForShowing() {
        resetOffset();
        resetStretch();
        modifyDuration = false;
    }
};

// What the time correction asks of a person. The texts are composed by the
// caller (app/), which knows the message table and the UI port.
class TimeCorrectionQuestions {
  public:
    virtual ~TimeCorrectionQuestions() = default;
    // A negative offset would bring the start `start` to 0 or below.
    // true (Yes): the start becomes 00:00:00,000 and the pass goes on;
    // false (No): the pass ends, this entry and the later ones unchanged.
    virtual bool confirmStartReducedToZero(const TimeCode& start) = 0;
    // A minus stretch longer than the last entry's start was refused.
    virtual void minusStretchTooLarge() = 0;
    // A stretch was refused because the last entry starts at 00:00:00,000.
    virtual void stretchWithoutLength() {}
};

struct OffsetOutcome {
    // 0 when every entry was shifted; otherwise the entry at which the
    // person answered No (it and the later entries kept their times).
    size_t stoppedAt = 0;
};

enum class StretchResult {
    NotRun,  // no stretch asked for
    Applied,
    MinusTooLarge,  // refused: a minus stretch longer than the last start
    NoLength,       // refused: the last entry starts at 00:00:00,000
};

// The latest time a time code holds (255:59:59,999); corrected times are
// kept inside 0..this instead of wrapping the 8-bit hours.
inline constexpr int64_t kMaxTimeMs = 255LL * 3600000 + 59 * 60000 + 59 * 1000 + 999;

// Adds deltaMs to every start and stop, entry by entry. A start that would
// reach 0 or less is put to the person; an open (zero) stop stays open.
OffsetOutcome applyTimeOffset(SubtitleDocument& doc, int64_t deltaMs,
                              TimeCorrectionQuestions& questions);

// Stretches all times so that the last entry's start moves by stretchMs
// (earlier, when minus), earlier times proportionally; results are rounded
// half to even. Does not ask; the caller reports a refusal.
StretchResult applyTimeStretch(SubtitleDocument& doc, int64_t stretchMs, bool minus);

// Sets every stop to start + baseMs + characters x msPerCharacter, limited by
// the next entry's start (and by 65535 ms of duration).
void applyDurations(SubtitleDocument& doc, uint32_t baseMs, uint32_t msPerCharacter);

// Pulls a stop back so that at least minimumMs lie before the next start;
// overlapping entries are left alone, and the last entry is not changed.
void applyMinimumInterval(SubtitleDocument& doc, uint32_t minimumMs);

struct TimeCorrectionReport {
    bool corrected = false;  // false: the document was empty, nothing done
    OffsetOutcome offset;
    StretchResult stretch = StretchResult::NotRun;
};

// "&Correct Time": the passes that the settings ask for, in the order
// offset, stretch, durations, minimum interval, each on the results of the
// one before; then the display is rebuilt (which marks the document
// modified). An empty document is left untouched.
TimeCorrectionReport correctTimes(SubtitleDocument& doc, const TimeCorrectionSettings& settings,
                                  TimeCorrectionQuestions& questions);

}  // namespace orvane
