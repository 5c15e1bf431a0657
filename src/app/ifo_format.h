#pragma once

#include <cstddef>

// The sub-picture attribute table of a title set IFO file.
namespace orvane::ifo {

inline constexpr size_t kSubPictureAttributesOffset = 600;
inline constexpr size_t kSubPictureRecordSize = 6;  // 2 language bytes, 4 unused
inline constexpr size_t kSubPictureStreams = 32;
inline constexpr size_t kMinimumFileSize =
    kSubPictureAttributesOffset + kSubPictureRecordSize * kSubPictureStreams;  // 792

static_assert(kMinimumFileSize == 792);

inline constexpr size_t kMaxStreamNameLength = 20;

}  // namespace orvane::ifo
