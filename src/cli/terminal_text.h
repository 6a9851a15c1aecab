#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Text as it may be shown on a terminal: control characters (bytes below 32,
// DEL, and the UTF-8 forms of U+0080 to U+009F) written as escapes such as
// \n, \t or \x1b, so that a file name or a page text can neither start a
// line of its own nor send the terminal a command. Every other byte stays.
std::string escapeControls(std::string_view text);

// Whether escapeControls would change the text.
bool hasControls(std::string_view text);

}  // namespace quorvel
