#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvane {

// A write to the file failed; what() is the message naming the file.
class IniWriteError : public std::runtime_error {
  public:
    explicit IniWriteError(const std::string& path);
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// An INI file with the private-profile semantics: section and key names
// compare without regard to ASCII case, values are bytes (Windows-1252),
// reads return at most 2047 characters, integers are decimal or "0x" hex,
// and a missing or invalid value yields the caller's default. Writing a key
// replaces its value in place (or appends it at the end of its section) and
// leaves every other line alone. The file is read once when the object is
// made (a missing or unreadable file reads as empty) and written by flush().
class IniFile {
  public:
    static constexpr size_t kMaxValueLength = 2047;

    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }

    bool hasKey(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal with an optional sign, or "0x"/"0X" + hex digits; anything
    // else gives `def`. Out-of-range values keep their low 32 bits.
    int32_t readInteger(const std::string& section, const std::string& key, int32_t def) const;
    // Any integer but 0 is true.
    bool readBool(const std::string& section, const std::string& key, bool def) const;

    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int64_t value);
    void writeBool(const std::string& section, const std::string& key, bool value);

    // Names of the keys of a section in file order (empty when missing).
    std::vector<std::string> keys(const std::string& section) const;
    bool hasSection(const std::string& section) const;

    // Writes the file back when it changed. Throws IniWriteError.
    void flush();

    // The file's lines as they would be written (CR LF between them).
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    // Index of the section header line, or npos.
    size_t findSection(const std::string& section) const;
    // Index of the key's line inside the section starting at `header`, or npos.
    size_t findKey(size_t header, const std::string& key) const;
    // One past the last line belonging to the section at `header`.
    size_t sectionEnd(size_t header) const;

    std::string path_;
    std::vector<std::string> lines_;
    bool dirty_ = false;
};

// Parses an integer as the profile reader does; false when it is not one.
bool parseProfileInteger(const std::string& text, int32_t& value);

}  // namespace orvane
