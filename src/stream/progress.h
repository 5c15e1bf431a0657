#pragma once

#include <cstdint>
#include <string>

#include "stream/time_code.h"

namespace orvane {

// Position in the job in KiB: two KiB per sector of the current file plus
// the sizes of the files before it.
inline uint64_t jobPositionKiB(int64_t sector, uint64_t sizeOfEarlierFilesKiB) {
    return static_cast<uint64_t>(sector < 0 ? 0 : sector) * 2 + sizeOfEarlierFilesKiB;
}

// Percent done, 0..100. A job of total size 0 is at 0 %; a position past
// the total (a file that grew since the job began) stops at 100 %.
uint8_t progressPercent(uint64_t positionKiB, uint64_t totalKiB);

// "<pos MiB>/<total MiB> MB (<percent>%)".
std::string progressPositionLabel(uint64_t positionKiB, uint64_t totalKiB, uint8_t percent);

// The application title while reading: the first six characters of the
// main window caption, " - ", the percent and "%".
std::string progressTitle(const std::string& caption, uint8_t percent);

// The remaining-time estimate, kept between calls of one reader run.
class RemainingTimeEstimator {
  public:
    void start(uint32_t nowTicks) {
        lastTick_ = nowTicks;
        lastPositionKiB_ = 0;
        lastRate_ = 0;
    }
    // Returns the remaining time in ms.
    int64_t update(uint32_t nowTicks, uint64_t positionKiB, uint64_t totalKiB);
    int64_t lastRate() const { return lastRate_; }

  private:
    uint32_t lastTick_ = 0;
    uint64_t lastPositionKiB_ = 0;
    int64_t lastRate_ = 0;  // ms per MiB
};

}  // namespace orvane
