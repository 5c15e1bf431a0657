#include "support/ground_truth.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orvane::test {

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> f;
    std::string cur;
    for (char c : line) {
        if (c == '\t') {
            f.push_back(cur);
            cur.clear();
        } else if (c != '\r') {
            cur += c;
        }
    }
    f.push_back(cur);
    return f;
}

}  // namespace

GroundTruth loadGroundTruth(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    GroundTruth gt;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        const auto f = splitTabs(line);
        try {
            if (f[0] == "colour" && f.size() == 4) {
                const int n = std::stoi(f[1]);
                if (n < 0 || n > 3) throw std::runtime_error("colour number");
                gt.rgbaOfNumber[static_cast<size_t>(n)] =
                    static_cast<uint32_t>(std::stoul(f[3], nullptr, 16));
            } else if (f[0] == "sub" && f.size() >= 11) {
                TruthSubtitle s;
                s.index = std::stoi(f[1]);
                s.startMs = std::stoi(f[2]);
                s.stopMs = std::stoi(f[3]);
                s.x1 = std::stoi(f[4]);
                s.y1 = std::stoi(f[5]);
                s.x2 = std::stoi(f[6]);
                s.y2 = std::stoi(f[7]);
                s.png = f[8];
                s.italic = f[9] == "1";
                s.lines.assign(f.begin() + 10, f.end());
                gt.subtitles.push_back(std::move(s));
            } else if (f[0] == "forced" && f.size() == 2) {
                const int k = std::stoi(f[1]);
                if (gt.subtitles.empty() || gt.subtitles.back().index != k)
                    throw std::runtime_error("forced before its sub");
                gt.subtitles.back().forced = true;
            } else if (f[0] == "cell" && f.size() == 6) {
                const int k = std::stoi(f[1]);
                if (gt.subtitles.empty() || gt.subtitles.back().index != k)
                    throw std::runtime_error("cell before its sub");
                gt.subtitles.back().cells.push_back(
                    {std::stoi(f[2]), f[3], std::stoi(f[4]), std::stoi(f[5])});
            } else {
                throw std::runtime_error("unknown line");
            }
        } catch (const std::exception& e) {
            throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": " + e.what());
        }
    }
    return gt;
}

}  // namespace orvane::test
