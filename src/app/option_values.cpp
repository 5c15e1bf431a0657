#include "app/option_values.h"

#include "ocr/text_engine.h"

namespace orvane {

namespace {

constexpr NamedValue<UnknownGlyphPolicy> kUnknownGlyphPolicies[] = {
    {"ask", UnknownGlyphPolicy::Ask},
    {"auto", UnknownGlyphPolicy::Auto},
    {"skip-line", UnknownGlyphPolicy::SkipLine},
    {"skip-picture", UnknownGlyphPolicy::SkipPicture},
    {"mark", UnknownGlyphPolicy::Mark}};

constexpr NamedValue<TextEncoding> kTextEncodings[] = {{"windows-1252", TextEncoding::Windows1252},
                                                       {"utf-8", TextEncoding::Utf8}};

}  // namespace

std::span<const NamedValue<UnknownGlyphPolicy>> unknownGlyphPolicyNames() {
    return kUnknownGlyphPolicies;
}

std::span<const NamedValue<TextEncoding>> textEncodingNames() {
    return kTextEncodings;
}

const char* textEncodingName(TextEncoding encoding) {
    for (const auto& n : kTextEncodings)
        if (n.value == encoding) return n.name;
    return "";
}

bool isEngineLanguage(const std::string& code) {
    return !engineLanguageCode(code).empty();
}

}  // namespace orvane
