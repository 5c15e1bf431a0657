#include "app/vob_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <system_error>

#include "common/io_error.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool lessNoCase(const std::string& a, const std::string& b) {
    const std::string ua = upper(a), ub = upper(b);
    return ua != ub ? ua < ub : a < b;
}

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// "VTS_nn_k.VOB" in any case: title set nn, part k (0 = menu).
bool parseTitleSetName(const std::string& name, int& titleSet, int& part, const char* ext) {
    const std::string u = upper(name);
    if (u.size() != 12 || u.compare(0, 4, "VTS_") != 0 || u[6] != '_' || u.compare(8, 4, ext) != 0)
        return false;
    if (!std::isdigit(static_cast<unsigned char>(u[4])) ||
        !std::isdigit(static_cast<unsigned char>(u[5])) ||
        !std::isdigit(static_cast<unsigned char>(u[7]))) {
        return false;
    }
    titleSet = (u[4] - '0') * 10 + (u[5] - '0');
    part = u[7] - '0';
    return true;
}

struct TitleSet {
    std::map<int, std::string> parts;  // part -> path
    std::string ifo;
    uint64_t bytes = 0;
};

std::map<int, TitleSet> scanTitleSets(const std::string& folder) {
    std::map<int, TitleSet> sets;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        std::error_code fec;
        if (!e.is_regular_file(fec)) continue;
        const std::string name = e.path().filename().string();
        int ts = 0, part = 0;
        if (parseTitleSetName(name, ts, part, ".VOB") && part >= 1) {
            sets[ts].parts[part] = e.path().string();
            sets[ts].bytes += e.file_size(fec);
        } else if (parseTitleSetName(name, ts, part, ".IFO") && part == 0) {
            sets[ts].ifo = e.path().string();
        }
    }
    return sets;
}

const TitleSet* pickTitleSet(const std::map<int, TitleSet>& sets, int titleSet) {
    const TitleSet* best = nullptr;
    for (const auto& [n, set] : sets) {
        if (set.parts.empty()) continue;
        if (titleSet > 0) {
            if (n == titleSet) return &set;
        } else if (!best || set.bytes > best->bytes) {
            best = &set;
        }
    }
    return best;
}

}  // namespace

std::string vobDisplayLine(const std::string& name, uint64_t sizeKiB) {
    std::string line = name;
    if (line.size() < 14) line.append(14 - line.size(), ' ');
    std::string size = std::to_string(sizeKiB);
    if (size.size() < 8) size.insert(0, 8 - size.size(), '_');
    return line + "[" + size + " Kb]";
}

std::vector<VobListEntry> listVobFolder(const std::string& folder) {
    const std::string dir = withSlash(folder);
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) throw IoError(folder, ec.message());
    std::vector<VobListEntry> list;
    for (const auto& e : it) {
        std::error_code fec;
        if (!e.is_regular_file(fec)) continue;
        const std::string name = e.path().filename().string();
        // VobSub indexes are read as VOBs are: their .sub holds the units.
        if (name.size() < 4 ||
            (upper(name.substr(name.size() - 4)) != ".VOB" && !isVobSubIndex(name)))
            continue;
        VobListEntry v;
        v.name = name;
        v.path = dir + name;
        v.sizeKiB = e.file_size(fec) / 1024;
        v.displayLine = vobDisplayLine(name, v.sizeKiB);
        list.push_back(std::move(v));
    }
    std::sort(list.begin(), list.end(), [](const VobListEntry& a, const VobListEntry& b) {
        return lessNoCase(a.name, b.name);
    });
    return list;
}

std::vector<std::string> titleSetVobs(const std::string& folder, int titleSet) {
    const auto sets = scanTitleSets(folder);
    std::vector<std::string> out;
    if (const TitleSet* set = pickTitleSet(sets, titleSet)) {
        for (const auto& [part, path] : set->parts) out.push_back(path);
    }
    return out;
}

std::string titleSetIfo(const std::string& folder, int titleSet) {
    const auto sets = scanTitleSets(folder);
    if (titleSet > 0) {
        auto it = sets.find(titleSet);
        return it != sets.end() ? it->second.ifo : std::string{};
    }
    const TitleSet* set = pickTitleSet(sets, 0);
    if (set) return set->ifo;
    // Without VOB files the only title set with an IFO is the one meant.
    const TitleSet* only = nullptr;
    for (const auto& [n, s] : sets) {
        if (s.ifo.empty()) continue;
        if (only) return {};
        only = &s;
    }
    return only ? only->ifo : std::string{};
}

std::vector<int> titleSetsWithIfo(const std::string& folder) {
    std::vector<int> out;
    for (const auto& [n, set] : scanTitleSets(folder))
        if (!set.ifo.empty()) out.push_back(n);
    return out;
}

bool isVobSubIndex(const std::string& path) {
    return path.size() >= 4 && upper(path.substr(path.size() - 4)) == ".IDX";
}

std::string vobSubDataFile(const std::string& idx) {
    const std::string stem = idx.substr(0, idx.size() - 4);
    for (const char* ext : {".sub", ".SUB", ".Sub"}) {
        if (fileExists(stem + ext)) return stem + ext;
    }
    return stem + ".sub";
}

std::string titleSetIfoOfVob(const std::string& vob) {
    const fs::path p(vob);
    int ts = 0, part = 0;
    if (!parseTitleSetName(p.filename().string(), ts, part, ".VOB")) return {};
    const auto sets = scanTitleSets(p.parent_path().empty() ? "." : p.parent_path().string());
    const auto it = sets.find(ts);
    return it != sets.end() ? it->second.ifo : std::string{};
}

uint64_t fileSizeKiB(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? 0 : size / 1024;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace orvane
