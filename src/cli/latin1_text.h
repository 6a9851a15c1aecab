#pragma once

#include <string>
#include <string_view>

#include "platform/utf8_text.h"

namespace quorvel {

// Page and settings texts are 8-bit; JSON output is UTF-8. Each byte b
// becomes the character U+00bb, so every byte survives and nothing is
// rejected as invalid UTF-8.
std::string latin1ToUtf8(std::string_view bytes);

// Appends 8-bit text as a quoted JSON string, each byte b as U+00bb in UTF-8:
// '"' and '\\' escaped, control bytes as \b \f \n \r \t or \u00xx, DEL and
// everything else written as it is, the same bytes as nlohmann's dump.
void appendJsonString(std::string& out, std::string_view bytes);

// Appends a text as a quoted JSON string: a text that is valid UTF-8 as that
// UTF-8, any other text as appendJsonString writes it. Plain ASCII comes out
// the same either way.
void appendJsonText(std::string& out, std::string_view bytes);

}  // namespace quorvel
