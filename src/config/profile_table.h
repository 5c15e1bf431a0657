#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "config/ini_file.h"

namespace orvane {

// How a key is stored in an INI file. Integers are read as 32-bit and then
// cut to the width of the field they land in; colours are 0x00BBGGRR
// integers written as signed decimal.
enum class ProfileType : uint8_t { Text, Boolean, Byte, Int16, Int32, Colour };

// One key of a section: its name, type and default, and the field it is
// loaded into and saved from.
class ProfileKey {
  public:
    static ProfileKey text(std::string key, std::string& field, std::string def);
    static ProfileKey boolean(std::string key, bool& field, bool def);
    static ProfileKey byte(std::string key, uint8_t& field, uint8_t def);
    static ProfileKey int16(std::string key, int16_t& field, int16_t def);
    static ProfileKey int16(std::string key, uint16_t& field, uint16_t def);
    static ProfileKey int32(std::string key, int32_t& field, int32_t def);
    static ProfileKey colour(std::string key, uint32_t& field, uint32_t def);

    const std::string& key() const { return key_; }
    ProfileType type() const { return type_; }

    // Reads the key into the field; a missing or invalid value gives the
    // default, or with `currentAsDefault` the value the field holds now.
    void load(const IniFile& ini, const std::string& section, bool currentAsDefault) const;
    void save(IniFile& ini, const std::string& section) const;
    void setDefault() const;

  private:
    using Field =
        std::variant<std::string*, bool*, uint8_t*, int16_t*, uint16_t*, int32_t*, uint32_t*>;
    ProfileKey(std::string key, ProfileType type, Field field, int64_t def, std::string defText);

    int64_t current() const;
    void store(int64_t value) const;

    std::string key_;
    ProfileType type_;
    Field field_;
    int64_t default_ = 0;
    std::string defaultText_;
};

// A section declared once: name and keys in file order.
struct ProfileSection {
    std::string name;
    std::vector<ProfileKey> keys;

    void load(const IniFile& ini, bool currentAsDefault = false) const {
        for (const auto& k : keys) k.load(ini, name, currentAsDefault);
    }
    void save(IniFile& ini) const {
        for (const auto& k : keys) k.save(ini, name);
    }
    void setDefaults() const {
        for (const auto& k : keys) k.setDefault();
    }
};

// "Color_" + 2 -> "Color_2": indexed keys carry the index in decimal.
inline std::string indexedKey(const std::string& stem, int index) {
    return stem + std::to_string(index);
}

}  // namespace orvane
