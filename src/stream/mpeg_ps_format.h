#pragma once

#include <cstddef>
#include <cstdint>

// Layout of the 2048-byte packs of a DVD program stream, as far as the
// reader looks at them.
namespace orvane::mpeg_ps {

inline constexpr size_t kSectorSize = 2048;
inline constexpr size_t kSectorsPerMiB = 512;

inline constexpr uint32_t kPackStartCode = 0x000001BA;
inline constexpr uint32_t kSystemHeaderStartCode = 0x000001BB;  // first packet of a NAV pack
inline constexpr uint32_t kPrivateStream1StartCode = 0x000001BD;
inline constexpr uint32_t kPaddingStartCode = 0x000001BE;

inline constexpr size_t kScrOffset = 4;  // 4 bytes A, then 2 bytes B at 8
inline constexpr size_t kScrLowOffset = 8;
inline constexpr size_t kFirstPacketOffset = 14;  // the pack header is taken as 14 bytes
inline constexpr size_t kPesLengthOffset = 18;
inline constexpr size_t kPesLengthBase = 20;  // the PES length counts from here
inline constexpr size_t kPesHeaderLengthOffset = 22;
inline constexpr size_t kPtsOffset = 23;
inline constexpr size_t kSubStreamBase = 23;            // sub-stream id at 23 + H
inline constexpr size_t kPayloadBase = 24;              // payload at 24 + H
inline constexpr size_t kLastPaddingTestOffset = 2042;  // 20 + L above this: no padding test

inline constexpr size_t kNavCellTimeOffset = 69;  // hours, minutes, seconds, frames (BCD)
inline constexpr size_t kNavFramesOffset = 72;

inline constexpr uint8_t kFirstSubPictureStream = 0x20;

}  // namespace orvane::mpeg_ps
