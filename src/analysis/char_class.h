#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ascii_text.h"

namespace quorvel {

// Byte classes of the page scanner. Pages are 8-bit text in no known character
// set, so only the ASCII letters and digits count as letters and digits, and
// letter case is folded for A..Z alone.

inline constexpr char kTagOpen = '<';
inline constexpr char kTagClose = '>';
inline constexpr char kBlank = ' ';
inline constexpr char kTab = '\t';
inline constexpr char kCr = '\r';
inline constexpr char kLf = '\n';
inline constexpr char kDoubleQuote = '"';
inline constexpr char kSingleQuote = '\'';
inline constexpr char kEquals = '=';
inline constexpr char kAmpersand = '&';
inline constexpr char kSemicolon = ';';
inline constexpr char kHash = '#';
inline constexpr char kSlash = '/';
inline constexpr char kZero = '\0';

// A letter or digit: the bytes words are made of.
inline constexpr bool isWordByte(char c) {
    return isAsciiLetter(c) || isAsciiDigit(c);
}
inline constexpr bool isTabCrLf(char c) {
    return c == kTab || c == kCr || c == kLf;
}
// White space: blank, tab, CR or LF.
inline constexpr bool isWhite(char c) {
    return c == kBlank || isTabCrLf(c);
}
// The classes that the body-text loop tells apart with one table look-up.
enum class ByteClass : std::uint8_t { Other, Word, Blank, TabCrLf, Ampersand, TagOpen };

inline constexpr std::array<ByteClass, 256> kByteClasses = [] {
    std::array<ByteClass, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        if (isWordByte(c)) {
            classes[b] = ByteClass::Word;
        } else if (c == kBlank) {
            classes[b] = ByteClass::Blank;
        } else if (isTabCrLf(c)) {
            classes[b] = ByteClass::TabCrLf;
        } else if (c == kAmpersand) {
            classes[b] = ByteClass::Ampersand;
        } else if (c == kTagOpen) {
            classes[b] = ByteClass::TagOpen;
        }
    }
    return classes;
}();

inline ByteClass byteClass(char c) {
    return kByteClasses[static_cast<unsigned char>(c)];
}

// True when the bytes at `p` (not reaching `end`) equal `name` without regard
// to ASCII letter case. Nothing after the name is examined.
inline bool startsWithNoCase(const char* p, const char* end, std::string_view name) {
    return startsWithIgnoringAsciiCase(std::string_view(p, static_cast<std::size_t>(end - p)),
                                       name);
}

// The leading decimal integer of an attribute value, as the C library's atoi
// reads it: 0 when no digit follows the white space and sign.
inline std::int64_t readLeadingInteger(std::string_view text) {
    std::size_t pos = 0;
    return readDecimalInteger(text, pos).value_or(0);
}

}  // namespace quorvel
