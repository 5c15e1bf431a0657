// The pack reader and the unit assembler on arbitrary sectors; each unit
// that completes is decoded as well.
#include <algorithm>
#include <cstring>
#include <vector>

#include "stream/spu_assembler.h"
#include "stream/stream_clock.h"
#include "stream/stream_reader.h"
#include "subpicture/spu_decoder.h"

namespace {

class Events : public orvane::PackEvents {
  public:
    void onProgress(int64_t, bool) override {}
    bool onBadPackHeader(int64_t) override { return true; }
    void onScr(uint32_t scr) override { clock.updateScr(scr, (scr & 1) != 0); }
    void onNavPack(const uint8_t*) override {}
    void onSubPicturePacket(const orvane::SubPicturePacket& packet, int64_t sector) override {
        const auto step = assembler.addPacket(packet, sector, clock);
        if (step.complete) {
            orvane::SubPicture picture;
            orvane::decodeSubPicture(assembler.unit(), picture, orvane::PreviewColours{});
            assembler.clear();
        }
    }
    bool onPausePoint() override { return false; }

    orvane::StreamClock clock;
    orvane::SpuAssembler assembler;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kSector = 2048;
    Events events;
    orvane::ReadResult result;
    std::vector<uint8_t> sector(kSector);
    for (size_t at = 0, n = 0; at < size; at += kSector, ++n) {
        // The last, short sector is padded with zeros.
        std::memset(sector.data(), 0, kSector);
        std::memcpy(sector.data(), data + at, std::min(kSector, size - at));
        if (!orvane::StreamReader::handleSector(sector.data(), static_cast<int64_t>(n), 0, events,
                                                result))
            break;
    }
    return 0;
}
