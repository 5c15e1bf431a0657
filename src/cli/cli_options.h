#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/option_values.h"

namespace orvane::cli {

enum class BadHeaderPolicy { Ask, Yes, YesToAll, No };

struct Options {
    std::string command;              // streams, scan, sup, bmp, ocr, vobsub
    bool help = false;                // --help anywhere: print the usage
    std::vector<std::string> inputs;  // VOB files, a VIDEO_TS folder, or an IFO
    int stream = 1;                   // 1..32
    std::optional<TimeCode> startTime;
    bool avoidTimeRestart = false;
    std::optional<BadHeaderPolicy> badHeaders;  // unset: ask on a terminal, else no
    std::string out;                            // sup: base name; ocr: the .ovt file
    int titleSet = 0;                           // VIDEO_TS folder: 0 = the largest title set
    bool forcedOnly = false;                    // only the units with a forced start
    // ocr
    std::string matrix;             // matrix to start from
    std::string saveMatrix;         // where the learned matrix goes
    bool extended = false;          // picture coordinates in the .ovt
    std::optional<int> textColour;  // 0..3, else chosen automatically
    UnknownGlyphPolicy unknown = UnknownGlyphPolicy::Ask;
    std::string markChar = "#";  // UTF-8
    bool engine = true;          // the OCR engine reads unknown glyphs (ask, auto)
    std::string language;        // its language; empty: the stream's
    std::string config;          // settings file; empty: the program folder's Orvane.ini
    // bmp (timing also for sup)
    std::string profile;       // bitmap settings profile to start from
    bool discColours = false;  // the roles in the disc's own colours
    bool timing = false;       // an entry per file, with its time and rectangle
    std::string text;          // where those entries are saved (.ovt)
};

// Parses the command line; on a mistake returns nullopt and sets `error`.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);

// Strict "hh:mm:ss,mmm" (hours may have more digits; '.' is taken for ',').
std::optional<TimeCode> parseStrictTimeCode(const std::string& text);

std::string usage();

}  // namespace orvane::cli
