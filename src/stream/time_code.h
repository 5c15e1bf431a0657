#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// Hours, minutes, seconds and milliseconds of program time. The zero time
// code also stands for "no time known" (an open stop time).
struct TimeCode {
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;
    uint16_t milliseconds = 0;

    bool isZero() const { return hours == 0 && minutes == 0 && seconds == 0 && milliseconds == 0; }
    friend bool operator==(const TimeCode&, const TimeCode&) = default;
};

// Milliseconds to time code; hours are kept in 8 bits. A negative value gives
// the zero time code (no negative program times exist).
TimeCode timeCodeFromMs(int64_t ms);
int64_t timeCodeToMs(const TimeCode& tc);

// 90 kHz ticks to milliseconds, truncating toward zero.
inline int64_t ticksToMs(int64_t ticks) {
    return ticks / 90;
}
inline int64_t msToTicks(int64_t ms) {
    return ms * 90;
}

// Field-wise addition with one carry per field; hours wrap in 8 bits.
TimeCode addTimeCodes(const TimeCode& a, const TimeCode& b);

// "hh:mm:ss,mmm" with at least 2, 2, 2 and 3 digits.
std::string formatTimeCode(const TimeCode& tc);
// The first eight characters of the text form, for the elapsed and
// remaining time labels.
std::string formatShortTimeCode(const TimeCode& tc);
// Reads the fields at their fixed places (hh at 1-2, mm at 4-5, ss at 7-8,
// mmm at 10-12); separators are not checked. Any field that is not a
// decimal number makes the whole result zero.
TimeCode parseTimeCode(std::string_view text);

// Frame rate of the NAV cell clock.
struct FrameRate {
    uint16_t hundredths = 1;   // 2500 or 3000; 1 = not detected yet
    uint8_t flagValue = 0x40;  // subtracted from the frames byte of a NAV cell time
    uint8_t lastFrame = 24;
    bool detected() const { return hundredths != 1; }
    uint8_t framesPerSecond() const { return hundredths == 3000 ? 30 : 25; }

    static FrameRate pal() { return {2500, 0x40, 24}; }
    static FrameRate ntsc() { return {3000, 0xC0, 29}; }
};

// Cell time of a NAV pack, binary fields; compared as one number.
struct NavTime {
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;
    uint8_t frames = 0;

    uint32_t key() const {
        return (uint32_t{hours} << 24) | (uint32_t{minutes} << 16) | (uint32_t{seconds} << 8) |
               frames;
    }
    friend bool operator==(const NavTime&, const NavTime&) = default;
    friend bool operator<(const NavTime& a, const NavTime& b) { return a.key() < b.key(); }
};

// The four BCD bytes of a NAV cell time; the rate flag is taken off the
// frames byte first.
NavTime navTimeFromBcd(const uint8_t bcd[4], const FrameRate& rate);
// Frames carry into seconds past the rate's last frame; seconds and minutes
// carry at 60; hours wrap in 8 bits. A negative frame sum counts as 0.
NavTime addNavTimes(const NavTime& a, const NavTime& b, const FrameRate& rate);
// Frames become milliseconds at the rate (PAL 40 ms, NTSC 100/3 ms truncated).
TimeCode navTimeToTimeCode(const NavTime& t, const FrameRate& rate);

}  // namespace orvane
