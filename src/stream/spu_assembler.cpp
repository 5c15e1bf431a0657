#include "stream/spu_assembler.h"

#include <cstring>

#include "common/byte_cursor.h"
#include "stream/mpeg_ps_format.h"

namespace orvane {

SpuAssembler::SpuAssembler() : buffer_(new uint8_t[kBufferSize]()) {}

SpuAssembler::Step SpuAssembler::addPacket(const SubPicturePacket& packet, int64_t sector,
                                           const StreamClock& clock) {
    Step step;
    if (collected_ == 0) {
        step.began = true;
        // The size field sits at the payload start; H is at most 255, so
        // both bytes lie inside the sector even when the payload is short.
        unitSize_ = loadU16be(packet.sector + mpeg_ps::kPayloadBase + packet.headerLength);
        startSector_ = sector;
        startTime_ = clock.programTime(StreamReader::readPts(packet.sector));
    }
    size_t n = packet.payload.size();
    bool overflow = false;
    if (n > kBufferSize - collected_) {
        n = kBufferSize - collected_;
        overflow = true;
    }
    if (n > 0) std::memcpy(buffer_.get() + collected_, packet.payload.data(), n);
    collected_ += n;
    if (collected_ > 0 && (packet.paddingFollows || overflow || collected_ >= unitSize_)) {
        step.complete = true;
    }
    return step;
}

}  // namespace orvane
