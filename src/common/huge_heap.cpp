#include "common/huge_heap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#include <malloc.h>
#include <sys/mman.h>
#define ORVANE_HUGE_HEAP 1
#endif

namespace orvane {

#ifdef ORVANE_HUGE_HEAP
namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// What the heap grows by at once; untouched pages of it cost nothing.
constexpr size_t kReserve = size_t{32} << 20;

// The start of the reserve below its first huge page: held, never touched
// (volatile: otherwise the compiler drops an allocation nobody reads).
void* volatile unalignedStart = nullptr;

uintptr_t alignDown(uintptr_t a) {
    return a & ~(uintptr_t{kHugePage} - 1);
}

}  // namespace

bool preferHugePagesForHeap() {
    // Blocks below the reserve's size come from the heap rather than from
    // mappings of their own (each faulted page by page again), and freed
    // memory stays for the next block instead of going back and forth.
    if (mallopt(M_MMAP_THRESHOLD, static_cast<int>(kReserve)) != 1) return false;
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(4 * kReserve));
    constexpr size_t kBlock = kReserve - kHugePage;
    void* block = std::malloc(kBlock);
    if (block == nullptr) return false;
    const auto at = reinterpret_cast<uintptr_t>(block);
    const uintptr_t first = alignDown(at + kHugePage - 1);
    // The huge page that holds the block's end is left out: the allocator
    // has written the next header there, and a touched small page keeps
    // its whole 2 MiB on small pages.
    const uintptr_t end = alignDown(at + kBlock);
    const bool advised =
        end > first && ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE) == 0;
    std::free(block);
    // Taking the part below the first huge page (less a margin for the
    // allocator's headers) makes the next blocks start inside it.
    constexpr uintptr_t kMargin = 64;
    if (advised && first - at > 2 * kMargin) unalignedStart = std::malloc(first - at - kMargin);
    return advised;
}

#else

bool preferHugePagesForHeap() {
    return false;
}

#endif

}  // namespace orvane
