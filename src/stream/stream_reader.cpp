#include "stream/stream_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "common/byte_cursor.h"
#include "common/io_error.h"
#include "stream/mpeg_ps_format.h"

namespace orvane {

using namespace mpeg_ps;

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

// Fills buf with n bytes unless the file ends first; returns bytes read.
size_t readFully(int fd, uint8_t* buf, size_t n, const std::string& path) {
    size_t got = 0;
    while (got < n) {
        ssize_t r = ::read(fd, buf + got, n - got);
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

// Reads the blocks of one file a few blocks ahead of their handling, in a
// thread of its own: copying the next block out of the page cache (or
// waiting for the drive) overlaps the handling of this one, so the handling
// hides under the reading. The blocks are handled in the calling thread, in
// order; a read error reaches the caller after every block before it.
class BlockPipe {
  public:
    struct Block {
        const uint8_t* data = nullptr;
        int64_t sectors = 0;
        explicit operator bool() const { return sectors > 0; }
    };

    BlockPipe(int fd, const std::string& path, int64_t sectors, uint8_t* slots)
        : fd_(fd), path_(path), sectors_(sectors), slots_(slots), thread_([this] {
              readAhead();
          }) {}

    ~BlockPipe() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    BlockPipe(const BlockPipe&) = delete;
    BlockPipe& operator=(const BlockPipe&) = delete;

    // The next block, once read; an empty block at the end of the file.
    // Hands the block returned before back to the reading thread.
    Block next() {
        std::unique_lock lock(mutex_);
        if (taken_ > 0) released_ = taken_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return filled_ > taken_ || finished_; });
        if (filled_ > taken_) {
            const int64_t k = taken_++;
            return {slot(k), sizes_[static_cast<size_t>(k % kReadAheadBlocks)]};
        }
        if (error_) std::rethrow_exception(error_);
        return {};
    }

  private:
    static constexpr size_t kSlotBytes = StreamReader::kBlockSectors * mpeg_ps::kSectorSize;

    uint8_t* slot(int64_t k) const {
        return slots_ + static_cast<size_t>(k % kReadAheadBlocks) * kSlotBytes;
    }

    void readAhead() {
        int64_t done = 0;  // sectors read so far
        for (int64_t k = 0; done < sectors_; ++k) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stop_ || k - released_ < kReadAheadBlocks; });
                if (stop_) return;
            }
            const int64_t want = std::min<int64_t>(
                static_cast<int64_t>(StreamReader::kBlockSectors), sectors_ - done);
            size_t got = 0;
            std::exception_ptr error;
            try {
                got = readFully(fd_, slot(k), static_cast<size_t>(want) * mpeg_ps::kSectorSize,
                                path_);
            } catch (...) {
                error = std::current_exception();
            }
            const int64_t whole = static_cast<int64_t>(got / mpeg_ps::kSectorSize);
            std::lock_guard lock(mutex_);
            if (error) {
                error_ = error;
                break;
            }
            if (whole > 0) {
                sizes_[static_cast<size_t>(k % kReadAheadBlocks)] = whole;
                filled_ = k + 1;
            }
            changed_.notify_all();
            if (whole < want) break;  // the file shrank while it was read
            done += whole;
        }
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }

    static constexpr int64_t kReadAheadBlocks = StreamReader::kReadAheadBlocks;

    const int fd_;
    const std::string& path_;
    const int64_t sectors_;
    uint8_t* const slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t filled_ = 0;    // blocks read
    int64_t taken_ = 0;     // blocks handed to the caller
    int64_t released_ = 0;  // blocks the caller is done with
    int64_t sizes_[StreamReader::kReadAheadBlocks] = {};
    bool stop_ = false;
    bool finished_ = false;
    std::exception_ptr error_;
    std::thread thread_;  // last: starts once everything above is set up
};

}  // namespace

StreamReader::StreamReader()
    : buffer_(new uint8_t[kReadAheadBlocks * kBlockSectors * kSectorSize]) {}
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

namespace {

// The work done for every sector, inlined into the read loop.
[[gnu::always_inline]] inline bool handlePack(const uint8_t* s, int64_t number,
                                              uint8_t selectedStream, PackEvents& events,
                                              ReadResult& result) {
    if ((number & (kSectorsPerMiB - 1)) == 0) {
        events.onProgress(number, ((number / kSectorsPerMiB) % 20) == 0);
    }
    if (loadU32be(s) != kPackStartCode && !events.onBadPackHeader(number)) {
        result = {ReadEnd::Declined, number + 1};
        return false;
    }
    events.onScr(scrOf(s));
    const uint32_t code = loadU32be(s + kFirstPacketOffset);
    if (code == kSystemHeaderStartCode) {
        events.onNavPack(s);
        return true;
    }
    if (code == kPrivateStream1StartCode &&
        s[kSubStreamBase + s[kPesHeaderLengthOffset]] == selectedStream) {
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

}  // namespace

bool StreamReader::handleSector(const uint8_t* s, int64_t number, uint8_t selectedStream,
                                PackEvents& events, ReadResult& result) {
    return handlePack(s, number, selectedStream, events, result);
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
    if (::lseek(file.get(), static_cast<off_t>(firstSector * static_cast<int64_t>(kSectorSize)),
                SEEK_SET) < 0) {
        throw IoError::fromErrno(path);
    }
    int64_t sector = firstSector;
    BlockPipe pipe(file.get(), path, sectors - firstSector, buffer_.get());
    while (const BlockPipe::Block block = pipe.next()) {
        const uint8_t* buf = block.data;
        for (int64_t i = 0; i < block.sectors; ++i, ++sector) {
            if (!handlePack(buf + i * kSectorSize, sector, selectedStream, events, result))
                return result;
        }
    }
    result = {ReadEnd::EndOfFile, sector};
    return result;
}

}  // namespace orvane
