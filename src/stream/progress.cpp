#include "stream/progress.h"

namespace orvane {

uint8_t progressPercent(uint64_t positionKiB, uint64_t totalKiB) {
    if (totalKiB == 0) return 0;
    const uint64_t p = positionKiB * 100 / totalKiB;
    return static_cast<uint8_t>(p > 100 ? 100 : p);
}

std::string progressPositionLabel(uint64_t positionKiB, uint64_t totalKiB, uint8_t percent) {
    return std::to_string(positionKiB / 1024) + "/" + std::to_string(totalKiB / 1024) + " MB (" +
           std::to_string(percent) + "%)";
}

std::string progressTitle(const std::string& caption, uint8_t percent) {
    return caption.substr(0, 6) + " - " + std::to_string(percent) + "%";
}

int64_t RemainingTimeEstimator::update(uint32_t nowTicks, uint64_t positionKiB, uint64_t totalKiB) {
    uint64_t kib = positionKiB > lastPositionKiB_ ? positionKiB - lastPositionKiB_ : 0;
    if (kib == 0) kib = 1;
    // Tick counts wrap after 49 days; the unsigned difference stays right.
    const uint32_t spent = nowTicks - lastTick_;
    int64_t rate = static_cast<int64_t>(uint64_t{spent} * 1024 / kib);
    const int64_t diff = lastRate_ > rate ? lastRate_ - rate : rate - lastRate_;
    if (diff < rate * 3 / 4) rate = (rate + 2 * lastRate_) / 3;
    lastRate_ = rate;
    const int64_t leftMiB =
        totalKiB > positionKiB ? static_cast<int64_t>((totalKiB - positionKiB) / 1024) : 0;
    lastTick_ = nowTicks;
    lastPositionKiB_ = positionKiB;
    return rate * leftMiB;
}

}  // namespace orvane
