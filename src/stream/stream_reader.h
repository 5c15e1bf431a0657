#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace orvane {

// A private-stream-1 packet of the selected sub-picture stream.
struct SubPicturePacket {
    const uint8_t* sector = nullptr;   // the whole 2048-byte sector
    uint16_t pesLength = 0;            // L
    uint8_t headerLength = 0;          // H
    std::span<const uint8_t> payload;  // L - H - 4 bytes from 24 + H, clipped to the sector
    bool paddingFollows = false;       // 0x000001BE at 20 + L (tested only if 20 + L <= 2042)
};

// What the reader reports while it walks a file. Implemented by the
// session, which owns the clocks, the assembler and the job.
class PackEvents {
  public:
    virtual ~PackEvents() = default;
    // Called before sector p is handled when p is a multiple of 512; the
    // remaining-time estimate is due when p / 512 is a multiple of 20.
    virtual void onProgress(int64_t sector, bool estimateRemaining) = 0;
    // The sector does not start with a pack start code. True: go on with it
    // as if it were a pack; false: stop reading this file.
    virtual bool onBadPackHeader(int64_t sector) = 0;
    virtual void onScr(uint32_t scr) = 0;
    virtual void onNavPack(const uint8_t* sector) = 0;
    virtual void onSubPicturePacket(const SubPicturePacket& packet, int64_t sector) = 0;
    // A packet that is neither NAV nor of the stream. True: leave the file.
    virtual bool onPausePoint() = 0;
};

struct PackSummary;  // what the reading thread found in a pack

enum class ReadEnd { EndOfFile, Paused, Declined };

struct ReadResult {
    ReadEnd end = ReadEnd::EndOfFile;
    int64_t nextSector = 0;  // the sector after the last one handled
};

// Reads one VOB file in 2048-byte packs from a start sector, in large
// blocks into a fixed buffer: a thread of its own reads ahead while the
// calling thread reads the blocks it reaches first; the events are always
// called in the caller's thread, in order. Throws IoError when the
// file cannot be opened or read.
class StreamReader {
  public:
    StreamReader();
    ~StreamReader();
    StreamReader(const StreamReader&) = delete;
    StreamReader& operator=(const StreamReader&) = delete;

    ReadResult readFile(const std::string& path, int64_t firstSector, uint8_t selectedStream,
                        PackEvents& events);

    // On by default; off reads in the calling thread alone (as it also does
    // when no thread can be started).
    void setReadAhead(bool on) { readAhead_ = on; }

    // Handles one sector; returns false when reading must stop (result set).
    static bool handleSector(const uint8_t* sector, int64_t number, uint8_t selectedStream,
                             PackEvents& events, ReadResult& result);

    static uint32_t readScr(const uint8_t* sector);
    static uint32_t readPts(const uint8_t* sector);
    // Parses the private-stream-1 packet at offset 14. False for a packet
    // whose lengths leave no payload (L < H + 4): such packets are dropped.
    static bool parsePrivatePacket(const uint8_t* sector, SubPicturePacket& out);

    static constexpr size_t kBlockSectors = 256;    // 512 KiB reads
    static constexpr int64_t kReadAheadBlocks = 8;  // blocks in flight at once

  private:
    struct Unmap {
        void operator()(uint8_t* ring) const;
    };
    std::unique_ptr<uint8_t, Unmap> buffer_;
    std::unique_ptr<PackSummary[]> summaries_;
    bool readAhead_ = true;
};

}  // namespace orvane
