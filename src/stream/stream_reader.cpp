#include "stream/stream_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "common/byte_cursor.h"
#include "common/io_error.h"
#include "stream/mpeg_ps_format.h"

namespace orvane {

using namespace mpeg_ps;

// What the reading thread finds out about a pack while it is still in its
// cache, so that the handling thread touches only this summary (and the
// sectors it hands on) instead of every sector's header.
struct PackSummary {
    uint32_t scr = 0;
    enum Kind : uint8_t { Nav, Selected, Other } kind = Other;
    bool startCodeOk = false;
};

namespace {

class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Fills buf with n bytes from the offset unless the file ends first;
// returns bytes read. pread: the reading threads share the file.
size_t readFullyAt(int fd, uint8_t* buf, size_t n, int64_t offset, const std::string& path) {
    size_t got = 0;
    while (got < n) {
        ssize_t r =
            ::pread(fd, buf + got, n - got, static_cast<off_t>(offset) + static_cast<off_t>(got));
        if (r < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(path);
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    return got;
}

// The SCR of a pack: inline, as every sector has one.
inline uint32_t scrOf(const uint8_t* sector) {
    const uint32_t a = loadU32be(sector + kScrOffset);
    const uint32_t b = loadU16be(sector + kScrLowOffset);
    return (((a >> 27) & 0x3) << 30) | (((a >> 11) & 0x7FFF) << 15) | ((a & 0x3FF) << 5) |
           ((b >> 11) & 0x1F);
}

inline PackSummary summarise(const uint8_t* s, uint8_t selectedStream) {
    PackSummary p;
    p.startCodeOk = loadU32be(s) == kPackStartCode;
    p.scr = scrOf(s);
    const uint32_t code = loadU32be(s + kFirstPacketOffset);
    if (code == kSystemHeaderStartCode) {
        p.kind = PackSummary::Nav;
    } else if (code == kPrivateStream1StartCode &&
               s[kSubStreamBase + s[kPesHeaderLengthOffset]] == selectedStream) {
        p.kind = PackSummary::Selected;
    }
    return p;
}

// The work done for every sector, inlined into the read loop.
[[gnu::always_inline]] inline bool handlePack(const uint8_t* s, const PackSummary& pack,
                                              int64_t number, PackEvents& events,
                                              ReadResult& result) {
    if ((number & (kSectorsPerMiB - 1)) == 0) {
        events.onProgress(number, ((number / kSectorsPerMiB) % 20) == 0);
    }
    if (!pack.startCodeOk && !events.onBadPackHeader(number)) {
        result = {ReadEnd::Declined, number + 1};
        return false;
    }
    events.onScr(pack.scr);
    if (pack.kind == PackSummary::Nav) {
        events.onNavPack(s);
        return true;
    }
    if (pack.kind == PackSummary::Selected) {
        SubPicturePacket packet;
        if (StreamReader::parsePrivatePacket(s, packet)) events.onSubPicturePacket(packet, number);
        return true;
    }
    if (events.onPausePoint()) {
        result = {ReadEnd::Paused, number + 1};
        return false;
    }
    return true;
}

// Reads the blocks of one file ahead of their handling, in two threads of
// their own taking turns block by block: copying the next blocks out of the
// page cache (or waiting for the drive) overlaps the handling of these, and
// two copies run at once. The blocks are handled in the calling thread, in
// order; a read error reaches the caller after every block before it.
// Either side that has to wait sleeps until a batch of blocks is ready for
// it, not just one: a wake-up per block would cost more than it hides.
class BlockPipe {
  public:
    struct Block {
        const uint8_t* data = nullptr;
        const PackSummary* packs = nullptr;
        int64_t sectors = 0;
        explicit operator bool() const { return sectors > 0; }
    };

    BlockPipe(int fd, const std::string& path, int64_t firstSector, int64_t sectors,
              uint8_t selectedStream, uint8_t* slots, PackSummary* summaries)
        : fd_(fd),
          path_(path),
          firstSector_(firstSector),
          sectors_(sectors),
          selectedStream_(selectedStream),
          slots_(slots),
          summaries_(summaries),
          end_((sectors + kBlockSectors - 1) / kBlockSectors) {
        for (int64_t& b : slotBlock_) b = -1;
        for (int64_t& w : waitingFor_) w = -1;
        try {
            for (int j = 0; j < kReaders; ++j) {
                readers_[j] = std::thread([this, j] { readAhead(j); });
            }
        } catch (...) {
            stopAndJoin();
            throw;
        }
    }

    ~BlockPipe() { stopAndJoin(); }
    BlockPipe(const BlockPipe&) = delete;
    BlockPipe& operator=(const BlockPipe&) = delete;

    // The next block, once read; an empty block at the end of the file.
    // Hands the block returned before back to the reading threads.
    Block next() {
        std::unique_lock lock(mutex_);
        released_ = taken_;
        for (const int64_t k : waitingFor_) {
            if (k >= 0 && readerMayGo(k)) {
                readerMayGo_.notify_all();
                break;
            }
        }
        if (taken_ < end_ && !ready(taken_)) {
            callerWaiting_ = true;
            callerMayGo_.wait(lock, [this] { return callerMayGo(); });
            callerWaiting_ = false;
        }
        if (taken_ >= end_) return {};
        const int64_t k = taken_++;
        const size_t i = index(k);
        if (errors_[i]) std::rethrow_exception(errors_[i]);
        return {slot(k), summaries(k), sizes_[i]};
    }

  private:
    static constexpr int kReaders = 2;

    void stopAndJoin() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        readerMayGo_.notify_all();
        for (std::thread& t : readers_) {
            if (t.joinable()) t.join();
        }
    }
    static constexpr int64_t kBlockSectors = static_cast<int64_t>(StreamReader::kBlockSectors);
    static constexpr int64_t kSlots = StreamReader::kReadAheadBlocks;
    static constexpr int64_t kBatch = kSlots / 2;

    static size_t index(int64_t k) { return static_cast<size_t>(k % kSlots); }
    uint8_t* slot(int64_t k) const {
        return slots_ + index(k) * static_cast<size_t>(kBlockSectors) * mpeg_ps::kSectorSize;
    }
    PackSummary* summaries(int64_t k) const { return summaries_ + index(k) * kBlockSectors; }
    // Under the lock from here on.
    bool ready(int64_t k) const { return slotBlock_[index(k)] == k; }
    // A batch of slots is free for the reader of block k.
    bool readerMayGo(int64_t k) const {
        return stop_ || k >= end_ || k - released_ <= kSlots - kBatch;
    }
    // A batch of blocks (or the rest of the file) is ready.
    bool callerMayGo() const {
        const int64_t want = std::min(kBatch, end_ - taken_);
        int64_t got = 0;
        while (got < want && ready(taken_ + got)) ++got;
        return got >= want;
    }

    void readAhead(int reader) {
        for (int64_t k = reader;; k += kReaders) {
            {
                std::unique_lock lock(mutex_);
                if (k - released_ >= kSlots) {
                    waitingFor_[reader] = k;
                    readerMayGo_.wait(lock, [this, k] { return readerMayGo(k); });
                    waitingFor_[reader] = -1;
                }
                if (stop_ || k >= end_) return;
            }
            const int64_t first = k * kBlockSectors;
            const int64_t want = std::min(kBlockSectors, sectors_ - first);
            size_t got = 0;
            std::exception_ptr error;
            try {
                got =
                    readFullyAt(fd_, slot(k), static_cast<size_t>(want) * mpeg_ps::kSectorSize,
                                (firstSector_ + first) * static_cast<int64_t>(kSectorSize), path_);
            } catch (...) {
                error = std::current_exception();
            }
            const int64_t whole = static_cast<int64_t>(got / mpeg_ps::kSectorSize);
            const uint8_t* data = slot(k);
            for (int64_t i = 0; i < whole; ++i) {
                // The headers lie 2 KiB apart, a stride the hardware does not
                // follow across pages: ask for the ones ahead.
                __builtin_prefetch(data + std::min(i + 16, whole - 1) * kSectorSize);
                summaries(k)[i] = summarise(data + i * kSectorSize, selectedStream_);
            }
            std::lock_guard lock(mutex_);
            const size_t i = index(k);
            sizes_[i] = whole;
            errors_[i] = error;
            slotBlock_[i] = k;
            // An error, or the file shrank while it was read: nothing after
            // this block is handed on.
            const bool last = error || whole < want;
            if (last) end_ = std::min(end_, whole > 0 || error ? k + 1 : k);
            if (callerWaiting_ && callerMayGo()) callerMayGo_.notify_one();
            if (last) {
                readerMayGo_.notify_all();
                return;
            }
        }
    }

    const int fd_;
    const std::string& path_;
    const int64_t firstSector_;
    const int64_t sectors_;
    const uint8_t selectedStream_;
    uint8_t* const slots_;
    PackSummary* const summaries_;
    std::mutex mutex_;
    std::condition_variable readerMayGo_;
    std::condition_variable callerMayGo_;
    int64_t end_;                // the block after the last one to hand on
    int64_t taken_ = 0;          // blocks handed to the caller
    int64_t released_ = 0;       // blocks the caller is done with
    int64_t slotBlock_[kSlots];  // the block whose data a slot holds, once read
    int64_t sizes_[kSlots] = {};
    std::exception_ptr errors_[kSlots];
    int64_t waitingFor_[kReaders];  // the block a waiting reader waits to read, or -1
    bool callerWaiting_ = false;
    bool stop_ = false;
    std::thread readers_[kReaders];
};

}  // namespace

// The ring is zeroed, and so claimed, once: what a job holds does not then
// depend on how much of the ring a short file happens to reach.
StreamReader::StreamReader()
    : buffer_(new uint8_t[kReadAheadBlocks * kBlockSectors * kSectorSize]()),
      summaries_(new PackSummary[kReadAheadBlocks * kBlockSectors]) {}
StreamReader::~StreamReader() = default;

uint32_t StreamReader::readScr(const uint8_t* sector) {
    return scrOf(sector);
}

uint32_t StreamReader::readPts(const uint8_t* sector) {
    const uint8_t* p = sector + kPtsOffset;
    return (((uint32_t{p[0]} >> 1) & 0x3) << 30) | ((uint32_t{loadU16be(p + 1)} >> 1) << 15) |
           (uint32_t{loadU16be(p + 3)} >> 1);
}

bool StreamReader::parsePrivatePacket(const uint8_t* sector, SubPicturePacket& out) {
    const uint16_t l = loadU16be(sector + kPesLengthOffset);
    const uint8_t h = sector[kPesHeaderLengthOffset];
    if (l < size_t{h} + 4) return false;
    out.sector = sector;
    out.pesLength = l;
    out.headerLength = h;
    // A length that runs past the sector is clipped to it: nothing beyond
    // the 2048 bytes is ever read.
    const size_t start = kPayloadBase + h;  // at most 279
    size_t len = size_t{l} - h - 4;
    if (start + len > kSectorSize) len = kSectorSize - start;
    out.payload = std::span<const uint8_t>(sector + start, len);
    const size_t next = kPesLengthBase + l;
    out.paddingFollows =
        next <= kLastPaddingTestOffset && loadU32be(sector + next) == kPaddingStartCode;
    return true;
}

bool StreamReader::handleSector(const uint8_t* s, int64_t number, uint8_t selectedStream,
                                PackEvents& events, ReadResult& result) {
    return handlePack(s, summarise(s, selectedStream), number, events, result);
}

ReadResult StreamReader::readFile(const std::string& path, int64_t firstSector,
                                  uint8_t selectedStream, PackEvents& events) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) throw IoError::fromErrno(path);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) throw IoError::fromErrno(path);
    // A trailing part shorter than a sector is not read.
    const int64_t sectors = static_cast<int64_t>(st.st_size) / static_cast<int64_t>(kSectorSize);
    if (firstSector < 0) firstSector = 0;
    ReadResult result{ReadEnd::EndOfFile, firstSector};
    if (firstSector >= sectors) {
        return result;
    }
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    int64_t sector = firstSector;
    std::optional<BlockPipe> pipe;
    if (readAhead_) {
        try {
            pipe.emplace(file.get(), path, firstSector, sectors - firstSector, selectedStream,
                         buffer_.get(), summaries_.get());
        } catch (const std::system_error&) {
            // No thread to be had: read in this one.
        }
    }
    if (pipe) {
        while (const BlockPipe::Block block = pipe->next()) {
            for (int64_t i = 0; i < block.sectors; ++i, ++sector) {
                if (!handlePack(block.data + i * kSectorSize, block.packs[i], sector, events,
                                result))
                    return result;
            }
        }
        result = {ReadEnd::EndOfFile, sector};
        return result;
    }
    // One thread, in 1 MiB reads.
    const int64_t blockSectors = kSectorsPerMiB;
    uint8_t* buf = buffer_.get();
    while (sector < sectors) {
        const int64_t want = std::min(blockSectors, sectors - sector);
        const size_t got = readFullyAt(file.get(), buf, static_cast<size_t>(want) * kSectorSize,
                                       sector * static_cast<int64_t>(kSectorSize), path);
        const int64_t whole = static_cast<int64_t>(got / kSectorSize);
        for (int64_t i = 0; i < whole; ++i, ++sector) {
            const uint8_t* s = buf + i * kSectorSize;
            if (!handlePack(s, summarise(s, selectedStream), sector, events, result)) return result;
        }
        if (whole < want) break;  // the file shrank while it was read
    }
    result = {ReadEnd::EndOfFile, sector};
    return result;
}

}  // namespace orvane
