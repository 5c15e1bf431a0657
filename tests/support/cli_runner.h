#pragma once

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

// Reads a temporary file from its start and closes it.
std::string readAndClose(std::FILE* f);

}  // namespace orvane::test
