#pragma once

#include "stream/time_code.h"
#include "subpicture/spu_decoder.h"

namespace orvane {

struct UnitTimes {
    TimeCode start;
    TimeCode stop;  // zero: no stop time known
};

// start = unit start + delay of the first sequence; stop = unit start +
// delay of the last sequence when there are several and the last is a stop
// sequence, else zero.
UnitTimes computeUnitTimes(const TimeCode& unitStart, const SubPicture& picture);

// Whether the OCR reads the unit: its first sequence starts the display
// and, when a last stop sequence exists, it stays on screen more than 200 ms.
bool passesDisplayFilter(const SubPicture& picture);

// Whether the unit is a forced subtitle: one of its sequences starts the
// display with the forced start command.
bool isForcedUnit(const SubPicture& picture);

}  // namespace orvane
