#include "subtitles/webvtt_writer.h"

#include <cstdio>

#include "subtitles/orvane_format.h"

namespace orvane {

std::vector<std::string> webVttHeaderLines() {
    return {"WEBVTT", ""};
}

std::string webVttTime(const TimeCode& t) {
    const int64_t ms = timeCodeToMs(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return buf;
}

std::vector<std::string> webVttCueLines(const SubtitleEntry& e, size_t index) {
    const TimeCode stop = timeCodeToMs(e.stop) < timeCodeToMs(e.start) ? e.start : e.stop;
    std::vector<std::string> out{
        std::to_string(index),
        webVttTime(e.start) + " --> " + webVttTime(stop) + (inUpperHalf(e.rect) ? " line:0" : "")};
    for (const std::string& l : e.lines) {
        if (trimControls(l).empty()) continue;
        std::string text;
        for (const char c : l) {
            if (c == '&')
                text += "&amp;";
            else if (c == '<')
                text += "&lt;";
            else if (c == '>')
                text += "&gt;";
            else
                text += c;
        }
        out.push_back(std::move(text));
    }
    out.emplace_back();
    return out;
}

}  // namespace orvane
