#include "analysis/html_tags.h"

#include "analysis/byte_search.h"
#include "analysis/char_class.h"

namespace quorvel {

namespace {

// Setting this bit folds an ASCII capital to its small letter; among all
// bytes only the two cases of a letter fold to that small letter.
constexpr char kLowerCaseBit = 0x20;

bool mayPrecedeAttributeName(char c) {
    return c == kDoubleQuote || isWhite(c);
}

}  // namespace

const char* skipToTagEnd(const char* p, const char* end, bool nested) {
    // `<` matters only to nested tags; elsewhere the zero byte stands in for it.
    const char open = nested ? kTagOpen : kZero;
    std::size_t depth = 0;
    while ((p = findFirstOf(p, end, kZero, kTagClose, open, open)) < end) {
        if (*p == kZero) return p;
        if (*p == kTagClose) {
            if (depth == 0) return p;
            --depth;
        } else {
            ++depth;
        }
        ++p;
    }
    return p;
}

AttributeLookup findAttribute(const char* start, const char* end, std::string_view name,
                              AttributeText& out) {
    out.clear();
    const char* p = start;
    // Only a byte equal to the name's first byte, in either case, can start
    // the name: the search leaps from one such byte, `>` or zero byte to the next.
    const bool letterFirst = !name.empty() && isAsciiLetter(name[0]);
    const char firstLower = letterFirst ? static_cast<char>(name[0] | kLowerCaseBit) : kZero;
    const char firstUpper = toAsciiUpper(firstLower);
    for (;;) {
        if (letterFirst) p = findFirstOf(p, end, kZero, kTagClose, firstLower, firstUpper);
        if (p >= end || *p == kZero) break;
        if (*p == kTagClose) return {p, 0};
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
        const char* const valueEnd = findFirstOf(q, end, kZero, kTagClose, quote, quote);
        const std::string_view raw(q, static_cast<std::size_t>(valueEnd - q));
        if (findFirstOf(q, valueEnd, kCr, kLf, kTab, kTab) == valueEnd) {
            out.value.assign(raw);  // nothing to turn into blanks
            return {valueEnd, out.value.size()};
        }
        char copy[ScanText::kMaxLength];
        std::size_t length = 0;
        while (q < valueEnd) {
            char c = *q++;
            if (c == kCr || c == kLf) {
                out.hadCrLf = true;
                if (c == kCr && q < valueEnd && *q == kLf) ++q;
                c = kBlank;
            } else if (c == kTab) {
                c = kBlank;
            }
            if (length < sizeof copy) copy[length++] = c;
        }
        out.value.assign(std::string_view(copy, length));
        return {valueEnd, length};
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
