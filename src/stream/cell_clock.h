#pragma once

#include <cstdint>
#include <string>

#include "stream/time_code.h"

namespace orvane {

// The NAV-pack cell clock: counts cells and accumulates cell time for the
// display. Subtitle times do not come from here.
class CellClock {
  public:
    struct Update {
        bool rateDetected = false;  // the rate was detected at this pack
        bool newCell = false;       // the cell counter changed
    };

    // Called with the sector of every NAV pack (at least 73 bytes).
    Update onNavPack(const uint8_t* sector);

    // Part of the time-code reset: clocks zero, counter 1, rate undetected.
    void reset();
    // A new job detects the frame rate again at its first NAV pack.
    void rearmFrameRate() {
        rate_.hundredths = 1;
        frameStep_ = 0;
    }

    const FrameRate& rate() const { return rate_; }
    // "PAL 25 Fps" or "NTSC 30 Fps" once detected, else empty.
    std::string rateLabel() const;
    const NavTime& current() const { return current_; }
    const NavTime& previous() const { return previous_; }
    const NavTime& base() const { return base_; }
    const NavTime& total() const { return total_; }
    int8_t frameStep() const { return frameStep_; }
    uint16_t cellCounter() const { return cellCounter_; }
    TimeCode totalTimeCode() const { return navTimeToTimeCode(total_, rate_); }

  private:
    FrameRate rate_;
    NavTime current_, previous_, base_, total_;
    int8_t frameStep_ = 0;
    uint16_t cellCounter_ = 1;
};

}  // namespace orvane
