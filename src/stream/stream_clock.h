#pragma once

#include <cstdint>

#include "stream/time_code.h"

namespace orvane {

// Program time from the SCR of every pack and the PTS of every unit,
// carried across files and jobs, with the handling of clock restarts.
class StreamClock {
  public:
    // The start time of the job dialog; any change arms a re-base.
    void setStartTime(const TimeCode& start) {
        startTime_ = start;
        rebasePending_ = true;
    }
    const TimeCode& startTime() const { return startTime_; }

    // Re-base pending, start time 00:00:00,000, all clocks and the offset
    // zero.
    void reset();

    // Called for every sector read, with its SCR. A clock that steps on
    // (the most of them) is handled here; a re-base or a restart out of line.
    void updateScr(uint32_t scr, bool avoidTimeRestart) {
        const int32_t s = static_cast<int32_t>(scr);
        if (!rebasePending_ && s != 0 && s >= previousScr_) {
            currentScr_ = s;
            lastStep_ = static_cast<uint16_t>(static_cast<uint32_t>(s) -
                                              static_cast<uint32_t>(previousScr_));
            previousScr_ = s;
            return;
        }
        updateScrSlow(scr, avoidTimeRestart);
    }

    // offset + the PTS as time code: the start time of a unit.
    TimeCode programTime(uint32_t ticks) const;
    // offset + current SCR: the last time code reached.
    TimeCode lastTimeCode() const;

    const TimeCode& offset() const { return offset_; }
    int32_t currentScr() const { return currentScr_; }
    int32_t previousScr() const { return previousScr_; }
    uint16_t lastStep() const { return lastStep_; }
    bool rebasePending() const { return rebasePending_; }

  private:
    void updateScrSlow(uint32_t scr, bool avoidTimeRestart);

    TimeCode startTime_;
    TimeCode offset_;
    int32_t currentScr_ = 0;
    int32_t previousScr_ = 0;
    uint16_t lastStep_ = 0;
    bool rebasePending_ = true;
};

}  // namespace orvane
