#include "stream/cell_clock.h"

#include "stream/mpeg_ps_format.h"

namespace orvane {

CellClock::Update CellClock::onNavPack(const uint8_t* sector) {
    Update u;
    if (!rate_.detected()) {
        rate_ = sector[mpeg_ps::kNavFramesOffset] >= 0xC0 ? FrameRate::ntsc() : FrameRate::pal();
        u.rateDetected = true;
    }
    previous_ = current_;
    current_ = navTimeFromBcd(sector + mpeg_ps::kNavCellTimeOffset, rate_);
    if (current_ < previous_) {
        NavTime step;
        // The step is only ever recorded forward; a negative one adds nothing.
        step.frames = static_cast<uint8_t>(frameStep_ > 0 ? frameStep_ : 0);
        base_ = addNavTimes(total_, step, rate_);
        ++cellCounter_;
        u.newCell = true;
    } else if (current_.seconds == previous_.seconds) {
        frameStep_ = static_cast<int8_t>(current_.frames - previous_.frames);
    }
    total_ = addNavTimes(base_, current_, rate_);
    return u;
}

void CellClock::reset() {
    current_ = previous_ = base_ = total_ = {};
    cellCounter_ = 1;
    frameStep_ = 0;
    rate_.hundredths = 1;
}

std::string CellClock::rateLabel() const {
    if (!rate_.detected()) return {};
    return rate_.hundredths == 3000 ? "NTSC 30 Fps" : "PAL 25 Fps";
}

}  // namespace orvane
