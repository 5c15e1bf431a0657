#include "app/program_folder.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

// The installed data folder relative to the installed bin folder; the build
// system sets it from the install layout.
#ifndef ORVANE_DATA_FROM_BIN
#define ORVANE_DATA_FROM_BIN "../share/orvane"
#endif

namespace orvane {

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

std::string executableFolder() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    buf[n] = 0;
    return folderOf(buf);
}

std::string envValue(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// "/usr/bin/../share/orvane" -> "/usr/share/orvane/", so that folders
// compare by their text.
std::string normalFolder(const std::string& folder) {
    std::string s = fs::path(folder).lexically_normal().string();
    return withSlash(s);
}

// Under the XDG rule: the variable when it is an absolute path, else HOME +
// the fallback, else nothing.
std::string xdgFolder(const std::string& value, const std::string& home, const char* fallback) {
    if (!value.empty() && value[0] == '/') return withSlash(value) + "orvane/";
    if (!home.empty()) return withSlash(home) + fallback + "orvane/";
    return {};
}

}  // namespace

std::string defaultProgramFolder() {
    if (const char* home = std::getenv("ORVANE_HOME"); home && *home) return withSlash(home);
    return executableFolder();
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::vector<std::string> ProgramFolders::searchOrder() const {
    std::vector<std::string> order{userData};
    for (const std::string& f : readOnly)
        if (std::find(order.begin(), order.end(), f) == order.end()) order.push_back(f);
    return order;
}

std::string ProgramFolders::writablePath(const std::string& path) const {
    const std::string file = fs::path(path).lexically_normal().string();
    for (const std::string& folder : readOnly) {
        const std::string base = normalFolder(folder);
        if (base == normalFolder(userData)) continue;
        if (file.size() > base.size() && file.compare(0, base.size(), base) == 0)
            return userData + file.substr(base.size());
    }
    return path;
}

FolderEnvironment FolderEnvironment::fromProcess() {
    return {envValue("XDG_CONFIG_HOME"), envValue("XDG_DATA_HOME"), envValue("HOME")};
}

ProgramFolders resolveProgramFolders(const std::string& program, ProgramFolderUse use,
                                     const std::string& installedData,
                                     const FolderEnvironment& env) {
    ProgramFolders f;
    f.program = withSlash(program);
    f.config = f.userData = f.documents = f.program;
    if (use != ProgramFolderUse::Own) {
        if (std::string c = xdgFolder(env.configHome, env.home, ".config/"); !c.empty())
            f.config = c;
        if (std::string d = xdgFolder(env.dataHome, env.home, ".local/share/"); !d.empty())
            f.userData = d;
        if (!env.home.empty()) f.documents = withSlash(env.home);
        if (use == ProgramFolderUse::ReadOnly) f.readOnly.push_back(f.program);
    }
    if (!installedData.empty()) f.readOnly.push_back(normalFolder(installedData));
    return f;
}

ProgramFolders programFolders(const std::string& program) {
    const std::string exe = executableFolder();
    std::string installed = exe + ORVANE_DATA_FROM_BIN;
    std::error_code ec;
    if (!fs::is_directory(installed, ec)) installed.clear();
    ProgramFolderUse use = ProgramFolderUse::Own;
    if (!installed.empty() && normalFolder(program) == normalFolder(exe))
        use = ProgramFolderUse::Installed;  // even root keeps its files out of /usr/bin
    else if (::access(program.c_str(), W_OK) != 0)
        use = ProgramFolderUse::ReadOnly;
    return resolveProgramFolders(program, use, installed, FolderEnvironment::fromProcess());
}

std::string findMatrixFile(const std::string& name, const ProgramFolders& folders) {
    std::error_code ec;
    if (name.find('/') != std::string::npos || fs::exists(name, ec)) return name;
    for (const std::string& folder : folders.searchOrder()) {
        const std::string candidate = folder + "ChMatrix/" + name;
        if (fs::is_regular_file(candidate, ec)) return candidate;
    }
    return name;
}

}  // namespace orvane
