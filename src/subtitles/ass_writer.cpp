#include "subtitles/ass_writer.h"

#include <cstdio>

#include "subtitles/orvane_format.h"

namespace orvane {

std::vector<std::string> assHeaderLines() {
    return {"[Script Info]",
            "; Written by Orvane 0.97b",
            "ScriptType: v4.00+",
            "PlayResX: 720",
            "PlayResY: 576",
            "WrapStyle: 0",
            "ScaledBorderAndShadow: yes",
            "",
            "[V4+ Styles]",
            "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
            "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
            "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding",
            "Style: Default,Arial,36,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,"
            "0,0,1,2,0,2,30,30,24,1",
            "",
            "[Events]",
            "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text"};
}

std::string assTime(const TimeCode& t) {
    const int64_t ms = timeCodeToMs(t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld.%02lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000 / 10));
    return buf;
}

std::string assDialogueLine(const SubtitleEntry& e) {
    const TimeCode stop = timeCodeToMs(e.stop) < timeCodeToMs(e.start) ? e.start : e.stop;
    std::string text = inUpperHalf(e.rect) ? "{\\an8}" : "";
    bool first = true;
    for (const std::string& l : e.lines) {
        if (trimControls(l).empty()) continue;
        if (!first) text += "\\N";
        first = false;
        for (const char c : l) {
            if (c == '{' || c == '}') text += '\\';
            text += c;
        }
    }
    return "Dialogue: 0," + assTime(e.start) + "," + assTime(stop) + ",Default,,0,0,0,," + text;
}

}  // namespace orvane
