#include "support/bmp_reader.h"

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <sstream>

namespace orvane::test {

namespace {

// Runs a shell command; its standard output, and whether it exited with 0.
bool run(const std::string& command, std::string& out) {
    out.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    if (!pipe) return false;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0) out.append(buf, n);
    const int status = ::pclose(pipe.release());
    return status == 0;
}

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

}  // namespace

BmpProbe probeBmp(const std::string& path) {
    BmpProbe p;
    std::string out;
    const std::string script = std::string(ORVANE_TEST_TOOLS) + "/bmp_probe.py";
    // The system interpreter when there is one: version-manager shims take
    // a second to start.
    const std::string python =
        ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
    if (!run(python + " " + quoted(script) + " " + quoted(path) + " 2>&1", out)) {
        p.error = out.empty() ? "python3 could not be run" : out;
        return p;
    }
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream l(line);
        std::string what;
        l >> what;
        if (what == "size") {
            l >> p.width >> p.height;
        } else if (what == "bits") {
            l >> p.bits;
        } else if (what == "bottom_up") {
            int b = 0;
            l >> b;
            p.bottomUp = b != 0;
        } else if (what == "palette") {
            std::string hex;
            while (l >> hex)
                p.palette.push_back(static_cast<uint32_t>(std::stoul(hex, nullptr, 16)));
        } else if (what == "row") {
            std::vector<int> row;
            int v;
            while (l >> v) row.push_back(v);
            p.rows.push_back(std::move(row));
        }
    }
    p.ok = true;
    return p;
}

bool imageMagickPresent() {
    std::string out;
    return run("command -v identify >/dev/null 2>&1", out);
}

std::string identify(const std::string& path) {
    std::string out;
    if (!run("identify -format '%w %h %r' " + quoted(path) + " 2>&1", out)) return "failed: " + out;
    // "5 3 PseudoClass sRGB " -> "5 3 PseudoClass"
    std::istringstream in(out);
    std::string w, h, cls;
    in >> w >> h >> cls;
    return w + " " + h + " " + cls;
}

}  // namespace orvane::test
