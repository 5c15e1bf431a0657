#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "stream/stream_clock.h"
#include "stream/stream_reader.h"
#include "stream/time_code.h"

namespace orvane {

// Gathers the payload of the selected stream's packets into one
// sub-picture unit and tells when it is complete. The buffer survives the
// end of a file: a unit that runs over a file boundary is completed from
// the next file.
class SpuAssembler {
  public:
    static constexpr size_t kBufferSize = 65536;

    struct Step {
        bool began = false;     // this packet began a unit
        bool complete = false;  // the unit is complete and waits for dispatch
    };

    SpuAssembler();

    // Adds one packet. When it begins a unit, the unit size, start sector
    // and start time (offset + PTS) are taken from it. Bytes that would run
    // past the 65536-byte buffer are dropped; the unit then counts as
    // having reached its size. A unit that completes without any byte is
    // dropped.
    Step addPacket(const SubPicturePacket& packet, int64_t sector, const StreamClock& clock);

    // Forgets the unit under way or just completed.
    void clear() { collected_ = 0; }

    bool collecting() const { return collected_ > 0; }
    size_t collectedLength() const { return collected_; }
    uint16_t unitSize() const { return unitSize_; }
    int64_t unitStartSector() const { return startSector_; }
    const TimeCode& unitStartTime() const { return startTime_; }
    std::span<const uint8_t> unit() const { return {buffer_.get(), collected_}; }

  private:
    std::unique_ptr<uint8_t[]> buffer_;
    size_t collected_ = 0;
    uint16_t unitSize_ = 0;
    int64_t startSector_ = 0;
    TimeCode startTime_;
};

}  // namespace orvane
