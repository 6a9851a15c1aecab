#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_entry.h"

namespace quorvel {

// What a coloured piece of HTML code is.
enum class ColourKind : std::uint8_t { TagName, QuotedValue, DeclarationOrComment };

// A coloured range [begin, end) of the text; bytes outside every span keep the
// default colour.
struct ColourSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    ColourKind kind = ColourKind::TagName;
    friend bool operator==(const ColourSpan&, const ColourSpan&) = default;
};

inline constexpr RgbColour kDefaultCodeColour{0, 0, 0};
// Tag name blue, quoted value red, declaration or comment green.
RgbColour colourOf(ColourKind kind);

// The tag names that are coloured, in ascending byte order: every known tag in
// upper and in lower case, with its closing form ("/table") unless the tag is
// empty by nature ("br", "img" ...), plus "csscriptdict" in lower case only.
const std::vector<std::string>& htmlTagKeywords();

// Colours HTML code in one forward pass, as the detailed-description window
// shows it. Spans come in ascending order and never overlap.
//
// - A `"` or `'` opens a quoted value that runs to the matching quote (quotes
//   included); a single-quoted value also ends, uncoloured, at `<` or `>`.
// - `<!` opens a declaration or comment that ends at the first `>` reached
//   from a `-` or `>`; a comment therefore ends at its first `>`.
// - Outside those, a tag keyword (case-sensitive) that stands between two
//   delimiters is a tag name, in visible text too. The start and the end of the
//   text count as delimiters, so a keyword at the very first byte is coloured.
// - A quoted value or declaration left open runs to the end of the text.
std::vector<ColourSpan> colorizeHtml(std::string_view text);

}  // namespace quorvel
