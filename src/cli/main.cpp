#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "common/huge_heap.h"

int main(int argc, char** argv) {
    orvane::preferHugePagesForHeap();
    std::vector<std::string> args(argv + 1, argv + argc);
    return orvane::cli::runCli(args, stdout, stderr, stdin);
}
