#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// How a text file's bytes stand for characters.
enum class TextEncoding : uint8_t { Windows1252 = 0, Utf8 = 1 };

// Orvane keeps texts as Windows-1252 bytes; terminals and Qt speak UTF-8.
std::string cp1252ToUtf8(std::string_view text);
// Characters that Windows-1252 lacks become '?'; invalid UTF-8 bytes too.
// `unmappable`, when given, counts the '?' that stand for something else.
std::string utf8ToCp1252(std::string_view text, size_t* unmappable = nullptr);
// Well-formed UTF-8 throughout (no overlong forms, surrogates or cut sequences).
bool isValidUtf8(std::string_view text);

}  // namespace orvane
