#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

// A write to the file failed; what() is the message naming the file,
// followed by the system's reason in parentheses when there is one.
class IniWriteError : public std::runtime_error {
  public:
    explicit IniWriteError(const std::string& path, const std::string& reason = {});
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string path_;
    std::string reason_;
};

// An INI file with the private-profile semantics: section and key names
// compare without regard to ASCII case, values are bytes (Windows-1252),
// reads return at most 2047 characters, integers are decimal or "0x" hex,
// and a missing or invalid value yields the caller's default. Writing a key
// replaces its value in place (or appends it at the end of its section) and
// leaves every other line alone. The file is read once when the object is
// made (a missing or unreadable file reads as empty; loadError() tells why
// it could not be read, and flush() then refuses to write over it) and
// written by flush(), which replaces the file whole (see saveFile).
//
// Values are read trimmed of blanks and of one pair of enclosing quotes, as
// the profile functions do; a written value that would lose something that
// way (leading or trailing blanks, enclosing quotes) is written in double
// quotes, so every value reads back as it was written. Line breaks cannot be
// kept in a line-based file: they are written as blanks.
//
// Language files are read in the exact mode instead: a value is everything
// after the '=' (message texts begin or end with blanks that hand-written
// files do not quote), written as it is, with no length limit.
class IniFile {
  public:
    static constexpr size_t kMaxValueLength = 2047;
    enum class Values : uint8_t { Profile, Exact };

    explicit IniFile(std::string path, Values values = Values::Profile);
    // A file's text read from memory, with no path (flush() then fails).
    static IniFile fromText(std::string_view text, Values values = Values::Profile);

    const std::string& path() const { return path_; }
    // Why an existing file could not be read (a folder, a FIFO, no read
    // permission, larger than its kind's limit); empty when it was read or
    // does not exist.
    const std::string& loadError() const { return loadError_; }

    bool hasKey(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal with an optional sign, or "0x"/"0X" + hex digits; anything
    // else, and numbers that do not fit 32 bits, give `def`.
    int32_t readInteger(const std::string& section, const std::string& key, int32_t def) const;
    // Any integer but 0 is true.
    bool readBool(const std::string& section, const std::string& key, bool def) const;

    // Section and key names must not be empty or hold line breaks, and a key
    // must not hold '=' or begin with '[' or ';' (std::invalid_argument):
    // such a line would read back as something else.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int64_t value);
    void writeBool(const std::string& section, const std::string& key, bool value);

    // Names of the keys of a section in file order (empty when missing).
    std::vector<std::string> keys(const std::string& section) const;
    bool hasSection(const std::string& section) const;

    // Writes the file back when it changed. Throws IniWriteError.
    void flush();

    // The file's lines as they would be written (CR LF between them).
    std::vector<std::string> lines() const;

  private:
    enum class Kind : uint8_t { Other, Section, Key };
    struct Line {
        std::string text;
        Kind kind = Kind::Other;
        std::string name;  // section or key name, lower case
    };
    IniFile() = default;
    void parse(std::string_view data);
    static Line parseLine(std::string text);
    std::string valueOf(const Line& line) const;
    std::string encodeValue(const std::string& value) const;

    // Index of the section header line, or npos.
    size_t findSection(const std::string& section) const;
    // Index of the key's line inside the section starting at `header`, or npos.
    size_t findKey(size_t header, const std::string& key) const;
    // One past the last line belonging to the section at `header`.
    size_t sectionEnd(size_t header) const;

    // Lookups by name, built when first needed and dropped when lines move:
    // the first header of each section, and the first key of each name
    // under it. Without them a file of n keys read key by key costs n^2.
    void buildIndex() const;
    void dropIndex() { indexed_ = false; }

    std::string path_;
    Values values_ = Values::Profile;
    std::vector<Line> lines_;
    bool dirty_ = false;
    std::string loadError_;
    mutable bool indexed_ = false;
    mutable std::unordered_map<std::string, size_t> sectionIndex_;
    mutable std::unordered_map<std::string, size_t> keyIndex_;
    mutable size_t lastHeader_ =
        static_cast<size_t>(-1);  // the last section's header  // header index, '\n', key
};

// Parses an integer as the profile reader does; false when it is not one.
bool parseProfileInteger(const std::string& text, int32_t& value);

}  // namespace orvane
