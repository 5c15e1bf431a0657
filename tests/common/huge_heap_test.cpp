#include "common/huge_heap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace orvane {
namespace {

// The flags of the mapping that holds `address`, from /proc/self/smaps.
std::string mappingFlags(const void* address) {
    const auto a = reinterpret_cast<uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-') {
            inside = from <= a && a < to;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return {};
}

// Small blocks may still come from memory freed before; a block that
// needs fresh memory lies on the huge-page range (its first bytes may sit
// in the few before it).
TEST(HugeHeap, FreshBlocksComeFromTheHugePageRange) {
    if (!preferHugePagesForHeap()) GTEST_SKIP() << "no huge-page heap in this build";
    constexpr size_t kSize = size_t{1} << 20;
    auto* block = static_cast<char*>(std::malloc(kSize));
    const std::string flags = mappingFlags(block + 4096);
    std::free(block);
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}

}  // namespace
}  // namespace orvane
