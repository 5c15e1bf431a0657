#include "subtitles/subviewer_writer.h"

#include <cstdio>

namespace orvane {

namespace {

// hh:mm:ss, built from the fields so that 100 hours or more stay readable.
std::string clockText(const TimeCode& tc) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", unsigned{tc.hours}, unsigned{tc.minutes},
                  unsigned{tc.seconds});
    return buf;
}

// hh:mm:ss.cc with the hundredths truncated.
std::string hundredthsText(const TimeCode& tc) {
    char buf[8];
    std::snprintf(buf, sizeof buf, ".%02u", unsigned{tc.milliseconds} / 10 % 100);
    return clockText(tc) + buf;
}

}  // namespace

TimeCode roundToSeconds(const TimeCode& tc) {
    TimeCode r = tc;
    if (r.milliseconds > 500) r = addTimeCodes(r, TimeCode{0, 0, 1, 0});
    r.milliseconds = 0;
    return r;
}

std::vector<std::string> subViewer1HeaderLines(const SubViewer1Settings& s) {
    return {"[TITLE]",    s.title,    "[AUTHOR]", s.author,
            "[SOURCE]",   s.source,   "[PRG]",    s.program,
            "[FILEPATH]", s.filePath, "[DELAY]",  std::to_string(s.delay),
            "[CD TRACK]", "0",        "[BEGIN]",  "******** START SCRIPT ********"};
}

std::vector<std::string> subViewer1EntryLines(const SubtitleEntry& e,
                                              const std::optional<TimeCode>& previousStop,
                                              const SubViewer1Settings& s) {
    TimeCode start = e.start;
    std::optional<TimeCode> previous = previousStop;
    if (s.roundToSeconds) {
        start = roundToSeconds(start);
        if (previous) previous = roundToSeconds(*previous);
    }
    std::vector<std::string> out;
    if (previous && timeCodeToMs(*previous) < timeCodeToMs(start)) {
        out.push_back("[" + clockText(*previous) + "]");
        out.emplace_back();
    }
    out.push_back("[" + clockText(start) + "]");
    std::string text;
    for (size_t i = 0; i < e.lines.size(); ++i) {
        if (i == 1) {
            text += '|';
        } else if (i > 1) {
            text += s.joinLinesBeyondSecond ? ' ' : '|';
        }
        text += e.lines[i];
    }
    out.push_back(std::move(text));
    return out;
}

std::vector<std::string> subViewer1FooterLines() {
    return {"[END]", "******** End Script ********"};
}

std::string subViewer2FontLine(const FontDescription& font) {
    // Each true test replaces the one before: italic beats bold beats
    // underline beats strike-out.
    const char* style = "no";
    if (font.strikeOut) style = "st";
    if (font.underline) style = "ud";
    if (font.bold) style = "bd";
    if (font.italic) style = "it";
    char colour[8];
    std::snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(font.colour & 0xFFFFFF));
    return std::string("[COLF]&H") + colour + ",[STYLE]" + style + ",[SIZE]" +
           std::to_string(font.sizePoints) + ",[FONT]" + font.face;
}

std::vector<std::string> subViewer2HeaderLines(const SubViewer2Settings& s) {
    return {"[INFORMATION]",
            "[TITLE]" + s.title,
            "[AUTHOR]" + s.author,
            "[SOURCE]" + s.source,
            "[PRG]" + s.program,
            "[FILEPATH]" + s.filePath,
            "[DELAY]" + std::to_string(s.delay),
            "[CD TRACK]" + std::to_string(s.cdTrack),
            "[COMMENT]" + s.comment,
            "[END INFORMATION]",
            "[SUBTITLE]",
            subViewer2FontLine(s.font),
            "00:00:00.00,00:00:00.10",
            "",
            ""};
}

std::vector<std::string> subViewer2EntryLines(const SubtitleEntry& e) {
    std::string text;
    for (size_t i = 0; i < e.lines.size(); ++i) {
        if (i > 0) text += "[br]";
        text += e.lines[i];
    }
    return {hundredthsText(e.start) + "," + hundredthsText(e.stop), std::move(text), ""};
}

}  // namespace orvane
