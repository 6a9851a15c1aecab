#include "analysis/html_tags.h"

#include <array>
#include <cstdint>

#include "analysis/char_class.h"

namespace quorvel {

namespace {

// Setting this bit folds an ASCII capital to its small letter; among all
// bytes only the two cases of a letter fold to that small letter.
constexpr char kLowerCaseBit = 0x20;

bool mayPrecedeAttributeName(char c) {
    return c == kDoubleQuote || isWhite(c);
}

// What skipToTagEnd looks for: the bytes that can end a tag, and `<`, which
// matters only for nested tags.
constexpr std::uint8_t kEndsTag = 1;
constexpr std::uint8_t kOpensTag = 2;
constexpr std::array<std::uint8_t, 256> kTagBytes = [] {
    std::array<std::uint8_t, 256> kinds{};
    kinds[static_cast<unsigned char>(kZero)] = kEndsTag;
    kinds[static_cast<unsigned char>(kTagClose)] = kEndsTag;
    kinds[static_cast<unsigned char>(kTagOpen)] = kOpensTag;
    return kinds;
}();

}  // namespace

const char* skipToTagEnd(const char* p, const char* end, bool nested) {
    const std::uint8_t wanted = nested ? (kEndsTag | kOpensTag) : kEndsTag;
    std::size_t depth = 0;
    for (; p < end; ++p) {
        if ((kTagBytes[static_cast<unsigned char>(*p)] & wanted) == 0) continue;
        if (*p == kZero) return p;
        if (*p == kTagClose) {
            if (depth == 0) return p;
            --depth;
        } else {
            ++depth;
        }
    }
    return p;
}

AttributeLookup findAttribute(const char* start, const char* end, std::string_view name,
                              AttributeText& out) {
    out.clear();
    const char* p = start;
    // Only a byte equal to the name's first byte, in either case, can start
    // the name; the rest are passed over with one comparison more than `>`.
    const bool letterFirst = !name.empty() && isAsciiLetter(name[0]);
    const char firstLower = letterFirst ? static_cast<char>(name[0] | kLowerCaseBit) : kZero;
    while (p < end && *p != kZero) {
        const char c = *p;
        if (c == kTagClose) return {p, 0};
        if (letterFirst && static_cast<char>(c | kLowerCaseBit) != firstLower) {
            ++p;
            continue;
        }
        if (!mayPrecedeAttributeName(p[-1]) || !startsWithNoCase(p, end, name)) {
            ++p;
            continue;
        }
        const char* q = p + name.size();
        while (q < end && *q != kZero && *q != kEquals && *q != kTagClose)
            ++q;
        if (q >= end || *q == kZero) return {q, 0};
        if (*q == kTagClose) {
            // A name without a value: the search runs on past this `>`.
            p = q + 1;
            continue;
        }
        ++q;
        while (q < end && isWhite(*q))
            ++q;
        char quote = kZero;
        if (q < end && (*q == kDoubleQuote || *q == kSingleQuote)) quote = *q++;
        while (q < end && *q != kZero && *q != kTagClose && *q != quote) {
            char c = *q++;
            if (c == kCr || c == kLf) {
                out.hadCrLf = true;
                if (c == kCr && q < end && *q == kLf) ++q;
                c = kBlank;
            } else if (c == kTab) {
                c = kBlank;
            }
            out.value.push(c);
        }
        return {q, out.value.size()};
    }
    return {p, 0};
}

std::uint32_t attributeNamesBeforeTagEnd(const char* start, const char* end,
                                         std::span<const std::string_view> names) {
    std::uint32_t found = 0;
    for (const char* p = start; p < end && *p != kZero && *p != kTagClose; ++p) {
        if (!mayPrecedeAttributeName(p[-1])) continue;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (startsWithNoCase(p, end, names[i])) found |= std::uint32_t{1} << i;
        }
    }
    return found;
}

}  // namespace quorvel
