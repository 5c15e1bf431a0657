#include "support/cli_runner.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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

CliRun runCliWithFileLimit(const std::vector<std::string>& args, size_t maxFileBytes,
                           bool killAtLimit) {
    // Standard error goes through a pipe, which the limit does not cut.
    int fds[2];
    if (::pipe(fds) != 0) return {-1, {}, "pipe failed"};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        std::FILE* err = ::fdopen(fds[1], "w");
        std::signal(SIGXFSZ, killAtLimit ? SIG_DFL : SIG_IGN);
        rlimit l{};
        getrlimit(RLIMIT_FSIZE, &l);
        l.rlim_cur = maxFileBytes;
        setrlimit(RLIMIT_FSIZE, &l);
        std::FILE* out = std::fopen("/dev/null", "w");
        std::FILE* in = std::fopen("/dev/null", "r");
        const int status = cli::runCli(args, out, err, in);
        std::fflush(err);
        ::_exit(status);
    }
    ::close(fds[1]);
    CliRun r;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0) r.err.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return r;
}

}  // namespace orvane::test
