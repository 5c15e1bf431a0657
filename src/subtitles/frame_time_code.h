#pragma once

#include <cstdint>
#include <string>

#include "stream/time_code.h"

namespace orvane {

// A time as the disc-authoring tools label frames: hh:mm:ss:ff.
struct FrameTimeCode {
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;
    uint8_t frames = 0;
    friend bool operator==(const FrameTimeCode&, const FrameTimeCode&) = default;
};

// Frame rate in hundredths of frames per second for a stored frame-rate
// setting: 1 is NTSC (3000); 0 and anything an edited configuration may
// hold is PAL (2500).
uint16_t frameRateHundredths(uint8_t frameRateSetting);
// Drop frame only means something at NTSC.
bool dropFrameApplies(uint8_t frameRateSetting, bool dropFrame);

// The frame label of `tc`: the clock fields are kept, the milliseconds
// become a frame number at `rateHundredths`. With drop frame, labels 0 and
// 1 of each minute are skipped except every tenth minute; the time itself
// is not converted to 29.97 fps.
FrameTimeCode toFrameTimeCode(const TimeCode& tc, uint16_t rateHundredths, bool dropFrame);
// The same from the writers' settings (PAL ignores drop frame).
FrameTimeCode toFrameTimeCode(const TimeCode& tc, uint8_t frameRateSetting, bool dropFrame);

// "hh:mm:ss:ff", each field with at least two digits.
std::string formatFrameTimeCode(const FrameTimeCode& f);

}  // namespace orvane
