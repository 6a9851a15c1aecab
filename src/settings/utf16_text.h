#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// True when bytes start with the UTF-16 little-endian byte-order mark FF FE.
bool hasUtf16LeMark(std::string_view bytes);
// True when bytes start with the UTF-16 big-endian byte-order mark FE FF.
bool hasUtf16BeMark(std::string_view bytes);
// True when bytes start with the UTF-8 byte-order mark EF BB BF.
bool hasUtf8Mark(std::string_view bytes);

// Converts UTF-16 little-endian text (without its mark) to the 8-bit Windows
// Western code page (1252), one byte per 16-bit unit: a unit the code page
// cannot show becomes '?', and so does each half of a surrogate pair. A
// final odd byte is dropped.
std::string utf16LeToAnsi(std::string_view units);
// The same for big-endian units.
std::string utf16BeToAnsi(std::string_view units);

}  // namespace quorvel
