#include "subtitles/frame_time_code.h"

#include <cstdio>

namespace orvane {

uint16_t frameRateHundredths(uint8_t frameRateSetting) {
    return frameRateSetting == 1 ? 3000 : 2500;
}

bool dropFrameApplies(uint8_t frameRateSetting, bool dropFrame) {
    return dropFrame && frameRateSetting == 1;
}

FrameTimeCode toFrameTimeCode(const TimeCode& tc, uint16_t rateHundredths, bool dropFrame) {
    FrameTimeCode f;
    f.hours = tc.hours;
    f.minutes = tc.minutes;
    f.seconds = tc.seconds;
    const uint32_t ff = (uint32_t{tc.milliseconds} / 10 * rateHundredths) / 10000;
    f.frames = static_cast<uint8_t>(ff);
    if (dropFrame && f.seconds == 0 && f.frames < 2 && f.minutes % 10 != 0) f.frames = 2;
    return f;
}

FrameTimeCode toFrameTimeCode(const TimeCode& tc, uint8_t frameRateSetting, bool dropFrame) {
    return toFrameTimeCode(tc, frameRateHundredths(frameRateSetting),
                           dropFrameApplies(frameRateSetting, dropFrame));
}

std::string formatFrameTimeCode(const FrameTimeCode& f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u:%02u", unsigned{f.hours}, unsigned{f.minutes},
                  unsigned{f.seconds}, unsigned{f.frames});
    return buf;
}

}  // namespace orvane
