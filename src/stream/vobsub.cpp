#include "stream/vobsub.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "stream/mpeg_ps_format.h"

namespace orvane::vobsub {

namespace {

using mpeg_ps::kSectorSize;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

template <typename T>
bool number(std::string_view s, T& out, int base = 10) {
    s = trim(s);
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out, base);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// No time or shift in an index goes beyond this (over eleven years), so
// that adding them up cannot overflow.
constexpr int64_t kMaxHours = 99'999;
constexpr int64_t kMaxTimeMs = (kMaxHours + 1) * 3'600'000;

// "hh:mm:ss:mmm"; false for anything else (a negative time, or hours past
// kMaxHours, included).
bool parseTime(std::string_view s, int64_t& ms) {
    s = trim(s);
    if (!s.empty() && s.front() == '-') return false;
    int64_t part[4];
    for (int i = 0; i < 4; ++i) {
        const size_t colon = i < 3 ? s.find(':') : s.size();
        if (colon == std::string_view::npos || !number(s.substr(0, colon), part[i])) return false;
        if (part[i] < 0) return false;
        s.remove_prefix(std::min(s.size(), colon + 1));
    }
    if (part[0] > kMaxHours || part[1] > 59 || part[2] > 59 || part[3] > 999) return false;
    ms = ((part[0] * 60 + part[1]) * 60 + part[2]) * 1000 + part[3];
    return true;
}

// A shift: "[+|-]hh:mm:ss:mmm", or plain milliseconds as "time offset:" is
// usually written.
bool parseShift(std::string_view s, int64_t& ms) {
    s = trim(s);
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
    if (!parseTime(s, ms) && !(number(s, ms) && ms >= 0 && ms <= kMaxTimeMs)) return false;
    if (negative) ms = -ms;
    return true;
}

// The value after "key:" up to the next comma, and the rest after it.
std::string_view field(std::string_view line, std::string_view key, std::string_view* rest) {
    const size_t at = line.find(key);
    if (at == std::string_view::npos) return {};
    std::string_view v = line.substr(at + key.size());
    const size_t comma = v.find(',');
    if (rest) *rest = comma == std::string_view::npos ? std::string_view{} : v.substr(comma + 1);
    return trim(v.substr(0, comma));
}

void putScr(std::vector<uint8_t>& b, uint64_t scr) {
    b.push_back(static_cast<uint8_t>(0x44 | ((scr >> 27) & 0x38) | ((scr >> 28) & 0x03)));
    b.push_back(static_cast<uint8_t>(scr >> 20));
    b.push_back(static_cast<uint8_t>(((scr >> 12) & 0xF8) | 0x04 | ((scr >> 13) & 0x03)));
    b.push_back(static_cast<uint8_t>(scr >> 5));
    b.push_back(static_cast<uint8_t>(((scr << 3) & 0xF8) | 0x04));
    b.push_back(0x01);  // SCR extension 0, marker
}

void putPts(std::vector<uint8_t>& b, uint64_t pts) {
    b.push_back(static_cast<uint8_t>(0x21 | ((pts >> 29) & 0x0E)));
    b.push_back(static_cast<uint8_t>(pts >> 22));
    b.push_back(static_cast<uint8_t>(((pts >> 14) & 0xFE) | 0x01));
    b.push_back(static_cast<uint8_t>(pts >> 7));
    b.push_back(static_cast<uint8_t>(((pts << 1) & 0xFE) | 0x01));
}

void putU16(std::vector<uint8_t>& b, size_t v) {
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

// "size: WxH"; a size out of reason is left out.
void readSize(std::string_view value, Index& out) {
    const std::string_view v = trim(value);
    const size_t x = v.find('x');
    int w = 0, h = 0;
    if (x != std::string_view::npos && number(v.substr(0, x), w) && number(v.substr(x + 1), h) &&
        w > 0 && h > 0 && w <= 4096 && h <= 4096) {
        out.width = w;
        out.height = h;
    }
}

// "palette: rrggbb, ..."; a colour that does not read keeps its place.
void readPalette(std::string_view v, Index& out) {
    for (size_t i = 0; i < kPalette && !v.empty(); ++i) {
        const size_t comma = v.find(',');
        uint32_t c = 0;
        if (number(v.substr(0, comma), c, 16)) out.palette[i] = c & 0xFFFFFF;
        v = comma == std::string_view::npos ? std::string_view{} : v.substr(comma + 1);
    }
}

// "timestamp: hh:mm:ss:mmm, filepos: HEX", its time moved by `shift` (not
// before 0); a line that does not read is left out.
void readTimestamp(std::string_view line, int64_t shift, IndexStream& stream) {
    std::string_view rest;
    IndexEntry e;
    uint64_t pos = 0;
    if (parseTime(field(line, "timestamp:", &rest), e.ms) &&
        number(field(rest, "filepos:", nullptr), pos, 16)) {
        e.filePos = pos;
        e.ms = std::max<int64_t>(0, e.ms + shift);
        stream.entries.push_back(e);
    }
}

}  // namespace

const IndexStream* Index::stream(int index) const {
    for (const IndexStream& s : streams)
        if (s.index == index) return &s;
    return nullptr;
}

bool parseIndex(std::string_view text, Index& out, std::string& error) {
    out = Index{};
    if (startsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
    bool first = true;
    IndexStream* current = nullptr;
    // "time offset:" shifts every stream; "delay:" lines add up within their
    // stream and shift the timestamps that follow them.
    int64_t offset = 0, delay = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        const std::string_view line = trim(text.substr(0, nl));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (first) {
            first = false;
            if (!startsWith(line, "# VobSub index file")) {
                error = "not a VobSub index (its first line is not \"# VobSub index file, v7\")";
                return false;
            }
            continue;
        }
        if (line.empty() || line.front() == '#') continue;
        if (startsWith(line, "size:")) {
            readSize(line.substr(5), out);
        } else if (startsWith(line, "palette:")) {
            readPalette(line.substr(8), out);
        } else if (startsWith(line, "id:")) {
            std::string_view rest;
            const std::string_view lang = field(line, "id:", &rest);
            int index = 0;
            if (!number(field(rest, "index:", nullptr), index) || index < 0 || index > 31) {
                current = nullptr;  // its timestamps belong to no stream we can read
                continue;
            }
            out.streams.push_back({std::string(lang), index, {}});
            current = &out.streams.back();
            delay = 0;
        } else if (startsWith(line, "time offset:")) {
            int64_t v = 0;
            if (parseShift(line.substr(12), v)) offset = v;
        } else if (startsWith(line, "delay:") && current) {
            int64_t v = 0;
            if (parseShift(line.substr(6), v))
                delay = std::clamp(delay + v, -kMaxTimeMs, kMaxTimeMs);
        } else if (startsWith(line, "timestamp:") && current) {
            readTimestamp(line, offset + delay, *current);
        }
    }
    if (first) {
        error = "empty file";
        return false;
    }
    if (out.streams.empty()) {
        error = "the index names no subtitle stream (no \"id: xx, index: N\" line)";
        return false;
    }
    return true;
}

std::string formatIndexTime(int64_t ms) {
    if (ms < 0) ms = 0;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld:%03lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return buf;
}

std::string indexText(const Index& index) {
    std::string t = std::string(kIndexHeader) + "\n";
    t += "# Written by Orvane\n";
    t += "size: " + std::to_string(index.width) + "x" + std::to_string(index.height) + "\n";
    t += "org: 0, 0\nscale: 100%, 100%\nalpha: 100%\nsmooth: OFF\nfadein/out: 0, 0\n";
    t += "align: OFF at LEFT TOP\ntime offset: 0\nforced subs: OFF\n";
    t += "palette:";
    for (size_t i = 0; i < kPalette; ++i) {
        char c[16];
        std::snprintf(c, sizeof c, "%s %06x", i ? "," : "", index.palette[i] & 0xFFFFFF);
        t += c;
    }
    t += "\ncustom colors: OFF, tridx: 0000, colors: 000000, 000000, 000000, 000000\n";
    t += "langidx: 0\n";
    for (const IndexStream& s : index.streams) {
        t += "\nid: " + (s.language.empty() ? std::string("--") : s.language) +
             ", index: " + std::to_string(s.index) + "\n";
        for (const IndexEntry& e : s.entries) {
            char pos[32];
            std::snprintf(pos, sizeof pos, "%09llx", static_cast<unsigned long long>(e.filePos));
            t += "timestamp: " + formatIndexTime(e.ms) + ", filepos: " + pos + "\n";
        }
    }
    // CR LF, as the format's home platform writes it; readers take both.
    std::string crlf;
    crlf.reserve(t.size() + t.size() / 16);
    for (char c : t) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

uint64_t SubFileWriter::addUnit(std::span<const uint8_t> unit, uint8_t subStream, uint32_t pts90k) {
    const uint64_t start = bytes_.size();
    size_t done = 0;
    bool firstPacket = true;
    do {
        // Pack header: start code, SCR (the unit's time), mux rate, no stuffing.
        bytes_.insert(bytes_.end(), {0x00, 0x00, 0x01, 0xBA});
        putScr(bytes_, pts90k);
        bytes_.insert(bytes_.end(), {0x01, 0x89, 0xC3, 0xF8});
        const size_t ptsBytes = firstPacket ? 5 : 0;
        // 14 pack + 6 PES start and length + 3 flags and header length + sub-stream id.
        const size_t room = kSectorSize - 24 - ptsBytes;
        const size_t chunk = std::min(room, unit.size() - done);
        size_t gap = room - chunk;
        // A gap too small for a padding packet is taken up by header stuffing.
        const size_t stuffing = gap > 0 && gap < 6 ? gap : 0;
        gap -= stuffing;
        const size_t headerLength = ptsBytes + stuffing;
        bytes_.insert(bytes_.end(), {0x00, 0x00, 0x01, 0xBD});
        putU16(bytes_, 3 + headerLength + 1 + chunk);
        bytes_.push_back(0x81);
        bytes_.push_back(firstPacket ? 0x80 : 0x00);
        bytes_.push_back(static_cast<uint8_t>(headerLength));
        if (firstPacket) putPts(bytes_, pts90k);
        bytes_.insert(bytes_.end(), stuffing, 0xFF);
        bytes_.push_back(subStream);
        bytes_.insert(bytes_.end(), unit.begin() + static_cast<std::ptrdiff_t>(done),
                      unit.begin() + static_cast<std::ptrdiff_t>(done + chunk));
        done += chunk;
        if (gap > 0) {
            bytes_.insert(bytes_.end(), {0x00, 0x00, 0x01, 0xBE});
            putU16(bytes_, gap - 6);
            bytes_.insert(bytes_.end(), gap - 6, 0xFF);
        }
        firstPacket = false;
    } while (done < unit.size());
    return start;
}

}  // namespace orvane::vobsub
