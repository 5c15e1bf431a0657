#pragma once

#include <QString>

#include "stream/time_code.h"

class QHBoxLayout;

namespace orvane::gui {

class WordEdit;

// Four numeric boxes that hold one time code: hours 0-24, minutes and
// seconds 0-59, milliseconds 0-999, shown as "hh : mm : ss , ms". Used by
// the time correction and split dialogs.
struct TimeFields {
    WordEdit* hour = nullptr;
    WordEdit* min = nullptr;
    WordEdit* sec = nullptr;
    WordEdit* msec = nullptr;

    // Makes the boxes Word_uHour, Word_uMin, Word_uSec and Word_uMSec, each
    // name followed by `suffix`, and lays them out in a row.
    static TimeFields create(const QString& suffix, QHBoxLayout* row);
    TimeCode value() const;
    // Fills the boxes (a value outside their bounds is pulled back to them).
    void setValue(const TimeCode& t);
    void reset() { setValue(TimeCode{}); }
    WordEdit* const* begin() const { return &hour; }
    WordEdit* const* end() const { return &msec + 1; }
};

}  // namespace orvane::gui
