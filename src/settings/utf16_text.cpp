#include "settings/utf16_text.h"

#include <array>
#include <cstdint>

namespace quorvel {

namespace {

// The characters of bytes 0x80..0x9F in code page 1252; 0 where the byte has
// no character (it then stands for the control character of the same value).
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char toCodePage1252(std::uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const std::uint16_t shown = kHighControls[i];
        if (shown == unit || (shown == 0 && unit == 0x80 + i)) return static_cast<char>(0x80 + i);
    }
    return '?';
}

std::string utf16ToAnsi(std::string_view units, bool bigEndian) {
    std::string text;
    text.reserve(units.size() / 2);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const auto first = static_cast<unsigned char>(units[i]);
        const auto second = static_cast<unsigned char>(units[i + 1]);
        const auto unit = bigEndian ? (first << 8) | second : first | (second << 8);
        text += toCodePage1252(static_cast<std::uint16_t>(unit));
    }
    return text;
}

bool startsWithBytes(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

}  // namespace

bool hasUtf16LeMark(std::string_view bytes) {
    return startsWithBytes(bytes, "\xFF\xFE");
}

bool hasUtf16BeMark(std::string_view bytes) {
    return startsWithBytes(bytes, "\xFE\xFF");
}

bool hasUtf8Mark(std::string_view bytes) {
    return startsWithBytes(bytes, "\xEF\xBB\xBF");
}

std::string utf16LeToAnsi(std::string_view units) {
    return utf16ToAnsi(units, false);
}

std::string utf16BeToAnsi(std::string_view units) {
    return utf16ToAnsi(units, true);
}

}  // namespace quorvel
