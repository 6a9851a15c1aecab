#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvel {

// The character entity names of HTML 4.01 in that standard's order (the
// Latin-1 set, the symbols and Greek letters, the special characters), then
// "#" for numeric character references.
inline constexpr std::size_t kEntityNameCount = 253;
extern const std::array<std::string_view, kEntityNameCount> kEntityNames;

// Length in bytes of the character entity starting at `p`, or 0 when none
// starts there. An entity is `&` followed by a name of the table (compared
// without regard to case, nothing after the name examined) and runs through
// the next `;`; with no `;` before a zero byte or `end` it runs to `end`.
// Reads nothing at or beyond `end`.
std::size_t entityLengthSlow(const char* p, const char* end);

inline std::size_t entityLength(const char* p, const char* end) {
    return (p < end && *p == '&') ? entityLengthSlow(p, end) : 0;
}

}  // namespace quorvel
