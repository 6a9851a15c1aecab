#pragma once

// ASCII rules for 8-bit text in no known character set: only A..Z and a..z
// have a case, only 0..9 are digits, and numbers are read the way the C
// library's number scanning reads them.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace quorvel {

inline constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
inline constexpr bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// 0..15 for a hexadecimal digit of either case, -1 for any other byte.
inline constexpr int asciiHexDigitValue(char c) {
    if (isAsciiDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
inline constexpr char toAsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
inline constexpr char toAsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}

inline constexpr bool equalsIgnoringAsciiCase(char a, char b) {
    return toAsciiLower(a) == toAsciiLower(b);
}
inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!equalsIgnoringAsciiCase(a[i], b[i])) return false;
    }
    return true;
}
inline bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           equalsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
inline bool containsIgnoringAsciiCase(std::string_view text, std::string_view part) {
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (startsWithIgnoringAsciiCase(text.substr(i), part)) return true;
    }
    return false;
}

// Reads an optionally signed decimal integer at text[pos], after white space
// (blank, tab, CR, LF, VT, FF); the first byte that is no digit ends it.
// Nothing when no digit follows. A magnitude beyond the 64-bit range
// saturates at the limit of its sign; callers clamp the value to their own
// range. pos is left after the last byte read.
inline std::optional<std::int64_t> readDecimalInteger(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos >= text.size() || !isAsciiDigit(text[pos])) return std::nullopt;
    // One past the largest magnitude, which is also the magnitude of min().
    constexpr std::uint64_t kLimit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
    std::uint64_t magnitude = 0;
    for (; pos < text.size() && isAsciiDigit(text[pos]); ++pos) {
        const auto digit = static_cast<std::uint64_t>(text[pos] - '0');
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    if (magnitude >= kLimit) {
        return negative ? std::numeric_limits<std::int64_t>::min()
                        : std::numeric_limits<std::int64_t>::max();
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

}  // namespace quorvel
