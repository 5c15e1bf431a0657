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

// Reads a temporary file from its start and closes it.
std::string readAndClose(std::FILE* f);

}  // namespace orvane::test
