#include "config/ini_file.h"

#include <fstream>
#include <iterator>

namespace orvane {

namespace {

constexpr size_t npos = static_cast<size_t>(-1);

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// "[name]" -> name; false for any other line.
bool sectionName(const std::string& line, std::string& name) {
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// "key=value" -> key, value; false for lines without '=' or comments.
bool keyValue(const std::string& line, std::string& key, std::string& value) {
    std::string t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return !key.empty();
}

}  // namespace

IniWriteError::IniWriteError(const std::string& path)
    : std::runtime_error("Impossible d'\xE9" "crire dans " + path), path_(path) {}

bool parseProfileInteger(const std::string& text, int32_t& value) {
    std::string t = trim(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        uint32_t v = 0;
        for (size_t i = 2; i < t.size(); ++i) {
            char c = lowerAscii(t[i]);
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else return false;
            v = v * 16u + static_cast<uint32_t>(d);
        }
        value = static_cast<int32_t>(v);
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    if (i == t.size()) return false;
    uint32_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10u + static_cast<uint32_t>(t[i] - '0');
    }
    value = static_cast<int32_t>(negative ? 0u - v : v);
    return true;
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string line;
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            lines_.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines_.push_back(line);
}

size_t IniFile::findSection(const std::string& section) const {
    std::string name;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (sectionName(lines_[i], name) && sameName(name, section)) return i;
    return npos;
}

size_t IniFile::sectionEnd(size_t header) const {
    std::string name;
    size_t i = header + 1;
    while (i < lines_.size() && !sectionName(lines_[i], name)) ++i;
    return i;
}

size_t IniFile::findKey(size_t header, const std::string& key) const {
    std::string k, v;
    size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i)
        if (keyValue(lines_[i], k, v) && sameName(k, key)) return i;
    return npos;
}

bool IniFile::hasSection(const std::string& section) const { return findSection(section) != npos; }

bool IniFile::hasKey(const std::string& section, const std::string& key) const {
    size_t h = findSection(section);
    return h != npos && findKey(h, key) != npos;
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
    std::vector<std::string> out;
    size_t h = findSection(section);
    if (h == npos) return out;
    std::string k, v;
    for (size_t i = h + 1, end = sectionEnd(h); i < end; ++i)
        if (keyValue(lines_[i], k, v)) out.push_back(k);
    return out;
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    size_t h = findSection(section);
    size_t line = h == npos ? npos : findKey(h, key);
    std::string value = def;
    if (line != npos) {
        std::string k;
        keyValue(lines_[line], k, value);
        // A value in matching quotes is read without them.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
    return value;
}

int32_t IniFile::readInteger(const std::string& section, const std::string& key, int32_t def) const {
    if (!hasKey(section, key)) return def;
    int32_t v;
    return parseProfileInteger(readString(section, key, ""), v) ? v : def;
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    std::string line = key + "=" + value;
    size_t h = findSection(section);
    if (h == npos) {
        // A new section follows the others after one empty line.
        if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.push_back("");
        lines_.push_back("[" + section + "]");
        lines_.push_back(line);
    } else if (size_t k = findKey(h, key); k != npos) {
        if (lines_[k] == line) return;
        lines_[k] = line;
    } else {
        // After the section's last non-empty line, so its trailing blank stays.
        size_t end = sectionEnd(h);
        while (end > h + 1 && trim(lines_[end - 1]).empty()) --end;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), line);
    }
    dirty_ = true;
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int64_t value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::flush() {
    if (!dirty_) return;
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    if (!out) throw IniWriteError(path_);
    for (const auto& l : lines_) out << l << "\r\n";
    out.flush();
    if (!out) throw IniWriteError(path_);
    dirty_ = false;
}

}  // namespace orvane
