#include "stream/stream_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
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

// Spins for a short while (a block is copied in tens of microseconds) and
// then sleeps until woken. Sleeping and waking cost more than a block here:
// the other side is on the other core, copying, and is seldom long.
class Waiter {
  public:
    template <class Done>
    void wait(Done done) {
        for (int i = 0; i < kSpins; ++i) {
            if (done()) return;
            pause();
        }
        std::unique_lock lock(mutex_);
        sleeping_.store(true);
        wake_.wait(lock, done);
        sleeping_.store(false);
    }
    // Called after the change that may end the wait (seq_cst on both sides:
    // either the waiter sees the change or this sees the waiter asleep).
    void wakeIfSleeping() {
        if (!sleeping_.load()) return;
        std::lock_guard lock(mutex_);
        wake_.notify_one();
    }

  private:
    static constexpr int kSpins = 1024;
    static void pause() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> sleeping_{false};
};

// Reads the blocks of one file into a ring for the handling thread, which
// takes them in order. A reading thread of its own claims the blocks ahead
// while the ring has room; the handling thread, coming to a block nobody has
// claimed yet, reads it itself instead of waiting. So the file is copied out
// of the page cache (or waited for from the drive) on both cores at once,
// neither side sleeps while it could be copying, and without the reading
// thread the same code reads in the calling thread alone. A read error
// reaches the caller after every block before it.
class BlockPipe {
  public:
    struct Block {
        const uint8_t* data = nullptr;
        const PackSummary* packs = nullptr;
        int64_t sectors = 0;
        explicit operator bool() const { return sectors > 0; }
    };

    BlockPipe(int fd, const std::string& path, int64_t firstSector, int64_t sectors,
              uint8_t selectedStream, uint8_t* slots, PackSummary* summaries, bool readAhead)
        : fd_(fd),
          path_(path),
          firstSector_(firstSector),
          sectors_(sectors),
          selectedStream_(selectedStream),
          slots_(slots),
          summaries_(summaries),
          end_((sectors + kBlockSectors - 1) / kBlockSectors) {
        for (auto& b : slotBlock_) b.store(-1, std::memory_order_relaxed);
        if (!readAhead) return;
        try {
            reader_ = std::thread([this] { readAheadLoop(); });
        } catch (const std::system_error&) {
            // No thread to be had: every block is read in this one.
        }
    }

    ~BlockPipe() {
        stop_.store(true);
        room_.wakeIfSleeping();
        if (reader_.joinable()) reader_.join();
    }
    BlockPipe(const BlockPipe&) = delete;
    BlockPipe& operator=(const BlockPipe&) = delete;

    // The next block, once read; an empty block at the end of the file.
    // Hands the block returned before back to the reading thread.
    Block next() {
        released_.store(taken_);
        if (hasRoom(claimed_.load())) room_.wakeIfSleeping();
        const int64_t k = taken_;
        if (k >= end_.load()) return {};
        const size_t i = index(k);
        // Not read yet: read the first block nobody has claimed (this one, or
        // one ahead that will be needed soon) rather than wait; wait only
        // when every slot is claimed.
        while (slotBlock_[i].load() != k) {
            int64_t c = claimed_.load();
            if (c - k < kSlots && c < end_.load()) {
                if (claimed_.compare_exchange_weak(c, c + 1)) fill(c);
                continue;
            }
            filled_.wait([&] { return slotBlock_[i].load() == k; });
        }
        ++taken_;
        if (errors_[i]) std::rethrow_exception(errors_[i]);
        if (k >= end_.load()) return {};
        return {slot(k), summaries(k), sizes_[i]};
    }

  private:
    static constexpr int64_t kBlockSectors = static_cast<int64_t>(StreamReader::kBlockSectors);
    static constexpr int64_t kSlots = StreamReader::kReadAheadBlocks;
    static constexpr int64_t kBatch = kSlots / 2;

    static size_t index(int64_t k) { return static_cast<size_t>(k % kSlots); }
    uint8_t* slot(int64_t k) const {
        return slots_ + index(k) * static_cast<size_t>(kBlockSectors) * mpeg_ps::kSectorSize;
    }
    PackSummary* summaries(int64_t k) const { return summaries_ + index(k) * kBlockSectors; }
    // Once the reading thread has had to wait, it goes on only when a batch
    // of slots is free: a wake-up per block would cost more than it hides.
    bool hasRoom(int64_t k) const { return k - released_.load() <= kSlots - kBatch; }

    void readAheadLoop() {
        for (;;) {
            int64_t k = claimed_.load();
            if (stop_.load() || k >= end_.load()) return;
            if (k - released_.load() >= kSlots) {
                room_.wait([&] { return stop_.load() || hasRoom(claimed_.load()); });
                continue;
            }
            if (!claimed_.compare_exchange_weak(k, k + 1)) continue;
            fill(k);
            filled_.wakeIfSleeping();
        }
    }

    // Reads block k into its slot and notes its packs; never throws (an error
    // is kept for the caller).
    void fill(int64_t k) {
        const size_t i = index(k);
        const int64_t first = k * kBlockSectors;
        const int64_t want = std::min(kBlockSectors, sectors_ - first);
        size_t got = 0;
        std::exception_ptr error;
        try {
            got = readFullyAt(fd_, slot(k), static_cast<size_t>(want) * mpeg_ps::kSectorSize,
                              (firstSector_ + first) * static_cast<int64_t>(kSectorSize), path_);
        } catch (...) {
            error = std::current_exception();
        }
        const int64_t whole = static_cast<int64_t>(got / mpeg_ps::kSectorSize);
        const uint8_t* data = slot(k);
        PackSummary* packs = summaries(k);
        for (int64_t s = 0; s < whole; ++s) {
            // The headers lie 2 KiB apart, a stride the hardware does not
            // follow across pages: ask for the ones ahead.
            __builtin_prefetch(data + std::min(s + 16, whole - 1) * kSectorSize);
            packs[s] = summarise(data + s * kSectorSize, selectedStream_);
        }
        sizes_[i] = whole;
        errors_[i] = error;
        // An error, or the file shrank while it was read: nothing after this
        // block is handed on.
        if (error || whole < want) lowerEnd(whole > 0 || error ? k + 1 : k);
        slotBlock_[i].store(k);
    }

    void lowerEnd(int64_t end) {
        int64_t now = end_.load();
        while (end < now && !end_.compare_exchange_weak(now, end)) {
        }
    }

    const int fd_;
    const std::string& path_;
    const int64_t firstSector_;
    const int64_t sectors_;
    const uint8_t selectedStream_;
    uint8_t* const slots_;
    PackSummary* const summaries_;
    std::atomic<int64_t> end_;                // the block after the last one to hand on
    std::atomic<int64_t> claimed_{0};         // blocks claimed for reading, by either thread
    std::atomic<int64_t> released_{0};        // blocks the caller is done with
    std::atomic<int64_t> slotBlock_[kSlots];  // the block whose data a slot holds, once read
    int64_t sizes_[kSlots] = {};
    std::exception_ptr errors_[kSlots];
    int64_t taken_ = 0;  // blocks handed to the caller (the caller's own)
    std::atomic<bool> stop_{false};
    Waiter filled_;  // the caller, for a block the reading thread has in hand
    Waiter room_;    // the reading thread, for free slots
    std::thread reader_;
};

constexpr size_t kRingBytes =
    StreamReader::kReadAheadBlocks * StreamReader::kBlockSectors * mpeg_ps::kSectorSize;

// The ring's pages are all claimed when the reader is made, so that what a
// job holds does not depend on how much of the ring a short file reaches;
// and on huge pages where the system allows it: first touches of a
// thousand small pages (each a fault, and on a virtual machine often a trap
// to the host) cost more than the reading of a short file.
uint8_t* mapRing() {
    constexpr size_t kHugePage = size_t{2} << 20;
    const size_t span = kRingBytes + kHugePage;
    void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    // Keep the part that starts on a huge page; give the rest back.
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t ring = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t ringEnd = ring + kRingBytes;
    if (ring > start) ::munmap(raw, ring - start);
    if (start + span > ringEnd) ::munmap(reinterpret_cast<void*>(ringEnd), start + span - ringEnd);
    uint8_t* p = reinterpret_cast<uint8_t*>(ring);
#ifdef MADV_HUGEPAGE
    ::madvise(p, kRingBytes, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    if (::madvise(p, kRingBytes, MADV_POPULATE_WRITE) == 0) return p;
#endif
    std::memset(p, 0, kRingBytes);
    return p;
}
}  // namespace

void StreamReader::Unmap::operator()(uint8_t* ring) const {
    ::munmap(ring, kRingBytes);
}

StreamReader::StreamReader()
    : buffer_(mapRing()), summaries_(new PackSummary[kReadAheadBlocks * kBlockSectors]) {}
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
    BlockPipe pipe(file.get(), path, firstSector, sectors - firstSector, selectedStream,
                   buffer_.get(), summaries_.get(), readAhead_);
    while (const BlockPipe::Block block = pipe.next()) {
        for (int64_t i = 0; i < block.sectors; ++i, ++sector) {
            if (!handlePack(block.data + i * kSectorSize, block.packs[i], sector, events, result))
                return result;
        }
    }
    result = {ReadEnd::EndOfFile, sector};
    return result;
}

}  // namespace orvane
