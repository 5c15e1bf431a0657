#pragma once

// The values a front end's options name, in its own words: the OCR
// policies, output formats, encodings, time corrections and languages the
// core knows. A front end parses its options through this one header
// instead of reaching into the rooms that define them.

#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "app/ocr_policy.h"
#include "common/text_encoding.h"
#include "ocr/post_ocr_correction.h"
#include "stream/time_code.h"
#include "subtitles/output_formats.h"
#include "subtitles/time_correction.h"

namespace orvane {

// A value as an option names it.
template <class Value>
struct NamedValue {
    const char* name;
    Value value;
};

// The value of that name in a table of NamedValue; nullopt when none has it.
template <class Table>
auto valueNamed(const Table& table, std::string_view name)
    -> std::optional<std::remove_cv_t<decltype(std::begin(table)->value)>> {
    for (const auto& n : table)
        if (name == n.name) return n.value;
    return std::nullopt;
}

// The names of a table in its order, the last joined by `last`:
// nameList(t, ", ", " or ") gives "ask, auto or mark".
template <class Table>
std::string nameList(const Table& table, std::string_view separator, std::string_view last) {
    std::string out;
    const size_t count = std::size(table);
    size_t i = 0;
    for (const auto& n : table) {
        if (i > 0) out += i + 1 == count ? last : separator;
        out += n.name;
        ++i;
    }
    return out;
}

// ask, auto, skip-line, skip-picture, mark.
std::span<const NamedValue<UnknownGlyphPolicy>> unknownGlyphPolicyNames();
// windows-1252, utf-8.
std::span<const NamedValue<TextEncoding>> textEncodingNames();
const char* textEncodingName(TextEncoding encoding);

// Whether the OCR engine has a code for this language (a two-letter
// ISO 639-1 code it knows, or a code of its own).
bool isEngineLanguage(const std::string& code);

}  // namespace orvane
