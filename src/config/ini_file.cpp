#include "config/ini_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <limits>

#include "common/file_io.h"
#include "common/io_error.h"

namespace orvane {

namespace {

constexpr size_t npos = static_cast<size_t>(-1);

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerAscii(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = lowerAscii(c);
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool enclosedInQuotes(const std::string& v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

bool hasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

IniWriteError::IniWriteError(const std::string& path, const std::string& reason)
    : std::runtime_error(
          "Impossible d'\xE9"
          "crire dans " +
          path + (reason.empty() ? std::string() : " (" + reason + ")")),
      path_(path),
      reason_(reason) {}

bool parseProfileInteger(const std::string& text, int32_t& value) {
    const std::string t = trim(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        uint64_t v = 0;
        for (size_t i = 2; i < t.size(); ++i) {
            const char c = lowerAscii(t[i]);
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else
                return false;
            v = v * 16u + static_cast<uint64_t>(d);
            if (v > 0xFFFFFFFFu) return false;
        }
        // Eight hex digits cover the whole 32 bits: 0xFFFFFFFF is -1.
        value = static_cast<int32_t>(static_cast<uint32_t>(v));
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    if (i == t.size()) return false;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
        if (v > limit) return false;
    }
    value = static_cast<int32_t>(negative ? -v : v);
    return true;
}

IniFile::Line IniFile::parseLine(std::string text) {
    Line line;
    const std::string t = trim(text);
    line.text = std::move(text);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        // "[name]"; text after the ']' is ignored. An unclosed '[' is no header.
        const size_t close = t.find(']');
        if (close == std::string::npos) return line;
        line.kind = Kind::Section;
        line.name = lowerAscii(trim(t.substr(1, close - 1)));
        return line;
    }
    const size_t eq = t.find('=');
    if (eq == std::string::npos) return line;
    std::string key = trim(t.substr(0, eq));
    if (key.empty()) return line;
    line.kind = Kind::Key;
    line.name = lowerAscii(key);
    return line;
}

// The text after the key's '=' as the reader returns it.
std::string IniFile::valueOf(const Line& line) const {
    std::string value = line.text.substr(line.text.find('=') + 1);
    if (values_ == Values::Exact) return value;
    value = trim(value);
    if (enclosedInQuotes(value)) value = value.substr(1, value.size() - 2);
    if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
    return value;
}

// The text written after '=' so that valueOf() gives `value` back.
std::string IniFile::encodeValue(const std::string& value) const {
    std::string v = value;
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    if (values_ == Values::Profile && !v.empty() &&
        (isBlank(v.front()) || isBlank(v.back()) || enclosedInQuotes(v)))
        return '"' + v + '"';
    return v;
}

IniFile::IniFile(std::string path, Values values) : path_(std::move(path)), values_(values) {
    struct stat st {};
    // No file reads as the defaults, and is the usual case (a first run, a
    // settings file never saved): no exception for it.
    if (::stat(path_.c_str(), &st) != 0 && errno == ENOENT) return;
    std::string data;
    try {
        data = readWholeFileText(
            path_, values_ == Values::Exact ? file_limits::kLanguage : file_limits::kSettings);
    } catch (const IoError& e) {
        if (::stat(path_.c_str(), &st) == 0) loadError_ = e.systemMessage();
        return;
    }
    parse(data);
}

IniFile IniFile::fromText(std::string_view text, Values values) {
    IniFile ini;
    ini.values_ = values;
    ini.parse(text);
    return ini;
}

void IniFile::parse(std::string_view data) {
    std::string line;
    for (size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            lines_.push_back(parseLine(std::move(line)));
            line.clear();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines_.push_back(parseLine(std::move(line)));
}

void IniFile::buildIndex() const {
    sectionIndex_.clear();
    keyIndex_.clear();
    lastHeader_ = npos;
    size_t header = npos;
    bool firstHeader = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Section) {
            header = i;
            lastHeader_ = i;
            firstHeader = sectionIndex_.emplace(l.name, i).second;
        } else if (l.kind == Kind::Key && header != npos && firstHeader) {
            keyIndex_.emplace(std::to_string(header) + '\n' + l.name, i);
        }
    }
    indexed_ = true;
}

size_t IniFile::findSection(const std::string& section) const {
    if (!indexed_) buildIndex();
    const auto it = sectionIndex_.find(lowerAscii(trim(section)));
    return it == sectionIndex_.end() ? npos : it->second;
}

size_t IniFile::sectionEnd(size_t header) const {
    if (!indexed_) buildIndex();
    if (header == lastHeader_) return lines_.size();
    size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
    return i;
}

size_t IniFile::findKey(size_t header, const std::string& key) const {
    if (!indexed_) buildIndex();
    const auto it = keyIndex_.find(std::to_string(header) + '\n' + lowerAscii(trim(key)));
    return it == keyIndex_.end() ? npos : it->second;
}

bool IniFile::hasSection(const std::string& section) const {
    return findSection(section) != npos;
}

bool IniFile::hasKey(const std::string& section, const std::string& key) const {
    const size_t h = findSection(section);
    return h != npos && findKey(h, key) != npos;
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
    std::vector<std::string> out;
    const size_t h = findSection(section);
    if (h == npos) return out;
    for (size_t i = h + 1, end = sectionEnd(h); i < end; ++i)
        if (lines_[i].kind == Kind::Key) {
            const std::string& t = lines_[i].text;
            out.push_back(trim(t.substr(0, t.find('='))));
        }
    return out;
}

std::vector<std::string> IniFile::lines() const {
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (const auto& l : lines_) out.push_back(l.text);
    return out;
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    const size_t h = findSection(section);
    const size_t k = h == npos ? npos : findKey(h, key);
    if (k != npos) return valueOf(lines_[k]);
    if (values_ == Values::Profile && def.size() > kMaxValueLength)
        return def.substr(0, kMaxValueLength);
    return def;
}

int32_t IniFile::readInteger(const std::string& section, const std::string& key,
                             int32_t def) const {
    const size_t h = findSection(section);
    const size_t k = h == npos ? npos : findKey(h, key);
    if (k == npos) return def;
    int32_t v;
    return parseProfileInteger(valueOf(lines_[k]), v) ? v : def;
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    const std::string s = trim(section);
    const std::string k = trim(key);
    if (s.empty() || hasLineBreak(s) || s.find(']') != std::string::npos)
        throw std::invalid_argument("INI section name: " + section);
    if (k.empty() || hasLineBreak(k) || k.find('=') != std::string::npos || k.front() == '[' ||
        k.front() == ';')
        throw std::invalid_argument("INI key name: " + key);

    const std::string text = k + "=" + encodeValue(value);
    const size_t h = findSection(s);
    if (h == npos) {
        // A new section follows the others after one empty line.
        if (!lines_.empty() && !trim(lines_.back().text).empty()) lines_.push_back(parseLine(""));
        lines_.push_back(parseLine("[" + s + "]"));
        lines_.push_back(parseLine(text));
        if (indexed_) {
            sectionIndex_.emplace(lines_[lines_.size() - 2].name, lines_.size() - 2);
            lastHeader_ = lines_.size() - 2;
            keyIndex_.emplace(std::to_string(lines_.size() - 2) + '\n' + lines_.back().name,
                              lines_.size() - 1);
        }
    } else if (const size_t at = findKey(h, k); at != npos) {
        if (lines_[at].text == text) return;
        lines_[at] = parseLine(text);  // same name: the index stays right
    } else {
        // After the section's last non-empty line, so its trailing blank stays.
        size_t end = sectionEnd(h);
        while (end > h + 1 && trim(lines_[end - 1].text).empty()) --end;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), parseLine(text));
        if (end + 1 == lines_.size()) {
            // Appended at the very end: no other line moved.
            keyIndex_.emplace(std::to_string(h) + '\n' + lines_.back().name, end);
        } else {
            dropIndex();
        }
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
    // What could not be read must not be replaced by what was not read.
    if (!loadError_.empty()) throw IniWriteError(path_, loadError_);
    std::string text;
    for (const auto& l : lines_) {
        text += l.text;
        text += "\r\n";
    }
    try {
        saveFile(path_, text);
    } catch (const IoError& e) {
        throw IniWriteError(path_, e.systemMessage());
    }
    dirty_ = false;
}

}  // namespace orvane
