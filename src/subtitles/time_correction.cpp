#include "subtitles/time_correction.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

int64_t ms(const TimeCode& t) {
    return timeCodeToMs(t);
}

// Times leave the time code's range neither below zero nor past its last
// hour (the 8-bit hours would wrap to an early time).
TimeCode clampedTime(int64_t t) {
    return timeCodeFromMs(std::clamp<int64_t>(t, 0, kMaxTimeMs));
}

// Nearest integer, halves to the even neighbour, whatever the floating
// point rounding mode is.
int64_t roundHalfEven(double x) {
    const double down = std::floor(x);
    const double rest = x - down;
    auto r = static_cast<int64_t>(down);
    if (rest > 0.5 || (rest == 0.5 && (r & 1) != 0)) ++r;
    return r;
}

}  // namespace

OffsetOutcome applyTimeOffset(SubtitleDocument& doc, int64_t deltaMs,
                              TimeCorrectionQuestions& questions) {
    OffsetOutcome out;
    for (size_t i = 1; i <= doc.count(); ++i) {
        SubtitleEntry& e = doc.entry(i);
        const int64_t start = ms(e.start) + deltaMs;
        if (start > 0) {
            e.start = clampedTime(start);
        } else {
            // The question shows the start as it is now; No leaves this
            // entry and the rest as they are ("No undo !").
            if (!questions.confirmStartReducedToZero(e.start)) {
                out.stoppedAt = i;
                return out;
            }
            e.start = {};
        }
        // Every stop moves, a zero one too: shifted documents are timed
        // against another video, and a stop left at zero would stay behind.
        e.stop = clampedTime(ms(e.stop) + deltaMs);
    }
    return out;
}

StretchResult applyTimeStretch(SubtitleDocument& doc, int64_t stretchMs, bool minus) {
    if (doc.count() == 0 || stretchMs <= 0) return StretchResult::NotRun;
    const int64_t last = ms(doc.entry(doc.count()).start);
    if (minus && last < stretchMs) return StretchResult::MinusTooLarge;
    // With the last start at zero there is no length to stretch (the
    // factor would be a division by zero).
    if (last == 0) return StretchResult::NoLength;
    const double f =
        static_cast<double>(minus ? -stretchMs : stretchMs) / static_cast<double>(last);
    auto stretched = [f](const TimeCode& t) {
        const auto x = static_cast<double>(ms(t));
        return clampedTime(roundHalfEven(x + x * f));
    };
    for (size_t i = 1; i <= doc.count(); ++i) {
        SubtitleEntry& e = doc.entry(i);
        e.start = stretched(e.start);
        e.stop = stretched(e.stop);  // zero stays zero: an open stop stays open
    }
    return StretchResult::Applied;
}

void applyDurations(SubtitleDocument& doc, uint32_t baseMs, uint32_t msPerCharacter) {
    constexpr int64_t kLongest = 65535;
    const size_t n = doc.count();
    for (size_t i = 1; i <= n; ++i) {
        SubtitleEntry& e = doc.entry(i);
        // Counted in full width: a 16-bit sum would wrap to a short duration.
        int64_t chars = 0;
        for (const std::string& l : e.lines) chars += static_cast<int64_t>(l.size());
        const int64_t start = ms(e.start);
        const int64_t end = start + int64_t{baseMs} + chars * int64_t{msPerCharacter};
        int64_t limit = start + kLongest;
        // The next subtitle's start limits this one, unless it lies before
        // this start (entries out of order): then it would give a stop
        // before the start.
        if (i < n) {
            const int64_t next = ms(doc.entry(i + 1).start);
            if (next >= start) limit = next;
        }
        e.stop = clampedTime(std::min(end, limit));
    }
}

void applyMinimumInterval(SubtitleDocument& doc, uint32_t minimumMs) {
    if (minimumMs == 0) return;
    for (size_t i = 1; i < doc.count(); ++i) {
        SubtitleEntry& e = doc.entry(i);
        if (e.stop.isZero()) continue;  // open: no time to move
        const int64_t next = ms(doc.entry(i + 1).start);
        const int64_t gap = next - ms(e.stop);
        if (gap >= 0 && gap < int64_t{minimumMs}) {
            // Not before its own start: a short subtitle ends where it begins
            // rather than before; and a stop is only ever pulled back.
            const int64_t stop = std::max(next - int64_t{minimumMs}, ms(e.start));
            e.stop = clampedTime(std::min(stop, ms(e.stop)));
        }
    }
}

TimeCorrectionReport correctTimes(SubtitleDocument& doc, const TimeCorrectionSettings& settings,
                                  TimeCorrectionQuestions& questions) {
    TimeCorrectionReport report;
    if (doc.count() == 0) return report;
    report.corrected = true;

    const int64_t offset = ms(settings.offset);
    if (offset > 0) {
        report.offset = applyTimeOffset(doc, settings.minusOffset ? -offset : offset, questions);
    }
    const int64_t stretch = ms(settings.stretch);
    if (stretch > 0) {
        report.stretch = applyTimeStretch(doc, stretch, settings.minusStretch);
        if (report.stretch == StretchResult::MinusTooLarge) questions.minusStretchTooLarge();
        if (report.stretch == StretchResult::NoLength) questions.stretchWithoutLength();
    }
    if (settings.modifyDuration) {
        if (settings.durationMethod == DurationMethod::Fixed) {
            applyDurations(doc, settings.fixedDuration, 0);
        } else {
            applyDurations(doc, settings.offsetDuration, settings.msPerCharacter);
        }
    }
    applyMinimumInterval(doc, settings.minimumInterval);
    doc.rebuildDisplay();
    return report;
}

}  // namespace orvane
