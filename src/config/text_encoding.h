#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Orvane keeps texts as Windows-1252 bytes; terminals and Qt speak UTF-8.
std::string cp1252ToUtf8(std::string_view text);
// Characters that Windows-1252 lacks become '?'; invalid UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view text);

}  // namespace orvane
