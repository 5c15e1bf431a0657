#pragma once

#include <cstddef>
#include <cstdint>

// Layout of a DVD sub-picture unit (all values big-endian).
namespace orvane::spu {

inline constexpr size_t kUnitSizeOffset = 0;
inline constexpr size_t kFirstControlOffset = 2;
inline constexpr size_t kControlHeaderSize = 4;  // delay, next

inline constexpr uint8_t kCmdForcedStart = 0x00;
inline constexpr uint8_t kCmdStart = 0x01;
inline constexpr uint8_t kCmdStop = 0x02;
inline constexpr uint8_t kCmdPalette = 0x03;       // 2 bytes
inline constexpr uint8_t kCmdContrast = 0x04;      // 2 bytes
inline constexpr uint8_t kCmdArea = 0x05;          // 6 bytes
inline constexpr uint8_t kCmdFieldOffsets = 0x06;  // 4 bytes
inline constexpr uint8_t kCmdExtended = 0x07;      // 2-byte length counting itself, then data
inline constexpr uint8_t kCmdEnd = 0xFF;

inline constexpr uint16_t kDefaultContrast = 0xFFF0;
inline constexpr size_t kMaxSequences = 4096;

inline constexpr int kScreenWidth = 720;
inline constexpr int kScreenHeight = 576;

// Delays count in units of 1024/90000 s.
inline constexpr int32_t delayToMs(uint16_t raw) {
    return static_cast<int32_t>(raw) * 1024 / 90;
}

}  // namespace orvane::spu
