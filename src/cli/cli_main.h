#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace orvane::cli {

// The whole of orvane-cli, with its streams passed in so tests can run it.
// Returns the exit status: 0 done, 1 a file could not be read or written,
// 2 a mistake on the command line.
int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err, std::FILE* in);

}  // namespace orvane::cli
