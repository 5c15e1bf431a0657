#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace orvane::test {

struct CliRun {
    int status = 0;
    std::string out, err;
};

// Runs orvane-cli in-process with `input` on its standard input and its
// output captured.
CliRun runCliCaptured(const std::vector<std::string>& args, const std::string& input = "");

// Runs orvane-cli in a child process whose files may not grow past
// `maxFileBytes`. A write beyond fails with EFBIG, as writes fail on a full
// disk; with `killAtLimit` the child is killed there instead (SIGXFSZ), as
// by a crash in the middle of a save. `status` is the exit status, or
// -signal when the child was killed. Standard output is dropped.
CliRun runCliWithFileLimit(const std::vector<std::string>& args, size_t maxFileBytes,
                           bool killAtLimit = false);

// The number of line ends in a run's output.
inline size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Reads a temporary file from its start and closes it.
std::string readAndClose(std::FILE* f);

}  // namespace orvane::test
