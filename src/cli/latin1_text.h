#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Page and settings texts are 8-bit; JSON output is UTF-8. Each byte b
// becomes the character U+00bb, so every byte survives and nothing is
// rejected as invalid UTF-8.
std::string latin1ToUtf8(std::string_view bytes);

}  // namespace quorvel
