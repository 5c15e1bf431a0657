#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_main.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return orvane::cli::runCli(args, stdout, stderr, stdin);
}
