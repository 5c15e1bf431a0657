#include "common/text_encoding.h"

#include <array>
#include <cstdint>

namespace orvane {

namespace {

// Code points of 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined
// (those bytes map to the C1 control of the same value).
constexpr std::array<uint16_t, 32> kHigh{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

uint32_t toCodePoint(uint8_t b) {
    if (b >= 0x80 && b <= 0x9F) {
        const uint16_t cp = kHigh[b - 0x80];
        return cp != 0 ? cp : b;
    }
    return b;
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char fromCodePoint(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp || (kHigh[i] == 0 && cp == 0x80 + i)) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// The length of the UTF-8 sequence at `text[i]` and its code point in `cp`,
// or 0 when the bytes there are not UTF-8.
size_t decodeUtf8(std::string_view text, size_t i, uint32_t& cp) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    size_t len = 0;
    if (b < 0x80) {
        cp = b;
        len = 1;
    } else if ((b & 0xE0) == 0xC0) {
        cp = b & 0x1F;
        len = 2;
    } else if ((b & 0xF0) == 0xE0) {
        cp = b & 0x0F;
        len = 3;
    } else if ((b & 0xF8) == 0xF0) {
        cp = b & 0x07;
        len = 4;
    }
    if (len == 0 || i + len > text.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const uint8_t c = static_cast<uint8_t>(text[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms (C0 80 for a zero byte), surrogates and code points
    // past U+10FFFF are not UTF-8: they could smuggle a zero byte or a
    // line break past a check of the plain bytes.
    static constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[len] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return len;
}

}  // namespace

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) appendUtf8(out, toCodePoint(static_cast<uint8_t>(c)));
    return out;
}

std::string utf8ToCp1252(std::string_view text, size_t* unmappable) {
    std::string out;
    out.reserve(text.size());
    size_t missing = 0;
    size_t i = 0;
    while (i < text.size()) {
        uint32_t cp = 0;
        const size_t len = decodeUtf8(text, i, cp);
        const char c = len == 0 ? '?' : fromCodePoint(cp);
        if (len == 0 || (c == '?' && cp != '?')) ++missing;
        out += c;
        i += len == 0 ? 1 : len;
    }
    if (unmappable) *unmappable = missing;
    return out;
}

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        const size_t len = decodeUtf8(text, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

}  // namespace orvane
