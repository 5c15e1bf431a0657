#include "subtitles/orvane_format.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace orvane {

namespace {

// An optional sign and decimal digits, nothing else.
std::optional<int64_t> parseInteger(std::string_view s) {
    if (s.empty()) return std::nullopt;
    bool negative = false;
    size_t i = 0;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size() || s.size() - i > 12) return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
    }
    return negative ? -v : v;
}

std::string_view columns(std::string_view s, size_t from1, size_t count) {
    if (from1 - 1 >= s.size()) return {};
    return s.substr(from1 - 1, count);
}

constexpr size_t kTimeWidth = 12;  // "hh:mm:ss,mmm"

// A time code with three hours digits ("100:00:00,000", up to 255 hours)
// widens the time line; the fields after it move along. The width of the
// time code starting at `from`: 12, or 13 for such a time code.
size_t timeWidthAt(std::string_view line, size_t from) {
    const std::string_view t = line.substr(std::min(from, line.size()));
    if (t.size() >= kTimeWidth + 1 && t[0] >= '0' && t[0] <= '9' && t[1] >= '0' && t[1] <= '9' &&
        t[2] >= '0' && t[2] <= '9' && t[3] == ':' &&
        (t.size() == kTimeWidth + 1 || t[kTimeWidth + 1] == ' ')) {
        return kTimeWidth + 1;
    }
    return kTimeWidth;
}

// The time code of `width` characters at the start of `field`.
TimeCode parseTimeField(std::string_view field, size_t width) {
    if (width == kTimeWidth) return parseTimeCode(field);
    field = field.substr(0, width);
    const auto hours = parseInteger(field.substr(0, 3));
    if (!hours || *hours > 255) return {};
    std::string twoDigit = "00";
    twoDigit += field.substr(3);
    TimeCode t = parseTimeCode(twoDigit);
    if (t.isZero() && twoDigit != "00:00:00,000") return {};
    t.hours = static_cast<uint8_t>(*hours);
    return t;
}

// The time line of an entry: its start and stop, and the rectangle when the
// line has one (else the rectangle is cleared). False when the rectangle
// does not read.
bool readTimeLine(std::string_view time, SubtitleEntry& e, DisplayArea& rect, OrvaneReadResult& r) {
    // Columns as written while hours stay below 100: start 1-12, stop from
    // 18, the rectangle from 31.
    const size_t startWidth = timeWidthAt(time, 0);
    const size_t stopFrom = startWidth + 6;
    const size_t stopWidth = timeWidthAt(time, stopFrom - 1);
    const size_t restFrom = stopFrom + stopWidth + 1;
    e.start = parseTimeField(columns(time, 1, startWidth), startWidth);
    e.stop = parseTimeField(columns(time, stopFrom, 30), stopWidth);
    if (time.size() <= restFrom) {
        rect = {};
        r.extended = false;
        r.extendedSeen = true;
        return true;
    }
    const std::string_view rest = trimControls(columns(time, restFrom, 30));
    if (rest.empty() || (rest[0] != 'x' && rest[0] != 'X')) return true;
    const auto x1 = parseInteger(columns(rest, 4, 3));
    const auto x2 = parseInteger(columns(rest, 11, 3));
    const auto y1 = parseInteger(columns(rest, 18, 3));
    const auto y2 = parseInteger(columns(rest, 25, 3));
    if (!x1 || !x2 || !y1 || !y2) return false;
    rect = {static_cast<int32_t>(*x1), static_cast<int32_t>(*y1), static_cast<int32_t>(*x2),
            static_cast<int32_t>(*y2)};
    r.extended = true;
    r.extendedSeen = true;
    return true;
}

}  // namespace

std::string threeDigitField(int32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", static_cast<int>(v));
    return std::string(buf).substr(0, 3);
}

std::string_view trimControls(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
    return s;
}

std::string orvaneTimeLine(const SubtitleEntry& e, bool extended) {
    std::string line = formatTimeCode(e.start) + " --> " + formatTimeCode(e.stop);
    if (extended) {
        line += "  X1:" + threeDigitField(e.rect.x1) + " X2:" + threeDigitField(e.rect.x2) +
                " Y1:" + threeDigitField(e.rect.y1) + " Y2:" + threeDigitField(e.rect.y2);
    }
    return line;
}

std::vector<std::string> orvaneEntryLines(const SubtitleEntry& e, size_t number, bool extended) {
    std::vector<std::string> out;
    out.reserve(e.lines.size() + 3);
    out.push_back(std::to_string(number));
    out.push_back(orvaneTimeLine(e, extended));
    // A line of blanks only (a glyph learned as nothing) would read back as
    // the end of the block, and the block's other lines as the next number:
    // such lines carry nothing visible and are left out.
    for (const std::string& l : e.lines)
        if (!trimControls(l).empty()) out.push_back(l);
    out.emplace_back();
    return out;
}

OrvaneReadResult readOrvaneLines(const std::vector<std::string>& lines,
                                 const std::function<ReadErrorAction(unsigned)>& onError) {
    OrvaneReadResult r;
    bool first = true;
    bool ignoreAll = false;
    uint16_t lastNumber = 0;
    DisplayArea rect;
    size_t at = 0;
    while (at < lines.size()) {
        // The number line; a UTF-8 byte-order mark before the first one is
        // no part of it.
        std::string_view numberLine = lines[at++];
        if (at == 1 && numberLine.substr(0, 3) == "\xEF\xBB\xBF") numberLine.remove_prefix(3);
        const auto number = parseInteger(trimControls(numberLine));
        bool failed = !number;
        if (number) {
            lastNumber = static_cast<uint16_t>(*number);
            if (first) r.indexOffset = static_cast<uint16_t>(std::max(int{lastNumber} - 1, 0));
            first = false;
        }
        SubtitleEntry e;
        if (!failed) {
            const std::string_view time =
                at < lines.size() ? trimControls(lines[at]) : std::string_view{};
            ++at;
            failed = !readTimeLine(time, e, rect, r);
        }
        if (failed) {
            // The rest of the block is abandoned; the next line is read as
            // the next number line.
            if (!ignoreAll) {
                const ReadErrorAction a = onError(unsigned{lastNumber} + 1);
                if (a == ReadErrorAction::Cancel) {
                    r.cancelled = true;
                    break;
                }
                if (a == ReadErrorAction::IgnoreAll) ignoreAll = true;
            }
            continue;
        }
        while (at < lines.size()) {
            const std::string_view t = trimControls(lines[at++]);
            if (t.empty()) break;
            e.lines.emplace_back(t);
        }
        e.rect = rect;
        if (!e.lines.empty()) r.entries.push_back(std::move(e));
    }
    return r;
}

}  // namespace orvane
