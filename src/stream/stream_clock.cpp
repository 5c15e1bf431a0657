#include "stream/stream_clock.h"

namespace orvane {

void StreamClock::reset() {
    rebasePending_ = true;
    startTime_ = {};
    // The last time code reached is 0 too: the job dialog shows it when it
    // opens again, and must not carry the old time line back.
    offset_ = {};
    currentScr_ = 0;
    previousScr_ = 0;
    lastStep_ = 0;
}

void StreamClock::updateScrSlow(uint32_t scr, bool avoidTimeRestart) {
    // The clock is kept as a signed 32-bit tick count; wrap-around is by
    // two's complement, done in unsigned arithmetic to stay defined.
    const int32_t s = static_cast<int32_t>(scr);
    currentScr_ = s;
    if (rebasePending_) {
        const int64_t t = msToTicks(timeCodeToMs(startTime_));
        offset_ = s < t ? timeCodeFromMs(ticksToMs(t - s)) : TimeCode{};
        previousScr_ = 0;
        lastStep_ = 0;
        rebasePending_ = false;
    }
    if (s == 0 || (avoidTimeRestart && s < previousScr_)) {
        // A restart: the time line goes on from the last time reached plus
        // one step, and the restarted clock counts on from there.
        previousScr_ = static_cast<int32_t>(static_cast<uint32_t>(previousScr_) + lastStep_);
        offset_ = addTimeCodes(offset_, timeCodeFromMs(ticksToMs(previousScr_)));
    } else if (s >= previousScr_) {
        lastStep_ =
            static_cast<uint16_t>(static_cast<uint32_t>(s) - static_cast<uint32_t>(previousScr_));
    }
    previousScr_ = s;
}

TimeCode StreamClock::programTime(uint32_t ticks) const {
    return addTimeCodes(offset_, timeCodeFromMs(ticksToMs(int64_t{ticks})));
}

TimeCode StreamClock::lastTimeCode() const {
    return addTimeCodes(offset_, timeCodeFromMs(ticksToMs(currentScr_)));
}

}  // namespace orvane
