#include "stream/time_code.h"

namespace orvane {

TimeCode timeCodeFromMs(int64_t ms) {
    if (ms < 0) return {};
    TimeCode tc;
    tc.hours = static_cast<uint8_t>(ms / 3600000);
    tc.minutes = static_cast<uint8_t>((ms / 1000 % 3600) / 60);
    tc.seconds = static_cast<uint8_t>(ms / 1000 % 60);
    tc.milliseconds = static_cast<uint16_t>(ms % 1000);
    return tc;
}

int64_t timeCodeToMs(const TimeCode& tc) {
    return int64_t{tc.hours} * 3600000 + int64_t{tc.minutes} * 60000 + int64_t{tc.seconds} * 1000 +
           tc.milliseconds;
}

namespace {

// Adds hours, minutes and seconds with one carry per field (seconds and
// minutes carry at 60, hours wrap in 8 bits), starting from `carry` out
// of the smaller field.
template <typename T>
void addClockFields(const T& a, const T& b, unsigned carry, T& r) {
    unsigned s = unsigned{a.seconds} + b.seconds + carry;
    carry = 0;
    if (s >= 60) {
        s -= 60;
        carry = 1;
    }
    unsigned m = unsigned{a.minutes} + b.minutes + carry;
    carry = 0;
    if (m >= 60) {
        m -= 60;
        carry = 1;
    }
    r.seconds = static_cast<uint8_t>(s);
    r.minutes = static_cast<uint8_t>(m);
    r.hours = static_cast<uint8_t>(a.hours + b.hours + carry);
}

}  // namespace

TimeCode addTimeCodes(const TimeCode& a, const TimeCode& b) {
    TimeCode r;
    unsigned ms = unsigned{a.milliseconds} + b.milliseconds;
    unsigned carry = 0;
    if (ms >= 1000) {
        ms -= 1000;
        carry = 1;
    }
    r.milliseconds = static_cast<uint16_t>(ms);
    addClockFields(a, b, carry, r);
    return r;
}

namespace {

// Writes v with at least `width` digits at p; the end of them.
char* putDigits(char* p, unsigned v, int width) {
    char digits[8];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = n; i < width; ++i) *p++ = '0';
    while (n > 0) *p++ = digits[--n];
    return p;
}

}  // namespace

std::string formatTimeCode(const TimeCode& tc) {
    // Written digit by digit: every subtitle shown and saved formats its
    // times, where printf's format parsing was most of the cost.
    char buf[32];
    char* p = putDigits(buf, tc.hours, 2);
    *p++ = ':';
    p = putDigits(p, tc.minutes, 2);
    *p++ = ':';
    p = putDigits(p, tc.seconds, 2);
    *p++ = ',';
    p = putDigits(p, tc.milliseconds, 3);
    return std::string(buf, p);
}

std::string formatShortTimeCode(const TimeCode& tc) {
    return formatTimeCode(tc).substr(0, 8);
}

namespace {

// A field of the text form: decimal digits, leading blanks allowed.
bool parseField(std::string_view text, size_t pos, size_t len, unsigned& out) {
    if (pos >= text.size()) return false;
    std::string_view f = text.substr(pos, len);
    while (!f.empty() && f.front() == ' ') f.remove_prefix(1);
    if (f.empty()) return false;
    unsigned v = 0;
    for (char c : f) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    out = v;
    return true;
}

}  // namespace

TimeCode parseTimeCode(std::string_view text) {
    unsigned h = 0, m = 0, s = 0, ms = 0;
    if (!parseField(text, 0, 2, h) || !parseField(text, 3, 2, m) || !parseField(text, 6, 2, s) ||
        !parseField(text, 9, 3, ms)) {
        return {};
    }
    return TimeCode{static_cast<uint8_t>(h), static_cast<uint8_t>(m), static_cast<uint8_t>(s),
                    static_cast<uint16_t>(ms)};
}

NavTime navTimeFromBcd(const uint8_t bcd[4], const FrameRate& rate) {
    auto fromBcd = [](uint8_t b) { return static_cast<uint8_t>((b >> 4) * 10 + (b & 0x0F)); };
    NavTime t;
    t.hours = fromBcd(bcd[0]);
    t.minutes = fromBcd(bcd[1]);
    t.seconds = fromBcd(bcd[2]);
    t.frames = fromBcd(static_cast<uint8_t>(bcd[3] - rate.flagValue));
    return t;
}

NavTime addNavTimes(const NavTime& a, const NavTime& b, const FrameRate& rate) {
    int frames = int{a.frames} + int{b.frames};
    if (frames < 0) frames = 0;
    unsigned carry = 0;
    if (frames > rate.lastFrame) {
        frames -= rate.framesPerSecond();
        carry = 1;
    }
    NavTime r;
    r.frames = static_cast<uint8_t>(frames);
    addClockFields(a, b, carry, r);
    return r;
}

TimeCode navTimeToTimeCode(const NavTime& t, const FrameRate& rate) {
    TimeCode tc;
    tc.hours = t.hours;
    tc.minutes = t.minutes;
    tc.seconds = t.seconds;
    // An undetected rate reads as PAL; the labels only show detected rates.
    uint32_t hundredths = rate.detected() ? rate.hundredths : 2500u;
    tc.milliseconds = static_cast<uint16_t>(uint32_t{t.frames} * 100000u / hundredths);
    return tc;
}

}  // namespace orvane
