#include "support/cli_runner.h"

#include <cstdio>

#include "cli/cli_main.h"

namespace orvane::test {

std::string readAndClose(std::FILE* f) {
    std::string s;
    std::rewind(f);
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
}

CliRun runCliCaptured(const std::vector<std::string>& args, const std::string& input) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::FILE* in = std::tmpfile();
    std::fputs(input.c_str(), in);
    std::rewind(in);
    CliRun r;
    r.status = cli::runCli(args, out, err, in);
    std::fclose(in);
    r.out = readAndClose(out);
    r.err = readAndClose(err);
    return r;
}

}  // namespace orvane::test
