#include "subpicture/unit_times.h"

namespace orvane {

namespace {

bool hasStopSequence(const SubPicture& p) {
    return p.sequences.size() > 1 && p.sequences.back().kind == SequenceKind::Stop;
}

}  // namespace

UnitTimes computeUnitTimes(const TimeCode& unitStart, const SubPicture& picture) {
    UnitTimes t;
    const int32_t firstDelay = picture.sequences.empty() ? 0 : picture.sequences.front().delay;
    t.start = addTimeCodes(unitStart, timeCodeFromMs(firstDelay));
    if (hasStopSequence(picture)) {
        t.stop = addTimeCodes(unitStart, timeCodeFromMs(picture.sequences.back().delay));
    }
    return t;
}

bool passesDisplayFilter(const SubPicture& picture) {
    if (picture.sequences.empty() || picture.sequences.front().kind != SequenceKind::Start)
        return false;
    if (hasStopSequence(picture)) {
        return int64_t{picture.sequences.front().delay} + 200 < picture.sequences.back().delay;
    }
    return true;
}

bool isForcedUnit(const SubPicture& picture) {
    for (const ControlSequence& s : picture.sequences)
        if (s.forced) return true;
    return false;
}

}  // namespace orvane
