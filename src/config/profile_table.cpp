#include "config/profile_table.h"

#include <type_traits>

namespace orvane {

ProfileKey::ProfileKey(std::string key, ProfileType type, Field field, int64_t def,
                       std::string defText)
    : key_(std::move(key)),
      type_(type),
      field_(field),
      default_(def),
      defaultText_(std::move(defText)) {}

ProfileKey ProfileKey::text(std::string key, std::string& field, std::string def) {
    return {std::move(key), ProfileType::Text, &field, 0, std::move(def)};
}
ProfileKey ProfileKey::boolean(std::string key, bool& field, bool def) {
    return {std::move(key), ProfileType::Boolean, &field, def ? 1 : 0, {}};
}
ProfileKey ProfileKey::byte(std::string key, uint8_t& field, uint8_t def) {
    return {std::move(key), ProfileType::Byte, &field, def, {}};
}
ProfileKey ProfileKey::int16(std::string key, int16_t& field, int16_t def) {
    return {std::move(key), ProfileType::Int16, &field, def, {}};
}
ProfileKey ProfileKey::int16(std::string key, uint16_t& field, uint16_t def) {
    return {std::move(key), ProfileType::Int16, &field, def, {}};
}
ProfileKey ProfileKey::int32(std::string key, int32_t& field, int32_t def) {
    return {std::move(key), ProfileType::Int32, &field, def, {}};
}
ProfileKey ProfileKey::colour(std::string key, uint32_t& field, uint32_t def) {
    return {std::move(key), ProfileType::Colour, &field, def, {}};
}

int64_t ProfileKey::current() const {
    return std::visit(
        [](auto* f) -> int64_t {
            using T = std::remove_pointer_t<decltype(f)>;
            if constexpr (std::is_same_v<T, std::string>)
                return 0;
            else
                return static_cast<int64_t>(*f);
        },
        field_);
}

// Cuts the value to the field's width, as an assignment to it does.
void ProfileKey::store(int64_t value) const {
    std::visit(
        [value](auto* f) {
            using T = std::remove_pointer_t<decltype(f)>;
            if constexpr (std::is_same_v<T, bool>)
                *f = value != 0;
            else if constexpr (!std::is_same_v<T, std::string>)
                *f = static_cast<T>(value);
        },
        field_);
}

void ProfileKey::load(const IniFile& ini, const std::string& section, bool currentAsDefault) const {
    if (type_ == ProfileType::Text) {
        std::string* f = std::get<std::string*>(field_);
        *f = ini.readString(section, key_, currentAsDefault ? *f : defaultText_);
        return;
    }
    const int64_t def = currentAsDefault ? current() : default_;
    // The default passes through the reader as a 32-bit integer, like a value.
    store(ini.readInteger(section, key_, static_cast<int32_t>(def)));
}

void ProfileKey::save(IniFile& ini, const std::string& section) const {
    switch (type_) {
        case ProfileType::Text:
            ini.writeString(section, key_, *std::get<std::string*>(field_));
            break;
        case ProfileType::Boolean:
            ini.writeBool(section, key_, current() != 0);
            break;
        case ProfileType::Colour:
            ini.writeInteger(section, key_, static_cast<int32_t>(static_cast<uint32_t>(current())));
            break;
        default:
            ini.writeInteger(section, key_, current());
            break;
    }
}

void ProfileKey::setDefault() const {
    if (type_ == ProfileType::Text)
        *std::get<std::string*>(field_) = defaultText_;
    else
        store(default_);
}

}  // namespace orvane
