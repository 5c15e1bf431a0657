#pragma once

#include <array>
#include <string>
#include <vector>

namespace orvane::test {

// One subtitle of a sample disc's ground truth file (truth_s<N>.tsv).
struct TruthSubtitle {
    int index = 0;
    int startMs = 0;
    int stopMs = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string png;  // relative to tests/data
    bool italic = false;
    bool forced = false;             // marked force="yes" for spumux (a "forced" line)
    std::vector<std::string> lines;  // UTF-8
    // Training material only: the cell of each character drawn.
    struct Cell {
        int line = 0;           // 1-based
        std::string character;  // UTF-8
        int x1 = 0, x2 = 0;     // screen columns, inclusive
    };
    std::vector<Cell> cells;
};

struct GroundTruth {
    // RGBA of the PNG pixels for colour numbers 0..3.
    std::array<uint32_t, 4> rgbaOfNumber{};
    std::vector<TruthSubtitle> subtitles;
};

// How far a time read from a disc may lie from the time given to spumux.
// Starts: the PTS is the start x 90 plus the first video PTS, exactly, so
// only the truncation of both to whole milliseconds differs. Stops: carried
// as a delay in 1024/90000 s units rounded to nearest, so off by up to half
// a unit (5.69 ms; 5.5 ms measured on the sample discs), plus that truncation.
inline constexpr double kStartToleranceMs = 1.0;
inline constexpr double kStopToleranceMs = 512.0 / 90.0 + 1.0;

// Throws std::runtime_error on a malformed file.
GroundTruth loadGroundTruth(const std::string& path);

}  // namespace orvane::test
